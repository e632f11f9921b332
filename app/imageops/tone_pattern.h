// The standard 4 x 4 ordered-dither patterns of the tone levels 0 to 16, the
// ones the engine's working table starts from: bit (y & 3) * 4 + (x & 3) is
// set where level n puts its second colour. Code that screens pixels itself
// reads them here, never the engine's working table, which a tool shifts
// for a moment.
#pragma once

#include "platform/win.h"

#include <algorithm>

inline constexpr int kToneLevelMax = 16;

inline constexpr WORD kStandardTonePatterns[kToneLevelMax + 1] = {
    0x0000, 0x0001, 0x0401, 0x0405, 0x0505, 0x0525, 0x8525, 0x85A5, 0xA5A5,
    0xA5A7, 0xADA7, 0xADAF, 0xAFAF, 0xAFBF, 0xEFBF, 0xEFFF, 0xFFFF,
};

// The pattern of a level, clamped to 0..16.
inline WORD standard_tone_pattern(int level) {
    return kStandardTonePatterns[std::clamp(level, 0, kToneLevelMax)];
}
