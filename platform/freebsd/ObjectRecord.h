#ifndef OIDSCOPE_FREEBSD_OBJECT_RECORD_H
#define OIDSCOPE_FREEBSD_OBJECT_RECORD_H

#include "MetaQuery.h"
#include "nmeta.h"

#include <cstdint>
#include <optional>
#include <string>

namespace freebsd {

// What the kernel says of one object, gathered before its C record is made.
struct ObjectFacts {
    Oid oid;
    std::string name;
    std::uint32_t kind = 0;  // 0 when oidfmt failed: type 0, no flags
    std::optional<std::string> format;
    std::optional<std::string> description;
    std::optional<std::string> label;

    // Asks the kernel for kind, format, description and label (and the name
    // unless it is given). An object the kernel cannot describe keeps what
    // it could learn.
    static ObjectFacts query(const Oid &oid, const std::string *knownName = nullptr);
};

// The C records of nmeta.h, allocated with malloc field by field so that
// any C caller can release them as plain C memory.
class ObjectRecord {
public:
    // A record without children or next; NULL (errno ENOMEM) when memory ran out.
    static MibObject *create(const ObjectFacts &facts);
    // Releases an object with its children (not its next siblings).
    static void destroy(MibObject *object);
    // Releases a list with every object in it.
    static void destroyList(MibObjectList *list);
};

}  // namespace freebsd

#endif
