// The pen editor's geometry and its one edit: the current pen magnified ten
// times, a cell per pen pixel, painted pixel by pixel.
#pragma once

#include "app/document/picture.h"
#include "app/session/pen_slots.h"

inline constexpr int kPenEditorZoom = 10;
inline constexpr int kPenEditorSide = kPenSize * kPenEditorZoom;

// The pen pixel (from the top left) under editor point (x, y); false beyond
// the pen, where the editor's window may reach and where no pixel is.
bool pen_cell_at(int x, int y, POINT& cell);
// The editor pixels that show a cell.
RECT pen_cell_rect(POINT cell);
// The 12 x 12 outline, one pixel outside the cell, that marks the cell under
// the mouse.
RECT pen_cursor_rect(POINT cell);
// Writes the shape (0) or the background (255) into the pen pixel of the
// cell. True when the pixel changed.
bool paint_pen_cell(Surface& pen, POINT cell, bool shape);
