// What the palette window's parts share: the window's state and the steps
// each part asks of another. Only this folder includes it.
#pragma once

#include "app/document/picture.h"
#include "app/imageops/palette_edits.h"
#include "app/session/palette_grid.h"
#include "platform/win.h"

struct PaletteView {
    HWND display = nullptr;
    HWND track_bar = nullptr;
    HWND status_bar = nullptr;
    // The display's own DC (its class keeps one), used for all its drawing.
    HDC display_dc = nullptr;
    int rows = kPaletteRows;
    int first_row = 0;
    // Where a left-button drag started, and whether Shift or Ctrl moved it.
    int drag_source = kPaletteNoEntry;
    bool drag_moved = false;
    POINT drag_point{-kPaletteCellWidth, -kPaletteCellWidth};
    // The status text shows colours in hexadecimal.
    bool hex = false;
    // The last range of the Paste Palette dialog; lives for the process.
    PasteRange paste;
};

PaletteView& palette_view();

// Height of the grid on the palette window.
int grid_height();
// Draws the grid and the marks of the drawing, key and background colours.
void draw_grid();
// Draws the colour panel and the tone strip below the grid.
void redraw_panel();
// Stores the tone level in the document and tells every view.
void set_tone_level(PictureDocument& doc, int level);
// The drawing colours changed here: the swatch follows (forced in mask
// view), the grid moves its marks, the panel is redrawn.
void drawing_colours_picked(PictureDocument& doc);
// Opens the colour editor unless it is open.
void open_colour_editor();
// After a palette edit: the document window recomposites and redraws, the
// colour editor, the tool window and the zoom window follow, and the grid
// and panel are drawn anew.
void palette_edited(PictureDocument& doc);
// Runs a palette-menu command; false for an id that is not one.
bool run_palette_command(HWND wnd, UINT id);
