// The library's working tone table, shared by every tone-screened function
// (not exported).
#pragma once

#include "platform/win.h"

namespace rasko {

constexpr int kToneLevels = 17;

// The standard ordered-dither patterns, level 0 to 16: bit (y & 3) * 4 + (x & 3)
// set means pixel (x, y) is drawn.
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

} // namespace rasko
