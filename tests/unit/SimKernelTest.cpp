// The simulated kernel as a FreeBSD client sees it: value access and the
// meta-MIB through the sysctl call, and the failures and records tests rely on.
#include "SimMib.h"
#include "support/ValueBytes.h"
#include "nmeta.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

const char *const smallMib = R"(
object 0 sysctl
    type node
    flags RD
object 0.1 sysctl.name
    type node
    flags RD
    handler yes
object 1 kern
    type node
    flags RW
    description "High kernel"
object 1.1 kern.ostype
    type string
    flags RD
    description "Operating system type"
    label ""
    value "FreeBSD\0"
object 1.2 kern.hostname
    type string
    flags RW
    format "A"
    label "host"
    value "box\0"
object 1.3 kern.maxproc
    type integer
    flags RD
    format "I"
    value i32 1000
object 1.4 kern.sleeping
    type integer
    flags RD|DORMANT
    format "I"
    value i32 1
object 1.5 kern.proc
    type node
    flags RD
    format "N"
    handler yes
object 1.5.1 kern.proc.hidden
    type integer
    flags RD
object 1.6 kern.bare
    type integer
    flags RD
    handler no
object 6 hw
    type node
    flags RD
object 6.1 hw.bus
    type node
    flags RW
)";

struct MibDeleter {
    void operator()(MibObjectList *list) const { nmeta_freemib(list); }
};
using MibPtr = std::unique_ptr<MibObjectList, MibDeleter>;

std::vector<std::string> namesOf(const MibObjectList *list)
{
    std::vector<std::string> names;
    for (const MibObject *o = list ? list->first : nullptr; o; o = o->next)
        names.push_back(o->name);
    return names;
}

class SimKernelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        sim::clear();
        sim::loadFixture(smallMib);
    }

    static std::vector<int> oid(const std::string &name) { return sim::object(name).oid; }

    // sysctl by name; returns 0 or the errno of the failure.
    static int call(const std::string &name, void *oldp, size_t *oldlenp, const void *newp = nullptr,
                    size_t newlen = 0)
    {
        const std::vector<int> levels = oid(name);
        errno = 0;
        const int result = sysctl(levels.data(), static_cast<unsigned>(levels.size()), oldp, oldlenp,
                                  newp, newlen);
        return result == 0 ? 0 : errno;
    }

    static int write(const std::string &name, const std::string &bytes)
    {
        return call(name, nullptr, nullptr, bytes.data(), bytes.size());
    }

    // A meta query {0, op, levels...}; returns 0 or the errno.
    static int meta(std::vector<int> request, std::string &reply, const std::string &newBytes = {})
    {
        char buffer[256];
        size_t size = sizeof buffer;
        errno = 0;
        const int result = sysctl(request.data(), static_cast<unsigned>(request.size()), buffer, &size,
                                  newBytes.empty() ? nullptr : newBytes.data(), newBytes.size());
        reply.assign(buffer, result == 0 ? size : 0);
        return result == 0 ? 0 : errno;
    }
    static std::vector<int> levelsOf(const std::string &reply)
    {
        std::vector<int> levels(reply.size() / sizeof(int));
        std::memcpy(levels.data(), reply.data(), levels.size() * sizeof(int));
        return levels;
    }
};

TEST_F(SimKernelTest, WalksByNumberWithNextAndNextNoSkip)
{
    auto walk = [](int op) {
        std::vector<std::string> names;
        std::vector<int> from;
        for (;;) {
            std::vector<int> request{0, op};
            request.insert(request.end(), from.begin(), from.end());
            std::string reply;
            const int error = meta(request, reply);
            if (error) {
                EXPECT_EQ(error, ENOENT);
                return names;
            }
            from = levelsOf(reply);
            std::string name;
            std::vector<int> nameRequest{0, 1};
            nameRequest.insert(nameRequest.end(), from.begin(), from.end());
            EXPECT_EQ(meta(nameRequest, name), 0);
            names.push_back(name.c_str());
        }
    };
    // Level 0 first; bare nodes only with nextnoskip; a node with a handler is
    // never descended; DORMANT is invisible.
    EXPECT_EQ(walk(7), (std::vector<std::string>{"sysctl", "sysctl.name", "kern", "kern.ostype",
                                                 "kern.hostname", "kern.maxproc", "kern.proc",
                                                 "kern.bare", "hw", "hw.bus"}));
    EXPECT_EQ(walk(2), (std::vector<std::string>{"sysctl.name", "kern.ostype", "kern.hostname",
                                                 "kern.maxproc", "kern.proc", "kern.bare"}));
    // A walk goes on from an identifier that names nothing.
    std::string reply;
    ASSERT_EQ(meta({0, 7, 1, 2, 99}, reply), 0);
    EXPECT_EQ(levelsOf(reply), (std::vector<int>{1, 3}));
}

