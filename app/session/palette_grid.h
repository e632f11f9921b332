// The palette window's model: where the 256 cells of its grid lie, which
// entry a point picks, how its rows scroll and how its keys and the tone
// strip move the drawing colours. Portable, so that every rule is tested
// natively; the window only draws and dispatches.
#pragma once

inline constexpr int kPaletteColumns = 16;
inline constexpr int kPaletteRows = 16;
inline constexpr int kPaletteCellWidth = 16;
inline constexpr int kPaletteCellHeight = 12;
inline constexpr int kPaletteGridWidth = kPaletteColumns * kPaletteCellWidth;
inline constexpr int kPaletteMinRows = 2;
inline constexpr int kToneStripCell = 16;
inline constexpr int kPaletteNoEntry = -1;

// The entry under the display point (x, y) with first_row at the top of
// visible_rows rows; kPaletteNoEntry outside the grid (a captured drag
// reports points beyond the display).
int palette_entry_at(int x, int y, int first_row, int visible_rows);

// Rows that fit the room left for the display (the client height less the
// status bar and the panel below the grid).
int visible_rows_for(int display_room);
// The first row kept so that the visible rows do not pass the last one.
int first_row_within(int first_row, int visible_rows);

// Scroll codes as Windows numbers them (SB_LINEUP .. SB_THUMBTRACK).
enum PaletteScroll : int {
    kScrollLineBack = 0,
    kScrollLineOn = 1,
    kScrollPageBack = 2,
    kScrollPageOn = 3,
    kScrollThumbPosition = 4,
    kScrollThumbTrack = 5,
};
// The first row after a vertical scroll of the display; unchanged for other
// codes.
int scrolled_first_row(int code, int thumb, int first_row, int visible_rows);
// The tone level after a line or page step sent without a track bar (the
// canvas steps it back this way); unchanged for other codes.
int stepped_tone(int code, int tone);
// The tone level of a tone-strip point, 0..16.
int tone_at_strip(int x);

// A drawing colour moved by a numeric-pad arrow: -1 or +1 for 4 and 6,
// -16 or +16 for 8 and 2, wrapping within 0..255.
int stepped_colour(int colour, int step);
