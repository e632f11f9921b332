#include "app/session/pen_edit.h"

#include "engine/rasko.h"

bool pen_cell_at(int x, int y, POINT& cell) {
    // Integer division truncates towards zero: -5 would be cell 0.
    if (x < 0 || y < 0 || x >= kPenEditorSide || y >= kPenEditorSide) return false;
    cell = {x / kPenEditorZoom, y / kPenEditorZoom};
    return true;
}

RECT pen_cell_rect(POINT cell) {
    const LONG x = cell.x * kPenEditorZoom, y = cell.y * kPenEditorZoom;
    return {x, y, x + kPenEditorZoom, y + kPenEditorZoom};
}

RECT pen_cursor_rect(POINT cell) {
    RECT r = pen_cell_rect(cell);
    return {r.left - 1, r.top - 1, r.right + 1, r.bottom + 1};
}

bool paint_pen_cell(Surface& pen, POINT cell, bool shape) {
    const BYTE value = shape ? kPenShape : kPenBackground;
    if (RaskoGetPixel(pen.info, pen.bits, cell.x, cell.y) == value) return false;
    return RaskoPutPixel(pen.info, pen.bits, cell.x, cell.y, value) != 0;
}
