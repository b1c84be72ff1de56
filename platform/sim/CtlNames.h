#ifndef OIDSCOPE_SIM_CTL_NAMES_H
#define OIDSCOPE_SIM_CTL_NAMES_H

// Names of the kernel's flag bits and value types, as fixtures write them.

#include "ctlvocab.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace sim {

// The mask of a flag name such as "RD", "RWTUN" or "CTLFLAG_SKIP" (any case).
std::optional<std::uint32_t> flagByName(std::string_view name);

// The number of a type name: the long names ("unsigned integer", "uint8_t")
// or the short ones ("UINT", "U8", "CTLTYPE_NODE"), in any case.
std::optional<std::uint8_t> typeByName(std::string_view name);

}  // namespace sim

#endif