TEST_F(SimKernelTest, MetaQueriesAnswerAsTheKernelDoes)
{
    std::string reply;
    ASSERT_EQ(meta({0, 3}, reply, "kern.maxproc"), 0);
    EXPECT_EQ(levelsOf(reply), (std::vector<int>{1, 3}));
    EXPECT_EQ(meta({0, 3}, reply, "kern."), 0);  // one trailing dot
    EXPECT_EQ(levelsOf(reply), (std::vector<int>{1}));
    EXPECT_EQ(meta({0, 3}, reply, "kern.sleeping"), ENOENT);     // DORMANT
    EXPECT_EQ(meta({0, 3}, reply, "kern.proc.hidden"), ENOENT);  // below a handler
    EXPECT_EQ(meta({0, 3}, reply, std::string(1024, 'a')), ENAMETOOLONG);

    ASSERT_EQ(meta({0, 4, 1, 3}, reply), 0);
    std::uint32_t kind = 0;
    std::memcpy(&kind, reply.data(), sizeof kind);
    EXPECT_EQ(kind, 0x80000000u | 2u);
    EXPECT_STREQ(reply.c_str() + 4, "I");
    sim::failFormat("kern.ostype", ENOENT);
    EXPECT_EQ(meta({0, 4, 1, 1}, reply), ENOENT);        // no format
    EXPECT_EQ(meta({0, 4, 1, 3, -1}, reply), ENOTDIR);   // past a leaf
    EXPECT_EQ(meta({0, 4, 1, 5, -1}, reply), 0);         // stops at a handler
    EXPECT_EQ(meta({0, 4, 1, -1}, reply), ENOENT);       // no child -1
    EXPECT_EQ(meta({0, 5, 1, 1}, reply), 0);
    EXPECT_STREQ(reply.c_str(), "Operating system type");
    EXPECT_EQ(meta({0, 5, 1, 2}, reply), ENOENT);
    EXPECT_EQ(meta({0, 6, 1, 1}, reply), 0);
    EXPECT_EQ(reply, std::string(1, '\0'));
    EXPECT_EQ(meta({0, 1, 1, 99, 7}, reply), 0);  // unnamed levels as numbers
    EXPECT_STREQ(reply.c_str(), "kern.99.7");

    size_t size = 2;
    char small[2];
    const int request[] = {0, 1, 1, 1};
    errno = 0;
    EXPECT_EQ(sysctl(request, 4, small, &size, nullptr, 0), -1);
    EXPECT_EQ(errno, ENOMEM);
    EXPECT_EQ(size, 2u);
    size = 0;
    EXPECT_EQ(sysctl(request, 4, nullptr, &size, nullptr, 0), 0);
    EXPECT_EQ(size, std::string("kern.ostype").size() + 1);

    sim::setMibAvailable(false);
    EXPECT_EQ(meta({0, 7}, reply), EPERM);
}

TEST_F(SimKernelTest, ProbeAndReadFollowFreeBsd)
{
    size_t size = 0;
    ASSERT_EQ(call("kern.ostype", nullptr, &size), 0);
    EXPECT_EQ(size, 8u);

    char buffer[16];
    std::memset(buffer, 'x', sizeof buffer);
    size = sizeof buffer;
    ASSERT_EQ(call("kern.ostype", buffer, &size), 0);
    EXPECT_EQ(size, 8u);
    EXPECT_BYTES_EQ(std::string(buffer, 9), std::string("FreeBSD\0x", 9));

    // Too small a buffer: what fits, how much that was, and ENOMEM.
    std::memset(buffer, 'x', sizeof buffer);
    size = 3;
    EXPECT_EQ(call("kern.ostype", buffer, &size), ENOMEM);
    EXPECT_EQ(size, 3u);
    EXPECT_BYTES_EQ(std::string(buffer, 4), "Frex");

    sim::setValue("kern.ostype", sim::cstring("Linux"));
    size = 0;
    call("kern.ostype", nullptr, &size);
    EXPECT_EQ(size, 6u);

    sim::failProbe("kern.ostype", EIO);
    EXPECT_EQ(call("kern.ostype", nullptr, &size), EIO);
    sim::failRead("kern.maxproc", EACCES);
    size = sizeof buffer;
    EXPECT_EQ(call("kern.maxproc", buffer, &size), EACCES);

    const int missing[] = {1, 99};
    errno = 0;
    EXPECT_EQ(sysctl(missing, 2, nullptr, &size, nullptr, 0), -1);
    EXPECT_EQ(errno, ENOENT);
    const int tooDeep[25] = {1, 1};
    EXPECT_EQ(sysctl(tooDeep, 25, nullptr, &size, nullptr, 0), -1);
    EXPECT_EQ(errno, EINVAL);
    EXPECT_EQ(sysctl(missing, 1, nullptr, &size, nullptr, 0), -1);  // one level is too few
    EXPECT_EQ(errno, EINVAL);
    EXPECT_EQ(call("kern.bare", nullptr, &size), EINVAL);   // a leaf without handler
    EXPECT_EQ(call("kern.sleeping", nullptr, &size), ENOENT);  // DORMANT
}

