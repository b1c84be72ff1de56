#ifndef OIDSCOPE_SIM_NUMBER_BYTES_H
#define OIDSCOPE_SIM_NUMBER_BYTES_H

// Numbers as value bytes in the machine's byte order, and numbers read from
// text. The simulated kernel's fixtures and generator use them, and so do
// the tests (the Linux ones too: this needs nothing but the standard library).

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <string>

namespace sim {

template <typename T> void appendAs(std::string &out, T value)
{
    char bytes[sizeof value];
    std::memcpy(bytes, &value, sizeof value);
    out.append(bytes, sizeof value);
}

template <typename T> std::string bytesOf(std::initializer_list<T> values)
{
    std::string out;
    for (T v : values)
        appendAs(out, v);
    return out;
}

inline bool isHexLiteral(const std::string &word)
{
    return word.size() > 2 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X');
}

// Decimal, or hexadecimal after 0x; a leading zero does not mean octal. The
// whole word must be the number.
inline bool parseUnsigned(const std::string &word, unsigned long long &value)
{
    if (word.empty() || !std::isxdigit(static_cast<unsigned char>(word[0])))
        return false;
    errno = 0;
    char *end = nullptr;
    value = std::strtoull(word.c_str(), &end, isHexLiteral(word) ? 16 : 10);
    return errno == 0 && end && *end == '\0';
}

}  // namespace sim

#endif
