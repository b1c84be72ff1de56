// Reads and writes by identifier: sizes, short buffers, the exact text a write
// leaves in the file, and writes that must fail without touching it.
#include "MibTestSupport.h"

namespace {

class LinuxValues : public ::testing::Test {
protected:
    // One level down: a value needs an identifier of two levels at least.
    void SetUp() override
    {
        tree.file("v/big", "18446744073709551615 0\n"); // identifier {1, 1}
        tree.file("v/ints", "1 2 3\n");                // {1, 2}
        tree.dir("v/node");                            // {1, 3}
        tree.file("v/text", "some longer old text\n"); // {1, 4}
    }
    TempTree tree;
};

TEST_F(LinuxValues, ShortBufferGetsWhatFitsAndENOMEM)
{
    const int ints[] = {1, 2}, text[] = {1, 4};
    size_t size = 0;
    ASSERT_EQ(sysctl(ints, 2, nullptr, &size, nullptr, 0), 0);
    EXPECT_EQ(size, 24u);
    std::string buffer(24, 'Z');
    size = 10;
    EXPECT_EQ(sysctl(ints, 2, buffer.data(), &size, nullptr, 0), -1);
    EXPECT_EQ(errno, ENOMEM);
    EXPECT_EQ(size, 10u);
    EXPECT_BYTES_EQ(buffer, bytesOf<int64_t>({1, 2, 3}).substr(0, 10) + std::string(14, 'Z'));
    size = 2;
    EXPECT_EQ(sysctl(text, 2, buffer.data(), &size, nullptr, 0), -1);
    EXPECT_BYTES_EQ(buffer.substr(0, size), "so");
    std::string roomy(64, '\0');
    size = roomy.size();
    ASSERT_EQ(sysctl(text, 2, roomy.data(), &size, nullptr, 0), 0);
    EXPECT_BYTES_EQ(roomy.substr(0, size), std::string("some longer old text\n", 22));
}

TEST_F(LinuxValues, WritesLeaveTheTextTheFileExpects)
{
    EXPECT_EQ(writeOid({1, 2}, bytesOf<int64_t>({-5, 7, INT64_MIN})), 0);
    EXPECT_EQ(tree.content("v/ints"), "-5\t7\t-9223372036854775808\n");
    EXPECT_EQ(writeOid({1, 1}, bytesOf<uint64_t>({~uint64_t{0}, 1})), 0);
    EXPECT_EQ(tree.content("v/big"), "18446744073709551615\t1\n");
    // Up to the first NUL, and no tail of the longer old value.
    EXPECT_EQ(writeOid({1, 4}, std::string("new\0junk", 8)), 0);
    EXPECT_EQ(tree.content("v/text"), "new");
    EXPECT_EQ(writeOid({1, 4}, "x y"), 0);
    EXPECT_EQ(tree.content("v/text"), "x y");
}

TEST_F(LinuxValues, BadWritesFailAndKeepTheValue)
{
    EXPECT_EQ(writeOid({1, 2}, bytesOf<int64_t>({8, 9}).substr(0, 12)), EINVAL);
    EXPECT_EQ(writeOid({1, 2}, ""), EINVAL);
    EXPECT_EQ(tree.content("v/ints"), "1 2 3\n");
    // The type is the file's when first determined: here, at the write.
    tree.file("v/text", "5\n");
    EXPECT_EQ(writeOid({1, 4}, "9"), EINVAL);
    EXPECT_EQ(tree.content("v/text"), "5\n");
    EXPECT_EQ(writeOid({1, 3}, bytesOf<int64_t>({1})), EISDIR);
    std::filesystem::remove(tree.path("v/text"));
    EXPECT_EQ(writeOid({1, 4}, "a"), ENOENT) << "an identifier taken before its file went away";
    EXPECT_FALSE(std::filesystem::exists(tree.path("v/text")));
}

}  // namespace
