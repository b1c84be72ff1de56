// The simulated backend as the program's code sees it: the C interface of
// nmeta.h over a small MIB, and the failures and records tests rely on.
#include "SimMib.h"
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
    handler no
    value i32 1000
object 6 hw
    type node
    flags RD
)";

struct MibDeleter {
    void operator()(MibObjectList *list) const { nmeta_freemib(list); }
};
struct ObjectDeleter {
    void operator()(MibObject *object) const { nmeta_freeobject(object); }
};
using MibPtr = std::unique_ptr<MibObjectList, MibDeleter>;
using ObjectPtr = std::unique_ptr<MibObject, ObjectDeleter>;

std::vector<std::string> namesOf(const MibObjectList *list)
{
    std::vector<std::string> names;
    for (const MibObject *o = list ? list->first : nullptr; o; o = o->next)
        names.push_back(o->name);
    return names;
}

class SimBackendTest : public ::testing::Test {
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
};

TEST_F(SimBackendTest, MibListsObjectsInInsertionOrderWithDeepCopies)
{
    sim::Object late;
    late.name = "kern.aaa";  // added last, listed last although it sorts first
    late.type = 2;
    sim::add(late);
    EXPECT_EQ(sim::object("kern.aaa").oid, (std::vector<int>{1, 4}));

    MibPtr mib(nmeta_mib());
    ASSERT_TRUE(mib);
    EXPECT_EQ(namesOf(mib.get()), (std::vector<std::string>{"sysctl", "kern", "hw"}));
    const MibObject *kern = mib->first->next;
    EXPECT_EQ(namesOf(kern->children),
              (std::vector<std::string>{"kern.ostype", "kern.hostname", "kern.maxproc", "kern.aaa"}));
    EXPECT_EQ(mib->first->next->next->children, nullptr);  // hw: a node without children

    const MibObject *ostype = kern->children->first;
    EXPECT_EQ(std::vector<int>(ostype->oidLevels, ostype->oidLevels + ostype->oidLength),
              (std::vector<int>{1, 1}));
    EXPECT_STREQ(ostype->description, "Operating system type");
    ASSERT_NE(ostype->label, nullptr);
    EXPECT_STREQ(ostype->label, "");
    EXPECT_EQ(ostype->format, nullptr);
    EXPECT_EQ(ostype->children, nullptr);
    const MibObject *hostname = ostype->next;
    EXPECT_EQ(hostname->description, nullptr);
    EXPECT_STREQ(hostname->label, "host");
    EXPECT_STREQ(hostname->format, "A");
    EXPECT_EQ(hostname->type, 3);
    EXPECT_EQ(hostname->flags, 0xC0000000u);

    // A second listing is independent of the first.
    kern->children->first->name[0] = 'X';
    MibPtr again(nmeta_mib());
    EXPECT_STREQ(again->first->next->children->first->name, "kern.ostype");
}

TEST_F(SimBackendTest, MibFailsWhenUnavailableAndIsEmptyWhenCleared)
{
    sim::setMibAvailable(false);
    errno = 0;
    EXPECT_EQ(nmeta_mib(), nullptr);
    EXPECT_EQ(errno, ENOENT);
    sim::setMibAvailable(true);
    EXPECT_TRUE(MibPtr(nmeta_mib()));

    sim::clear();
    MibPtr empty(nmeta_mib());
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->first, nullptr);
}

TEST_F(SimBackendTest, ObjectByNameGivesAFreshObjectWithoutChildren)
{
    ObjectPtr kern(nmeta_objectbyname("kern"));
    ASSERT_TRUE(kern);
    EXPECT_STREQ(kern->name, "kern");
    EXPECT_EQ(kern->children, nullptr);
    EXPECT_EQ(kern->next, nullptr);
    EXPECT_EQ(sim::counts("kern").describe, 1);

    errno = 0;
    EXPECT_EQ(nmeta_objectbyname("kern.nosuch"), nullptr);
    EXPECT_EQ(errno, ENOENT);
}

TEST_F(SimBackendTest, HandlerAndOidQueriesAnswerOrFailAsAsked)
{
    bool has = false;
    EXPECT_EQ(nmeta_hashandlerbyname("kern.ostype", &has), 0);
    EXPECT_TRUE(has);
    EXPECT_EQ(nmeta_hashandlerbyname("kern.maxproc", &has), 0);
    EXPECT_FALSE(has);
    EXPECT_EQ(nmeta_hashandlerbyname("kern", &has), 0);
    EXPECT_FALSE(has);  // nodes have none unless the fixture says so
    EXPECT_EQ(nmeta_hashandlerbyname("sysctl.name", &has), 0);
    EXPECT_TRUE(has);

    sim::failHandlerQuery("kern.ostype", EACCES);
    errno = 0;
    EXPECT_NE(nmeta_hashandlerbyname("kern.ostype", &has), 0);
    EXPECT_EQ(errno, EACCES);
    EXPECT_EQ(sim::counts("kern.ostype").handlerQueries, 2);
    sim::failHandlerQuery("kern.ostype", 0);
    EXPECT_EQ(nmeta_hashandlerbyname("kern.ostype", &has), 0);
    EXPECT_NE(nmeta_hashandlerbyname("nosuch", &has), 0);
    EXPECT_EQ(errno, ENOENT);

    int levels[24] = {};
    size_t count = 24;
    ASSERT_EQ(nmeta_oidbyname("sysctl.name", levels, &count), 0);
    EXPECT_EQ(std::vector<int>(levels, levels + count), (std::vector<int>{0, 1}));
    count = 1;
    EXPECT_NE(nmeta_oidbyname("kern.maxproc", levels, &count), 0);
    EXPECT_EQ(errno, ENOMEM);
    count = 2;
    EXPECT_EQ(nmeta_oidbyname("kern.maxproc", levels, &count), 0);
    EXPECT_EQ(levels[1], 3);
    sim::failOidLookup("kern.maxproc", EIO);
    count = 24;
    EXPECT_NE(nmeta_oidbyname("kern.maxproc", levels, &count), 0);
    EXPECT_EQ(errno, EIO);
    EXPECT_NE(nmeta_oidbyname("kern.nosuch", levels, &count), 0);
    EXPECT_EQ(errno, ENOENT);
    EXPECT_EQ(sim::counts("kern.maxproc").oidLookups, 3);
}

