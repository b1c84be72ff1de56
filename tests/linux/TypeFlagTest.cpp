// How a file's text decides its type and binary value, and its mode the flags.
#include "ChildReport.h"
#include "MibTestSupport.h"

#include <unistd.h>

namespace {

constexpr uint32_t RD = NM_CTLFLAG_RD, WR = NM_CTLFLAG_WR, ANYBODY = NM_CTLFLAG_ANYBODY;
constexpr int s64 = NM_CTLTYPE_S64, u64 = NM_CTLTYPE_U64, str = NM_CTLTYPE_STRING;
constexpr uint64_t top = uint64_t{1} << 63;

TEST(LinuxTypes, FileTextDecidesTypeAndBinaryValue)
{
    const std::vector<std::tuple<std::string, int, std::string>> cases = {
        {"42\n", s64, bytesOf<int64_t>({42})},
        {"1\t-2  3\n", s64, bytesOf<int64_t>({1, -2, 3})},
        {" +5 -0\n", s64, bytesOf<int64_t>({5, 0})},
        {"-9223372036854775808 9223372036854775807", s64, bytesOf<uint64_t>({top, top - 1})},
        {"9223372036854775808\n", u64, bytesOf<uint64_t>({top})},
        {"18446744073709551615 1\n", u64, bytesOf<uint64_t>({~uint64_t{0}, 1})},
        {"18446744073709551616\n", str, ""},  // beyond 64 bits
        {"-9223372036854775809\n", str, ""},
        {"-1 18446744073709551615\n", str, ""},  // no one type holds both
        {"1 2 x\n", str, ""}, {"0x10\n", str, ""}, {"1-2\n", str, ""}, {"-\n", str, ""},
        {"", str, ""}, {" \n\t", str, ""}, {"Linux\n", str, ""},
    };
    TempTree tree;
    // One level down: a value needs an identifier of two levels at least.
    for (size_t i = 0; i < cases.size(); ++i)
        tree.file("t/f" + std::to_string(100 + i), std::get<0>(cases[i]));
    std::vector<Listed> all = listAll();
    ASSERT_EQ(all.size(), cases.size() + 1);
    all.erase(all.begin());
    for (size_t i = 0; i < cases.size(); ++i) {
        const auto &[text, type, numbers] = cases[i];
        SCOPED_TRACE("text \"" + text + "\"");
        EXPECT_EQ(all[i].type, type);
        MibObject *object = nmeta_objectbyname(all[i].name.c_str());
        EXPECT_EQ(object->type, type);
        nmeta_freeobject(object);
        const ReadResult read = readValue(all[i].oid);
        EXPECT_EQ(read.error, 0);
        EXPECT_BYTES_EQ(read.bytes, type == NM_CTLTYPE_STRING ? text + '\0' : numbers);
    }
}

TEST(LinuxTypes, FlagsFollowPermissionBits)
{
    TempTree tree;
    const std::vector<std::pair<mode_t, uint32_t>> modes = {
        {0644, RD | WR}, {0444, RD}, {0200, WR}, {0666, RD | WR | ANYBODY}, {0602, RD | WR | ANYBODY}};
    for (size_t i = 0; i < modes.size(); ++i)
        tree.file("f" + std::to_string(i), "1\n", modes[i].first);
    tree.dir("node", 0777);
    const std::vector<Listed> all = listAll();
    ASSERT_EQ(all.size(), modes.size() + 1);
    for (size_t i = 0; i < modes.size(); ++i)
        EXPECT_EQ(all[i].flags, modes[i].second) << std::oct << modes[i].first;
    EXPECT_EQ(all.back().flags, RD) << "a node is only readable, whatever its mode";
}

TEST(LinuxTypes, UnreadableFileIsAStringAndRefusalsKeepTheirErrno)
{
    TempTree tree;
    chmod(tree.root.c_str(), 0755);
    tree.file("vm/drop_caches", "7\n", 0200);
    tree.file("vm/readonly", "1\n", 0444);
    if (geteuid() == 0) {
        ASSERT_EQ(chown(tree.path("vm/drop_caches").c_str(), 65534, 65534), 0);
    }
    const std::string report = childReport([] {
        MibObject *object = nmeta_objectbyname("vm.drop_caches");
        const std::string type = object ? std::to_string(object->type) : "none";
        nmeta_freeobject(object);
        return "type " + type + ", read " + std::strerror(readValue(oidOf("vm.drop_caches")).error) +
               ", write " + std::strerror(writeOid(oidOf("vm.drop_caches"), std::string("3\0", 2))) +
               ", refused " + std::strerror(writeOid(oidOf("vm.readonly"), bytesOf<int64_t>({0})));
    }, ChildAs::nobody);
    if (report == "cannot drop privileges")
        GTEST_SKIP() << report;
    // A write-only file takes its new value as text, like vm.drop_caches.
    const std::string denied = std::strerror(EACCES);
    EXPECT_EQ(report, "type 3, read " + denied + ", write " + std::strerror(0) + ", refused " + denied);
    EXPECT_EQ(tree.content("vm/drop_caches"), "3");
    EXPECT_EQ(tree.content("vm/readonly"), "1\n");
}

}  // namespace
