#include "ObjectRecord.h"

#include "CtlCodes.h"
#include "MibEntry.h"
#include "ValueFile.h"
#include "ValueText.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/stat.h>

namespace linuxmib {

MibObject *ObjectRecord::describe(const MibEntry &entry)
{
    std::uint8_t type = typeNode;
    std::uint32_t flags = flagRD;
    if (!entry.directory) {
        struct stat st;
        // An entry that vanished since it was listed keeps its place, with
        // no access at all.
        flags = lstat(entry.path.c_str(), &st) == 0 ? fileFlags(st.st_mode) : 0;
        std::string content;
        type = ValueFile::read(entry.path, content) == 0 ? ValueText::decode(content).type
                                                          : typeString;
    }

    auto *object = static_cast<MibObject *>(std::calloc(1, sizeof(MibObject)));
    if (!object) {
        errno = ENOMEM;
        return nullptr;
    }
    object->oidLevels = static_cast<int *>(std::malloc(entry.oid.size() * sizeof(int)));
    object->name = strdup(entry.name.c_str());
    if (!object->oidLevels || !object->name) {
        destroy(object);
        errno = ENOMEM;
        return nullptr;
    }
    std::memcpy(object->oidLevels, entry.oid.data(), entry.oid.size() * sizeof(int));
    object->oidLength = entry.oid.size();
    object->type = type;
    object->flags = flags;
    return object;
}

std::uint32_t ObjectRecord::fileFlags(mode_t mode)
{
    std::uint32_t flags = 0;
    if (mode & S_IRUSR)
        flags |= flagRD;
    if (mode & S_IWUSR)
        flags |= flagWR;
    if (mode & S_IWOTH)
        flags |= flagAnybody;
    return flags;
}

void ObjectRecord::destroy(MibObject *object)
{
    if (!object)
        return;
    destroyList(object->children);
    std::free(object->oidLevels);
    std::free(object->name);
    std::free(object->description);
    std::free(object->label);
    std::free(object->format);
    std::free(object);
}

void ObjectRecord::destroyList(MibObjectList *list)
{
    if (!list)
        return;
    MibObject *object = list->first;
    while (object) {
        MibObject *next = object->next;
        destroy(object);
        object = next;
    }
    std::free(list);
}

}  // namespace linuxmib
