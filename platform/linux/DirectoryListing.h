#ifndef OIDSCOPE_LINUX_DIRECTORY_LISTING_H
#define OIDSCOPE_LINUX_DIRECTORY_LISTING_H

#include <string>
#include <vector>

namespace linuxmib {

// The entries of one directory that belong to the MIB: subdirectories and
// regular files. Symbolic links and special files are left out, so a walk
// never leaves the tree or loops. Sorted byte-wise.
class DirectoryListing {
public:
    struct Entry {
        std::string name;
        bool directory;
    };

    // 0, or the errno of reading the open directory dirFd (which is left
    // open, and its position untouched).
    int read(int dirFd);

    const std::vector<Entry> &entries() const { return entryList; }

private:
    std::vector<Entry> entryList;
};

}  // namespace linuxmib

#endif
