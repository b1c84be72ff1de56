#ifndef OIDSCOPE_LINUX_KNOWN_OBJECT_H
#define OIDSCOPE_LINUX_KNOWN_OBJECT_H

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace linuxmib {

// One entry below the root that has been seen, with the number it was given.
// An entry is never forgotten while its root is served, so its number is
// never given to another name, even after it disappears.
struct KnownObject {
    std::string fileName;         // its name in its directory
    KnownObject *parent = nullptr;
    int number = 0;               // its level in the identifier, from 1
    unsigned depth = 0;           // levels of its identifier; 0 for the root
    bool directory = false;
    bool present = true;          // in its directory's latest listing

    // Directories: children[i] is numbered i + 1.
    std::vector<std::unique_ptr<KnownObject>> children;
    std::unordered_map<std::string, KnownObject *> childByName;
    unsigned listedIn = 0;        // walk of the latest listing; 0: never listed

    // Files: the type first determined since the latest listing, or 0.
    std::uint8_t type = 0;
};

}  // namespace linuxmib

#endif
