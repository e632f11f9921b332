// What the zoom window, its display and the tile view share inside this
// library: one zoom window per process, so one state.
#pragma once

#include "app/document/picture.h"
#include "app/tools/zoom_view.h"
#include "platform/win.h"

// How the current left drag in the display draws.
enum class ZoomDrag { none, free, line, box };

struct ZoomState {
    HWND window = nullptr;
    HWND display = nullptr;
    HWND toolbar = nullptr;
    HWND dialog = nullptr; // "ZOOM_DIALOG" inside the toolbar
    HWND status = nullptr;
    HWND tile_view = nullptr;
    // The view area's size and origin stay as they are at the next layout:
    // set when the window opens, the factor or size mode changes or another
    // document becomes active.
    bool keep_view_area = false;
    bool laying_out = false;       // the zoom window resizes itself
    bool display_resizing = false; // the display resizes itself
    bool selecting = false;        // Select View Area holds the mouse
    ZoomDrag drag = ZoomDrag::none;
    POINT drag_start{};
    POINT last_cell{-1, -1};
    POINT outlined_cell{-1, -1}; // the cell the grid's red outline marks
    POINT key_cell{};            // the cell the arrow keys move
    // Where the view-area mark was drawn: that canvas, in picture pixels.
    HWND marked_canvas = nullptr;
    RECT marked{};
    int syncing = 0; // the window fills its own controls
};
ZoomState& zoom_state();

// The process-wide options, kept in the settings.
ZoomSizeMode zoom_size_mode();
bool zoom_grid_shown();
bool zoom_mark_shown();

// The active document and its view area held inside its picture, or null.
PictureDocument* zoom_document();

// Draws the view area's cells inside cells (picture pixels, right and
// bottom exclusive; the whole area when null) on the display, with the grid.
void redraw_display(const RECT* cells = nullptr);
// After the picture changed under the view area: the display, the tile
// view and the view-area mark show it.
void picture_changed();
// Shows the change in the document's update rectangle on the canvas, then
// as picture_changed.
void present_change(PictureDocument& doc);
// Removes the view-area mark from the canvas it was drawn on and, while the
// option is on, draws it around the current view area.
void refresh_mark();
// The display's answer to a new client size: lays the view area out as the
// size mode says (or keeps it) and resizes the display to fit it.
void lay_out_display(HWND display, int client_width, int client_height);
