#ifndef OIDSCOPE_LINUX_ROOT_H
#define OIDSCOPE_LINUX_ROOT_H

#include <string>

// The directory the Linux kernel side serves as the MIB: /proc/sys, unless a
// test points it at a tree of its own. Everything known of the old directory
// (identifiers, types) is forgotten. The program never calls it.
void nmeta_linux_set_root(const std::string &dir);

#endif
