// For readers that make their DIBs unzeroed and write every byte themselves.
#pragma once

#include "engine/codecs.h"
#include "platform/io/dib_layout.h"

#include <cstring>

// Reads again with `read` over unzeroed blocks filled with 0xCD: every byte
// of the pixel area, pads included, must come out as in `dib`, read over the
// allocator's own memory.
template <class Read> void check_every_byte_written(Read read, const BITMAPINFOHEADER* dib) {
    native::set_unzeroed_alloc_fill(0xCD);
    BITMAPINFOHEADER* again = read();
    native::set_unzeroed_alloc_fill(-1);
    const std::size_t pixels = std::size_t(io::stride_of(dib->biWidth)) * dib->biHeight;
    if (!again || std::memcmp(io::bits_of(again), io::bits_of(dib), pixels) != 0) __builtin_trap();
    RaskoDestroyDIB(again);
}
