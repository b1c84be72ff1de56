// The sysctl call of the program's platform layer, answered over /proc/sys.
// It is C: no exception may leave it, so failures inside become an errno.
#include "nmeta.h"

#include "ProcKernel.h"

#include <cerrno>
#include <new>

extern "C" int sysctl(const int *name, unsigned int namelen, void *oldp, size_t *oldlenp,
                      const void *newp, size_t newlen)
{
    int err;
    try {
        err = linuxmib::ProcKernel::instance().call(name, namelen, oldp, oldlenp, newp, newlen);
    } catch (const std::bad_alloc &) {
        err = ENOMEM;
    } catch (...) {
        err = EIO;
    }
    if (err == 0)
        return 0;
    errno = err;
    return -1;
}
