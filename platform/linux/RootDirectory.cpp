#include "RootDirectory.h"

#include <cerrno>
#include <fcntl.h>

namespace linuxmib {

namespace {

// A component that is no longer what it was (a link, a file where a
// directory was), or could never be a file name, means no object is there.
int componentError(int err)
{
    return err == ELOOP || err == ENOTDIR || err == ENAMETOOLONG ? ENOENT : err;
}

// Only regular files hold values; a directory is a node.
int regularOnly(const struct stat &st)
{
    if (S_ISDIR(st.st_mode))
        return EISDIR;
    return S_ISREG(st.st_mode) ? 0 : ENOENT;
}

}  // namespace

void RootDirectory::reset(const std::string &directory)
{
    root.reset();
    path = directory;
}

int RootDirectory::open(FileDescriptor &out)
{
    if (root.get() < 0) {
        const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        // Without its directory there is no kernel to ask: not an empty MIB
        // (which a walk ending at once with ENOENT would be).
        if (fd < 0)
            return errno == ENOENT || errno == ENOTDIR ? ENOSYS : errno;
        FileDescriptor opened(fd);
        root.take(opened);
    }
    out.borrow(root.get());
    return 0;
}

bool RootDirectory::acceptableName(const std::string &name)
{
    return !name.empty() && name != "." && name != ".." &&
           name.find('/') == std::string::npos && name.find('\0') == std::string::npos;
}

int RootDirectory::openDirectory(int parent, const std::string &name, FileDescriptor &out)
{
    if (!acceptableName(name))
        return ENOENT;
    const int fd = openat(parent, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return componentError(errno);
    FileDescriptor opened(fd);
    out.take(opened);
    return 0;
}

int RootDirectory::status(int parent, const std::string &name, struct stat &st)
{
    if (!acceptableName(name))
        return ENOENT;
    if (fstatat(parent, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return componentError(errno);
    return 0;
}

int RootDirectory::openFile(int parent, const std::string &name, int flags, FileDescriptor &out,
                            struct stat &st)
{
    // Checked before opening, as opening a device or FIFO may act or block;
    // checked again on what was opened, in case it was swapped meanwhile.
    if (int err = status(parent, name, st))
        return err;
    if (int err = regularOnly(st))
        return err;
    const int fd = openat(parent, name.c_str(), flags | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return errno == ENXIO ? ENOENT : componentError(errno);
    FileDescriptor opened(fd);
    if (fstat(fd, &st) != 0)
        return errno;
    if (int err = regularOnly(st))
        return err;
    out.take(opened);
    return 0;
}

}  // namespace linuxmib
