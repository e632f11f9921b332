#include "app/session/palette_grid.h"

#include <algorithm>

namespace {

constexpr int kToneMax = 16;
constexpr int kEntries = kPaletteColumns * kPaletteRows;
// The panel, tone strip and track bar under the grid.
constexpr int kPanelHeight = 90;

} // namespace

int palette_entry_at(int x, int y, int first_row, int visible_rows) {
    if (x < 0 || y < 0 || x >= kPaletteGridWidth || y >= visible_rows * kPaletteCellHeight)
        return kPaletteNoEntry;
    const int entry =
        (y / kPaletteCellHeight + first_row) * kPaletteColumns + x / kPaletteCellWidth;
    return entry < kEntries ? entry : kPaletteNoEntry;
}

int visible_rows_for(int display_room) {
    return std::clamp(display_room - kPanelHeight, kPaletteMinRows * kPaletteCellHeight,
                      kPaletteRows * kPaletteCellHeight) /
           kPaletteCellHeight;
}

int first_row_within(int first_row, int visible_rows) {
    return std::clamp(first_row, 0, kPaletteRows - visible_rows);
}

int scrolled_first_row(int code, int thumb, int first_row, int visible_rows) {
    switch (code) {
    case kScrollLineBack:
    case kScrollPageBack:
        return first_row > 0 ? first_row - 1 : first_row;
    case kScrollLineOn:
    case kScrollPageOn:
        return first_row + visible_rows < kPaletteRows ? first_row + 1 : first_row;
    case kScrollThumbTrack:
        return first_row_within(thumb, visible_rows);
    }
    return first_row;
}

int stepped_tone(int code, int tone) {
    switch (code) {
    case kScrollLineBack:
    case kScrollPageBack:
        return tone > 0 ? tone - 1 : tone;
    case kScrollLineOn:
    case kScrollPageOn:
        return tone < kToneMax ? tone + 1 : tone;
    }
    return tone;
}

int tone_at_strip(int x) {
    return std::clamp(x / kToneStripCell, 0, kToneMax);
}

int stepped_colour(int colour, int step) {
    return ((colour + step) % kEntries + kEntries) % kEntries;
}
