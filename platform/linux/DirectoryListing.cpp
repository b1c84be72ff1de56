#include "DirectoryListing.h"

#include <algorithm>
#include <cerrno>
#include <climits>
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

int DirectoryListing::read(const std::string &dir)
{
    entryList.clear();
    int fd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    DIR *stream = fdopendir(fd);
    if (!stream) {
        int err = errno;
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
        std::string name = ent->d_name;
        if (name == "." || name == "..")
            continue;
        bool directory = false;
        if (classify(dirfd(stream), ent, directory))
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
    // Identifier levels are ints; a directory this large cannot be addressed.
    if (entryList.size() > static_cast<std::size_t>(INT_MAX))
        entryList.resize(INT_MAX);
    return 0;
}

int DirectoryListing::find(const std::string &name) const
{
    auto it = std::lower_bound(entryList.begin(), entryList.end(), name,
                               [](const Entry &e, const std::string &n) { return e.name < n; });
    if (it == entryList.end() || it->name != name)
        return 0;
    return static_cast<int>(it - entryList.begin()) + 1;
}

}  // namespace linuxmib
