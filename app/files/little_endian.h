// 32-bit little-endian fields of the program's own file formats, read and
// written byte by byte so that neither alignment nor host order matters.
#pragma once

#include "platform/win.h"

#include <cstdint>

inline void put32(BYTE* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = BYTE(v >> (8 * i));
}

inline std::uint32_t get32(const BYTE* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}
