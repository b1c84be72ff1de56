#ifndef OIDSCOPE_CTLTYPE_H
#define OIDSCOPE_CTLTYPE_H

#include "ctlvocab.h"

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
    ctlTypeNode = NM_CTLTYPE_NODE,
    ctlTypeInt = NM_CTLTYPE_INT,
    ctlTypeString = NM_CTLTYPE_STRING,
    ctlTypeS64 = NM_CTLTYPE_S64,
    ctlTypeOpaque = NM_CTLTYPE_OPAQUE,
    ctlTypeUint = NM_CTLTYPE_UINT,
    ctlTypeLong = NM_CTLTYPE_LONG,
    ctlTypeUlong = NM_CTLTYPE_ULONG,
    ctlTypeU64 = NM_CTLTYPE_U64,
    ctlTypeU8 = NM_CTLTYPE_U8,
    ctlTypeU16 = NM_CTLTYPE_U16,
    ctlTypeS8 = NM_CTLTYPE_S8,
    ctlTypeS16 = NM_CTLTYPE_S16,
    ctlTypeS32 = NM_CTLTYPE_S32,
    ctlTypeU32 = NM_CTLTYPE_U32,
};

#endif
