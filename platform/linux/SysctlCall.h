#ifndef OIDSCOPE_LINUX_SYSCTL_CALL_H
#define OIDSCOPE_LINUX_SYSCTL_CALL_H

#include <cstddef>

namespace linuxmib {

// The sysctl call over files: reads hand out the value in its binary form
// (8-byte native integers, or the string and a NUL), writes turn new bytes
// back into the text the file expects. The type is taken from the file's
// content at the moment of the call.
class SysctlCall {
public:
    // 0, or the errno of the failure:
    //  EINVAL  bad arguments, or new bytes that do not fit the type;
    //  ENOENT  the identifier designates nothing;
    //  EISDIR  the identifier designates a node, which has no value;
    //  ENOMEM  the read buffer was too small (it holds what fit, and
    //          *oldlenp the bytes stored); nothing is written then;
    //  any errno of opening, reading or writing the file.
    static int run(const int *name, unsigned int namelen, void *oldp, std::size_t *oldlenp,
                   const void *newp, std::size_t newlen);
};

}  // namespace linuxmib

#endif
