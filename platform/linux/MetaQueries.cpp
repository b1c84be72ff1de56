#include "MetaQueries.h"

#include "CallReply.h"
#include "Descriptions.h"
#include "ObjectTree.h"
#include "SysctlName.h"
#include "TreeWalk.h"
#include "ValueAccess.h"
#include "ValueText.h"
#include "ctlvocab.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace linuxmib {

int MetaQueries::run(int query, const int *levels, std::size_t count, void *oldp,
                     std::size_t *oldlenp, const void *newp, std::size_t newlen)
{
    if (query < NM_CTL_SYSCTL_NAME || query > NM_CTL_SYSCTL_NEXTNOSKIP)
        return ENOENT;
    // Only name2oid takes new bytes; the others are read-only objects.
    if (newp && query != NM_CTL_SYSCTL_NAME2OID)
        return EPERM;
    switch (query) {
    case NM_CTL_SYSCTL_NAME:
        return name(levels, count, oldp, oldlenp);
    case NM_CTL_SYSCTL_NEXT:
    case NM_CTL_SYSCTL_NEXTNOSKIP:
        return next(query == NM_CTL_SYSCTL_NEXTNOSKIP, levels, count, oldp, oldlenp);
    case NM_CTL_SYSCTL_NAME2OID:
        // A leaf: levels after it go past it.
        return count > 0 ? ENOTDIR : nameToOid(newp, newlen, oldp, oldlenp);
    case NM_CTL_SYSCTL_OIDFMT:
        return format(levels, count, oldp, oldlenp);
    case NM_CTL_SYSCTL_OIDDESCR:
        return description(levels, count, oldp, oldlenp);
    default:
        // Linux files carry no labels.
        return ENOENT;
    }
}

int MetaQueries::name(const int *levels, std::size_t count, void *oldp, std::size_t *oldlenp)
{
    // Levels that name nothing known come as their numbers, as do all
    // levels after them.
    std::string dotted;
    KnownObject *at = &tree.top();
    for (std::size_t i = 0; i < count; ++i) {
        at = at ? tree.listedChild(*at, levels[i]) : nullptr;
        if (i > 0)
            dotted += '.';
        dotted += at ? SysctlName::fromComponent(at->fileName) : std::to_string(levels[i]);
    }
    return CallReply::copy(dotted.c_str(), dotted.size() + 1, oldp, oldlenp);
}

int MetaQueries::next(bool nodesToo, const int *levels, std::size_t count, void *oldp,
                      std::size_t *oldlenp)
{
    std::vector<int> oid;
    if (count == 0)
        descriptions.reload();
    if (int err = TreeWalk(tree, nodesToo).next(levels, count, oid))
        return err;
    return CallReply::copy(oid.data(), oid.size() * sizeof(int), oldp, oldlenp);
}

int MetaQueries::nameToOid(const void *newp, std::size_t newlen, void *oldp, std::size_t *oldlenp)
{
    if (!newp || newlen == 0)
        return ENOENT;
    if (newlen >= NM_CTL_NAME2OID_MAX)
        return ENAMETOOLONG;
    // The kernel takes the name as a C string: it ends at a NUL.
    const std::string dotted = ValueText::stringText(newp, newlen);
    std::vector<std::string> fileNames;
    KnownObject *object = nullptr;
    if (!SysctlName::split(dotted, fileNames))
        return ENOENT;
    if (int err = tree.lookup(fileNames, object))
        return err;
    const std::vector<int> oid = ObjectTree::oidOf(*object);
    return CallReply::copy(oid.data(), oid.size() * sizeof(int), oldp, oldlenp);
}

int MetaQueries::format(const int *levels, std::size_t count, void *oldp, std::size_t *oldlenp)
{
    KnownObject *object = nullptr;
    std::uint32_t kind = 0;
    const char *text = nullptr;
    if (count == 0)
        return ENOENT;
    if (int err = tree.resolve(levels, count, object))
        return err;
    if (int err = values.describe(*object, kind, text))
        return err;
    std::vector<unsigned char> reply(sizeof kind + std::strlen(text) + 1);
    std::memcpy(reply.data(), &kind, sizeof kind);
    std::memcpy(reply.data() + sizeof kind, text, std::strlen(text) + 1);
    return CallReply::copy(reply.data(), reply.size(), oldp, oldlenp);
}

int MetaQueries::description(const int *levels, std::size_t count, void *oldp, std::size_t *oldlenp)
{
    KnownObject *object = nullptr;
    if (count == 0)
        return ENOENT;
    if (int err = tree.resolve(levels, count, object))
        return err;
    const std::string *text = descriptions.find(ObjectTree::dottedName(*object));
    if (!text)
        return ENOENT;
    return CallReply::copy(text->c_str(), text->size() + 1, oldp, oldlenp);
}

}  // namespace linuxmib
