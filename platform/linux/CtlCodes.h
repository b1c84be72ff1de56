#ifndef OIDSCOPE_LINUX_CTL_CODES_H
#define OIDSCOPE_LINUX_CTL_CODES_H

#include <cstddef>
#include <cstdint>

// The CTLTYPE numbers and flag bits this backend produces. Kept here rather
// than taken from the program's tables so the backend stays free of src/.
namespace linuxmib {

constexpr std::uint8_t typeNode = 1;
constexpr std::uint8_t typeString = 3;
constexpr std::uint8_t typeS64 = 4;
constexpr std::uint8_t typeU64 = 9;

constexpr std::uint32_t flagRD = 0x80000000u;
constexpr std::uint32_t flagWR = 0x40000000u;
constexpr std::uint32_t flagAnybody = 0x10000000u;

// The deepest identifier sysctl accepts (CTL_MAXNAME); deeper entries could
// never be addressed, so they are not listed either.
constexpr std::size_t maxLevels = 24;

}  // namespace linuxmib

#endif
