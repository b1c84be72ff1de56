// The MIB through the client against FreeBSD's own sysctl(8), on the running
// kernel: the same names, types, formats, descriptions and stable values.
// Only a FreeBSD machine has that kernel; elsewhere the tests say so and skip.
#include "ctlvocab.h"
#include "nmeta.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

#if defined(__FreeBSD__)

struct Listed {
    std::vector<int> oid;
    unsigned type;
    std::uint32_t flags;
    std::string format, description;
    bool hasDescription;
};

void collect(const MibObjectList *list, bool skipped, std::map<std::string, Listed> &out,
             std::set<std::string> &hidden)
{
    for (const MibObject *o = list ? list->first : nullptr; o; o = o->next) {
        const bool skip = skipped || (o->flags & NM_CTLFLAG_SKIP);
        out[o->name] = {std::vector<int>(o->oidLevels, o->oidLevels + o->oidLength), o->type, o->flags,
                        o->format ? o->format : "", o->description ? o->description : "",
                        o->description != nullptr};
        // What sysctl -a may leave out: level 0, SKIP subtrees, nodes.
        if (o->oidLevels[0] == 0 || skip || o->type == NM_CTLTYPE_NODE)
            hidden.insert(o->name);
        collect(o->children, skip, out, hidden);
    }
}

// Lines of a command's output.
std::vector<std::string> run(const std::string &command)
{
    std::vector<std::string> lines;
    std::unique_ptr<FILE, int (*)(FILE *)> pipe(popen(command.c_str(), "r"), pclose);
    if (!pipe)
        return lines;
    std::string line;
    for (int c; (c = std::fgetc(pipe.get())) != EOF;) {
        if (c == '\n') {
            lines.push_back(line);
            line.clear();
        } else {
            line += static_cast<char>(c);
        }
    }
    if (!line.empty())
        lines.push_back(line);
    return lines;
}

// What sysctl(8) prints after "name: " for one name and option.
std::string field(const std::string &option, const std::string &name)
{
    const std::vector<std::string> lines = run("/sbin/sysctl " + option + " " + name + " 2>/dev/null");
    const std::string prefix = name + ": ";
    return !lines.empty() && lines[0].rfind(prefix, 0) == 0 ? lines[0].substr(prefix.size()) : "";
}

const char *const typeNames[16] = {"",        "node",     "integer", "string",  "int64_t", "opaque",
                                   "unsigned integer", "long integer", "unsigned long", "uint64_t",
                                   "uint8_t", "uint16_t", "int8_t",  "int16_t", "int32_t", "uint32_t"};

class BaseSysctl : public ::testing::Test {
protected:
    void SetUp() override
    {
        MibObjectList *mib = nmeta_mib();
        ASSERT_NE(mib, nullptr) << std::strerror(errno);
        collect(mib, false, objects, hidden);
        nmeta_freemib(mib);
    }
    std::map<std::string, Listed> objects;
    std::set<std::string> hidden;
};

TEST_F(BaseSysctl, SameNamesAsSysctlDashA)
{
    const std::vector<std::string> names = run("/sbin/sysctl -aN 2>/dev/null");
    ASSERT_GT(names.size(), 1000u);
    std::set<std::string> theirs(names.begin(), names.end());
    for (const std::string &name : theirs)
        EXPECT_TRUE(objects.count(name)) << name << " is listed by sysctl -aN only";
    for (const auto &[name, object] : objects)
        if (!theirs.count(name))
            EXPECT_TRUE(hidden.count(name)) << name << " is listed by oidscope only";
    EXPECT_TRUE(objects.count("sysctl.name"));  // level 0, which sysctl -a never shows
}

TEST_F(BaseSysctl, SameTypesFormatsAndDescriptions)
{
    // Every 25th object sysctl(8) shows: one process per query.
    std::size_t i = 0, compared = 0;
    for (const auto &[name, object] : objects) {
        if (hidden.count(name) || i++ % 25 != 0)
            continue;
        ++compared;
        EXPECT_EQ(field("-Nt", name), typeNames[object.type & 15]) << name;
        EXPECT_EQ(field("-NF", name), object.format) << name;
        if (object.hasDescription)
            EXPECT_EQ(field("-d", name), object.description) << name;
    }
    EXPECT_GT(compared, 40u);
}

TEST_F(BaseSysctl, SameStableValues)
{
    for (const char *name : {"kern.ostype", "kern.osrelease", "kern.hostname", "hw.ncpu",
                             "hw.pagesize", "kern.maxproc", "hw.machine"}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(objects.count(name));
        const Listed &object = objects.at(name);
        char buffer[1024];
        size_t size = sizeof buffer;
        ASSERT_EQ(sysctl(object.oid.data(), static_cast<unsigned>(object.oid.size()), buffer, &size,
                         nullptr, 0), 0);
        std::string ours;
        if (object.type == NM_CTLTYPE_STRING) {
            ours.assign(buffer, strnlen(buffer, size));
        } else {
            int value = 0;
            ASSERT_EQ(size, sizeof value);
            std::memcpy(&value, buffer, sizeof value);
            ours = std::to_string(value);
        }
        const std::vector<std::string> theirs = run(std::string("/sbin/sysctl -n ") + name);
        ASSERT_FALSE(theirs.empty());
        EXPECT_EQ(ours, theirs[0]);
    }
}

#else

TEST(BaseSysctl, NeedsFreeBsd)
{
    GTEST_SKIP() << "needs FreeBSD's kernel and sysctl(8); skipped on this system";
}

#endif

}  // namespace
