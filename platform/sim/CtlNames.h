#ifndef OIDSCOPE_SIM_CTL_NAMES_H
#define OIDSCOPE_SIM_CTL_NAMES_H

// Names of the kernel's flag bits and value types, as fixtures write them.

#include <cstdint>
#include <optional>
#include <string_view>

namespace sim {

constexpr std::uint32_t flagRD = 0x80000000u;
constexpr std::uint32_t flagWR = 0x40000000u;
constexpr std::uint32_t flagRW = flagRD | flagWR;
constexpr std::uint32_t flagAnybody = 0x10000000u;
constexpr std::uint32_t flagTun = 0x00080000u;
constexpr std::uint32_t flagStats = 0x00002000u;
constexpr std::uint32_t flagNoFetch = 0x00001000u;
constexpr std::uint32_t flagCapRD = 0x00008000u;
constexpr std::uint32_t flagCapWR = 0x00004000u;
constexpr std::uint32_t flagSecure = 0x08000000u;
constexpr std::uint32_t flagPrison = 0x04000000u;
constexpr std::uint32_t flagVnet = 0x00020000u;
constexpr std::uint32_t flagMpSafe = 0x00040000u;
constexpr std::uint32_t flagNeedGiant = 0x00000800u;
constexpr std::uint32_t flagDyn = 0x02000000u;
constexpr std::uint32_t flagDying = 0x00010000u;
constexpr std::uint32_t flagDormant = 0x20000000u;
constexpr std::uint32_t flagSkip = 0x01000000u;

constexpr std::uint8_t typeNode = 1;
constexpr std::uint8_t typeInt = 2;
constexpr std::uint8_t typeString = 3;
constexpr std::uint8_t typeS64 = 4;
constexpr std::uint8_t typeOpaque = 5;
constexpr std::uint8_t typeUint = 6;
constexpr std::uint8_t typeLong = 7;
constexpr std::uint8_t typeUlong = 8;
constexpr std::uint8_t typeU64 = 9;
constexpr std::uint8_t typeU8 = 10;
constexpr std::uint8_t typeU16 = 11;
constexpr std::uint8_t typeS8 = 12;
constexpr std::uint8_t typeS16 = 13;
constexpr std::uint8_t typeS32 = 14;
constexpr std::uint8_t typeU32 = 15;

// The mask of a flag name such as "RD", "RWTUN" or "CTLFLAG_SKIP" (any case).
std::optional<std::uint32_t> flagByName(std::string_view name);

// The number of a type name: the long names ("unsigned integer", "uint8_t")
// or the short ones ("UINT", "U8", "CTLTYPE_NODE"), in any case.
std::optional<std::uint8_t> typeByName(std::string_view name);

}  // namespace sim

#endif
