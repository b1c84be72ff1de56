#ifndef OIDSCOPE_LINUX_OBJECT_RECORD_H
#define OIDSCOPE_LINUX_OBJECT_RECORD_H

#include "nmeta.h"

#include <cstdint>
#include <sys/types.h>

namespace linuxmib {

class MibEntry;

// The C records of nmeta.h for entries below the root. They are allocated
// with malloc, field by field, so that the free functions, and any C caller
// reading the interface, can release them as plain C memory.
class ObjectRecord {
public:
    // A record for the entry (children NULL): a directory is a readable node;
    // a file's type comes from its content and its flags from its mode. NULL
    // with errno ENOMEM when memory runs out.
    static MibObject *describe(const MibEntry &entry);

    // CTLFLAG bits for a file's permission bits.
    static std::uint32_t fileFlags(mode_t mode);

    // Releases an object with its children (not its next siblings).
    static void destroy(MibObject *object);
    // Releases a list with every object in it.
    static void destroyList(MibObjectList *list);
};

}  // namespace linuxmib

#endif
