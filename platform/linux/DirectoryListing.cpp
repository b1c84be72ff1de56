#include "DirectoryListing.h"

#include "RootDirectory.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace linuxmib {

namespace {

// Whether an entry belongs to the MIB and is a directory. procfs reports the
// kind with the name; other file systems may need a stat that does not follow
// links.
bool classify(int dirFd, const dirent *ent, bool &directory)
{
    unsigned char kind = ent->d_type;
    if (kind == DT_UNKNOWN) {
        struct stat st;
        if (fstatat(dirFd, ent->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0)
            return false;
        kind = S_ISDIR(st.st_mode) ? DT_DIR : S_ISREG(st.st_mode) ? DT_REG : DT_UNKNOWN;
    }
    directory = kind == DT_DIR;
    return kind == DT_DIR || kind == DT_REG;
}

}  // namespace

int DirectoryListing::read(int dirFd)
{
    entryList.clear();
    // A description of its own, so that reading does not move the position
    // of the caller's descriptor (the root's is shared by every call).
    const int fd = openat(dirFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    DIR *stream = fdopendir(fd);
    if (!stream) {
        const int err = errno;
        close(fd);
        return err;
    }
    int err = 0;
    for (;;) {
        errno = 0;
        const dirent *ent = readdir(stream);
        if (!ent) {
            err = errno;
            break;
        }
        const std::string name = ent->d_name;
        bool directory = false;
        if (RootDirectory::acceptableName(name) && classify(dirfd(stream), ent, directory))
            entryList.push_back({name, directory});
    }
    closedir(stream);
    if (err != 0) {
        entryList.clear();
        return err;
    }
    // std::string compares as unsigned bytes, independent of the locale.
    std::sort(entryList.begin(), entryList.end(),
              [](const Entry &a, const Entry &b) { return a.name < b.name; });
    return 0;
}

}  // namespace linuxmib
