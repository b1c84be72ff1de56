#ifndef OIDSCOPE_CTLTYPE_H
#define OIDSCOPE_CTLTYPE_H

#include <cstddef>

// One kernel value type (CTLTYPE), indexed by its number.
struct CtlTypeEntry {
    const char *typeName;
    std::size_t elementSize;  // bytes of one number; 0 for non-numeric types
};

constexpr int ctlTypeCount = 16;
extern const CtlTypeEntry ctlTypeTable[ctlTypeCount];

// CTLTYPE numbers the program treats specially.
enum CtlTypeCode : unsigned {
    ctlTypeNode = 1,
    ctlTypeInt = 2,
    ctlTypeString = 3,
    ctlTypeS64 = 4,
    ctlTypeOpaque = 5,
    ctlTypeUint = 6,
    ctlTypeLong = 7,
    ctlTypeUlong = 8,
    ctlTypeU64 = 9,
    ctlTypeU8 = 10,
    ctlTypeU16 = 11,
    ctlTypeS8 = 12,
    ctlTypeS16 = 13,
    ctlTypeS32 = 14,
    ctlTypeU32 = 15,
};

// Flag bits read directly by the value code.
constexpr unsigned ctlFlagRD = 0x80000000u;
constexpr unsigned ctlFlagSKIP = 0x01000000u;

#endif
