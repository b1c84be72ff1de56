#include "mib/CtlType.h"

const CtlTypeEntry ctlTypeTable[ctlTypeCount] = {
    {"ZEROUNUSED", 0},
    {"node", 0},
    {"integer", 4},
    {"string", 0},
    {"int64_t", 8},
    {"opaque", 0},
    {"unsigned integer", 4},
    {"long integer", 8},
    {"unsigned long", 8},
    {"uint64_t", 8},
    {"uint8_t", 1},
    {"uint16_t", 2},
    {"int8_t", 1},
    {"int16_t", 2},
    {"int32_t", 4},
    {"uint32_t", 4},
};
