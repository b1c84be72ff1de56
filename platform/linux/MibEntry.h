#ifndef OIDSCOPE_LINUX_MIB_ENTRY_H
#define OIDSCOPE_LINUX_MIB_ENTRY_H

#include <string>
#include <vector>

namespace linuxmib {

// Where one MIB object lives: its path, dotted name and identifier. Found
// from the name or from the identifier by walking the same sorted listings
// that the whole-tree listing walks, so the three always agree with it.
class MibEntry {
public:
    std::string path;
    std::string name;
    std::vector<int> oid;
    bool directory = false;

    // 0; ENOENT when nothing has that name; or the errno of a directory on
    // the way that cannot be listed.
    int findByName(const std::string &dottedName);

    // 0; ENOENT when the identifier designates nothing; or the errno of a
    // directory on the way that cannot be listed.
    int findByOid(const int *levels, std::size_t count);

private:
    void reset();
};

}  // namespace linuxmib

#endif
