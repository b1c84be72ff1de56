// Names, nesting, order and identifiers, and lookups that must agree with them.
#include "MibTestSupport.h"

#include <unistd.h>

namespace {

constexpr uint32_t RD = NM_CTLFLAG_RD, WR = NM_CTLFLAG_WR;
constexpr int node = NM_CTLTYPE_NODE, s64 = NM_CTLTYPE_S64, text = NM_CTLTYPE_STRING;

class LinuxTree : public ::testing::Test {
protected:
    void SetUp() override
    {
        fillSampleTree(tree);
    }
    TempTree tree;
};

TEST_F(LinuxTree, ListsSortedNestedObjectsAndLookupsAgree)
{
    const std::vector<Listed> expected = {
        {"kernel", {1}, node, RD},           {"kernel.B", {1, 1}, s64, RD | WR},
        {"kernel._x", {1, 2}, s64, RD | WR}, {"kernel.a", {1, 3}, s64, RD | WR},
        {"kernel.ostype", {1, 4}, text, RD | WR}, {"net", {2}, node, RD},
        {"net.empty", {2, 1}, node, RD},     {"net.eth0/1", {2, 2}, node, RD},
        {"net.eth0/1.mtu", {2, 2, 1}, s64, RD | WR},
    };
    const std::vector<Listed> all = listAll();
    ASSERT_EQ(all, expected);
    // The kernel's documentation describes /proc/sys, not this tree.
    for (const Listed &object : all)
        EXPECT_EQ(object.description, std::nullopt) << object.name;
    MibObjectList *list = nmeta_mib();
    EXPECT_EQ(list->first->next->children->first->children, nullptr) << "net.empty has no children";
    nmeta_freemib(list);

    for (const Listed &object : expected) {
        SCOPED_TRACE(object.name);
        EXPECT_EQ(oidOf(object.name), object.oid);
        MibObject *described = nmeta_objectbyname(object.name.c_str());
        ASSERT_NE(described, nullptr);
        EXPECT_EQ(listed(described), object);
        EXPECT_EQ(described->children, nullptr);
        EXPECT_EQ(described->description, nullptr);
        nmeta_freeobject(described);
        bool handler = object.type == node;  // the opposite of the answer expected
        ASSERT_EQ(nmeta_hashandlerbyname(object.name.c_str(), &handler), 0);
        EXPECT_EQ(handler, object.type != node) << "files have handlers, directories none";
        // A top-level identifier is too short for the call.
        EXPECT_EQ(readValue(object.oid).error, object.oid.size() == 1 ? EINVAL : object.type == node ? EISDIR : 0);
    }
    EXPECT_BYTES_EQ(readValue({2, 2, 1}).bytes, bytesOf<int64_t>({1500}));
}

TEST_F(LinuxTree, UnknownNamesAndIdentifiersFail)
{
    std::string tooDeep = "kernel";  // 25 levels, one more than sysctl takes
    while (tooDeep.size() < 6 + 2 * 24)
        tooDeep += ".x";
    for (std::string name : {"", "nope", "kernel..", ".kernel", "kernel..a", "kernel.a.b", "kernel./",
                             "net.eth0.1.mtu", "link", "net.fifo", "KERNEL", tooDeep.c_str()}) {
        SCOPED_TRACE("name \"" + name + "\"");
        int levels[24];
        size_t count = 24;
        bool handler;
        EXPECT_EQ(nmeta_objectbyname(name.c_str()), nullptr);
        EXPECT_EQ(errno, ENOENT);
        EXPECT_EQ(nmeta_oidbyname(name.c_str(), levels, &count), -1);
        EXPECT_EQ(errno, ENOENT);
        EXPECT_EQ(nmeta_hashandlerbyname(name.c_str(), &handler), -1);
        EXPECT_EQ(errno, ENOENT);
    }
    // The call takes 2 to 24 levels; {0, ...} are the kernel's own queries.
    const std::vector<std::pair<std::vector<int>, int>> identifiers = {
        {{3, 1}, ENOENT},    {{0, 0}, ENOENT},       {{-1, 1}, ENOENT},
        {{1, 5}, ENOENT},    {{1, 4, 1}, ENOENT},    {{}, EINVAL},
        {{3}, EINVAL},       {std::vector<int>(25, 1), EINVAL},
    };
    for (const auto &[oid, error] : identifiers) {
        SCOPED_TRACE(::testing::PrintToString(oid));
        EXPECT_EQ(readValue(oid).error, error);
        EXPECT_EQ(writeOid(oid, std::string("1\0", 2)), error);
    }
    char buffer[8];  // a read buffer without its size is refused, not guessed
    EXPECT_EQ(sysctl(oidOf("kernel.a").data(), 2, buffer, nullptr, nullptr, 0), -1);
    EXPECT_EQ(errno, EINVAL);

    // One final dot is the kernel's way too: "kernel." names kernel.
    EXPECT_EQ(oidOf("kernel."), std::vector<int>{1});

    int levels[3];
    size_t count = 2;
    EXPECT_EQ(nmeta_oidbyname("net.eth0/1.mtu", levels, &count), -1);
    EXPECT_EQ(errno, ENOMEM) << "three levels do not fit in two";
    count = 3;
    EXPECT_EQ(nmeta_oidbyname("net.eth0/1.mtu", levels, &count), 0);
    EXPECT_EQ(count, 3u);
}

TEST(LinuxRoot, MissingRootFailsAndEmptyRootIsAnEmptyMib)
{
    TempTree tree;
    nmeta_linux_set_root(tree.root + "//");
    MibObjectList *list = nmeta_mib();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->first, nullptr);
    nmeta_freemib(list);
    // No directory, no kernel: every call fails, and not with the ENOENT
    // that ends a walk of an empty MIB.
    nmeta_linux_set_root(tree.path("absent"));
    EXPECT_EQ(nmeta_mib(), nullptr);
    EXPECT_EQ(errno, ENOSYS);
    tree.file("absent", "");
    EXPECT_EQ(nmeta_mib(), nullptr) << "a file as root";
    EXPECT_EQ(errno, ENOSYS);
}

}  // namespace
