#ifndef OIDSCOPE_LINUX_VALUE_ACCESS_H
#define OIDSCOPE_LINUX_VALUE_ACCESS_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace linuxmib {

class ObjectTree;
struct KnownObject;

// An object's kind, and its value read and written through its file. An
// object's type is determined once from its file's content and then names
// its encoding, for reads and writes alike, until a walk from the beginning
// lists it again: a file whose content no longer fits that type is neither
// read nor written.
class ValueAccess {
public:
    explicit ValueAccess(ObjectTree &tree) : tree(tree) {}

    // 0, the kind word (type and flags) and the format text; ENOENT when the
    // object no longer exists.
    int describe(KnownObject &object, std::uint32_t &kind, const char *&format);

    // 0 and the value's bytes: 8-byte integers of the object's type, or the
    // text and a NUL. EISDIR for a directory; EINVAL when the content no
    // longer fits the type; or the errno of the file.
    int read(KnownObject &object, std::vector<unsigned char> &bytes);

    // Writes what the new bytes say, or nothing. EINVAL for no bytes, for
    // bytes that are no whole elements of the type, for an empty string on
    // a file that cannot be read (whose write would run an action), for
    // more numbers than a readable file holds and for a file whose content
    // no longer fits the type. EISDIR for a directory, EIO for a write the
    // file took only in part, or the file's own errno.
    int write(KnownObject &object, const void *data, std::size_t length);

private:
    // The recorded type, determined from content (when it could be read)
    // if there is none.
    static std::uint8_t typeOf(KnownObject &object, const std::string *content);

    ObjectTree &tree;
};

}  // namespace linuxmib

#endif
