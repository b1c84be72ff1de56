#ifndef OIDSCOPE_LINUX_SYSCTL_NAME_H
#define OIDSCOPE_LINUX_SYSCTL_NAME_H

#include <string>
#include <vector>

namespace linuxmib {

// Dotted names versus path components below the root. A '.' inside one
// component (a VLAN interface "eth0.1") is written '/' in the dotted name, as
// Linux's own sysctl tool does, so that '.' always separates levels.
class SysctlName {
public:
    // The dotted form of one path component.
    static std::string fromComponent(const std::string &component);

    // The path components a dotted name stands for; false when it cannot name
    // anything (empty, or an empty level as in "a..b" or ".a"). One final '.'
    // is allowed, as the kernel's name lookup allows it.
    static bool split(const std::string &name, std::vector<std::string> &components);
};

}  // namespace linuxmib

#endif
