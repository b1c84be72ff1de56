#include "SysctlName.h"

namespace linuxmib {

std::string SysctlName::fromComponent(const std::string &component)
{
    std::string dotted = component;
    for (char &c : dotted)
        if (c == '.')
            c = '/';
    return dotted;
}

bool SysctlName::split(const std::string &name, std::vector<std::string> &components)
{
    components.clear();
    std::string current;
    for (char c : name) {
        if (c == '.') {
            if (current.empty())
                return false;
            components.push_back(current);
            current.clear();
        } else {
            current += c == '/' ? '.' : c;
        }
    }
    if (!current.empty())
        components.push_back(current);
    return !components.empty();
}

}  // namespace linuxmib
