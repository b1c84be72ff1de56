#ifndef OIDSCOPE_HEAP_TUNING_H
#define OIDSCOPE_HEAP_TUNING_H

// Sets the C library's allocator up for what this program does most: make
// and release hundreds of thousands of small blocks at once (the rows of a
// MIB tree). Call first thing in main(), before the toolkit allocates.
void tuneHeap();

#endif
