// The meta-MIB queries one by one: answers, size probes, short buffers and
// the errors FreeBSD gives.
#include "KernelCalls.h"
#include "TempTree.h"

namespace {

class KernelQueries : public ::testing::Test {
protected:
    void SetUp() override
    {
        tree.file("kernel/hostname", "box\n");
        tree.file("net/eth0.1/mtu", "1500\n");
    }
    TempTree tree;
};

TEST_F(KernelQueries, NameGivesNumbersForWhatItCannotName)
{
    const std::vector<std::pair<Oid, std::string>> cases = {
        {{1, 1}, "kernel.hostname"}, {{2, 1, 1}, "net.eth0/1.mtu"}, {{1, 9}, "kernel.9"},
        {{9, 3}, "9.3"},             {{1, 1, 4}, "kernel.hostname.4"}, {{0, -2}, "0.-2"},
        {{}, ""},
    };
    for (const auto &[oid, name] : cases)
        EXPECT_EQ(nameOf(oid), name) << ::testing::PrintToString(oid);
}

TEST_F(KernelQueries, NameToOidSplitsAsTheKernelDoes)
{
    std::string tooLong(NM_CTL_NAME2OID_MAX, 'x'), longest(NM_CTL_NAME2OID_MAX - 1, 'x');
    std::string deep = "kernel";
    for (int i = 0; i < 24; ++i)
        deep += ".x";
    const std::vector<std::tuple<std::string, Oid, int>> cases = {
        {"kernel.hostname", {1, 1}, 0},
        {"net.eth0/1.mtu", {2, 1, 1}, 0},
        {"kernel.", {1}, 0},
        {"kernel.hostname.", {1, 1}, 0},
        {std::string("kernel\0junk", 11), {1}, 0},  // a C string ends at its NUL
        {"", {}, ENOENT},
        {"kernel..", {}, ENOENT},
        {".kernel", {}, ENOENT},
        {"kernel..hostname", {}, ENOENT},
        {"kernel.hostname.x", {}, ENOENT},
        {"net.eth0.1.mtu", {}, ENOENT},
        {"KERNEL", {}, ENOENT},
        {"kernel.//", {}, ENOENT},  // "..": never a way out of the tree
        {"/", {}, ENOENT},
        {deep, {}, ENOENT},
        {longest, {}, ENOENT},
        {tooLong, {}, ENAMETOOLONG},
    };
    for (const auto &[name, oid, error] : cases) {
        SCOPED_TRACE("name \"" + name.substr(0, 40) + "\"");
        int got = -1;
        EXPECT_EQ(oidOfName(name, &got), oid);
        EXPECT_EQ(got, error);
    }
    const std::string name = "kernel.hostname";
    EXPECT_EQ(call(meta(NM_CTL_SYSCTL_NAME2OID, {1}), &name).error, ENOTDIR);
    EXPECT_EQ(call(meta(NM_CTL_SYSCTL_NAME2OID, {})).error, ENOENT) << "no name at all";
}

TEST_F(KernelQueries, FormatKindAndFailures)
{
    const Format f = formatOf({1, 1});
    EXPECT_EQ(f.error, 0);
    EXPECT_EQ(f.kind, NM_CTLTYPE_STRING | NM_CTLFLAG_RD | NM_CTLFLAG_WR);
    EXPECT_EQ(f.format, "A");
    const std::vector<std::pair<Oid, int>> failing = {
        {{}, ENOENT}, {{9}, ENOENT}, {{1, 9}, ENOENT}, {{1, 1, 1}, ENOTDIR}, {{-1}, ENOENT}};
    for (const auto &[oid, error] : failing)
        EXPECT_EQ(formatOf(oid).error, error) << ::testing::PrintToString(oid);
    for (int query : {NM_CTL_SYSCTL_OIDDESCR, NM_CTL_SYSCTL_OIDLABEL, 0, 8, -1})
        EXPECT_EQ(call(meta(query, {1, 1})).error, ENOENT) << "query " << query;
}

TEST_F(KernelQueries, ProbesShortBuffersAndCallShape)
{
    struct Case {
        Oid name;
        std::string newBytes;
        std::string reply;
    };
    const std::string oidfmtReply = std::string("\x03\x00\x00\xc0", 4) + "A" + '\0';
    const std::vector<Case> cases = {
        {meta(NM_CTL_SYSCTL_NAME, {2, 1, 1}), "", std::string("net.eth0/1.mtu\0", 15)},
        {meta(NM_CTL_SYSCTL_NEXT, {1, 1}), "", std::string("\x02\0\0\0\x01\0\0\0\x01\0\0\0", 12)},
        {meta(NM_CTL_SYSCTL_NAME2OID, {}), "net.eth0/1", std::string("\x02\0\0\0\x01\0\0\0", 8)},
        {meta(NM_CTL_SYSCTL_OIDFMT, {1, 1}), "", oidfmtReply},
        {{1, 1}, "", std::string("box\n\0", 5)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.name));
        const void *newp = c.newBytes.empty() ? nullptr : c.newBytes.data();
        size_t size = 0;
        ASSERT_EQ(sysctl(c.name.data(), c.name.size(), nullptr, &size, newp, c.newBytes.size()), 0);
        EXPECT_EQ(size, c.reply.size()) << "probe";
        std::string buffer(c.reply.size(), 'Z');
        size = c.reply.size() - 3;
        EXPECT_EQ(sysctl(c.name.data(), c.name.size(), buffer.data(), &size, newp, c.newBytes.size()), -1);
        EXPECT_EQ(errno, ENOMEM);
        EXPECT_EQ(size, c.reply.size() - 3) << "the bytes copied";
        EXPECT_BYTES_EQ(buffer, c.reply.substr(0, size) + "ZZZ");
        size = c.reply.size();
        ASSERT_EQ(sysctl(c.name.data(), c.name.size(), buffer.data(), &size, newp, c.newBytes.size()), 0);
        EXPECT_BYTES_EQ(buffer.substr(0, size), c.reply);
    }

    // The call's shape is checked before anything else.
    const Oid levels(25, 1);
    char buffer[64];
    size_t size = sizeof buffer;
    for (unsigned namelen : {0u, 1u, 25u}) {
        EXPECT_EQ(sysctl(levels.data(), namelen, buffer, &size, nullptr, 0), -1);
        EXPECT_EQ(errno, EINVAL) << namelen << " levels";
    }
    const Oid hostname = {1, 1};
    EXPECT_EQ(sysctl(hostname.data(), 2, buffer, nullptr, nullptr, 0), -1);
    EXPECT_EQ(errno, EINVAL) << "a buffer without its size";
    const std::string bytes = "x";
    for (int query : {NM_CTL_SYSCTL_NAME, NM_CTL_SYSCTL_NEXT, NM_CTL_SYSCTL_OIDFMT})
        EXPECT_EQ(call(meta(query, {1, 1}), &bytes).error, EPERM) << "query " << query << " is read-only";
}

}  // namespace
