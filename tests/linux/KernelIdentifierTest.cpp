// Identifiers name one object while the program runs: never another name,
// whatever appears or disappears below the root.
#include "KernelCalls.h"
#include "TempTree.h"

#include <unistd.h>

namespace {

TEST(KernelIdentifiers, ANumberNeverPassesToAnotherName)
{
    TempTree tree;
    for (const char *name : {"a", "b", "c"})
        tree.file(std::string("conf/") + name, "1\n");
    const Oid b = oidOfName("conf.b");
    ASSERT_EQ(b, (Oid{1, 2}));

    // What used to come before b goes: b's identifier still names b.
    ASSERT_EQ(unlink(tree.path("conf/a").c_str()), 0);
    EXPECT_EQ(writeOid(b, bytesOf<int64_t>({7})), 0);
    EXPECT_EQ(tree.content("conf/b"), "7\n");
    EXPECT_EQ(tree.content("conf/c"), "1\n");
    EXPECT_EQ(walk(false), (std::vector<Oid>{{1, 2}, {1, 3}})) << "a walk from the beginning changes nothing";

    // b itself goes: its identifier names nothing, even with a new "a" and
    // "aa" sorting before c.
    ASSERT_EQ(unlink(tree.path("conf/b").c_str()), 0);
    tree.file("conf/a", "5\n");
    tree.file("conf/aa", "6\n");
    EXPECT_EQ(writeOid(b, bytesOf<int64_t>({8})), ENOENT);
    EXPECT_EQ(readOid(b).error, ENOENT);
    EXPECT_EQ(tree.content("conf/c"), "1\n");
    EXPECT_EQ(walk(false), (std::vector<Oid>{{1, 1}, {1, 3}, {1, 4}}));
    EXPECT_EQ(nameOf({1, 1}), "conf.a") << "a name that comes back keeps its number";
    EXPECT_EQ(oidOfName("conf.aa"), (Oid{1, 4})) << "a new name after its older siblings";
    EXPECT_BYTES_EQ(readOid({1, 4}).reply, bytesOf<int64_t>({6}));

    // A name created after its directory was listed is numbered when first
    // looked up, and keeps that number in later walks.
    tree.file("conf/0", "9\n");
    EXPECT_EQ(oidOfName("conf.0"), (Oid{1, 5}));
    EXPECT_EQ(walk(false).back(), (Oid{1, 5}));

    // A directory that goes and comes back with other entries (an interface
    // under net.ipv4.conf) keeps its number; its old entries' numbers stay
    // theirs.
    std::filesystem::remove_all(tree.path("conf"));
    tree.file("conf/c", "2\n");
    tree.file("conf/d", "3\n");
    EXPECT_EQ(writeOid({1, 4}, bytesOf<int64_t>({1})), ENOENT) << "conf.aa is gone";
    EXPECT_EQ(walk(false), (std::vector<Oid>{{1, 3}, {1, 6}}));
    EXPECT_EQ(nameOf({1, 6}), "conf.d");
}

TEST(KernelIdentifiers, AnotherRootStartsAfresh)
{
    TempTree first;
    first.file("z", "1\n");
    ASSERT_EQ(oidOfName("z"), (Oid{1}));
    {
        TempTree second;
        second.file("a", "1\n");
        second.file("z", "2\n");
        EXPECT_EQ(oidOfName("z"), (Oid{2})) << "nothing of the old root is known";
        EXPECT_EQ(formatOf({1}).kind, NM_CTLTYPE_S64 | NM_CTLFLAG_RD | NM_CTLFLAG_WR);
    }
}

}  // namespace
