#ifndef OIDSCOPE_LINUX_VALUE_FILE_H
#define OIDSCOPE_LINUX_VALUE_FILE_H

#include <cstddef>
#include <string>
#include <sys/stat.h>

namespace linuxmib {

// Reading and writing the content of one open file.
class ValueFile {
public:
    // No sysctl value comes near this; a file beyond it is refused rather
    // than read into memory.
    static constexpr std::size_t maxContent = std::size_t{1} << 20;

    // 0 and the whole content, or the errno of read (EFBIG past maxContent).
    static int read(int fd, std::string &content);

    // 0, or the errno of write. The text goes in a single write(2), as
    // /proc/sys takes a value from one write; EIO when only part of it was
    // taken. st is the file's status from opening it.
    static int write(int fd, const struct stat &st, const std::string &text);
};

}  // namespace linuxmib

#endif
