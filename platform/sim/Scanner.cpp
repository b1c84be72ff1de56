#include "Scanner.h"

#include <glib.h>

#include <stdexcept>

namespace sim {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

bool endsWord(char c) { return isBlank(c) || c == '(' || c == ')' || c == '"'; }

}  // namespace

void Scanner::skipBlanks()
{
    while (pos_ < line_.size() && isBlank(line_[pos_]))
        ++pos_;
}

bool Scanner::atEnd()
{
    skipBlanks();
    return pos_ == line_.size() || line_[pos_] == '#';
}

bool Scanner::peek(char c) { return !atEnd() && line_[pos_] == c; }

void Scanner::expect(char c)
{
    if (!peek(c))
        throw std::runtime_error(std::string("expected '") + c + "'");
    ++pos_;
}

std::string Scanner::word(const char *what)
{
    if (atEnd())
        throw std::runtime_error(std::string("missing ") + what);
    const std::size_t start = pos_;
    while (pos_ < line_.size() && !endsWord(line_[pos_]))
        ++pos_;
    if (pos_ == start)
        throw std::runtime_error(std::string("expected ") + what + ", found '" + line_[pos_] + "'");
    return std::string(line_.substr(start, pos_ - start));
}

char Scanner::escape()
{
    if (pos_ == line_.size())
        throw std::runtime_error("unterminated string");
    const char c = line_[pos_++];
    switch (c) {
    case 'n': return '\n';
    case 't': return '\t';
    case 'r': return '\r';
    case 'a': return '\a';
    case 'b': return '\b';
    case 'f': return '\f';
    case 'v': return '\v';
    case 'e': return '\x1b';
    case '\\': case '"': case '\'': case '?': return c;
    case 'x': {
        int value = 0, digits = 0;
        for (int d; digits < 2 && pos_ < line_.size() && (d = g_ascii_xdigit_value(line_[pos_])) >= 0; ++digits, ++pos_)
            value = value * 16 + d;
        if (digits == 0)
            throw std::runtime_error("\\x needs hexadecimal digits");
        return static_cast<char>(value);
    }
    default:
        if (c >= '0' && c <= '7') {
            int value = c - '0';
            for (int digits = 1; digits < 3 && pos_ < line_.size() && line_[pos_] >= '0' &&
                                 line_[pos_] <= '7';
                 ++digits, ++pos_)
                value = value * 8 + (line_[pos_] - '0');
            if (value > 0xff)
                throw std::runtime_error("octal escape beyond \\377");
            return static_cast<char>(value);
        }
        throw std::runtime_error(std::string("unknown escape '\\") + c + "'");
    }
}

std::string Scanner::quoted(const char *what)
{
    if (!peek('"'))
        throw std::runtime_error(std::string(what) + " must be a quoted string");
    ++pos_;
    std::string out;
    while (true) {
        if (pos_ == line_.size())
            throw std::runtime_error("unterminated string");
        const char c = line_[pos_++];
        if (c == '"')
            return out;
        out += c == '\\' ? escape() : c;
    }
}

std::string Scanner::rest()
{
    skipBlanks();
    std::size_t end = line_.find('#', pos_);
    if (end == std::string_view::npos)
        end = line_.size();
    std::string_view text = line_.substr(pos_, end - pos_);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    pos_ = line_.size();
    return std::string(text);
}

void Scanner::expectEnd()
{
    if (!atEnd())
        throw std::runtime_error("unexpected '" + std::string(line_.substr(pos_)) + "'");
}

}  // namespace sim
