// The FreeBSD client over the simulated kernel: the MIB from the kernel's
// walk, objects by name, handler and identifier answers, and what it does
// with a kernel that changes under it or answers something malformed.
#include "SimMib.h"
#include "ctlvocab.h"
#include "nmeta.h"
#include "support/SimObjectsAndRows.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

struct MibDeleter {
    void operator()(MibObjectList *list) const { nmeta_freemib(list); }
};
using MibPtr = std::unique_ptr<MibObjectList, MibDeleter>;

// Every object of a list, depth first, as "name" with its depth in dots.
void flatten(const MibObjectList *list, std::vector<const MibObject *> &out)
{
    for (const MibObject *o = list ? list->first : nullptr; o; o = o->next) {
        out.push_back(o);
        flatten(o->children, out);
    }
}

std::vector<std::string> namesOf(const MibObjectList *list)
{
    std::vector<const MibObject *> all;
    flatten(list, all);
    std::vector<std::string> names;
    for (const MibObject *o : all)
        names.push_back(o->name);
    return names;
}

const MibObject *findIn(const MibObjectList *list, const std::string &name)
{
    std::vector<const MibObject *> all;
    flatten(list, all);
    for (const MibObject *o : all)
        if (name == o->name)
            return o;
    return nullptr;
}

// Every object here holds an int 1 and has the format its type gives.
sim::Object object(std::vector<int> oid, std::string name, std::uint8_t type, std::uint32_t flags)
{
    sim::Object o = simObject(std::move(oid), std::move(name), type, flags, bytesOf<int>({1}));
    o.format = type == NM_CTLTYPE_NODE ? "N" : "I";
    return o;
}

class MetaClientTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        sim::clear();
        sim::add(object({1}, "kern", NM_CTLTYPE_NODE, NM_CTLFLAG_RD));
        sim::add(object({1, 2}, "kern.b", NM_CTLTYPE_INT, NM_CTLFLAG_RD));
        sim::add(object({1, 1}, "kern.a", NM_CTLTYPE_INT, NM_CTLFLAG_RW | NM_CTLFLAG_SKIP));
        sim::add(object({0}, "sysctl", NM_CTLTYPE_NODE, NM_CTLFLAG_RD));
        sim::Object name = object({0, 1}, "sysctl.name", NM_CTLTYPE_NODE, NM_CTLFLAG_RD);
        name.handler = true;
        sim::add(name);
    }
};

TEST_F(MetaClientTest, ListsTheWholeMibInTheKernelsOrder)
{
    sim::Object secure = object({1, 3}, "kern.secure", NM_CTLTYPE_INT, NM_CTLFLAG_RW | 0x00300000u);
    secure.description = "";
    secure.label = "feature";
    sim::add(secure);
    MibPtr mib(nmeta_mib());
    ASSERT_TRUE(mib);
    // Level 0 first, SKIP objects listed, siblings by number.
    EXPECT_EQ(namesOf(mib.get()), (std::vector<std::string>{"sysctl", "sysctl.name", "kern", "kern.a",
                                                            "kern.b", "kern.secure"}));
    const MibObject *a = findIn(mib.get(), "kern.a");
    EXPECT_EQ(a->flags, NM_CTLFLAG_RW | NM_CTLFLAG_SKIP);
    EXPECT_EQ(a->type, NM_CTLTYPE_INT);
    EXPECT_EQ(std::vector<int>(a->oidLevels, a->oidLevels + a->oidLength), (std::vector<int>{1, 1}));
    EXPECT_EQ(a->description, nullptr);
    EXPECT_EQ(a->label, nullptr);
    EXPECT_STREQ(a->format, "I");
    const MibObject *s = findIn(mib.get(), "kern.secure");
    EXPECT_EQ(s->flags, NM_CTLFLAG_RW);  // the secure level is not a flag
    EXPECT_STREQ(s->description, "");
    EXPECT_STREQ(s->label, "feature");
}

TEST_F(MetaClientTest, ObjectsWithoutFormatAreListedWithoutKind)
{
    sim::add(object({1, 4}, "kern.noformat", NM_CTLTYPE_INT, NM_CTLFLAG_RD));
    sim::failFormat("kern.noformat", ENOENT);  // the kernel's NULL format
    MibPtr mib(nmeta_mib());
    const MibObject *o = findIn(mib.get(), "kern.noformat");
    ASSERT_NE(o, nullptr);
    EXPECT_EQ(o->type, 0);
    EXPECT_EQ(o->flags, 0u);
    EXPECT_EQ(o->format, nullptr);
}

