// Little-endian fields of the file formats (BMP, GIF and the program's own),
// read and written byte by byte so that neither alignment nor host order
// matters.
#pragma once

#include "platform/win.h"

#include <cstdint>

namespace io {

inline unsigned get16(const BYTE* p) {
    return unsigned(p[0]) | unsigned(p[1]) << 8;
}

inline std::uint32_t get32(const BYTE* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}

inline void put16(BYTE* p, unsigned v) {
    p[0] = BYTE(v);
    p[1] = BYTE(v >> 8);
}

inline void put32(BYTE* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[i] = BYTE(v >> (8 * i));
}

} // namespace io
