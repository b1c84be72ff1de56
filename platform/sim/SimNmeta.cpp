// The MIB information interface of nmeta.h, served from the simulated MIB.
// Every answer is a fresh malloc'd copy, so the caller's frees are checked by
// the sanitizers exactly as they would be against the real library.
#include "nmeta.h"

#include "CtlNames.h"
#include "SimState.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <new>

using sim::MibStore;
using sim::SimState;

namespace {

SimState &state() { return SimState::instance(); }

void freeObjectFields(MibObject *object);

void freeList(MibObjectList *list)
{
    if (!list)
        return;
    MibObject *object = list->first;
    while (object) {
        MibObject *next = object->next;
        freeObjectFields(object);
        std::free(object);
        object = next;
    }
    std::free(list);
}

void freeObjectFields(MibObject *object)
{
    std::free(object->oidLevels);
    std::free(object->name);
    std::free(object->description);
    std::free(object->label);
    std::free(object->format);
    freeList(object->children);
}

char *copyText(const std::string &text)
{
    char *copy = static_cast<char *>(std::malloc(text.size() + 1));
    if (copy)
        std::memcpy(copy, text.c_str(), text.size() + 1);
    return copy;
}

// False when memory ran out; *out is then NULL.
bool copyOptional(const std::optional<std::string> &text, char **out)
{
    *out = text ? copyText(*text) : nullptr;
    return !text || *out;
}

// A copy of the object without children, or NULL when memory ran out.
MibObject *copyObject(const sim::Object &source)
{
    auto *object = static_cast<MibObject *>(std::calloc(1, sizeof(MibObject)));
    if (!object)
        return nullptr;
    object->oidLength = source.oid.size();
    object->type = source.type;
    object->flags = source.flags;
    object->oidLevels = static_cast<int *>(std::malloc(source.oid.size() * sizeof(int)));
    object->name = copyText(source.name);
    bool ok = object->oidLevels && object->name;
    ok = copyOptional(source.description, &object->description) && ok;
    ok = copyOptional(source.label, &object->label) && ok;
    ok = copyOptional(source.format, &object->format) && ok;
    if (!ok) {
        freeObjectFields(object);
        std::free(object);
        return nullptr;
    }
    std::copy(source.oid.begin(), source.oid.end(), object->oidLevels);
    return object;
}

// A copy of the nodes and their subtrees, or NULL when memory ran out.
MibObjectList *copyList(const std::vector<MibStore::Node *> &nodes)
{
    auto *list = static_cast<MibObjectList *>(std::calloc(1, sizeof(MibObjectList)));
    if (!list)
        return nullptr;
    MibObject **tail = &list->first;
    for (const MibStore::Node *node : nodes) {
        MibObject *object = copyObject(node->object);
        if (!object) {
            freeList(list);
            return nullptr;
        }
        *tail = object;
        tail = &object->next;
        if (!node->children.empty() && !(object->children = copyList(node->children))) {
            freeList(list);
            return nullptr;
        }
    }
    return list;
}

int fail(int error)
{
    errno = error;
    return -1;
}

// Counts the call, runs the hook and finds the object again: the hook may
// have changed or removed it.
MibStore::Node *beforeServing(const std::string &name, int sim::Counts::*counter, const char *op)
{
    ++(state().counts[name].*counter);
    if (op)
        state().callHook(op, name);
    return state().mib.find(name);
}

int serveOld(const std::string &name, void *oldp, std::size_t *oldlenp)
{
    const bool probe = !oldp;
    MibStore::Node *node = probe ? beforeServing(name, &sim::Counts::probes, "probe")
                                 : beforeServing(name, &sim::Counts::reads, "read");
    if (!node)
        return fail(ENOENT);
    if (int error = SimState::failure(probe ? state().probeFailures : state().readFailures, name))
        return fail(error);
    const std::string &value = node->object.value;
    if (probe) {
        *oldlenp = value.size();
        return 0;
    }
    // Like FreeBSD: fill what fits, say how much that was, and report the
    // shortfall as ENOMEM.
    const std::size_t stored = std::min(*oldlenp, value.size());
    std::memcpy(oldp, value.data(), stored);
    *oldlenp = stored;
    return stored < value.size() ? fail(ENOMEM) : 0;
}

int serveNew(const std::string &name, const void *newp, std::size_t newlen)
{
    MibStore::Node *node = beforeServing(name, &sim::Counts::writes, "write");
    if (!node)
        return fail(ENOENT);
    if (int error = SimState::failure(state().writeFailures, name))
        return fail(error);
    if (!(node->object.flags & sim::flagWR))
        return fail(EPERM);
    if (node->object.type == sim::typeNode)
        return fail(EISDIR);
    // Stored as given: a string arrives with its NUL, as the kernel gets it.
    std::string bytes(static_cast<const char *>(newp), newlen);
    state().writes[name].push_back(bytes);
    node->object.value = std::move(bytes);
    return 0;
}

// Runs body, turning any exception into a failure: nothing may unwind into C.
template <typename Body> int guarded(Body body)
{
    try {
        return body();
    } catch (const std::bad_alloc &) {
        return fail(ENOMEM);
    } catch (...) {
        return fail(EIO);
    }
}

}  // namespace

