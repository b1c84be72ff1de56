#ifndef OIDSCOPE_LINUX_ROOT_DIRECTORY_H
#define OIDSCOPE_LINUX_ROOT_DIRECTORY_H

#include "FileDescriptor.h"

#include <string>
#include <sys/stat.h>

namespace linuxmib {

// The directory served as the MIB, opened once, and the only way below it:
// every path component is opened relative to its parent without following
// links, so nothing outside the root is ever reached, whatever is swapped in
// on the way.
class RootDirectory {
public:
    static constexpr const char *procSys = "/proc/sys";

    RootDirectory() : path(procSys) {}

    // Serves another directory; the old one's descriptor is closed.
    void reset(const std::string &directory);

    // 0 and the root, borrowed; or the errno of opening it, ENOSYS when it
    // does not exist or is no directory (retried on the next call, so a root
    // that appears later is served).
    int open(FileDescriptor &out);

    // 0 and the subdirectory name of parent. A name that is a link, not a
    // directory, or "." or ".." is ENOENT: no object of the MIB is there.
    static int openDirectory(int parent, const std::string &name, FileDescriptor &out);

    // 0 and the file name of parent opened with flags (O_NOFOLLOW, O_NONBLOCK
    // and O_CLOEXEC added), checked to be a regular file before and after
    // opening, so that no device or FIFO is opened and nothing can block.
    // EISDIR for a directory, ENOENT for anything else that is not a file.
    static int openFile(int parent, const std::string &name, int flags, FileDescriptor &out,
                        struct stat &st);

    // 0 and what name is in parent, links not followed.
    static int status(int parent, const std::string &name, struct stat &st);

    // Whether a file name can be a component below the root at all.
    static bool acceptableName(const std::string &name);

private:
    std::string path;
    FileDescriptor root;
};

}  // namespace linuxmib

#endif
