#include "ValueParser.h"

#include "NumberBytes.h"

#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace sim {
namespace {

struct Width {
    const char *name;
    std::size_t bytes;
    bool isSigned;
};

}  // namespace

bool ValueParser::modeOf(const std::string &word, Mode &mode)
{
    static const struct {
        const char *name;
        Mode mode;
    } modes[] = {{"i8", Mode::i8},   {"u8", Mode::u8},   {"i16", Mode::i16}, {"u16", Mode::u16},
                 {"i32", Mode::i32}, {"u32", Mode::u32}, {"i64", Mode::i64}, {"u64", Mode::u64},
                 {"hex", Mode::hex}};
    for (const auto &entry : modes)
        if (word == entry.name) {
            mode = entry.mode;
            return true;
        }
    return false;
}

void ValueParser::number(const std::string &word, Mode mode, std::string &out)
{
    static const Width widths[] = {{"", 0, false},   {"i8", 1, true},   {"u8", 1, false},
                                   {"i16", 2, true}, {"u16", 2, false}, {"i32", 4, true},
                                   {"u32", 4, false}, {"i64", 8, true}, {"u64", 8, false}};
    const Width &width = widths[static_cast<int>(mode)];
    const unsigned bits = static_cast<unsigned>(width.bytes * 8);
    const unsigned long long unsignedMax = bits == 64 ? ~0ull : (1ull << bits) - 1;
    const std::string range = "out of range for " + std::string(width.name);

    unsigned long long pattern = 0;
    if (width.isSigned && !isHexLiteral(word)) {
        errno = 0;
        char *end = nullptr;
        const long long value = std::strtoll(word.c_str(), &end, 10);
        if (word.empty() || !end || *end != '\0')
            throw std::runtime_error("'" + word + "' is not a number");
        const long long max = static_cast<long long>(unsignedMax >> 1);
        if (errno == ERANGE || value > max || value < -max - 1)
            throw std::runtime_error("'" + word + "' is " + range);
        pattern = static_cast<unsigned long long>(value);
    } else {
        // Hexadecimal gives the bit pattern, so i32 0xffffffff is -1.
        if (!parseUnsigned(word, pattern)) {
            if (!word.empty() && word[0] == '-' && !width.isSigned)
                throw std::runtime_error("'" + word + "' is " + range);
            throw std::runtime_error("'" + word + "' is not a number");
        }
        if (pattern > unsignedMax)
            throw std::runtime_error("'" + word + "' is " + range);
    }
    switch (width.bytes) {
    case 1: appendAs(out, static_cast<std::uint8_t>(pattern)); break;
    case 2: appendAs(out, static_cast<std::uint16_t>(pattern)); break;
    case 4: appendAs(out, static_cast<std::uint32_t>(pattern)); break;
    default: appendAs(out, static_cast<std::uint64_t>(pattern)); break;
    }
}

void ValueParser::hexBytes(const std::string &word, std::string &out)
{
    if (word.size() % 2 != 0)
        throw std::runtime_error("hex bytes '" + word + "' have an odd number of digits");
    for (std::size_t i = 0; i < word.size(); i += 2) {
        const std::string pair = word.substr(i, 2);
        char *end = nullptr;
        const unsigned long value = std::strtoul(pair.c_str(), &end, 16);
        if (!std::isxdigit(static_cast<unsigned char>(pair[0])) || *end != '\0')
            throw std::runtime_error("'" + word + "' is not a run of hex bytes");
        out += static_cast<char>(value);
    }
}

void ValueParser::grow(std::string &out, const std::string &more, std::size_t times)
{
    if (!more.empty() && times > (maxBytes - out.size()) / more.size())
        throw std::runtime_error("value longer than " + std::to_string(maxBytes) + " bytes");
    for (std::size_t i = 0; i < times; ++i)
        out += more;
}

void ValueParser::items(Scanner &scanner, Mode mode, bool inGroup, std::string &out)
{
    while (true) {
        if (scanner.atEnd()) {
            if (inGroup)
                throw std::runtime_error("missing ')' closing a repeat group");
            return;
        }
        if (scanner.peek('"')) {
            grow(out, scanner.quoted("a string"), 1);
            continue;
        }
        if (scanner.peek(')')) {
            if (!inGroup)
                throw std::runtime_error("')' without a repeat group");
            scanner.expect(')');
            return;
        }
        if (scanner.peek('('))
            throw std::runtime_error("'(' must follow 'repeat COUNT'");
        const std::string word = scanner.word("a value item");
        if (modeOf(word, mode))
            continue;
        if (word == "repeat") {
            const std::string countText = scanner.word("a repeat count");
            unsigned long long count = 0;
            if (!parseUnsigned(countText, count))
                throw std::runtime_error("repeat count '" + countText + "' is not a number");
            scanner.expect('(');
            std::string group;
            items(scanner, mode, true, group);  // width changes stay inside the group
            grow(out, group, count);
            continue;
        }
        if (mode == Mode::none)
            throw std::runtime_error("'" + word +
                                     "' needs a width before it (i8, u8, i16, u16, i32, u32, i64, "
                                     "u64 or hex)");
        std::string bytes;
        if (mode == Mode::hex)
            hexBytes(word, bytes);
        else
            number(word, mode, bytes);
        grow(out, bytes, 1);
    }
}

void ValueParser::parse(Scanner &scanner, std::string &out) { items(scanner, Mode::none, false, out); }

}  // namespace sim
