#include "app/HeapTuning.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

void tuneHeap()
{
#if defined(__GLIBC__)
    // glibc keeps freed small blocks in "fast bins" without merging them; the
    // next large request then merges them all at once. After a tree of
    // 100,000 rows is released that merge stalls the following build, and
    // reused unmerged blocks scatter its rows: a rebuild took twice as long
    // as the first build. Without fast bins a block is merged as it is freed
    // (the per-thread cache still serves the hottest sizes), and a rebuild
    // costs about what the first build does.
    mallopt(M_MXFAST, 0);
#endif
}
