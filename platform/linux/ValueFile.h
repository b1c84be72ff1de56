#ifndef OIDSCOPE_LINUX_VALUE_FILE_H
#define OIDSCOPE_LINUX_VALUE_FILE_H

#include <string>

namespace linuxmib {

// Reading and writing one file below the root, symbolic links refused.
class ValueFile {
public:
    // 0 and the whole content, or the errno of open or read (EFBIG past a
    // size no sysctl value comes near).
    static int read(const std::string &path, std::string &content);

    // 0, or the errno of open or write. The text goes in a single write(2),
    // as /proc/sys takes a value from one write; EIO when only part of it
    // was taken.
    static int write(const std::string &path, const std::string &text);
};

}  // namespace linuxmib

#endif
