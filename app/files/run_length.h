// The two run-length codes of the native picture file. Both are streams of
// literals in which two equal literals in a row are followed by a count
// (2 to 255) that gives the whole length of that run.
#pragma once

#include "platform/win.h"

#include <cstddef>

// Byte code of a pixel plane of n bytes into out (room for n - 1 bytes).
// Returns the code's length, or 0 when the code would not come out shorter
// than n: the plane is then stored raw.
std::size_t encode_byte_runs(const BYTE* plane, std::size_t n, BYTE* out);
// Decodes at most length code bytes into out until n bytes are produced;
// returns how many bytes it produced (n unless the code ends early).
std::size_t decode_byte_runs(const BYTE* code, std::size_t length, BYTE* out, std::size_t n);

// Room that encode_mask_nibbles needs for a mask plane of n bytes.
inline std::size_t mask_code_capacity(std::size_t n) {
    return n / 4 + 2;
}
// Nibble code of a mask plane of n bytes (a multiple of 4): each four bytes
// become one 4-bit group value (bit i set when byte i is non-zero), coded
// like the bytes above with 8-bit counts split into two units, low first,
// and two units to a byte, the first in the low half. Returns its length.
std::size_t encode_mask_nibbles(const BYTE* mask, std::size_t n, BYTE* out);
// Decodes at most length code bytes into the mask plane (bits become 255 or
// 0) until n bytes are produced; returns how many bytes it produced.
std::size_t decode_mask_nibbles(const BYTE* code, std::size_t length, BYTE* out, std::size_t n);
