// Layout arithmetic shared by the engine's sources (not exported).
#pragma once

#include "platform/win.h"

#include <cstddef>
#include <cstdint>

namespace rasko {

constexpr int kPaletteEntries = 256;
constexpr std::size_t kPaletteBytes = kPaletteEntries * sizeof(RGBQUAD);
constexpr std::size_t kHeaderAndPalette = 40 + kPaletteBytes;

// Largest block the engine will allocate for one DIB. A 32-bit process cannot
// hold more, and refusing here keeps absurd sizes from reaching GlobalAlloc.
constexpr std::uint64_t kMaxBlockBytes = 0x7FFF0000u;

// Computed unsigned so that no width overflows; widths near INT_MAX give
// strides that dib_block_size refuses anyway.
inline int stride_of(int width) { return int((unsigned(width) + 3u) & ~3u); }

// Block size of a width x height DIB, or 0 when a size is below 1 or the block
// would exceed kMaxBlockBytes.
inline std::size_t dib_block_size(int width, int height) {
    if (width < 1 || height < 1) return 0;
    const std::uint64_t stride = (std::uint64_t(width) + 3) & ~std::uint64_t(3);
    const std::uint64_t bytes = kHeaderAndPalette + stride * std::uint64_t(height);
    return bytes > kMaxBlockBytes ? 0 : std::size_t(bytes);
}

inline RGBQUAD* colour_table(BITMAPINFOHEADER* dib) {
    return reinterpret_cast<RGBQUAD*>(reinterpret_cast<BYTE*>(dib) + dib->biSize);
}

inline BYTE* bits_of(BITMAPINFOHEADER* dib) {
    return reinterpret_cast<BYTE*>(dib) + dib->biSize + kPaletteBytes;
}

inline const RGBQUAD* colour_table(const BITMAPINFOHEADER* dib) {
    return reinterpret_cast<const RGBQUAD*>(reinterpret_cast<const BYTE*>(dib) + dib->biSize);
}

inline const BYTE* bits_of(const BITMAPINFOHEADER* dib) {
    return reinterpret_cast<const BYTE*>(dib) + dib->biSize + kPaletteBytes;
}

// A DIB as RaskoCreateDIB makes it, its pixels and row pads left as the
// allocator gives them (zeroing a large picture costs a pass over it), for a
// reader that writes every byte of them.
BITMAPINFOHEADER* create_dib_to_overwrite(int width, int height);

} // namespace rasko
