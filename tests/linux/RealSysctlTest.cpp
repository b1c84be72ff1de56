// The backend over this machine's /proc/sys (read only) against procps'
// sysctl: every name it prints is an object, with the same value once both are
// normalised.
#include "DocIndex.h"
#include "MibTestSupport.h"

#include <iostream>
#include <map>
#include <optional>
#include <unistd.h>

namespace {

const std::string tool = "/usr/sbin/sysctl";

// Whitespace runs become one blank.
std::string collapse(const std::string &text)
{
    std::string out;
    bool blank = false;
    for (char c : text) {
        const bool space = std::isspace(static_cast<unsigned char>(c));
        if (!space)
            out += c;
        else if (!blank)
            out += ' ';
        blank = space;
    }
    return out;
}

// The command's output; a single final line feed is dropped.
std::string outputOf(const std::string &command)
{
    std::string text;
    FILE *pipe = popen((command + " 2>/dev/null").c_str(), "r");
    for (int c; pipe && (c = std::fgetc(pipe)) != EOF;)
        text += static_cast<char>(c);
    if (pipe)
        pclose(pipe);
    if (!text.empty() && text.back() == '\n')
        text.pop_back();
    return text;
}

std::vector<std::string> outputLines(const std::string &command)
{
    std::vector<std::string> lines;
    std::istringstream in(outputOf(command));
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// Numbers joined by one blank; a string up to its NUL without one final line
// feed; nothing when unreadable.
std::optional<std::string> backendValue(const Listed &object)
{
    const ReadResult read = readValue(object.oid);
    if (read.error)
        return std::nullopt;
    std::string text;
    for (size_t at = 0; object.type != NM_CTLTYPE_STRING && at + 8 <= read.bytes.size(); at += 8) {
        uint64_t bits;
        std::memcpy(&bits, read.bytes.data() + at, 8);
        text += (at ? " " : "") + (object.type == NM_CTLTYPE_U64 ? std::to_string(bits) : std::to_string(int64_t(bits)));
    }
    if (object.type == NM_CTLTYPE_STRING) {
        text = read.bytes.substr(0, read.bytes.find('\0'));
        if (!text.empty() && text.back() == '\n')
            text.pop_back();
    }
    return collapse(text);
}

// Whether the value counts the system's open files or processes, and so also
// the sysctl process reading it: read it while one more process runs.
bool movesWithAnotherProcess(const Listed &object)
{
    const std::optional<std::string> alone = backendValue(object);
    FILE *extra = popen("exec cat", "w");
    bool moved = false;
    for (int i = 0; extra && i < 50 && !moved; ++i) {
        usleep(10000);  // until cat has started, at most half a second
        moved = backendValue(object) != alone;
    }
    if (extra)
        pclose(extra);  // cat ends with its input
    return moved;
}

TEST(LinuxRealMachine, AgreesWithProcpsSysctl)
{
    if (access(tool.c_str(), X_OK) != 0 || access("/proc/sys/kernel", R_OK) != 0)
        GTEST_SKIP() << "needs procps' sysctl and /proc/sys";
    std::map<std::string, Listed> objects;
    for (const Listed &object : listAll())
        objects.emplace(object.name, object);
    const std::vector<std::string> names = outputLines(tool + " -a -N");
    ASSERT_FALSE(names.empty());
    for (const std::string &name : names) {
        ASSERT_EQ(objects.count(name), 1u) << name;
        EXPECT_NE(objects.at(name).type, int(NM_CTLTYPE_NODE)) << name << " is a node";
    }
    // The tool leaves out write-only entries such as vm.drop_caches.
    ASSERT_EQ(objects.count("vm.drop_caches"), 1u);
    EXPECT_EQ(objects.at("vm.drop_caches").type, int(NM_CTLTYPE_STRING));
    EXPECT_EQ(objects.at("vm.drop_caches").flags, NM_CTLFLAG_WR) << "WR without RD";

    std::map<std::string, std::optional<std::string>> before, after;
    std::map<std::string, std::string> printed;
    for (const std::string &name : names)
        before[name] = backendValue(objects.at(name));
    for (const std::string &line : outputLines(tool + " -a")) {
        const size_t equals = line.find(" = ");
        ASSERT_NE(equals, std::string::npos) << line;
        // A value of several lines comes as one "name = line" per line.
        const std::string name = line.substr(0, equals);
        printed[name] += (printed.count(name) ? " " : "") + line.substr(equals + 3);
    }
    for (const std::string &name : names)
        after[name] = backendValue(objects.at(name));

    size_t agreed = 0, withoutValue = 0;
    std::vector<std::string> skipped, mismatches;
    for (const std::string &name : names) {
        if (!printed.count(name)) {
            // Nothing printed for an unreadable (stable_secret: EIO) or empty file.
            if (before[name].value_or("").empty() && after[name].value_or("").empty())
                ++withoutValue;
            else
                mismatches.push_back(name + ": sysctl has no value, the backend has one");
        } else if (before[name] != after[name]) {
            skipped.push_back(name);
        } else if (before[name] == collapse(printed[name])) {
            ++agreed;
        } else {
            // Changed between the snapshots, changes on every read, or counts the reader?
            const std::string first = collapse(outputOf(tool + " -n '" + name + "'"));
            const std::optional<std::string> backend = backendValue(objects.at(name));
            const std::string second = collapse(outputOf(tool + " -n '" + name + "'"));
            if (first != second || backend != after[name] || movesWithAnotherProcess(objects.at(name)))
                skipped.push_back(name);
            else if (backend == first)
                ++agreed;
            else
                mismatches.push_back(name + ": sysctl \"" + first + "\", backend \"" +
                                     backend.value_or("(unreadable)") + "\"");
        }
    }
    std::cout << "backend objects: " << objects.size() << ", sysctl -a -N names: " << names.size()
              << "; values agreed: " << agreed << ", without value to both: " << withoutValue
              << ", skipped as changing: " << skipped.size() << " " << testing::PrintToString(skipped)
              << ", mismatched: " << mismatches.size() << std::endl;
    EXPECT_EQ(mismatches, std::vector<std::string>{});
}

TEST(LinuxRealMachine, DescriptionsComeFromTheInstalledDocumentation)
{
    const std::string docs = linuxmib::DocIndex::findDocumentationDir();
    if (access("/proc/sys/kernel", R_OK) != 0 || docs.empty())
        GTEST_SKIP() << "needs /proc/sys and the kernel's documentation (linux-doc)";
    linuxmib::DocIndex index;
    index.load(docs);
    size_t described = 0;
    for (const Listed &object : listAll()) {
        const std::string *text = index.find(object.name);
        EXPECT_EQ(object.description, text ? std::optional<std::string>(*text) : std::nullopt) << object.name;
        described += text != nullptr;
    }
    std::cout << "objects described from " << docs << ": " << described << std::endl;
    EXPECT_GT(described, 0u);
}

}  // namespace
