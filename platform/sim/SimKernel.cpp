// A simulated FreeBSD kernel behind the sysctl call: the meta-MIB under
// level 0 and value access, answered from the in-memory MIB as a stock
// kernel answers them (sizes, ENOMEM, ENOENT, EISDIR, namelen limits).
#include "nmeta.h"

#include "KernelWalk.h"
#include "SimState.h"
#include "ctlvocab.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>
#include <string>

using sim::KernelWalk;
using sim::MibStore;
using sim::SimState;

namespace {

SimState &state() { return SimState::instance(); }

int fail(int error)
{
    errno = error;
    return -1;
}

// Counts the call for the object, runs the hook, and finds the object again:
// the hook may have changed or removed it.
MibStore::Node *beforeServing(const std::string &name, int sim::Counts::*counter, const char *op)
{
    ++(state().counts[name].*counter);
    state().callHook(op, name);
    return state().mib.find(name);
}

// Hands out a reply as the kernel does: a size probe gets the size; a short
// buffer gets what fits, ENOMEM, and the bytes copied as its size.
int reply(const void *data, std::size_t size, void *oldp, std::size_t *oldlenp)
{
    if (!oldlenp)
        return 0;
    if (!oldp) {
        *oldlenp = size;
        return 0;
    }
    const std::size_t stored = std::min(*oldlenp, size);
    if (stored)
        std::memcpy(oldp, data, stored);
    *oldlenp = stored;
    return stored < size ? fail(ENOMEM) : 0;
}

// The meta queries build their reply here, so that a test can make the
// kernel answer something malformed before it is handed out.
int replyText(const std::string &text, std::string &out)
{
    out.assign(text.c_str(), text.size() + 1);
    return 0;
}

int replyOid(const std::vector<int> &oid, std::string &out)
{
    out.assign(reinterpret_cast<const char *>(oid.data()), oid.size() * sizeof(int));
    return 0;
}

int next(const int *levels, unsigned count, bool noSkip, std::string &out)
{
    if (!state().available)
        return fail(EPERM);
    const MibStore::Node *found = KernelWalk(state().mib, noSkip).after(levels, count);
    if (!found)
        return fail(ENOENT);
    const std::string name = found->object.name;
    if (!beforeServing(name, &sim::Counts::next, "next"))
        return fail(ENOENT);
    return replyOid(found->object.oid, out);
}

int nameOf(const int *levels, unsigned count, std::string &out)
{
    const KernelWalk walk(state().mib, true);
    std::string name;
    const MibStore::Node *named = nullptr;
    unsigned i = 0;
    while (i < count) {
        const MibStore::Node *node = walk.find(levels, i + 1);
        if (!node)
            break;
        named = node;
        ++i;
        // Below a node with a handler the levels are its argument.
        if (node->object.type == NM_CTLTYPE_NODE && node->object.hasHandler())
            break;
    }
    if (named) {
        name = named->object.name;
        if (!beforeServing(name, &sim::Counts::name, "name"))
            return fail(ENOENT);
    }
    // Levels the MIB cannot name come back as numbers.
    for (; i < count; ++i)
        name += (name.empty() ? "" : ".") + std::to_string(levels[i]);
    return replyText(name, out);
}

int nameToOid(const void *newp, std::size_t newlen, std::string &out)
{
    if (!newp)
        return fail(ENOENT);
    if (newlen >= NM_CTL_NAME2OID_MAX)
        return fail(ENAMETOOLONG);
    std::string name(static_cast<const char *>(newp), newlen);
    if (!name.empty() && name.back() == '.')
        name.pop_back();
    if (name.empty() || name.find('\0') != std::string::npos)
        return fail(ENOENT);
    MibStore::Node *node = beforeServing(name, &sim::Counts::name2oid, "name2oid");
    if (int error = SimState::failure(state().oidFailures, name))
        return fail(error);
    if (!node || !KernelWalk(state().mib, true).namable(node))
        return fail(ENOENT);
    return replyOid(node->object.oid, out);
}

// oidfmt, oiddescr and oidlabel: the object the levels lead to.
int describe(int op, const int *levels, unsigned count, std::string &out)
{
    const KernelWalk walk(state().mib, true);
    // A handler probe: levels past an object, which tests can make fail.
    if (op == NM_CTL_SYSCTL_OIDFMT && count >= 2) {
        if (const MibStore::Node *probed = walk.find(levels, count - 1)) {
            const std::string name = probed->object.name;
            ++state().counts[name].handlerProbes;
            if (int error = SimState::failure(state().handlerFailures, name)) {
                ++state().counts[name].oidfmt;
                return fail(error);
            }
        }
    }
    const MibStore::Node *node = nullptr;
    if (int error = walk.lookUp(levels, count, node))
        return fail(error);
    const std::string name = node->object.name;
    if (op == NM_CTL_SYSCTL_OIDFMT) {
        if (!(node = beforeServing(name, &sim::Counts::oidfmt, "oidfmt")))
            return fail(ENOENT);
        if (int error = SimState::failure(state().formatFailures, name))
            return fail(error);
        const std::uint32_t kind = node->object.type | node->object.flags;
        out.assign(reinterpret_cast<const char *>(&kind), sizeof kind);
        // An object without a format is served an empty one: tests build
        // many such objects, and a kernel without their kind would hide them.
        out += node->object.format.value_or("");
        out += '\0';
        return 0;
    }
    const bool label = op == NM_CTL_SYSCTL_OIDLABEL;
    if (!(node = beforeServing(name, label ? &sim::Counts::oidlabel : &sim::Counts::oiddescr,
                               label ? "oidlabel" : "oiddescr")))
        return fail(ENOENT);
    const std::optional<std::string> &text = label ? node->object.label : node->object.description;
    if (!text)
        return fail(ENOENT);
    return replyText(*text, out);
}

int answer(const int *name, unsigned namelen, const void *newp, std::size_t newlen,
           std::string &out)
{
    const int *levels = name + 2;
    const unsigned count = namelen - 2;
    switch (name[1]) {
    case NM_CTL_SYSCTL_NAME:
        return nameOf(levels, count, out);
    case NM_CTL_SYSCTL_NEXT:
    case NM_CTL_SYSCTL_NEXTNOSKIP:
        return next(levels, count, name[1] == NM_CTL_SYSCTL_NEXTNOSKIP, out);
    case NM_CTL_SYSCTL_NAME2OID:
        return nameToOid(newp, newlen, out);
    default:
        return describe(name[1], levels, count, out);
    }
}

int meta(const int *name, unsigned namelen, void *oldp, std::size_t *oldlenp, const void *newp,
         std::size_t newlen)
{
    std::string out;
    if (answer(name, namelen, newp, newlen, out) != 0)
        return -1;
    if (const sim::ReplyHook hook = state().replyHook)
        hook(std::vector<int>(name, name + namelen), out);
    return reply(out.data(), out.size(), oldp, oldlenp);
}

int value(const int *name, unsigned namelen, void *oldp, std::size_t *oldlenp, const void *newp,
          std::size_t newlen)
{
    const MibStore::Node *found = nullptr;
    if (int error = KernelWalk(state().mib, true).lookUp(name, namelen, found))
        return fail(error);
    const std::string objectName = found->object.name;  // the node may go in a hook
    const bool isNode = found->object.type == NM_CTLTYPE_NODE;
    if (isNode && !found->object.hasHandler())
        return fail(EISDIR);
    if (!found->object.hasHandler())
        return fail(EINVAL);

    if (oldlenp) {
        const bool probe = !oldp;
        MibStore::Node *node = probe ? beforeServing(objectName, &sim::Counts::probes, "probe")
                                     : beforeServing(objectName, &sim::Counts::reads, "read");
        if (!node)
            return fail(ENOENT);
        if (int error = SimState::failure(probe ? state().probeFailures : state().readFailures, objectName))
            return fail(error);
        if (reply(node->object.value.data(), node->object.value.size(), oldp, oldlenp) != 0)
            return -1;
    }
    if (!newp)
        return 0;
    MibStore::Node *node = beforeServing(objectName, &sim::Counts::writes, "write");
    if (!node)
        return fail(ENOENT);
    if (!(node->object.flags & NM_CTLFLAG_WR))
        return fail(EPERM);
    if (int error = SimState::failure(state().writeFailures, objectName))
        return fail(error);
    // Stored as given: a string arrives with its NUL, as the kernel gets it.
    std::string bytes(static_cast<const char *>(newp), newlen);
    state().writes[objectName].push_back(bytes);
    node->object.value = std::move(bytes);
    return 0;
}

}  // namespace

extern "C" int sysctl(const int *name, unsigned int namelen, void *oldp, size_t *oldlenp,
                      const void *newp, size_t newlen)
{
    try {
        // The kernel's limits come first; they also keep a bad length from
        // reading past the caller's array.
        if (!name || namelen < 2 || namelen > NM_CTL_MAXNAME)
            return fail(EINVAL);
        if (oldp && !oldlenp)
            return fail(EINVAL);
        if (name[0] == NM_CTL_SYSCTL && name[1] >= NM_CTL_SYSCTL_NAME &&
            name[1] <= NM_CTL_SYSCTL_NEXTNOSKIP)
            return meta(name, namelen, oldp, oldlenp, newp, newlen);
        return value(name, namelen, oldp, oldlenp, newp, newlen);
    } catch (const std::bad_alloc &) {
        return fail(ENOMEM);
    } catch (...) {
        return fail(EIO);
    }
}
