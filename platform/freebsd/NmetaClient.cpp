// The MIB information interface over FreeBSD's own meta-MIB: nothing but the
// sysctl call. Every entry point is C, so no exception may leave it.
#include "nmeta.h"

#include "MetaQuery.h"
#include "MibWalk.h"
#include "ObjectRecord.h"
#include "ctlvocab.h"

#include <cerrno>
#include <cstring>
#include <new>

using namespace freebsd;

namespace {

template <typename Result, typename Body> Result guarded(Result failure, Body body)
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

int fail(int error)
{
    errno = error;
    return -1;
}

// The identifier of a name, checked for the caller's use.
int lookUp(const char *name, Oid &oid)
{
    if (!name)
        return EINVAL;
    return MetaQuery::nameToOid(name, oid);
}

}  // namespace

extern "C" {

MibObjectList *nmeta_mib(void) { return MibWalk::listAll(); }

void nmeta_freemib(MibObjectList *list) { ObjectRecord::destroyList(list); }

MibObject *nmeta_objectbyname(const char *name)
{
    return guarded<MibObject *>(nullptr, [name]() -> MibObject * {
        Oid oid;
        if (int error = lookUp(name, oid)) {
            errno = error;
            return nullptr;
        }
        // The kernel takes one trailing dot ("kern." names kern); the
        // object's name has none.
        std::string own = name;
        if (!own.empty() && own.back() == '.')
            own.pop_back();
        ObjectFacts facts = ObjectFacts::query(oid, &own);
        return ObjectRecord::create(facts);
    });
}

void nmeta_freeobject(MibObject *object) { ObjectRecord::destroy(object); }

int nmeta_hashandlerbyname(const char *name, bool *hashandler)
{
    return guarded(-1, [&] {
        if (!hashandler)
            return fail(EINVAL);
        Oid oid;
        if (int error = lookUp(name, oid))
            return fail(error);
        // Asked without running any handler: a lookup of one level past the
        // object stops at a node with a handler, finds no child -1 below a
        // node without one, and finds a leaf (which always has one) in the way.
        std::uint32_t kind = 0;
        std::string format;
        static const int pastLast = -1;
        if (oid.size() < MetaQuery::maxQueryLevels) {
            const int error = MetaQuery::format(oid, kind, format, &pastLast);
            if (error == 0 || error == ENOTDIR) {
                *hashandler = true;
                return 0;
            }
            if (error != ENOENT)
                return fail(error);
        }
        // No handler, or too deep to probe: a leaf still has one; a node is
        // taken to have none, as nearly all do.
        if (int error = MetaQuery::format(oid, kind, format))
            return fail(error);
        *hashandler = (kind & NM_CTLTYPE_MASK) != NM_CTLTYPE_NODE;
        return 0;
    });
}

int nmeta_oidbyname(const char *name, int *levels, size_t *count)
{
    return guarded(-1, [&] {
        if (!levels || !count)
            return fail(EINVAL);
        Oid oid;
        if (int error = lookUp(name, oid))
            return fail(error);
        if (oid.size() > *count)
            return fail(ENOMEM);
        std::memcpy(levels, oid.data(), oid.size() * sizeof(int));
        *count = oid.size();
        return 0;
    });
}

}  // extern "C"
