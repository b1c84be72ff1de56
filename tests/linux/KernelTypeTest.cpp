// A type names one encoding while the program runs: fixed when first
// determined, used by reads and writes, determined again only by a walk
// from the beginning.
#include "KernelCalls.h"
#include "TempTree.h"

namespace {

constexpr uint32_t RW = NM_CTLFLAG_RD | NM_CTLFLAG_WR;

TEST(KernelTypes, WritesKeepTheRecordedTypeAndRefuseContentThatNoLongerFits)
{
    TempTree tree;
    tree.file("d/port", "http\n");
    tree.file("d/count", "5\n");
    tree.file("d/big", "18446744073709551615\n");
    tree.file("d/small", "-3 4\n");
    const std::vector<std::pair<Oid, uint32_t>> recorded = {
        {{1, 1}, NM_CTLTYPE_U64}, {{1, 2}, NM_CTLTYPE_S64}, {{1, 3}, NM_CTLTYPE_STRING},
        {{1, 4}, NM_CTLTYPE_S64}};
    for (const auto &[oid, type] : recorded)
        ASSERT_EQ(formatOf(oid).kind, type | RW) << nameOf(oid);

    tree.file("d/port", "8080\n");
    tree.file("d/count", "text\n");
    tree.file("d/big", "-1\n");
    tree.file("d/small", "9223372036854775808\n");

    // A string stays a string: what was typed goes as typed.
    EXPECT_EQ(formatOf({1, 3}).format, "A");
    EXPECT_EQ(writeOid({1, 3}, std::string("8080,90\0", 8)), 0);
    EXPECT_EQ(tree.content("d/port"), "8080,90");
    EXPECT_BYTES_EQ(readOid({1, 3}).reply, std::string("8080,90\0", 8));

    // Numbers no longer held by the file: neither read nor written.
    for (const auto &[oid, file, now, format] :
         std::vector<std::tuple<Oid, std::string, std::string, std::string>>{
             {{1, 2}, "d/count", "text\n", "Q"}, {{1, 1}, "d/big", "-1\n", "QU"},
             {{1, 4}, "d/small", "9223372036854775808\n", "Q"}}) {
        SCOPED_TRACE(file);
        EXPECT_EQ(writeOid(oid, bytesOf<int64_t>({65})), EINVAL);
        EXPECT_EQ(tree.content(file), now);
        EXPECT_EQ(readOid(oid).error, EINVAL);
        EXPECT_EQ(formatOf(oid).format, format) << "until a walk from the beginning";
    }

    // A walk from the beginning shows the files as they are now.
    ASSERT_EQ(walk(false).size(), 4u);
    for (const auto &[oid, type] : std::vector<std::pair<Oid, uint32_t>>{
             {{1, 1}, NM_CTLTYPE_S64}, {{1, 2}, NM_CTLTYPE_STRING}, {{1, 3}, NM_CTLTYPE_STRING},
             {{1, 4}, NM_CTLTYPE_U64}})
        EXPECT_EQ(formatOf(oid).kind, type | RW) << nameOf(oid);
    EXPECT_BYTES_EQ(readOid({1, 2}).reply, std::string("text\n\0", 6));
    EXPECT_EQ(writeOid({1, 4}, bytesOf<int64_t>({-1})), 0) << "unsigned now: all bits set";
    EXPECT_EQ(tree.content("d/small"), "18446744073709551615\n");
}

}  // namespace
