#include "CtlNames.h"

#include <cctype>
#include <string>

namespace sim {
namespace {

struct NamedFlag {
    const char *name;
    std::uint32_t mask;
};

const NamedFlag namedFlags[] = {
    {"RD", NM_CTLFLAG_RD},
    {"WR", NM_CTLFLAG_WR},
    {"RW", NM_CTLFLAG_RW},
    {"ANYBODY", NM_CTLFLAG_ANYBODY},
    {"TUN", NM_CTLFLAG_TUN},
    {"RDTUN", NM_CTLFLAG_RD | NM_CTLFLAG_TUN},
    {"RWTUN", NM_CTLFLAG_RW | NM_CTLFLAG_TUN},
    {"STATS", NM_CTLFLAG_STATS},
    {"NOFETCH", NM_CTLFLAG_NOFETCH},
    {"CAPRD", NM_CTLFLAG_CAPRD},
    {"CAPWR", NM_CTLFLAG_CAPWR},
    {"CAPRW", NM_CTLFLAG_CAPRD | NM_CTLFLAG_CAPWR},
    {"SECURE", NM_CTLFLAG_SECURE},
    {"PRISON", NM_CTLFLAG_PRISON},
    {"VNET", NM_CTLFLAG_VNET},
    {"MPSAFE", NM_CTLFLAG_MPSAFE},
    {"NEEDGIANT", NM_CTLFLAG_NEEDGIANT},
    {"DYN", NM_CTLFLAG_DYN},
    {"DYING", NM_CTLFLAG_DYING},
    {"DORMANT", NM_CTLFLAG_DORMANT},
    {"SKIP", NM_CTLFLAG_SKIP},
};

struct NamedType {
    const char *name;
    std::uint8_t type;
};

// Long names first (as the program shows them), then FreeBSD's CTLTYPE_ names.
const NamedType namedTypes[] = {
    {"ZEROUNUSED", 0},
    {"NODE", NM_CTLTYPE_NODE},
    {"INTEGER", NM_CTLTYPE_INT},
    {"STRING", NM_CTLTYPE_STRING},
    {"INT64_T", NM_CTLTYPE_S64},
    {"OPAQUE", NM_CTLTYPE_OPAQUE},
    {"UNSIGNED INTEGER", NM_CTLTYPE_UINT},
    {"LONG INTEGER", NM_CTLTYPE_LONG},
    {"UNSIGNED LONG", NM_CTLTYPE_ULONG},
    {"UINT64_T", NM_CTLTYPE_U64},
    {"UINT8_T", NM_CTLTYPE_U8},
    {"UINT16_T", NM_CTLTYPE_U16},
    {"INT8_T", NM_CTLTYPE_S8},
    {"INT16_T", NM_CTLTYPE_S16},
    {"INT32_T", NM_CTLTYPE_S32},
    {"UINT32_T", NM_CTLTYPE_U32},
    {"INT", NM_CTLTYPE_INT},
    {"S64", NM_CTLTYPE_S64},
    {"STRUCT", NM_CTLTYPE_OPAQUE},
    {"UINT", NM_CTLTYPE_UINT},
    {"LONG", NM_CTLTYPE_LONG},
    {"ULONG", NM_CTLTYPE_ULONG},
    {"U64", NM_CTLTYPE_U64},
    {"U8", NM_CTLTYPE_U8},
    {"U16", NM_CTLTYPE_U16},
    {"S8", NM_CTLTYPE_S8},
    {"S16", NM_CTLTYPE_S16},
    {"S32", NM_CTLTYPE_S32},
    {"U32", NM_CTLTYPE_U32},
};

std::string upper(std::string_view text)
{
    std::string out(text);
    for (char &c : out)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

std::string withoutPrefix(std::string name, std::string_view prefix)
{
    if (name.compare(0, prefix.size(), prefix) == 0)
        name.erase(0, prefix.size());
    return name;
}

}  // namespace

std::optional<std::uint32_t> flagByName(std::string_view name)
{
    const std::string key = withoutPrefix(upper(name), "CTLFLAG_");
    for (const NamedFlag &flag : namedFlags)
        if (key == flag.name)
            return flag.mask;
    return std::nullopt;
}

std::optional<std::uint8_t> typeByName(std::string_view name)
{
    const std::string key = withoutPrefix(upper(name), "CTLTYPE_");
    for (const NamedType &type : namedTypes)
        if (key == type.name)
            return type.type;
    return std::nullopt;
}

}  // namespace sim
