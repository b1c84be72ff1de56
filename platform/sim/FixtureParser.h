#ifndef OIDSCOPE_SIM_FIXTURE_PARSER_H
#define OIDSCOPE_SIM_FIXTURE_PARSER_H

#include "SimMib.h"

#include <string>
#include <vector>

namespace sim {

class Scanner;

// Reads the fixture text format (tests/fixtures/README.md) into objects.
// It checks each line on its own; whether the objects fit together as a tree
// is for MibStore::add, which the caller runs with each object's line number.
class FixtureParser {
public:
    struct Entry {
        Object object;
        int line;  // the object's "object" line
    };

    // Throws std::runtime_error "line N: ..." at the first malformed line.
    static std::vector<Entry> parse(const std::string &text);

private:
    explicit FixtureParser(std::vector<Entry> &entries) : entries_(entries) {}

    void line(Scanner &scanner, int number);
    void startObject(Scanner &scanner, int number);
    void finishObject();
    void attribute(const std::string &key, Scanner &scanner);

    static std::vector<int> parseOid(const std::string &text);
    static std::uint8_t parseType(const std::string &text);
    static std::uint32_t parseFlags(const std::string &text);

    std::vector<Entry> &entries_;
    Entry *current_ = nullptr;
    std::vector<std::string> seen_;  // attributes given for the current object
    bool handlerGiven_ = false;
};

}  // namespace sim

#endif
