#include "ObjectRecord.h"

#include "ctlvocab.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace freebsd {

namespace {

char *copyText(const std::string &text)
{
    char *copy = static_cast<char *>(std::malloc(text.size() + 1));
    if (copy) {
        std::memcpy(copy, text.data(), text.size());
        copy[text.size()] = '\0';
    }
    return copy;
}

// False when memory ran out; *out is NULL for an absent text.
bool copyOptional(const std::optional<std::string> &text, char **out)
{
    *out = text ? copyText(*text) : nullptr;
    return !text || *out;
}

}  // namespace

ObjectFacts ObjectFacts::query(const Oid &oid, const std::string *knownName)
{
    ObjectFacts facts;
    facts.oid = oid;
    if (knownName)
        facts.name = *knownName;
    else if (MetaQuery::name(oid, facts.name) != 0)
        facts.name.clear();
    std::string text;
    // Kind and format come only together; without them the object is still
    // listed, with type 0 and no flags.
    if (MetaQuery::format(oid, facts.kind, text) == 0)
        facts.format = text;
    else
        facts.kind = 0;
    if (MetaQuery::description(oid, text) == 0)
        facts.description = text;
    if (MetaQuery::label(oid, text) == 0)
        facts.label = text;
    return facts;
}

MibObject *ObjectRecord::create(const ObjectFacts &facts)
{
    auto *object = static_cast<MibObject *>(std::calloc(1, sizeof(MibObject)));
    if (!object) {
        errno = ENOMEM;
        return nullptr;
    }
    const std::size_t levels = facts.oid.empty() ? 1 : facts.oid.size();
    object->oidLevels = static_cast<int *>(std::calloc(levels, sizeof(int)));
    object->name = copyText(facts.name);
    bool ok = object->oidLevels && object->name;
    ok = copyOptional(facts.format, &object->format) && ok;
    ok = copyOptional(facts.description, &object->description) && ok;
    ok = copyOptional(facts.label, &object->label) && ok;
    if (!ok) {
        destroy(object);
        errno = ENOMEM;
        return nullptr;
    }
    if (!facts.oid.empty())
        std::memcpy(object->oidLevels, facts.oid.data(), facts.oid.size() * sizeof(int));
    object->oidLength = levels;
    object->type = static_cast<std::uint8_t>(facts.kind & NM_CTLTYPE_MASK);
    // The secure-level field is a number, not flags.
    object->flags = facts.kind & ~(NM_CTLTYPE_MASK | NM_CTLMASK_SECURE);
    return object;
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

}  // namespace freebsd
