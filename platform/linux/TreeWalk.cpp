#include "TreeWalk.h"

#include "ObjectTree.h"

#include <cerrno>

namespace linuxmib {

int TreeWalk::next(const int *levels, std::size_t count, std::vector<int> &oid)
{
    if (count == 0)
        tree.startWalk();
    oid.clear();
    // A root that cannot be listed is no MIB, not an empty one.
    if (int err = tree.listForWalk(tree.top()))
        return err;
    return after(tree.top(), levels, count, oid) ? 0 : ENOENT;
}

// The first object below dir after the levels (relative to dir; none: the
// first object below it), its identifier appended to oid.
KnownObject *TreeWalk::after(KnownObject &dir, const int *levels, std::size_t count,
                             std::vector<int> &oid)
{
    // A directory that cannot be listed is a node without children.
    static_cast<void>(tree.listForWalk(dir));
    const int from = count == 0 ? 1 : levels[0];
    for (std::size_t i = from > 1 ? static_cast<std::size_t>(from) - 1 : 0; i < dir.children.size(); ++i) {
        KnownObject &object = *dir.children[i];
        if (!object.present)
            continue;
        oid.push_back(object.number);
        if (count > 0 && object.number == levels[0]) {
            // The given identifier goes through this object: what follows
            // it is below it (a file has nothing below).
            if (object.directory)
                if (KnownObject *found = after(object, levels + 1, count - 1, oid))
                    return found;
        } else {
            if (!object.directory || nodesToo)
                return &object;
            if (KnownObject *found = after(object, nullptr, 0, oid))
                return found;
        }
        oid.pop_back();
    }
    return nullptr;
}

}  // namespace linuxmib
