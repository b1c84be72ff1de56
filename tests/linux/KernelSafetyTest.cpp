// Nothing outside the root is opened, whatever is swapped in along a path,
// and nothing below it can make a call block.
#include "ChildReport.h"
#include "KernelCalls.h"
#include "TempTree.h"

#include <unistd.h>

namespace {

TEST(KernelSafety, ADirectorySwappedForALinkLeadsNowhere)
{
    TempTree tree;
    tree.file("outside/f", "1\n");
    tree.file("outside/inner/f", "1\n");
    tree.file("mib/d/f", "1\n");
    tree.file("mib/a/inner/f", "1\n");
    nmeta_linux_set_root(tree.path("mib"));
    const Oid shallow = oidOfName("d.f"), deep = oidOfName("a.inner.f");
    ASSERT_EQ(shallow, (Oid{2, 1}));
    ASSERT_EQ(deep, (Oid{1, 1, 1}));
    ASSERT_EQ(formatOf(shallow).format, "Q");
    ASSERT_EQ(formatOf(deep).format, "Q");

    // Between finding the identifier and the write, each directory on the
    // way becomes a link to a look-alike outside the root.
    for (const std::string dir : {"mib/d", "mib/a"}) {
        std::filesystem::rename(tree.path(dir), tree.path("moved-" + dir.substr(4)));
        ASSERT_EQ(symlink(tree.path("outside").c_str(), tree.path(dir).c_str()), 0);
    }
    for (const Oid &oid : {shallow, deep}) {
        SCOPED_TRACE(::testing::PrintToString(oid));
        EXPECT_EQ(writeOid(oid, bytesOf<int64_t>({7})), ENOENT);
        EXPECT_EQ(readOid(oid).error, ENOENT);
        EXPECT_EQ(formatOf(oid).error, ENOENT);
    }
    for (const char *name : {"d.f", "a.inner.f", "d"}) {
        int error = 0;
        EXPECT_EQ(oidOfName(name, &error), Oid{}) << name;
        EXPECT_EQ(error, ENOENT) << name;
    }
    EXPECT_EQ(tree.content("outside/f"), "1\n");
    EXPECT_EQ(tree.content("outside/inner/f"), "1\n");
    EXPECT_EQ(walk(true), (std::vector<Oid>{})) << "links are no objects";
}

TEST(KernelSafety, SpecialFilesAndHugeFilesAreRefusedWithoutBlocking)
{
    TempTree tree;
    tree.file("d/fifo", "1\n");
    tree.file("d/huge", "1\n");
    tree.file("d/other", "1\n");
    ASSERT_EQ(walk(false).size(), 3u);
    // A listed file replaced by a FIFO, which would block whoever opens it.
    ASSERT_EQ(unlink(tree.path("d/fifo").c_str()), 0);
    ASSERT_EQ(mkfifo(tree.path("d/fifo").c_str(), 0666), 0);
    ASSERT_EQ(truncate(tree.path("d/huge").c_str(), 2 << 20), 0);

    const std::string report = childReport([] {
        const Oid fifo = {1, 1};
        int lookup = 0;
        oidOfName("d.fifo", &lookup);
        size_t size = 0;
        const int probe = sysctl(fifo.data(), 2, nullptr, &size, nullptr, 0) == 0 ? 0 : errno;
        return std::string(std::strerror(readOid(fifo).error)) + ", " + std::strerror(probe) + ", " +
               std::strerror(writeOid(fifo, bytesOf<int64_t>({1}))) + ", " +
               std::strerror(formatOf(fifo).error) + ", " + std::strerror(lookup) + ", huge " +
               std::strerror(readOid({1, 2}).error);
    });
    const std::string gone = std::strerror(ENOENT);
    EXPECT_EQ(report, gone + ", " + gone + ", " + gone + ", " + gone + ", " + gone + ", huge " +
                          std::strerror(EFBIG));
    EXPECT_BYTES_EQ(readOid({1, 3}).reply, bytesOf<int64_t>({1}));
}

}  // namespace
