#ifndef OIDSCOPE_LINUX_PROC_KERNEL_H
#define OIDSCOPE_LINUX_PROC_KERNEL_H

#include "Descriptions.h"
#include "ObjectTree.h"
#include "RootDirectory.h"
#include "ValueAccess.h"

#include <cstddef>
#include <mutex>
#include <string>

namespace linuxmib {

// A FreeBSD-style kernel over the directory tree of /proc/sys: the meta-MIB
// below level 0, and every other identifier an object whose value is its
// file's. One per process, as there is one kernel.
class ProcKernel {
public:
    static ProcKernel &instance();

    // Serves another directory, forgetting all that was known of the old.
    void serve(const std::string &directory);

    // The sysctl call: 0, or the errno of its failure.
    int call(const int *name, unsigned int namelen, void *oldp, std::size_t *oldlenp,
             const void *newp, std::size_t newlen);

private:
    ProcKernel() : tree(root), values(tree) {}

    int valueCall(const int *name, unsigned int namelen, void *oldp, std::size_t *oldlenp,
                  const void *newp, std::size_t newlen);

    std::mutex lock;
    RootDirectory root;
    ObjectTree tree;
    ValueAccess values;
    Descriptions descriptions;
};

}  // namespace linuxmib

#endif
