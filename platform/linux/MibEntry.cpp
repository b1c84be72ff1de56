#include "MibEntry.h"

#include "CtlCodes.h"
#include "DirectoryListing.h"
#include "LinuxRoot.h"
#include "SysctlName.h"

#include <cerrno>

namespace linuxmib {

void MibEntry::reset()
{
    path = nmeta_linux_root();
    name.clear();
    oid.clear();
    directory = true;
}

int MibEntry::findByName(const std::string &dottedName)
{
    reset();
    std::vector<std::string> components;
    if (!SysctlName::split(dottedName, components) || components.size() > maxLevels)
        return ENOENT;
    DirectoryListing listing;
    for (const std::string &component : components) {
        if (!directory)
            return ENOENT;
        if (int err = listing.read(path))
            return err;
        const int position = listing.find(component);
        if (position == 0)
            return ENOENT;
        directory = listing.entries()[position - 1].directory;
        path += '/' + component;
        oid.push_back(position);
    }
    name = dottedName;
    return 0;
}

int MibEntry::findByOid(const int *levels, std::size_t count)
{
    reset();
    if (count == 0 || count > maxLevels)
        return ENOENT;
    DirectoryListing listing;
    for (std::size_t i = 0; i < count; ++i) {
        const int level = levels[i];
        if (!directory || level < 1)
            return ENOENT;
        if (int err = listing.read(path))
            return err;
        if (static_cast<std::size_t>(level) > listing.entries().size())
            return ENOENT;
        const DirectoryListing::Entry &entry = listing.entries()[level - 1];
        directory = entry.directory;
        path += '/' + entry.name;
        if (!name.empty())
            name += '.';
        name += SysctlName::fromComponent(entry.name);
        oid.push_back(level);
    }
    return 0;
}

}  // namespace linuxmib
