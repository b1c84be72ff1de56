#ifndef OIDSCOPE_FREEBSD_MIB_WALK_H
#define OIDSCOPE_FREEBSD_MIB_WALK_H

#include "MetaQuery.h"
#include "ObjectRecord.h"
#include "nmeta.h"

#include <cstddef>
#include <string>
#include <vector>

namespace freebsd {

// The whole MIB as one tree, from a walk over every object (level 0
// included) in the kernel's order. Nodes the walk does not return are made
// from their children's identifiers and names.
class MibWalk {
public:
    // Every top-level object with its subtree; NULL with errno set when the
    // MIB cannot be walked at all or memory runs out.
    static MibObjectList *listAll();

    // A walk that lists more than this is taken as a kernel gone wrong.
    static constexpr std::size_t maxObjects = std::size_t{1} << 22;

    ~MibWalk();

private:
    struct Open {
        Oid oid;
        std::string name;
        MibObject *object;
        MibObject **childTail;  // where its next child goes; NULL before the first
    };

    MibWalk();
    // 0, or the errno of the first step.
    int walk(bool noSkip);
    // Adds an object below its nearest listed ancestor, making the nodes in
    // between. False when memory ran out.
    bool attach(const Oid &oid, const std::string *knownName = nullptr);
    bool append(const ObjectFacts &facts);
    // Where a walk goes on after an object too deep to ask from: past the
    // subtree of its deepest askable ancestor. False at the end of the MIB.
    bool resumeAfterDeep(const Oid &deep, Oid &from);
    ObjectFacts describeDeep(const Oid &oid);

    MibObjectList *list = nullptr;
    MibObject **rootTail = nullptr;  // where the next top-level object goes
    std::vector<Open> open;  // the current object's listed ancestors, outermost first
    std::size_t listed = 0;
};

}  // namespace freebsd

#endif
