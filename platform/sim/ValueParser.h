#ifndef OIDSCOPE_SIM_VALUE_PARSER_H
#define OIDSCOPE_SIM_VALUE_PARSER_H

#include "Scanner.h"

#include <cstddef>
#include <string>

namespace sim {

// Turns the items of a fixture value line into bytes: quoted strings, numbers
// of the width named before them (i8 … u64, in the machine's byte order), hex
// byte runs and repeat groups. Throws std::runtime_error on bad items.
class ValueParser {
public:
    // Large enough for any value a test needs; a typo in a repeat count
    // should not exhaust memory.
    static constexpr std::size_t maxBytes = 16u << 20;

    // Appends the bytes of the rest of the line to out (already holding
    // earlier lines of the same value).
    static void parse(Scanner &scanner, std::string &out);

private:
    enum class Mode { none, i8, u8, i16, u16, i32, u32, i64, u64, hex };

    static void items(Scanner &scanner, Mode mode, bool inGroup, std::string &out);
    static bool modeOf(const std::string &word, Mode &mode);
    static void number(const std::string &word, Mode mode, std::string &out);
    static void hexBytes(const std::string &word, std::string &out);
    static void grow(std::string &out, const std::string &more, std::size_t times);
};

}  // namespace sim

#endif
