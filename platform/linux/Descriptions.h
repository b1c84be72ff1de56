#ifndef OIDSCOPE_LINUX_DESCRIPTIONS_H
#define OIDSCOPE_LINUX_DESCRIPTIONS_H

#include "DocIndex.h"

#include <string>

namespace linuxmib {

// What oiddescr answers: /proc/sys keeps no descriptions beside its files,
// so they come from the kernel's installed documentation, which describes
// /proc/sys and no other tree.
class Descriptions {
public:
    // Serves a root: documented when it is /proc/sys. Forgets what was read.
    void serve(bool procSys);

    // Reads the documentation afresh: once per walk from the beginning.
    void reload();

    // The description of a dotted name, or nullptr. Reads the documentation
    // first if no walk has yet.
    const std::string *find(const std::string &dottedName);

private:
    DocIndex index;
    bool documented = true;
    bool loaded = false;
};

}  // namespace linuxmib

#endif
