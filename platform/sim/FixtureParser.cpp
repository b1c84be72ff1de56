#include "FixtureParser.h"

#include "CtlNames.h"
#include "NumberBytes.h"
#include "Scanner.h"
#include "ValueParser.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <iterator>
#include <stdexcept>

namespace sim {
namespace {

std::string trimmed(const std::string &text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace

std::vector<FixtureParser::Entry> FixtureParser::parse(const std::string &text)
{
    std::vector<Entry> entries;
    FixtureParser parser(entries);
    int number = 0;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        ++number;
        Scanner scanner(std::string_view(text).substr(start, end - start));
        try {
            parser.line(scanner, number);
        } catch (const std::runtime_error &error) {
            throw std::runtime_error("line " + std::to_string(number) + ": " + error.what());
        }
        start = end + 1;
    }
    try {
        parser.finishObject();
    } catch (const std::runtime_error &error) {
        throw std::runtime_error("line " + std::to_string(parser.current_->line) + ": " + error.what());
    }
    return entries;
}

void FixtureParser::line(Scanner &scanner, int number)
{
    if (scanner.atEnd())
        return;
    const std::string key = scanner.word("a keyword");
    if (key == "object") {
        if (current_) {
            try {
                finishObject();
            } catch (const std::runtime_error &error) {
                throw std::runtime_error("line " + std::to_string(current_->line) + ": " + error.what());
            }
        }
        startObject(scanner, number);
        return;
    }
    if (!current_)
        throw std::runtime_error("'" + key + "' before the first 'object' line");
    attribute(key, scanner);
}

void FixtureParser::startObject(Scanner &scanner, int number)
{
    Entry entry{Object{}, number};
    entry.object.oid = parseOid(scanner.word("an identifier such as 1.6"));
    entry.object.name = scanner.word("a name");
    scanner.expectEnd();
    entries_.push_back(std::move(entry));
    current_ = &entries_.back();
    seen_.clear();
    handlerGiven_ = false;
}

void FixtureParser::finishObject()
{
    if (!current_)
        return;
    if (std::find(seen_.begin(), seen_.end(), "type") == seen_.end())
        throw std::runtime_error("object '" + current_->object.name + "' has no 'type' line");
    if (!handlerGiven_)
        current_->object.handler = current_->object.type != NM_CTLTYPE_NODE;
}

void FixtureParser::attribute(const std::string &key, Scanner &scanner)
{
    static const char *const keys[] = {"type", "flags", "format", "description", "label", "handler", "value"};
    if (std::find_if(std::begin(keys), std::end(keys), [&](const char *k) { return key == k; }) ==
        std::end(keys))
        throw std::runtime_error("unknown keyword '" + key + "'");
    Object &object = current_->object;
    if (key != "value") {
        if (std::find(seen_.begin(), seen_.end(), key) != seen_.end())
            throw std::runtime_error("second '" + key + "' line for '" + object.name + "'");
        seen_.push_back(key);
    }
    if (key == "type") {
        object.type = parseType(scanner.rest());
    } else if (key == "flags") {
        object.flags = parseFlags(scanner.rest());
    } else if (key == "format") {
        object.format = scanner.quoted("the format");
        scanner.expectEnd();
    } else if (key == "description") {
        object.description = scanner.quoted("the description");
        scanner.expectEnd();
    } else if (key == "label") {
        object.label = scanner.quoted("the label");
        scanner.expectEnd();
    } else if (key == "handler") {
        const std::string answer = scanner.word("yes or no");
        scanner.expectEnd();
        if (answer != "yes" && answer != "no")
            throw std::runtime_error("handler must be yes or no, not '" + answer + "'");
        object.handler = answer == "yes";
        handlerGiven_ = true;
    } else {
        ValueParser::parse(scanner, object.value);
    }
}

std::vector<int> FixtureParser::parseOid(const std::string &text)
{
    std::vector<int> oid;
    std::size_t start = 0;
    while (true) {
        const std::size_t dot = std::min(text.find('.', start), text.size());
        const std::string level = text.substr(start, dot - start);
        errno = 0;
        char *end = nullptr;
        const long value = std::strtol(level.c_str(), &end, 10);
        const bool digits = !level.empty() && (std::isdigit(static_cast<unsigned char>(level[0])) ||
                                                (level[0] == '-' && level.size() > 1));
        if (!digits || *end != '\0' || errno == ERANGE || value < INT_MIN || value > INT_MAX)
            throw std::runtime_error("bad identifier '" + text + "'");
        oid.push_back(static_cast<int>(value));
        if (dot == text.size())
            return oid;
        start = dot + 1;
    }
}

std::uint8_t FixtureParser::parseType(const std::string &text)
{
    unsigned long long number = 0;
    if (parseUnsigned(text, number)) {
        // The kernel's kind word holds the type in four bits.
        if (number > 15)
            throw std::runtime_error("type " + text + " is beyond 15");
        return static_cast<std::uint8_t>(number);
    }
    if (const auto type = typeByName(text))
        return *type;
    throw std::runtime_error(text.empty() ? std::string("missing type") : "unknown type '" + text + "'");
}

std::uint32_t FixtureParser::parseFlags(const std::string &text)
{
    if (trimmed(text).empty())
        throw std::runtime_error("missing flags");
    std::uint32_t flags = 0;
    std::size_t start = 0;
    while (true) {
        const std::size_t bar = std::min(text.find('|', start), text.size());
        const std::string item = trimmed(text.substr(start, bar - start));
        unsigned long long number = 0;
        if (item.empty())
            throw std::runtime_error("empty flag in '" + text + "'");
        if (parseUnsigned(item, number)) {
            if (number > 0xffffffffull)
                throw std::runtime_error("flags " + item + " do not fit in 32 bits");
            flags |= static_cast<std::uint32_t>(number);
        } else if (const auto mask = flagByName(item)) {
            flags |= *mask;
        } else {
            throw std::runtime_error("unknown flag '" + item + "'");
        }
        if (bar == text.size())
            return flags;
        start = bar + 1;
    }
}

}  // namespace sim