TEST_F(MetaClientTest, NodesTheWalkSkipsAreMadeFromTheirChildren)
{
    // next (not nextnoskip) never returns bare nodes: a kernel before 13.0.
    sim::setReplyHook([](const std::vector<int> &request, std::string &reply) {
        if (request[1] == NM_CTL_SYSCTL_NEXTNOSKIP)
            reply.clear();  // nothing, as if the query did not exist
    });
    MibPtr mib(nmeta_mib());
    ASSERT_TRUE(mib);
    EXPECT_EQ(namesOf(mib.get()), (std::vector<std::string>{"sysctl", "sysctl.name", "kern", "kern.b"}));
    const MibObject *kern = findIn(mib.get(), "kern");
    EXPECT_EQ(kern->type, NM_CTLTYPE_NODE);  // oidfmt answers for nodes too
    EXPECT_EQ(kern->oidLength, 1u);
}

TEST_F(MetaClientTest, HandlerAnswersNeverReadANode)
{
    bool has = false;
    ASSERT_EQ(nmeta_hashandlerbyname("kern.b", &has), 0);
    EXPECT_TRUE(has);
    ASSERT_EQ(nmeta_hashandlerbyname("sysctl.name", &has), 0);
    EXPECT_TRUE(has);
    ASSERT_EQ(nmeta_hashandlerbyname("kern", &has), 0);
    EXPECT_FALSE(has);
    EXPECT_EQ(sim::counts("kern").probes + sim::counts("kern").reads, 0);

    sim::failHandlerQuery("kern.b", EACCES);
    errno = 0;
    EXPECT_NE(nmeta_hashandlerbyname("kern.b", &has), 0);
    EXPECT_EQ(errno, EACCES);
    EXPECT_NE(nmeta_hashandlerbyname("kern.nosuch", &has), 0);
    EXPECT_EQ(errno, ENOENT);
}

TEST_F(MetaClientTest, ObjectAndOidByName)
{
    MibObject *b = nmeta_objectbyname("kern.b");
    ASSERT_NE(b, nullptr);
    EXPECT_STREQ(b->name, "kern.b");
    EXPECT_EQ(b->children, nullptr);
    EXPECT_EQ(b->oidLevels[1], 2);
    nmeta_freeobject(b);
    errno = 0;
    EXPECT_EQ(nmeta_objectbyname("kern.nosuch"), nullptr);
    EXPECT_EQ(errno, ENOENT);

    int levels[NM_CTL_MAXNAME];
    size_t count = 1;
    EXPECT_NE(nmeta_oidbyname("kern.b", levels, &count), 0);
    EXPECT_EQ(errno, ENOMEM);
    count = NM_CTL_MAXNAME;
    ASSERT_EQ(nmeta_oidbyname("kern.b", levels, &count), 0);
    EXPECT_EQ(std::vector<int>(levels, levels + count), (std::vector<int>{1, 2}));
    sim::failOidLookup("kern.b", EIO);
    EXPECT_NE(nmeta_oidbyname("kern.b", levels, &count), 0);
    EXPECT_EQ(errno, EIO);
}

TEST_F(MetaClientTest, LongTextsGrowTheirBuffer)
{
    sim::Object longer = object({1, 5}, "kern." + std::string(3000, 'n'), NM_CTLTYPE_INT, NM_CTLFLAG_RD);
    longer.description = std::string(70000, 'd');
    sim::add(longer);
    MibPtr mib(nmeta_mib());
    const MibObject *o = findIn(mib.get(), longer.name);
    ASSERT_NE(o, nullptr);
    EXPECT_EQ(std::strlen(o->description), 70000u);
}

TEST_F(MetaClientTest, DeepIdentifiersAreListedAndTheWalkEnds)
{
    // Down to 24 levels: queries reach 22; deeper objects are named from
    // their deepest askable ancestor.
    std::vector<int> oid{1};
    std::string name = "kern";
    for (int depth = 2; depth <= 24; ++depth) {
        oid.push_back(7);
        name += ".l" + std::to_string(depth);
        sim::add(object(oid, name, depth == 24 ? NM_CTLTYPE_INT : NM_CTLTYPE_NODE, NM_CTLFLAG_RD));
    }
    sim::add(object({1, 8}, "kern.after", NM_CTLTYPE_INT, NM_CTLFLAG_RD));
    MibPtr mib(nmeta_mib());
    ASSERT_TRUE(mib);
    const std::vector<std::string> names = namesOf(mib.get());
    const MibObject *l22 = findIn(mib.get(), name.substr(0, name.find(".l23")));
    ASSERT_NE(l22, nullptr);
    EXPECT_EQ(l22->oidLength, 22u);
    EXPECT_EQ(l22->type, NM_CTLTYPE_NODE);
    std::vector<const MibObject *> all;
    flatten(mib.get(), all);
    std::size_t deep = 0;
    for (const MibObject *o : all)
        deep += o->oidLength > 22;
    EXPECT_EQ(deep, 1u);  // the 23rd level, named by number; what lies below it cannot be walked
    EXPECT_EQ(names.back(), "kern.after");

    bool has = true;
    ASSERT_EQ(nmeta_hashandlerbyname(l22->name, &has), 0);
    EXPECT_FALSE(has);
}

