#include "MibWalk.h"

#include "ObjectRecord.h"
#include "ctlvocab.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <new>

namespace freebsd {

namespace {

bool isPrefix(const Oid &prefix, const Oid &oid)
{
    return prefix.size() < oid.size() && std::equal(prefix.begin(), prefix.end(), oid.begin());
}

// The first `levels` components of a dotted name, when the name has one
// component per level (a level's name may itself hold no dot).
bool namePrefix(const std::string &name, std::size_t components, std::size_t levels,
                std::string &out)
{
    if (std::count(name.begin(), name.end(), '.') + 1 != static_cast<long>(components))
        return false;
    std::size_t end = 0;
    for (std::size_t i = 0; i < levels; ++i) {
        end = name.find('.', end == 0 && i == 0 ? 0 : end + 1);
        if (end == std::string::npos)
            return false;
    }
    out.assign(name, 0, end);
    return true;
}

}  // namespace

MibWalk::MibWalk() = default;

MibWalk::~MibWalk() { ObjectRecord::destroyList(list); }

MibObjectList *MibWalk::listAll()
{
    try {
        MibWalk walk;
        walk.list = static_cast<MibObjectList *>(std::calloc(1, sizeof(MibObjectList)));
        if (!walk.list) {
            errno = ENOMEM;
            return nullptr;
        }
        walk.rootTail = &walk.list->first;
        int error = walk.walk(true);
        // Kernels before 13.0 have no nextnoskip; next lists the leaves, and
        // their nodes are made from them.
        if ((error == 0 || error == ENOENT) && walk.listed == 0)
            error = walk.walk(false);
        if (error == ENOENT && walk.listed == 0)
            error = 0;  // an empty MIB
        if (error != 0) {
            errno = error;
            return nullptr;
        }
        MibObjectList *result = walk.list;
        walk.list = nullptr;
        return result;
    } catch (const std::bad_alloc &) {
        errno = ENOMEM;
    } catch (...) {
        errno = EIO;
    }
    return nullptr;
}

int MibWalk::walk(bool noSkip)
{
    Oid from;
    Oid last;
    Oid found;
    for (;;) {
        const int error = MetaQuery::next(from, noSkip, found);
        if (error != 0)
            return listed == 0 ? error : 0;
        // The kernel's walk only ever moves forward, even over a MIB that
        // changes under it; anything else would list an object twice or
        // never end.
        if (!last.empty() && !std::lexicographical_compare(last.begin(), last.end(),
                                                           found.begin(), found.end()))
            return 0;
        if (listed >= maxObjects)
            return 0;
        last = found;
        if (found.size() <= MetaQuery::maxQueryLevels) {
            if (!attach(found))
                throw std::bad_alloc();
            from = found;
            continue;
        }
        if (!append(describeDeep(found)))
            throw std::bad_alloc();
        if (!resumeAfterDeep(found, from))
            return 0;
        // The object where the walk resumes is skipped by the next step;
        // list it now if it exists.
        std::uint32_t kind = 0;
        std::string format;
        if (MetaQuery::format(from, kind, format) == 0 || MetaQuery::description(from, format) == 0) {
            if (!attach(from))
                throw std::bad_alloc();
            last = from;
        }
    }
}

bool MibWalk::attach(const Oid &oid, const std::string *knownName)
{
    ObjectFacts facts = ObjectFacts::query(oid, knownName);
    while (!open.empty() && !isPrefix(open.back().oid, oid))
        open.pop_back();
    // Nodes the walk skipped: named from this object's name where it has
    // one component per level, else by the kernel.
    const std::size_t depth = open.empty() ? 0 : open.back().oid.size();
    for (std::size_t levels = depth + 1; levels < oid.size(); ++levels) {
        const Oid prefix(oid.begin(), oid.begin() + static_cast<long>(levels));
        std::string name;
        const bool named = namePrefix(facts.name, oid.size(), levels, name);
        if (!append(ObjectFacts::query(prefix, named ? &name : nullptr)))
            return false;
    }
    return append(facts);
}

bool MibWalk::append(const ObjectFacts &facts)
{
    while (!open.empty() && !isPrefix(open.back().oid, facts.oid))
        open.pop_back();
    MibObject **tail = rootTail;
    if (!open.empty()) {
        Open &parent = open.back();
        if (!parent.object->children) {
            parent.object->children =
                static_cast<MibObjectList *>(std::calloc(1, sizeof(MibObjectList)));
            if (!parent.object->children)
                return false;
            parent.childTail = &parent.object->children->first;
        }
        tail = parent.childTail;
    }
    MibObject *object = ObjectRecord::create(facts);
    if (!object)
        return false;
    *tail = object;
    if (open.empty())
        rootTail = &object->next;
    else
        open.back().childTail = &object->next;
    ++listed;
    open.push_back({facts.oid, facts.name, object, nullptr});
    return true;
}

ObjectFacts MibWalk::describeDeep(const Oid &oid)
{
    // Too deep for any query: named after its deepest askable ancestor, with
    // the remaining levels as numbers, as the kernel names levels it cannot
    // name itself. Its kind stays unknown.
    ObjectFacts facts;
    facts.oid = oid;
    const Oid prefix(oid.begin(), oid.begin() + MetaQuery::maxQueryLevels);
    if (MetaQuery::name(prefix, facts.name) != 0)
        facts.name.clear();
    for (std::size_t i = MetaQuery::maxQueryLevels; i < oid.size(); ++i)
        facts.name += (facts.name.empty() ? "" : ".") + std::to_string(oid[i]);
    return facts;
}

bool MibWalk::resumeAfterDeep(const Oid &deep, Oid &from)
{
    from.assign(deep.begin(), deep.begin() + MetaQuery::maxQueryLevels);
    while (!from.empty() && from.back() == INT_MAX)
        from.pop_back();
    if (from.empty())
        return false;
    ++from.back();
    return true;
}

}  // namespace freebsd
