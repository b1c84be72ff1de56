#include "LinuxRoot.h"

namespace {

std::string &root()
{
    static std::string dir = "/proc/sys";
    return dir;
}

}  // namespace

void nmeta_linux_set_root(const std::string &dir)
{
    // Paths are built as root + "/" + entry, so drop trailing slashes.
    std::string trimmed = dir;
    while (trimmed.size() > 1 && trimmed.back() == '/')
        trimmed.pop_back();
    root() = trimmed;
}

const std::string &nmeta_linux_root()
{
    return root();
}
