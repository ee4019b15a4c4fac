#pragma once

#include "memory_map.h"

#include <cstdint>

// Byte codes of the link interface: the low byte of a library code, or of FAILED and CANCELED.
constexpr int LINK_NO_HANDLE_BYTE = FAILED & 0xFF;   // 160
constexpr int LINK_CANCELED_BYTE = CANCELED & 0xFF;  // 161

inline int LowByte(int code)
{
    return code & 0xFF;
}

// Callers of the library test only the low byte of its results.
inline bool Succeeded(int code)
{
    return LowByte(code) == 0;
}
