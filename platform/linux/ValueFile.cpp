#include "ValueFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace linuxmib {

namespace {

constexpr std::size_t maxContent = std::size_t{16} << 20;

class Descriptor {
public:
    explicit Descriptor(int fd) : fd(fd) {}
    ~Descriptor()
    {
        if (fd >= 0)
            close(fd);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    const int fd;
};

}  // namespace

int ValueFile::read(const std::string &path, std::string &content)
{
    content.clear();
    Descriptor file(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
    if (file.fd < 0)
        return errno;
    char buffer[16384];
    for (;;) {
        const ssize_t n = ::read(file.fd, buffer, sizeof buffer);
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

int ValueFile::write(const std::string &path, const std::string &text)
{
    Descriptor file(open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOFOLLOW));
    if (file.fd < 0)
        return errno;
    ssize_t n;
    do
        n = ::write(file.fd, text.data(), text.size());
    while (n < 0 && errno == EINTR);
    if (n < 0)
        return errno;
    if (static_cast<std::size_t>(n) != text.size())
        return EIO;
    // /proc/sys files report size 0; an ordinary file would keep the tail of
    // a longer old value. Cut only after the write was taken, so a refused
    // write leaves the old value whole.
    struct stat st;
    if (fstat(file.fd, &st) == 0 && st.st_size > n && ftruncate(file.fd, n) != 0)
        return errno;
    return 0;
}

}  // namespace linuxmib