TEST_F(MetaClientTest, AChangingMibListsEveryObjectAtMostOnce)
{
    for (int i = 3; i < 40; ++i)
        sim::add(object({1, i}, "kern.n" + std::to_string(i), NM_CTLTYPE_INT, NM_CTLFLAG_RD));
    int steps = 0;
    sim::setHook([&](const char *op, const std::string &name) {
        if (std::string(op) != "next")
            return;
        ++steps;
        // Objects vanish behind the walk and appear before and after it.
        if (name == "kern.n10")
            sim::remove("kern.n9");
        if (name == "kern.n20") {
            sim::remove("kern.n21");
            sim::add(object({1, 100}, "kern.late", NM_CTLTYPE_INT, NM_CTLFLAG_RD));
        }
    });
    MibPtr mib(nmeta_mib());
    ASSERT_TRUE(mib);
    std::vector<std::string> names = namesOf(mib.get());
    std::vector<std::string> sorted = names;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(std::adjacent_find(sorted.begin(), sorted.end()), sorted.end());
    EXPECT_EQ(std::count(names.begin(), names.end(), "kern.n21"), 0);
    EXPECT_EQ(names.back(), "kern.late");
    EXPECT_LT(steps, 100);
}

TEST_F(MetaClientTest, MalformedAnswersNeitherCrashNorLoop)
{
    struct Case {
        const char *what;
        std::function<void(const std::vector<int> &, std::string &)> rewrite;
    };
    const Case cases[] = {
        {"a name without its NUL",
         [](const std::vector<int> &r, std::string &reply) {
             if (r[1] == NM_CTL_SYSCTL_NAME && !reply.empty())
                 reply.pop_back();
         }},
        {"a kind word with type 0 and a short format reply",
         [](const std::vector<int> &r, std::string &reply) {
             if (r[1] == NM_CTL_SYSCTL_OIDFMT && r.size() == 4)
                 reply.resize(2);
         }},
        {"an identifier of 30 levels from next",
         [](const std::vector<int> &r, std::string &reply) {
             if (r[1] == NM_CTL_SYSCTL_NEXTNOSKIP && r.size() == 4 && r[2] == 1 && r[3] == 1)
                 reply.append(std::string(29 * sizeof(int), '\1'));
         }},
        {"a walk that goes backwards",
         [](const std::vector<int> &r, std::string &reply) {
             if (r[1] == NM_CTL_SYSCTL_NEXTNOSKIP && r.size() == 4 && r[2] == 1 && r[3] == 1) {
                 const int back[] = {0, 1};
                 reply.assign(reinterpret_cast<const char *>(back), sizeof back);
             }
         }},
        {"a description that is not UTF-8",
         [](const std::vector<int> &r, std::string &reply) {
             if (r[1] == NM_CTL_SYSCTL_OIDDESCR)
                 reply = "\xff\xfe\0";
         }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        sim::setReplyHook(c.rewrite);
        MibPtr mib(nmeta_mib());
        ASSERT_TRUE(mib);
        std::vector<const MibObject *> all;
        flatten(mib.get(), all);
        EXPECT_GE(all.size(), 3u);
        EXPECT_LE(all.size(), 8u);
        for (const MibObject *o : all) {
            EXPECT_NE(o->name, nullptr);
            EXPECT_GE(o->oidLength, 1u);
            EXPECT_LE(o->oidLength, static_cast<uint64_t>(NM_CTL_MAXNAME));
        }
    }
}

TEST_F(MetaClientTest, NoMibGivesNullAndAnEmptyOneAnEmptyList)
{
    sim::setMibAvailable(false);
    errno = 0;
    EXPECT_EQ(nmeta_mib(), nullptr);
    EXPECT_EQ(errno, EPERM);
    sim::clear();
    MibPtr empty(nmeta_mib());
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->first, nullptr);
}

}  // namespace
