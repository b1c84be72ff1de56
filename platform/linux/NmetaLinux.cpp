// The MIB information interface over /proc/sys. Every entry point is C: no
// exception may leave it, so failures inside become an errno.
#include "nmeta.h"

#include "MibEntry.h"
#include "MibLister.h"
#include "ObjectRecord.h"
#include "SysctlCall.h"

#include <cerrno>
#include <cstring>
#include <exception>
#include <new>

using namespace linuxmib;

namespace {

// Runs body, turning an escaping exception into errno and the failure value.
template <typename Result, typename Body>
Result guarded(Result failure, Body body)
{
    try {
        return body();
    } catch (const std::bad_alloc &) {
        errno = ENOMEM;
    } catch (...) {
        errno = EIO;
    }
    return failure;
}

}  // namespace

extern "C" {

MibObjectList *nmeta_mib(void)
{
    return guarded<MibObjectList *>(nullptr, [] { return MibLister::listRoot(); });
}

void nmeta_freemib(MibObjectList *list)
{
    ObjectRecord::destroyList(list);
}

MibObject *nmeta_objectbyname(const char *name)
{
    return guarded<MibObject *>(nullptr, [name]() -> MibObject * {
        if (!name) {
            errno = EINVAL;
            return nullptr;
        }
        MibEntry entry;
        if (int err = entry.findByName(name)) {
            errno = err;
            return nullptr;
        }
        return ObjectRecord::describe(entry);
    });
}

void nmeta_freeobject(MibObject *object)
{
    ObjectRecord::destroy(object);
}

int nmeta_hashandlerbyname(const char *name, bool *hashandler)
{
    return guarded(-1, [&] {
        if (!name || !hashandler) {
            errno = EINVAL;
            return -1;
        }
        MibEntry entry;
        if (int err = entry.findByName(name)) {
            errno = err;
            return -1;
        }
        // Files are read and written by the kernel's handler; directories
        // only group them.
        *hashandler = !entry.directory;
        return 0;
    });
}

int nmeta_oidbyname(const char *name, int *levels, size_t *count)
{
    return guarded(-1, [&] {
        if (!name || !levels || !count) {
            errno = EINVAL;
            return -1;
        }
        MibEntry entry;
        if (int err = entry.findByName(name)) {
            errno = err;
            return -1;
        }
        if (entry.oid.size() > *count) {
            errno = ENOMEM;
            return -1;
        }
        std::memcpy(levels, entry.oid.data(), entry.oid.size() * sizeof(int));
        *count = entry.oid.size();
        return 0;
    });
}

int sysctl(const int *name, unsigned int namelen, void *oldp, size_t *oldlenp,
           const void *newp, size_t newlen)
{
    return guarded(-1, [&] {
        if (int err = SysctlCall::run(name, namelen, oldp, oldlenp, newp, newlen)) {
            errno = err;
            return -1;
        }
        return 0;
    });
}

}  // extern "C"
