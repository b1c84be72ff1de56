#ifndef OIDSCOPE_SIM_SCANNER_H
#define OIDSCOPE_SIM_SCANNER_H

#include <cstddef>
#include <string>
#include <string_view>

namespace sim {

// Splits one fixture line into words, C-escaped quoted strings and the
// parentheses of repeat groups. A '#' where a token would start begins a
// comment. Errors are std::runtime_error without the line number, which the
// caller knows and adds.
class Scanner {
public:
    explicit Scanner(std::string_view line) : line_(line) {}

    // True when only blanks or a comment remain.
    bool atEnd();
    // True when the next token starts with c (not consumed).
    bool peek(char c);
    // Consumes c or fails with a message naming what was expected.
    void expect(char c);
    // A run of characters up to a blank, parenthesis, quote or the end;
    // fails when there is none. what names it in the message.
    std::string word(const char *what);
    // A "quoted" string with C escapes, as its bytes (no NUL added).
    std::string quoted(const char *what);
    // Everything left (comment excluded), without surrounding blanks.
    std::string rest();
    // Fails unless the line is used up.
    void expectEnd();

private:
    void skipBlanks();
    char escape();

    std::string_view line_;
    std::size_t pos_ = 0;
};

}  // namespace sim

#endif
