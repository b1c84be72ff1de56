#ifndef OIDSCOPE_LINUX_DIRECTORY_LISTING_H
#define OIDSCOPE_LINUX_DIRECTORY_LISTING_H

#include <string>
#include <vector>

namespace linuxmib {

// The entries of one directory that belong to the MIB: subdirectories and
// regular files. Symbolic links and special files are left out, so a walk
// never leaves the tree or loops. Sorted byte-wise; an entry's position,
// counted from 1, is its identifier level.
class DirectoryListing {
public:
    struct Entry {
        std::string name;
        bool directory;
    };

    // 0, or the errno of opening or reading the directory.
    int read(const std::string &dir);

    const std::vector<Entry> &entries() const { return entryList; }

    // Position (from 1) of the entry with that file name, or 0.
    int find(const std::string &name) const;

private:
    std::vector<Entry> entryList;
};

}  // namespace linuxmib

#endif