TEST_F(SimBackendTest, ProbeAndReadFollowFreeBsd)
{
    size_t size = 0;
    ASSERT_EQ(call("kern.ostype", nullptr, &size), 0);
    EXPECT_EQ(size, 8u);

    char buffer[16];
    std::memset(buffer, 'x', sizeof buffer);
    size = sizeof buffer;
    ASSERT_EQ(call("kern.ostype", buffer, &size), 0);
    EXPECT_EQ(size, 8u);
    EXPECT_EQ(std::string(buffer, 9), std::string("FreeBSD\0x", 9));

    // Too small a buffer: what fits, how much that was, and ENOMEM.
    std::memset(buffer, 'x', sizeof buffer);
    size = 3;
    EXPECT_EQ(call("kern.ostype", buffer, &size), ENOMEM);
    EXPECT_EQ(size, 3u);
    EXPECT_EQ(std::string(buffer, 4), "Frex");

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
    EXPECT_EQ(sysctl(missing, 1, nullptr, nullptr, nullptr, 0), -1);  // asks for nothing
    EXPECT_EQ(errno, EINVAL);
}

TEST_F(SimBackendTest, WritesAreStoredRecordedOrRefused)
{
    const std::string name = sim::cstring("example.org");
    ASSERT_EQ(write("kern.hostname", name), 0);
    EXPECT_EQ(sim::value("kern.hostname"), name);  // with its NUL, as given
    EXPECT_EQ(sim::writes("kern.hostname"), std::vector<std::string>{name});

    EXPECT_EQ(write("kern.ostype", "x"), EPERM);  // RD only
    EXPECT_EQ(write("kern", "x"), EISDIR);        // a node, even with WR
    sim::failWrite("kern.hostname", EBUSY);
    EXPECT_EQ(write("kern.hostname", "other"), EBUSY);
    EXPECT_EQ(sim::value("kern.hostname"), name);
    EXPECT_EQ(sim::writes("kern.hostname").size(), 1u);
    EXPECT_TRUE(sim::writes("kern.ostype").empty());

    // Old and new in one call: the old value comes back, the new one stays.
    sim::failWrite("kern.hostname", 0);
    char old[32];
    size_t size = sizeof old;
    const std::string next = sim::cstring("b");
    ASSERT_EQ(call("kern.hostname", old, &size, next.data(), next.size()), 0);
    EXPECT_EQ(std::string(old, size), name);
    EXPECT_EQ(sim::value("kern.hostname"), next);
}

TEST_F(SimBackendTest, CallsAreCountedAndTheHookRunsFirst)
{
    std::vector<std::string> seen;
    sim::setHook([&](const char *op, const std::string &name) {
        seen.push_back(std::string(op) + " " + name);
        if (std::string(op) == "read")
            sim::setValue(name, sim::bytesOf<int>({7}));  // a value that changes under the reader
    });
    size_t size = 0;
    call("kern.maxproc", nullptr, &size);
    int value = 0;
    size = sizeof value;
    call("kern.maxproc", &value, &size);
    EXPECT_EQ(value, 7);
    write("kern.maxproc", "x");  // refused, yet counted
    ObjectPtr(nmeta_objectbyname("kern.maxproc"));
    EXPECT_EQ(seen, (std::vector<std::string>{"probe kern.maxproc", "read kern.maxproc",
                                              "write kern.maxproc", "describe kern.maxproc"}));

    const sim::Counts counts = sim::counts("kern.maxproc");
    EXPECT_EQ(counts.probes, 1);
    EXPECT_EQ(counts.reads, 1);
    EXPECT_EQ(counts.writes, 1);
    EXPECT_EQ(counts.describe, 1);
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

TEST_F(SimBackendTest, RemoveTakesTheSubtreeAlong)
{
    const std::vector<int> ostype = oid("kern.ostype");
    sim::remove("kern");
    EXPECT_FALSE(sim::exists("kern"));
    EXPECT_FALSE(sim::exists("kern.maxproc"));
    EXPECT_EQ(sim::objectCount(), 3u);
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
TEST_F(SimBackendTest, BadControlCallsThrowAndChangeNothing)
{
    sim::Object empty;
    empty.name = "kern..x";
    EXPECT_THROW(sim::add(empty), std::invalid_argument);
    sim::Object stray;
    stray.name = "kern.stray";
    stray.oid = {6, 1};  // under hw, not kern
    EXPECT_THROW(sim::add(stray), std::invalid_argument);
    EXPECT_EQ(sim::objectCount(), 7u);

    EXPECT_THROW(sim::failRead("kern.nosuch", EIO), std::out_of_range);
    EXPECT_THROW(sim::setValue("kern.nosuch", "x"), std::out_of_range);
    EXPECT_THROW(sim::object("kern.nosuch"), std::out_of_range);
}

}  // namespace
