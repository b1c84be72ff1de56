#ifndef OIDSCOPE_LINUX_MIB_LISTER_H
#define OIDSCOPE_LINUX_MIB_LISTER_H

#include "nmeta.h"

#include <string>
#include <vector>

namespace linuxmib {

class MibEntry;

// The whole tree below the root as nmeta_mib hands it out.
class MibLister {
public:
    // Every top-level object with its subtree; NULL with errno set when the
    // root cannot be listed or memory runs out. A subdirectory that cannot be
    // listed appears as a node without children.
    static MibObjectList *listRoot();

private:
    // The children of a directory entry into *list (NULL when it has none).
    // 0, ENOMEM, or the errno of listing the directory itself.
    static int listChildren(const MibEntry &parent, MibObjectList **list);
};

}  // namespace linuxmib

#endif
