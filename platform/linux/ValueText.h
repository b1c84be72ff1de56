#ifndef OIDSCOPE_LINUX_VALUE_TEXT_H
#define OIDSCOPE_LINUX_VALUE_TEXT_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace linuxmib {

// The two forms of a value: the text a /proc/sys file holds and the bytes
// sysctl hands out. Text made only of whitespace-separated decimal integers
// (at least one) is an array of 64-bit integers, signed unless a number needs
// the unsigned range; any other text is a string.
class ValueText {
public:
    struct Value {
        std::uint8_t type;                // typeS64, typeU64 or typeString
        std::vector<unsigned char> bytes; // 8-byte native integers, or text and NUL
    };

    static Value decode(const std::string &text);

    // The text to write for new value bytes of an object of the given type:
    // integers as decimal separated by tabs and ended by a line feed, a string
    // up to its first NUL. 0, or EINVAL when the bytes do not fit the type.
    static int encode(std::uint8_t type, const void *data, std::size_t length,
                      std::string &text);
};

}  // namespace linuxmib

#endif