TEST_F(SimKernelTest, WritesAreStoredRecordedOrRefused)
{
    const std::string name = sim::cstring("example.org");
    ASSERT_EQ(write("kern.hostname", name), 0);
    EXPECT_BYTES_EQ(sim::value("kern.hostname"), name);  // with its NUL, as given
    EXPECT_BYTES_EQ(sim::writes("kern.hostname"), std::vector<std::string>{name});

    EXPECT_EQ(write("kern.ostype", "x"), EPERM);  // RD only
    EXPECT_EQ(write("hw.bus", "x"), EISDIR);      // a node without handler, even with WR
    sim::failWrite("kern.hostname", EBUSY);
    EXPECT_EQ(write("kern.hostname", "other"), EBUSY);
    EXPECT_BYTES_EQ(sim::value("kern.hostname"), name);
    EXPECT_EQ(sim::writes("kern.hostname").size(), 1u);
    EXPECT_TRUE(sim::writes("kern.ostype").empty());

    // Old and new in one call: the old value comes back, the new one stays.
    sim::failWrite("kern.hostname", 0);
    char old[32];
    size_t size = sizeof old;
    const std::string next = sim::cstring("b");
    ASSERT_EQ(call("kern.hostname", old, &size, next.data(), next.size()), 0);
    EXPECT_EQ(std::string(old, size), name);
    EXPECT_BYTES_EQ(sim::value("kern.hostname"), next);
}

TEST_F(SimKernelTest, CallsAreCountedAndTheHookRunsFirst)
{
    std::vector<std::string> seen;
    sim::setHook([&](const char *op, const std::string &name) {
        seen.push_back(std::string(op) + " " + name);
        if (std::string(op) == "read")
            sim::setValue(name, bytesOf<int>({7}));  // a value that changes under the reader
    });
    size_t size = 0;
    call("kern.maxproc", nullptr, &size);
    int value = 0;
    size = sizeof value;
    call("kern.maxproc", &value, &size);
    EXPECT_EQ(value, 7);
    write("kern.maxproc", "x");  // refused, yet counted
    std::string reply;
    meta({0, 3}, reply, "kern.maxproc");
    EXPECT_EQ(seen, (std::vector<std::string>{"probe kern.maxproc", "read kern.maxproc",
                                              "write kern.maxproc", "name2oid kern.maxproc"}));

    const sim::Counts counts = sim::counts("kern.maxproc");
    EXPECT_EQ(counts.probes, 1);
    EXPECT_EQ(counts.reads, 1);
    EXPECT_EQ(counts.writes, 1);
    EXPECT_EQ(counts.name2oid, 1);
    EXPECT_EQ(sim::counts("kern.ostype").reads, 0);
    call("kern.ostype", nullptr, &size);
    EXPECT_EQ(sim::totals().probes, 2);
    sim::resetCounts();
    EXPECT_EQ(sim::totals().probes, 0);

    // A hook that removes the object: the call finds it gone.
    sim::setHook([](const char *, const std::string &name) { sim::remove(name); });
    EXPECT_EQ(call("kern.ostype", nullptr, &size), ENOENT);
    // A hook that throws does not unwind into C callers.
    sim::setHook([](const char *, const std::string &) { throw std::runtime_error("boom"); });
    EXPECT_EQ(call("kern.maxproc", nullptr, &size), EIO);
}

TEST_F(SimKernelTest, RemoveTakesTheSubtreeAlong)
{
    const std::vector<int> ostype = oid("kern.ostype");
    sim::remove("kern");
    EXPECT_FALSE(sim::exists("kern"));
    EXPECT_FALSE(sim::exists("kern.maxproc"));
    EXPECT_EQ(sim::objectCount(), 4u);
    size_t size = 0;
    errno = 0;
    EXPECT_EQ(sysctl(ostype.data(), 2, nullptr, &size, nullptr, 0), -1);
    EXPECT_EQ(errno, ENOENT);
    MibPtr mib(nmeta_mib());
    EXPECT_EQ(namesOf(mib.get()), (std::vector<std::string>{"sysctl", "hw"}));
    EXPECT_THROW(sim::remove("kern"), std::out_of_range);
}

// Orphans, twins and misplaced identifiers are covered through the fixture
// loader, which adds objects the same way.
TEST_F(SimKernelTest, BadControlCallsThrowAndChangeNothing)
{
    sim::Object empty;
    empty.name = "kern..x";
    EXPECT_THROW(sim::add(empty), std::invalid_argument);
    sim::Object stray;
    stray.name = "kern.stray";
    stray.oid = {6, 2};  // under hw, not kern
    EXPECT_THROW(sim::add(stray), std::invalid_argument);
    EXPECT_EQ(sim::objectCount(), 12u);

    EXPECT_THROW(sim::failRead("kern.nosuch", EIO), std::out_of_range);
    EXPECT_THROW(sim::setValue("kern.nosuch", "x"), std::out_of_range);
    EXPECT_THROW(sim::object("kern.nosuch"), std::out_of_range);
}

}  // namespace
