// Writes do exactly what the new bytes say, or nothing: no empty write ever
// reaches a file, and no number the file would drop is sent.
#include "KernelCalls.h"
#include "TempTree.h"

namespace {

TEST(KernelWrites, NothingIsWrittenThatWasNotGiven)
{
    struct Case {
        std::string what;
        std::string content;
        mode_t mode;
        std::string bytes;
        int error;
        std::string after;
    };
    const std::string nul(1, '\0');
    const std::vector<Case> cases = {
        {"no bytes, string", "old\n", 0644, "", EINVAL, "old\n"},
        {"no bytes, write-only", "", 0200, "", EINVAL, ""},
        {"empty string clears", "old\n", 0644, nul, 0, "\n"},
        {"empty string on an action", "", 0200, nul, EINVAL, ""},
        {"string up to its NUL", "old text\n", 0644, "new" + nul + "junk", 0, "new"},
        {"text to an action", "", 0200, "3" + nul, 0, "3"},
        {"more numbers than held", "60\n", 0644, bytesOf<int64_t>({1, 2}), EINVAL, "60\n"},
        {"fewer numbers than held", "1 2 3\n", 0644, bytesOf<int64_t>({-5, 7}), 0, "-5\t7\n"},
        {"as many as held", "1\t2\n", 0644, bytesOf<int64_t>({INT64_MIN, 0}), 0, "-9223372036854775808\t0\n"},
        {"part of a number", "60\n", 0644, bytesOf<int64_t>({1}).substr(0, 5), EINVAL, "60\n"},
        {"no number", "60\n", 0644, "", EINVAL, "60\n"},
    };
    TempTree tree;
    for (size_t i = 0; i < cases.size(); ++i)
        tree.file("w/f" + std::to_string(10 + i), cases[i].content, cases[i].mode);
    for (size_t i = 0; i < cases.size(); ++i) {
        const Case &c = cases[i];
        SCOPED_TRACE(c.what);
        const Oid oid = {1, static_cast<int>(i) + 1};
        ASSERT_EQ(nameOf(oid), "w.f" + std::to_string(10 + i));
        // newp set with newlen 0 is a write all the same.
        const char *bytes = c.bytes.empty() ? "" : c.bytes.data();
        const int rc = sysctl(oid.data(), 2, nullptr, nullptr, bytes, c.bytes.size());
        EXPECT_EQ(rc == 0 ? 0 : errno, c.error);
        EXPECT_EQ(tree.content("w/f" + std::to_string(10 + i)), c.after);
    }
}

}  // namespace
