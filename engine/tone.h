// The library's working tone table, shared by every tone-screened function
// (not exported; RaskoOffsetPattern is the public way to shift it).
#pragma once

#include "platform/win.h"

#include <cstdint>

namespace rasko {

constexpr int kToneLevels = 17;

// The standard ordered-dither patterns, level 0 to 16: bit (y & 3) * 4 + (x & 3)
// set means pixel (x, y) is drawn. Level n sets the n pixels whose 4 x 4
// Bayer entry is below n.
extern const WORD kStandardTones[kToneLevels];

// The patterns every tone operation reads: the standard ones as last shifted
// by RaskoOffsetPattern. Process-wide and unlocked.
extern WORD working_tones[kToneLevels];

// The working pattern of a level, levels outside 0 to 16 taken as the nearer
// end so that no caller can index past the table.
inline WORD working_tone(int level) {
    return working_tones[level < 0 ? 0 : level > 16 ? 16 : level];
}

inline bool tone_bit(WORD pattern, int x, int y) {
    return (pattern >> ((y & 3) * 4 + (x & 3))) & 1;
}

// The pattern row of destination row y as four mask bytes (0xFF drawn, 0x00
// not), byte k standing for columns x + k, x + k + 4, ...; little-endian, so
// byte k is (mask >> 8k) & 0xFF.
inline std::uint32_t tone_row_mask(WORD pattern, int x, int y) {
    const unsigned nibble = (pattern >> ((y & 3) * 4)) & 0xF;
    std::uint32_t mask = 0;
    for (int k = 0; k < 4; ++k)
        if ((nibble >> ((x + k) & 3)) & 1) mask |= 0xFFu << (8 * k);
    return mask;
}

} // namespace rasko