extern "C" {

MibObjectList *nmeta_mib(void)
{
    if (!state().available) {
        errno = ENOENT;
        return nullptr;
    }
    MibObjectList *list = nullptr;
    guarded([&] {
        list = copyList(state().mib.topLevel());
        return list ? 0 : fail(ENOMEM);
    });
    return list;
}

void nmeta_freemib(MibObjectList *list) { freeList(list); }

MibObject *nmeta_objectbyname(const char *name)
{
    MibObject *object = nullptr;
    guarded([&] {
        if (!name)
            return fail(EINVAL);
        if (!state().mib.find(name))
            return fail(ENOENT);
        const MibStore::Node *node = beforeServing(name, &sim::Counts::describe, "describe");
        if (!node)
            return fail(ENOENT);
        object = copyObject(node->object);
        return object ? 0 : fail(ENOMEM);
    });
    return object;
}

void nmeta_freeobject(MibObject *object)
{
    if (!object)
        return;
    freeObjectFields(object);
    std::free(object);
}

int nmeta_hashandlerbyname(const char *name, bool *hashandler)
{
    return guarded([&] {
        if (!name || !hashandler)
            return fail(EINVAL);
        if (!state().mib.find(name))
            return fail(ENOENT);
        const MibStore::Node *node = beforeServing(name, &sim::Counts::handlerQueries, nullptr);
        if (int error = SimState::failure(state().handlerFailures, name))
            return fail(error);
        *hashandler = node->object.hasHandler;
        return 0;
    });
}

int nmeta_oidbyname(const char *name, int *levels, size_t *count)
{
    return guarded([&] {
        if (!name || !levels || !count)
            return fail(EINVAL);
        if (!state().mib.find(name))
            return fail(ENOENT);
        const MibStore::Node *node = beforeServing(name, &sim::Counts::oidLookups, nullptr);
        if (int error = SimState::failure(state().oidFailures, name))
            return fail(error);
        const std::vector<int> &oid = node->object.oid;
        if (oid.size() > *count)
            return fail(ENOMEM);
        std::copy(oid.begin(), oid.end(), levels);
        *count = oid.size();
        return 0;
    });
}

int sysctl(const int *name, unsigned int namelen, void *oldp, size_t *oldlenp, const void *newp,
           size_t newlen)
{
    return guarded([&] {
        // FreeBSD's limit on levels (CTL_MAXNAME) also keeps a bad length
        // from reading past the caller's array.
        if (!name || namelen == 0 || namelen > 24 || (!oldlenp && !newp))
            return fail(EINVAL);
        const MibStore::Node *node = state().mib.findByOid(name, namelen);
        if (!node)
            return fail(ENOENT);
        const std::string objectName = node->object.name;  // the node may go in a hook
        if (oldlenp && serveOld(objectName, oldp, oldlenp) != 0)
            return -1;
        return newp ? serveNew(objectName, newp, newlen) : 0;
    });
}

}  // extern "C"
