// A whole build's calls (a walk, and for every file its format and value)
// cost about the same per object whatever the tree's shape.
#include "KernelCalls.h"
#include "TempTree.h"

#include <chrono>
#include <cmath>
#include <fcntl.h>
#include <iostream>
#include <unistd.h>

namespace {

void writeFile(const std::string &path)
{
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0) << path;
    ASSERT_EQ(write(fd, "1\n", 2), 2);
    close(fd);
}

// What a build asks of each object; the number of files seen.
size_t build()
{
    size_t files = 0;
    std::string value(64, '\0');
    for (Oid at = nextOf({}, true); !at.empty(); at = nextOf(at, true)) {
        const Format f = formatOf(at);
        if (f.kind == (NM_CTLTYPE_NODE | NM_CTLFLAG_RD))
            continue;
        size_t size = 0;
        if (sysctl(at.data(), at.size(), nullptr, &size, nullptr, 0) == 0 && size <= value.size() &&
            sysctl(at.data(), at.size(), value.data(), &size, nullptr, 0) == 0 && size == 8)
            ++files;
    }
    return files;
}

// The best of three builds, in seconds.
double timeBuilds(const std::string &root, size_t files)
{
    nmeta_linux_set_root(root);
    double best = 1e9;
    for (int round = 0; round < 3; ++round) {
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(build(), files);
        best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    return best;
}

class KernelScale : public ::testing::TestWithParam<int> {};

TEST_P(KernelScale, OneDirectoryCostsNoMoreThanTwiceABalancedTree)
{
    const int files = GetParam();
    TempTree tree;
    // One level down: top-level identifiers are too short for a value read.
    tree.dir("flat/d");
    for (int i = 0; i < files; ++i)
        writeFile(tree.path("flat/d/f" + std::to_string(i)));
    // Three levels of directories of about the same fan-out.
    const int fanOut = static_cast<int>(std::ceil(std::cbrt(files)));
    for (int i = 0; i < files; ++i) {
        const std::string dir = "balanced/" + std::to_string(i / (fanOut * fanOut)) + "/" +
                                std::to_string(i / fanOut % fanOut);
        if (i % fanOut == 0)
            tree.dir(dir);
        writeFile(tree.path(dir + "/f" + std::to_string(i)));
    }
    const double flat = timeBuilds(tree.path("flat"), files);
    const double balanced = timeBuilds(tree.path("balanced"), files);
    std::cout << files << " files: one directory " << flat * 1000 << " ms, balanced tree "
              << balanced * 1000 << " ms" << std::endl;
    EXPECT_LE(flat, 2 * balanced);
}

INSTANTIATE_TEST_SUITE_P(Files, KernelScale, ::testing::Values(1000, 10000));
// Run with --gtest_also_run_disabled_tests: a minute of file creation.
INSTANTIATE_TEST_SUITE_P(DISABLED_Large, KernelScale, ::testing::Values(50000));

}  // namespace
