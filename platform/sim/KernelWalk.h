#ifndef OIDSCOPE_SIM_KERNEL_WALK_H
#define OIDSCOPE_SIM_KERNEL_WALK_H

#include "MibStore.h"

namespace sim {

// How the kernel finds objects by identifier and walks them: children by
// number, depth first; DORMANT objects invisible; nodes with a handler never
// descended; with next (not nextnoskip) SKIP subtrees and bare nodes left out.
class KernelWalk {
public:
    KernelWalk(MibStore &mib, bool noSkip) : mib_(mib), noSkip_(noSkip) {}

    // The visible object with exactly these levels, or NULL.
    MibStore::Node *find(const int *levels, std::size_t count) const;

    // The kernel's lookup: 0 and the object the levels lead to (which stops
    // at a node with a handler, whatever levels follow); ENOENT when there is
    // none; ENOTDIR when levels go on past a leaf.
    int lookUp(const int *levels, std::size_t count, const MibStore::Node *&found) const;

    // Whether name2oid finds the object: visible, and not below a node with
    // a handler.
    bool namable(const MibStore::Node *node) const;

    // The first object the walk returns strictly after the given levels
    // (which need not name an object), or NULL at the end.
    const MibStore::Node *after(const int *levels, std::size_t count) const;

private:
    bool returnable(const MibStore::Node *node) const;
    bool descendable(const MibStore::Node *node) const;
    const std::vector<MibStore::Node *> &siblingsOf(const MibStore::Node *node) const;
    // The first object returned at or after node in the walk.
    const MibStore::Node *visit(const MibStore::Node *node) const;
    // The object after node's whole subtree, returned or not.
    const MibStore::Node *pastSubtree(const MibStore::Node *node) const;

    MibStore &mib_;
    bool noSkip_;
};

}  // namespace sim

#endif
