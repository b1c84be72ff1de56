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
    // The type the text gives its object: S64, U64 or STRING.
    static std::uint8_t typeOf(const std::string &text);

    // The bytes of the text for an object of the given type: 8-byte native
    // integers, or the text and a NUL. The text fits a string whatever it is;
    // it fits an integer type when it is a list of integers that type holds
    // (S64: -2^63 to 2^63-1; U64: 0 to 2^64-1). EINVAL when it does not fit.
    static int toBytes(std::uint8_t type, const std::string &text, std::vector<unsigned char> &bytes);

    // The text for new bytes of an integer type: whole 8-byte elements of
    // that type, in decimal, separated by tabs and ended by a line feed.
    // EINVAL for no element or a partial one.
    static int numbersText(std::uint8_t type, const void *data, std::size_t length, std::string &text);

    // The text of new string bytes: up to the first NUL.
    static std::string stringText(const void *data, std::size_t length);
};

}  // namespace linuxmib

#endif
