#include "KernelWalk.h"

#include "ctlvocab.h"

#include <algorithm>
#include <cerrno>

namespace sim {

namespace {

bool dormant(const MibStore::Node *node) { return node->object.flags & NM_CTLFLAG_DORMANT; }

bool isNode(const MibStore::Node *node) { return node->object.type == NM_CTLTYPE_NODE; }

// The first sibling numbered `number` or more.
std::vector<MibStore::Node *>::const_iterator firstFrom(const std::vector<MibStore::Node *> &siblings,
                                                        int number)
{
    return std::lower_bound(siblings.begin(), siblings.end(), number,
                            [](const MibStore::Node *n, int v) { return n->object.oid.back() < v; });
}

}  // namespace

MibStore::Node *KernelWalk::find(const int *levels, std::size_t count) const
{
    for (std::size_t i = 1; i <= count; ++i) {
        MibStore::Node *node = mib_.findByOid(levels, i);
        if (!node || dormant(node))
            return nullptr;
        if (i == count)
            return node;
    }
    return nullptr;
}

int KernelWalk::lookUp(const int *levels, std::size_t count, const MibStore::Node *&found) const
{
    found = nullptr;
    for (std::size_t i = 1; i <= count; ++i) {
        const MibStore::Node *node = mib_.findByOid(levels, i);
        if (!node || dormant(node))
            return ENOENT;
        if (i == count || (isNode(node) && node->object.hasHandler())) {
            found = node;
            return 0;
        }
        if (!isNode(node))
            return ENOTDIR;
    }
    return ENOENT;
}

bool KernelWalk::namable(const MibStore::Node *node) const
{
    if (dormant(node))
        return false;
    for (const MibStore::Node *up = node->parent; up; up = up->parent)
        if (dormant(up) || up->object.hasHandler())
            return false;
    return true;
}

bool KernelWalk::returnable(const MibStore::Node *node) const
{
    if (dormant(node))
        return false;
    if (noSkip_)
        return true;
    return !(node->object.flags & NM_CTLFLAG_SKIP) && !(isNode(node) && !node->object.hasHandler());
}

bool KernelWalk::descendable(const MibStore::Node *node) const
{
    return !dormant(node) && (noSkip_ || !(node->object.flags & NM_CTLFLAG_SKIP)) && isNode(node) &&
           !node->object.hasHandler();
}

const std::vector<MibStore::Node *> &KernelWalk::siblingsOf(const MibStore::Node *node) const
{
    return node->parent ? node->parent->children : mib_.topLevel();
}

const MibStore::Node *KernelWalk::pastSubtree(const MibStore::Node *node) const
{
    while (node) {
        const std::vector<MibStore::Node *> &siblings = siblingsOf(node);
        auto at = firstFrom(siblings, node->object.oid.back());
        if (at != siblings.end() && *at == node && ++at != siblings.end())
            return *at;
        node = node->parent;
    }
    return nullptr;
}

const MibStore::Node *KernelWalk::visit(const MibStore::Node *node) const
{
    while (node) {
        if (returnable(node))
            return node;
        if (descendable(node) && !node->children.empty())
            node = node->children.front();
        else
            node = pastSubtree(node);
    }
    return nullptr;
}

const MibStore::Node *KernelWalk::after(const int *levels, std::size_t count) const
{
    const std::vector<MibStore::Node *> *siblings = &mib_.topLevel();
    const MibStore::Node *current = nullptr;
    for (std::size_t i = 0; i < count; ++i) {
        auto at = firstFrom(*siblings, levels[i]);
        if (at == siblings->end() || (*at)->object.oid.back() != levels[i]) {
            // The position lies between objects: the walk goes on with the
            // next larger one.
            if (at != siblings->end())
                return visit(*at);
            return current ? visit(pastSubtree(current)) : nullptr;
        }
        current = *at;
        if (i + 1 < count) {
            if (!descendable(current))
                return visit(pastSubtree(current));
            siblings = &current->children;
        }
    }
    if (!current)
        return siblings->empty() ? nullptr : visit(siblings->front());
    if (descendable(current) && !current->children.empty())
        return visit(current->children.front());
    return visit(pastSubtree(current));
}

}  // namespace sim
