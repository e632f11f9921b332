#include "engine/tone.h"

#include "engine/rasko.h"

namespace rasko {

const WORD kStandardTones[kToneLevels] = {
    0x0000, 0x0001, 0x0401, 0x0405, 0x0505, 0x0525, 0x8525, 0x85A5, 0xA5A5,
    0xA5A7, 0xADA7, 0xADAF, 0xAFAF, 0xAFBF, 0xEFBF, 0xEFFF, 0xFFFF,
};

WORD working_tones[kToneLevels] = {
    0x0000, 0x0001, 0x0401, 0x0405, 0x0505, 0x0525, 0x8525, 0x85A5, 0xA5A5,
    0xA5A7, 0xADA7, 0xADAF, 0xAFAF, 0xAFBF, 0xEFBF, 0xEFFF, 0xFFFF,
};

namespace {

// |offset| mod 4 without overflowing on INT_MIN.
unsigned magnitude_mod4(int offset) {
    const unsigned u = unsigned(offset);
    return (offset < 0 ? 0u - u : u) & 3u;
}

// Where standard row or column i (0-3) goes under an offset. Negative offsets
// mirror first, then move by the magnitude, the same rule for both axes.
// Non-negative row offsets move rows down; non-negative column offsets make
// new column c read standard column c + offset, so columns move left.
unsigned moved_to(unsigned i, int offset, bool column) {
    const unsigned m = magnitude_mod4(offset);
    if (offset < 0) return (3u - i + m) & 3u;
    return column ? (i - m) & 3u : (i + m) & 3u;
}

WORD offset_pattern(WORD standard, int x_offset, int y_offset) {
    WORD result = 0;
    for (unsigned r = 0; r < 4; ++r)
        for (unsigned c = 0; c < 4; ++c)
            if ((standard >> (r * 4 + c)) & 1)
                result |=
                    WORD(1u << (moved_to(r, y_offset, false) * 4 + moved_to(c, x_offset, true)));
    return result;
}

} // namespace

} // namespace rasko

extern "C" void RaskoOffsetPattern(int x_offset, int y_offset) {
    for (int level = 0; level < rasko::kToneLevels; ++level)
        rasko::working_tones[level] =
            rasko::offset_pattern(rasko::kStandardTones[level], x_offset, y_offset);
}
