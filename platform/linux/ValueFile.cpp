#include "ValueFile.h"

#include <cerrno>
#include <unistd.h>

namespace linuxmib {

int ValueFile::read(int fd, std::string &content)
{
    content.clear();
    char buffer[16384];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const int err = errno;
            content.clear();
            return err;
        }
        if (n == 0)
            return 0;
        if (content.size() + static_cast<std::size_t>(n) > maxContent) {
            content.clear();
            return EFBIG;
        }
        content.append(buffer, static_cast<std::size_t>(n));
    }
}

int ValueFile::write(int fd, const struct stat &st, const std::string &text)
{
    ssize_t n;
    do
        n = ::write(fd, text.data(), text.size());
    while (n < 0 && errno == EINTR);
    if (n < 0)
        return errno;
    if (static_cast<std::size_t>(n) != text.size())
        return EIO;
    // /proc/sys files report size 0; an ordinary file would keep the tail of
    // a longer old value. Cut only after the write was taken, so a refused
    // write leaves the old value whole.
    if (st.st_size > n && ftruncate(fd, n) != 0)
        return errno;
    return 0;
}

}  // namespace linuxmib
