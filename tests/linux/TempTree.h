// A temporary directory tree served as the MIB for one test.
#ifndef OIDSCOPE_TESTS_TEMP_TREE_H
#define OIDSCOPE_TESTS_TEMP_TREE_H

#include "LinuxRoot.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <sys/stat.h>

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

#endif
