#include "ObjectTree.h"

#include "DirectoryListing.h"
#include "RootDirectory.h"
#include "SysctlName.h"
#include "ctlvocab.h"

#include <cerrno>
#include <climits>
#include <sys/stat.h>

namespace linuxmib {

ObjectTree::ObjectTree(RootDirectory &root) : root(root)
{
    clear();
}

void ObjectTree::clear()
{
    rootObject.children.clear();
    rootObject.childByName.clear();
    rootObject.directory = true;
    rootObject.listedIn = 0;
    walk = 1;
}

KnownObject *ObjectTree::child(const KnownObject &dir, int number)
{
    if (number < 1 || static_cast<std::size_t>(number) > dir.children.size())
        return nullptr;
    return dir.children[static_cast<std::size_t>(number) - 1].get();
}

KnownObject *ObjectTree::listedChild(KnownObject &dir, int number)
{
    if (!dir.directory || (dir.listedIn == 0 && list(dir) != 0))
        return nullptr;
    return child(dir, number);
}

std::string ObjectTree::dottedName(const KnownObject &object)
{
    if (!object.parent)
        return {};
    std::string name = dottedName(*object.parent);
    if (!name.empty())
        name += '.';
    return name + SysctlName::fromComponent(object.fileName);
}

KnownObject *ObjectTree::addChild(KnownObject &dir, const std::string &fileName, bool directory)
{
    // Identifier levels are ints; a directory this large cannot be addressed.
    if (dir.children.size() >= static_cast<std::size_t>(INT_MAX))
        return nullptr;
    auto object = std::make_unique<KnownObject>();
    object->fileName = fileName;
    object->parent = &dir;
    object->number = static_cast<int>(dir.children.size()) + 1;
    object->depth = dir.depth + 1;
    object->directory = directory;
    KnownObject *added = object.get();
    dir.children.push_back(std::move(object));
    dir.childByName.emplace(fileName, added);
    return added;
}

int ObjectTree::list(KnownObject &dir)
{
    dir.listedIn = walk;
    for (const auto &known : dir.children)
        known->present = false;
    // Entries deeper than the deepest identifier could never be addressed.
    if (dir.depth >= NM_CTL_MAXNAME)
        return 0;
    FileDescriptor fd;
    DirectoryListing listing;
    if (int err = openDirectoryOf(dir, fd))
        return err;
    if (int err = listing.read(fd.get()))
        return err;
    // The listing is sorted, so new names are numbered in byte order.
    for (const DirectoryListing::Entry &entry : listing.entries()) {
        auto found = dir.childByName.find(entry.name);
        KnownObject *object = found != dir.childByName.end()
                                  ? found->second
                                  : addChild(dir, entry.name, entry.directory);
        if (!object)
            break;
        object->present = true;
        object->directory = entry.directory;
        object->type = 0;
    }
    return 0;
}

int ObjectTree::listForWalk(KnownObject &dir)
{
    return dir.listedIn == walk ? 0 : list(dir);
}

int ObjectTree::resolve(const int *levels, std::size_t count, KnownObject *&object)
{
    KnownObject *at = &rootObject;
    for (std::size_t i = 0; i < count; ++i) {
        if (!at->directory)
            return ENOTDIR;
        if (at->listedIn == 0)
            if (int err = list(*at))
                return err;
        at = child(*at, levels[i]);
        if (!at)
            return ENOENT;
    }
    object = at;
    return 0;
}

int ObjectTree::lookup(const std::vector<std::string> &fileNames, KnownObject *&object)
{
    if (fileNames.size() > NM_CTL_MAXNAME)
        return ENOENT;
    FileDescriptor dirFd;
    if (int err = root.open(dirFd))
        return err;
    KnownObject *at = &rootObject;
    for (std::size_t i = 0; i < fileNames.size(); ++i) {
        const std::string &fileName = fileNames[i];
        if (!at->directory)
            return ENOENT;
        if (at->listedIn == 0)
            if (int err = list(*at))
                return err;
        struct stat st;
        if (int err = RootDirectory::status(dirFd.get(), fileName, st))
            return err;
        const bool directory = S_ISDIR(st.st_mode);
        if (!directory && !S_ISREG(st.st_mode))
            return ENOENT;
        // Seen on disk: a name new since its directory was listed takes the
        // next free number.
        auto found = at->childByName.find(fileName);
        KnownObject *next =
            found != at->childByName.end() ? found->second : addChild(*at, fileName, directory);
        if (!next)
            return ENOENT;
        next->present = true;
        if (next->directory != directory) {
            next->directory = directory;
            next->type = 0;
        }
        if (directory && i + 1 < fileNames.size()) {
            FileDescriptor below;
            if (int err = RootDirectory::openDirectory(dirFd.get(), fileName, below))
                return err;
            dirFd.take(below);
        }
        at = next;
    }
    object = at;
    return 0;
}

int ObjectTree::openDirectoryOf(const KnownObject &dir, FileDescriptor &out)
{
    const KnownObject *path[NM_CTL_MAXNAME + 1];
    std::size_t depth = 0;
    for (const KnownObject *at = &dir; at->parent && depth <= NM_CTL_MAXNAME; at = at->parent)
        path[depth++] = at;
    FileDescriptor fd;
    if (int err = root.open(fd))
        return err;
    while (depth > 0) {
        FileDescriptor below;
        if (int err = RootDirectory::openDirectory(fd.get(), path[--depth]->fileName, below))
            return err;
        fd.take(below);
    }
    out.take(fd);
    return 0;
}

int ObjectTree::openParent(const KnownObject &object, FileDescriptor &out)
{
    return object.parent ? openDirectoryOf(*object.parent, out) : ENOENT;
}

std::vector<int> ObjectTree::oidOf(const KnownObject &object)
{
    std::vector<int> oid(object.depth);
    for (const KnownObject *at = &object; at->parent; at = at->parent)
        oid[at->depth - 1] = at->number;
    return oid;
}

}  // namespace linuxmib
