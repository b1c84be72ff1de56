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
    {"RD", flagRD},
    {"WR", flagWR},
    {"RW", flagRW},
    {"ANYBODY", flagAnybody},
    {"TUN", flagTun},
    {"RDTUN", flagRD | flagTun},
    {"RWTUN", flagRW | flagTun},
    {"STATS", flagStats},
    {"NOFETCH", flagNoFetch},
    {"CAPRD", flagCapRD},
    {"CAPWR", flagCapWR},
    {"CAPRW", flagCapRD | flagCapWR},
    {"SECURE", flagSecure},
    {"PRISON", flagPrison},
    {"VNET", flagVnet},
    {"MPSAFE", flagMpSafe},
    {"NEEDGIANT", flagNeedGiant},
    {"DYN", flagDyn},
    {"DYING", flagDying},
    {"DORMANT", flagDormant},
    {"SKIP", flagSkip},
};

struct NamedType {
    const char *name;
    std::uint8_t type;
};

// Long names first (as the program shows them), then FreeBSD's CTLTYPE_ names.
const NamedType namedTypes[] = {
    {"ZEROUNUSED", 0},
    {"NODE", typeNode},
    {"INTEGER", typeInt},
    {"STRING", typeString},
    {"INT64_T", typeS64},
    {"OPAQUE", typeOpaque},
    {"UNSIGNED INTEGER", typeUint},
    {"LONG INTEGER", typeLong},
    {"UNSIGNED LONG", typeUlong},
    {"UINT64_T", typeU64},
    {"UINT8_T", typeU8},
    {"UINT16_T", typeU16},
    {"INT8_T", typeS8},
    {"INT16_T", typeS16},
    {"INT32_T", typeS32},
    {"UINT32_T", typeU32},
    {"INT", typeInt},
    {"S64", typeS64},
    {"STRUCT", typeOpaque},
    {"UINT", typeUint},
    {"LONG", typeLong},
    {"ULONG", typeUlong},
    {"U64", typeU64},
    {"U8", typeU8},
    {"U16", typeU16},
    {"S8", typeS8},
    {"S16", typeS16},
    {"S32", typeS32},
    {"U32", typeU32},
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
