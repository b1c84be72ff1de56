#include "CallReply.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace linuxmib {

int CallReply::copy(const void *data, std::size_t size, void *oldp, std::size_t *oldlenp)
{
    if (!oldlenp)
        return 0;
    if (!oldp) {
        *oldlenp = size;
        return 0;
    }
    const std::size_t stored = std::min(*oldlenp, size);
    if (stored > 0)
        std::memcpy(oldp, data, stored);
    *oldlenp = stored;
    return stored < size ? ENOMEM : 0;
}

}  // namespace linuxmib
