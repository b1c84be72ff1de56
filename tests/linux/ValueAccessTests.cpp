// Reads and writes by identifier: sizes, short buffers, the exact text a write
// leaves in the file, and writes that must fail without touching it.
#include "MibTestSupport.h"

namespace {

class LinuxValues : public ::testing::Test {
protected:
    void SetUp() override
    {
        tree.file("big", "18446744073709551615\n");  // identifier 1
        tree.file("ints", "1 2 3\n");                // 2
        tree.dir("node");                            // 3
        tree.file("text", "some longer old text\n"); // 4
    }
    TempTree tree;
};

TEST_F(LinuxValues, ShortBufferGetsWhatFitsAndENOMEM)
{
    const int ints = 2, text = 4;
    size_t size = 0;
    ASSERT_EQ(sysctl(&ints, 1, nullptr, &size, nullptr, 0), 0);
    EXPECT_EQ(size, 24u);
    std::string buffer(24, 'Z');
    size = 10;
    EXPECT_EQ(sysctl(&ints, 1, buffer.data(), &size, nullptr, 0), -1);
    EXPECT_EQ(errno, ENOMEM);
    EXPECT_EQ(size, 10u);
    EXPECT_EQ(buffer, bytesOf<int64_t>({1, 2, 3}).substr(0, 10) + std::string(14, 'Z'));
    size = 2;
    EXPECT_EQ(sysctl(&text, 1, buffer.data(), &size, nullptr, 0), -1);
    EXPECT_EQ(buffer.substr(0, size), "so");
    std::string roomy(64, '\0');
    size = roomy.size();
    ASSERT_EQ(sysctl(&text, 1, roomy.data(), &size, nullptr, 0), 0);
    EXPECT_EQ(roomy.substr(0, size), std::string("some longer old text\n", 22));
}

TEST_F(LinuxValues, WritesLeaveTheTextTheFileExpects)
{
    EXPECT_EQ(writeValue({2}, bytesOf<int64_t>({-5, 7, INT64_MIN})), 0);
    EXPECT_EQ(tree.content("ints"), "-5\t7\t-9223372036854775808\n");
    EXPECT_EQ(writeValue({1}, bytesOf<uint64_t>({~uint64_t{0}, 1})), 0);
    EXPECT_EQ(tree.content("big"), "18446744073709551615\t1\n");
    // Up to the first NUL, and no tail of the longer old value.
    EXPECT_EQ(writeValue({4}, std::string("new\0junk", 8)), 0);
    EXPECT_EQ(tree.content("text"), "new");
    EXPECT_EQ(writeValue({4}, "x y"), 0);
    EXPECT_EQ(tree.content("text"), "x y");
}

TEST_F(LinuxValues, BadWritesFailAndKeepTheValue)
{
    EXPECT_EQ(writeValue({2}, bytesOf<int64_t>({8, 9}).substr(0, 12)), EINVAL);
    EXPECT_EQ(writeValue({2}, ""), EINVAL);
    EXPECT_EQ(tree.content("ints"), "1 2 3\n");
    // The type is the file's at the time of the write.
    tree.file("text", "5\n");
    EXPECT_EQ(writeValue({4}, "9"), EINVAL);
    EXPECT_EQ(tree.content("text"), "5\n");
    EXPECT_EQ(writeValue({3}, bytesOf<int64_t>({1})), EISDIR);
    std::filesystem::remove(tree.path("text"));
    EXPECT_EQ(writeValue({4}, "a"), ENOENT) << "an identifier taken before its file went away";
    EXPECT_FALSE(std::filesystem::exists(tree.path("text")));
}

}  // namespace
