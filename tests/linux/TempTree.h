// A temporary directory tree served as the MIB for one test.
#ifndef OIDSCOPE_TESTS_TEMP_TREE_H
#define OIDSCOPE_TESTS_TEMP_TREE_H

#include "LinuxRoot.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

class TempTree {
public:
    TempTree()
    {
        char pattern[] = "/tmp/oidscope-linux-XXXXXX";
        root = mkdtemp(pattern) ? pattern : throw std::runtime_error(std::strerror(errno));
        nmeta_linux_set_root(root);
    }
    ~TempTree()
    {
        nmeta_linux_set_root("/proc/sys");
        std::error_code ignored;
        std::filesystem::remove_all(root, ignored);
    }
    std::string path(const std::string &relative) const { return root + "/" + relative; }
    void dir(const std::string &relative, mode_t mode = 0755) const
    {
        std::filesystem::create_directories(path(relative));
        chmod(path(relative).c_str(), mode);
    }
    void file(const std::string &relative, const std::string &content, mode_t mode = 0644) const
    {
        std::filesystem::create_directories(std::filesystem::path(path(relative)).parent_path());
        std::ofstream(path(relative), std::ios::binary) << content;
        chmod(path(relative).c_str(), mode);
    }
    std::string content(const std::string &relative) const
    {
        std::ostringstream text;
        text << std::ifstream(path(relative), std::ios::binary).rdbuf();
        return text.str();
    }
    std::string root;
};

// The small tree the listing tests share: names whose byte order differs from
// their case-blind order, a component with a dot, an empty directory, and a
// link and a FIFO that are no objects.
inline void fillSampleTree(const TempTree &tree)
{
    for (const char *name : {"ostype", "a", "_x", "B"})  // byte order: B _x a ostype
        tree.file(std::string("kernel/") + name, name == std::string("ostype") ? "Linux\n" : "1\n");
    tree.file("net/eth0.1/mtu", "1500\n");
    tree.dir("net/empty");
    ASSERT_EQ(symlink("/", tree.path("link").c_str()), 0);
    ASSERT_EQ(mkfifo(tree.path("net/fifo").c_str(), 0644), 0);
}

#endif
