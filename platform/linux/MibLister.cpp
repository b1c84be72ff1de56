#include "MibLister.h"

#include "CtlCodes.h"
#include "DirectoryListing.h"
#include "LinuxRoot.h"
#include "MibEntry.h"
#include "ObjectRecord.h"
#include "SysctlName.h"

#include <cerrno>
#include <cstdlib>

namespace linuxmib {

MibObjectList *MibLister::listRoot()
{
    MibEntry root;
    root.path = nmeta_linux_root();
    root.directory = true;
    MibObjectList *list = nullptr;
    if (int err = listChildren(root, &list)) {
        errno = err;
        return nullptr;
    }
    // An empty root is an empty MIB, not a failure.
    if (!list) {
        list = static_cast<MibObjectList *>(std::calloc(1, sizeof(MibObjectList)));
        if (!list)
            errno = ENOMEM;
    }
    return list;
}

int MibLister::listChildren(const MibEntry &parent, MibObjectList **list)
{
    *list = nullptr;
    if (parent.oid.size() >= maxLevels)
        return 0;
    DirectoryListing listing;
    if (int err = listing.read(parent.path))
        return err;
    if (listing.entries().empty())
        return 0;

    auto *children = static_cast<MibObjectList *>(std::calloc(1, sizeof(MibObjectList)));
    if (!children)
        return ENOMEM;
    MibObject **tail = &children->first;
    MibEntry entry;
    entry.oid = parent.oid;
    entry.oid.push_back(0);
    int position = 0;
    for (const DirectoryListing::Entry &item : listing.entries()) {
        entry.oid.back() = ++position;
        entry.path = parent.path + '/' + item.name;
        entry.name = parent.name.empty() ? SysctlName::fromComponent(item.name)
                                         : parent.name + '.' + SysctlName::fromComponent(item.name);
        entry.directory = item.directory;
        MibObject *object = ObjectRecord::describe(entry);
        // A subdirectory that cannot be listed stays as a node without
        // children; only running out of memory abandons the listing.
        if (!object ||
            (entry.directory && listChildren(entry, &object->children) == ENOMEM)) {
            ObjectRecord::destroy(object);
            ObjectRecord::destroyList(children);
            return ENOMEM;
        }
        *tail = object;
        tail = &object->next;
    }
    *list = children;
    return 0;
}

}  // namespace linuxmib
