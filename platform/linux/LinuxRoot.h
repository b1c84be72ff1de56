#ifndef OIDSCOPE_LINUX_ROOT_H
#define OIDSCOPE_LINUX_ROOT_H

#include <string>

// The directory the Linux backend presents as the MIB: /proc/sys, unless a
// test points it at a tree of its own. The program never changes it.
void nmeta_linux_set_root(const std::string &dir);
const std::string &nmeta_linux_root();

#endif
