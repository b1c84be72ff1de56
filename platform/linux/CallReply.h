#ifndef OIDSCOPE_LINUX_CALL_REPLY_H
#define OIDSCOPE_LINUX_CALL_REPLY_H

#include <cstddef>

namespace linuxmib {

// What a sysctl call hands back in its old buffer, the kernel's way.
class CallReply {
public:
    // No buffer: *oldlenp becomes the reply's size. A buffer: what fits is
    // copied and *oldlenp becomes the bytes copied; ENOMEM when that is not
    // all. No oldlenp: nothing is wanted.
    static int copy(const void *data, std::size_t size, void *oldp, std::size_t *oldlenp);
};

}  // namespace linuxmib

#endif
