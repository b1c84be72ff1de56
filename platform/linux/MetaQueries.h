#ifndef OIDSCOPE_LINUX_META_QUERIES_H
#define OIDSCOPE_LINUX_META_QUERIES_H

#include <cstddef>

namespace linuxmib {

class Descriptions;
class ObjectTree;
class ValueAccess;
struct KnownObject;

// The kernel's own queries about its MIB, below level 0: {0, query,
// levels...}, answered for the tree below the root as FreeBSD answers them.
class MetaQueries {
public:
    MetaQueries(ObjectTree &tree, ValueAccess &values, Descriptions &descriptions)
        : tree(tree), values(values), descriptions(descriptions)
    {
    }

    // 0, or the errno of the query (ENOENT for one that does not exist).
    int run(int query, const int *levels, std::size_t count, void *oldp, std::size_t *oldlenp,
            const void *newp, std::size_t newlen);

private:
    int name(const int *levels, std::size_t count, void *oldp, std::size_t *oldlenp);
    int next(bool nodesToo, const int *levels, std::size_t count, void *oldp, std::size_t *oldlenp);
    int nameToOid(const void *newp, std::size_t newlen, void *oldp, std::size_t *oldlenp);
    int format(const int *levels, std::size_t count, void *oldp, std::size_t *oldlenp);
    int description(const int *levels, std::size_t count, void *oldp, std::size_t *oldlenp);

    ObjectTree &tree;
    ValueAccess &values;
    Descriptions &descriptions;
};

}  // namespace linuxmib

#endif
