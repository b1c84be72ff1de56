// The walk of the kernel side over a tree: order, nodes and leaves, next
// against nextnoskip, walks from anywhere, and a tree that changes under it.
#include "KernelCalls.h"
#include "TempTree.h"

#include <map>
#include <unistd.h>

namespace {

constexpr uint32_t RD = NM_CTLFLAG_RD, WR = NM_CTLFLAG_WR;

class KernelWalk : public ::testing::Test {
protected:
    void SetUp() override
    {
        fillSampleTree(tree);
        tree.dir("zdeep/x/y");
    }
    TempTree tree;
};

struct Expected {
    Oid oid;
    std::string name;
    uint32_t kind;
    std::string format;
};

TEST_F(KernelWalk, PreOrderByNumberNodesOnlyFromNextnoskipAndQueriesAgree)
{
    const uint32_t node = NM_CTLTYPE_NODE | RD, number = NM_CTLTYPE_S64 | RD | WR;
    const std::vector<Expected> objects = {
        {{1}, "kernel", node, "N"},
        {{1, 1}, "kernel.B", number, "Q"},
        {{1, 2}, "kernel._x", number, "Q"},
        {{1, 3}, "kernel.a", number, "Q"},
        {{1, 4}, "kernel.ostype", NM_CTLTYPE_STRING | RD | WR, "A"},
        {{2}, "net", node, "N"},
        {{2, 1}, "net.empty", node, "N"},
        {{2, 2}, "net.eth0/1", node, "N"},
        {{2, 2, 1}, "net.eth0/1.mtu", number, "Q"},
        {{3}, "zdeep", node, "N"},
        {{3, 1}, "zdeep.x", node, "N"},
        {{3, 1, 1}, "zdeep.x.y", node, "N"},
    };
    std::vector<Oid> all, leaves;
    for (const Expected &o : objects) {
        all.push_back(o.oid);
        if (o.kind != node)
            leaves.push_back(o.oid);
    }
    EXPECT_EQ(walk(true), all);
    EXPECT_EQ(walk(false), leaves);

    for (const Expected &o : objects) {
        SCOPED_TRACE(o.name);
        EXPECT_EQ(nameOf(o.oid), o.name);
        EXPECT_EQ(oidOfName(o.name), o.oid);
        const Format f = formatOf(o.oid);
        EXPECT_EQ(f.error, 0);
        EXPECT_EQ(f.kind, o.kind);
        EXPECT_EQ(f.format, o.format);
        // The handler probe: a node without handler has no child -1, and a
        // file has nothing below it.
        Oid probe = o.oid;
        probe.push_back(-1);
        EXPECT_EQ(formatOf(probe).error, o.kind == node ? ENOENT : ENOTDIR);
        // A one-level identifier is too short for the call.
        EXPECT_EQ(readOid(o.oid).error, o.oid.size() == 1 ? EINVAL : o.kind == node ? EISDIR : 0);
    }
    EXPECT_BYTES_EQ(readOid({2, 2, 1}).reply, bytesOf<int64_t>({1500}));
}

TEST_F(KernelWalk, ContinuesAfterAnyIdentifierExistingOrNot)
{
    struct Case {
        Oid after;
        bool nodesToo;
        Oid next;  // empty: ENOENT
    };
    const std::vector<Case> cases = {
        {{1, 99}, false, {2, 2, 1}}, {{1, 99}, true, {2}},
        {{1, 2, 5}, false, {1, 3}},     // levels past a file
        {{0}, true, {1}},             {{-7}, false, {1, 1}},
        {{2, 1, 50}, true, {2, 2}},     // inside an empty directory
        {{1, 4}, false, {2, 2, 1}},     {{2}, false, {2, 2, 1}},
        {{3, 1, 1}, true, {}},        {{2, 2, 1}, false, {}}, {{4}, true, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.after) + (c.nodesToo ? " nextnoskip" : " next"));
        int error = 0;
        EXPECT_EQ(nextOf(c.after, c.nodesToo, &error), c.next);
        EXPECT_EQ(error, c.next.empty() ? ENOENT : 0);
    }
    // An object that is gone: the walk goes on with its next sibling.
    ASSERT_EQ(unlink(tree.path("kernel/_x").c_str()), 0);
    ASSERT_EQ(walk(false).size(), 4u) << "a walk from the beginning lists again";
    EXPECT_EQ(nextOf({1, 2}, false), (Oid{1, 3}));
    EXPECT_EQ(nextOf({1, 1}, false), (Oid{1, 3}));
}

TEST(KernelWalkChanging, EveryObjectAtMostOnceAndNewEntriesAfterOlderSiblings)
{
    TempTree tree;
    for (int i = 0; i < 20; ++i)
        tree.file("d/f" + std::to_string(10 + i), "1\n");
    tree.file("top", "1\n");
    ASSERT_EQ(walk(true).size(), 22u);  // numbers given: d.f10 is {1,1}, top {2}
    std::map<std::string, int> names;
    size_t steps = 0;
    int error = 0;
    for (Oid at = nextOf({}, true, &error); !at.empty() && steps < 1000; at = nextOf(at, true, &error)) {
        ++names[nameOf(at)];
        // Behind the walk: remove what it would reach next, add entries
        // before and after it, and replace a file by a directory.
        const std::string step = std::to_string(100 + steps++);
        std::error_code ignored;
        std::filesystem::remove(tree.path("d/f" + std::to_string(10 + steps)), ignored);
        tree.file("d/a" + step, "1\n");
        tree.file("e" + step, "1\n");
        if (steps == 5) {
            std::filesystem::remove(tree.path("top"));
            tree.file("top/inner", "1\n");
        }
    }
    EXPECT_EQ(error, ENOENT);
    EXPECT_LT(steps, 1000u) << "the walk did not end";
    for (const auto &[name, count] : names)
        EXPECT_EQ(count, 1) << name;
    // d was listed when the walk entered it, after the first step.
    EXPECT_EQ(names.count("d.a100"), 1u);
    EXPECT_EQ(names.count("d.a101"), 0u) << "a directory is listed once per walk";

    // A new walk lists afresh: every new name numbered after its older
    // siblings, the old ones keeping their numbers.
    const std::vector<Oid> second = walk(true);
    std::map<std::string, Oid> byName;
    for (const Oid &oid : second)
        byName[nameOf(oid)] = oid;
    EXPECT_EQ(byName.at("d"), (Oid{1}));
    EXPECT_EQ(byName.at("d.f10"), (Oid{1, 1}));
    EXPECT_EQ(byName.count("d.f11"), 0u);
    EXPECT_GT(byName.at("d.a100").at(1), 20);
    EXPECT_EQ(byName.at("top"), (Oid{2}));
    EXPECT_EQ(byName.at("top.inner"), (Oid{2, 1}));
    EXPECT_GT(byName.at("e100").at(0), 2);
    EXPECT_EQ(formatOf({2}).kind, NM_CTLTYPE_NODE | RD);
    EXPECT_EQ(second.size(), byName.size());
}

}  // namespace
