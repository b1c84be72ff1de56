#ifndef OIDSCOPE_LINUX_TREE_WALK_H
#define OIDSCOPE_LINUX_TREE_WALK_H

#include <cstddef>
#include <vector>

namespace linuxmib {

class ObjectTree;
struct KnownObject;

// The next and nextnoskip queries: depth first by child number, the first
// object strictly after a given identifier, which need not exist (any more).
// Files are leaves with a handler; directories are nodes without one, which
// only nextnoskip returns.
class TreeWalk {
public:
    TreeWalk(ObjectTree &tree, bool nodesToo) : tree(tree), nodesToo(nodesToo) {}

    // 0 and the identifier of the next object, ENOENT after the last, or
    // the errno of listing the root. No levels: a walk from the beginning.
    int next(const int *levels, std::size_t count, std::vector<int> &oid);

private:
    KnownObject *after(KnownObject &dir, const int *levels, std::size_t count, std::vector<int> &oid);

    ObjectTree &tree;
    const bool nodesToo;
};

}  // namespace linuxmib

#endif
