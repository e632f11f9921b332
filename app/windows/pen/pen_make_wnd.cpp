#include "app/windows/pen/pen_make_wnd.h"

#include "app/session/pen_edit.h"
#include "app/session/settings.h"
#include "app/session/shell_state.h"
#include "app/windows/pen/pen_wnd.h"

namespace {

// One editor at a time, owned by the pen window.
HWND editor = nullptr;

// The cell whose outline is drawn, inverted, around the mouse.
struct Cursor {
    bool shown = false;
    POINT cell{};
};
Cursor cursor;

// The pen the editor shows and edits: the active picture's, or slot 0
// without one.
int edited_slot() {
    const PictureDocument* doc = active_document();
    return doc ? doc->current_pen_index : 0;
}

Surface* edited_pen() {
    const PictureDocument* doc = active_document();
    return doc ? doc->current_pen : pen_slots().slot[0];
}

void invert_outline(HDC dc, const RECT& r) {
    const int width = r.right - r.left, height = r.bottom - r.top;
    PatBlt(dc, r.left, r.top, width, 1, DSTINVERT);
    PatBlt(dc, r.left, r.bottom - 1, width, 1, DSTINVERT);
    PatBlt(dc, r.left, r.top + 1, 1, height - 2, DSTINVERT);
    PatBlt(dc, r.right - 1, r.top + 1, 1, height - 2, DSTINVERT);
}

void toggle_cursor(HWND wnd) {
    HDC dc = GetDC(wnd);
    invert_outline(dc, pen_cursor_rect(cursor.cell));
    ReleaseDC(wnd, dc);
}

void move_cursor(HWND wnd, const POINT* cell) {
    const bool same = cell && cursor.shown && cell->x == cursor.cell.x && cell->y == cursor.cell.y;
    if (same) return;
    if (cursor.shown) toggle_cursor(wnd);
    cursor.shown = cell != nullptr;
    if (!cell) return;
    cursor.cell = *cell;
    toggle_cursor(wnd);
}

// The repainted part loses its share of the outline; drawing the outline
// again inside the update region puts exactly that share back.
void on_paint(HWND wnd) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(wnd, &ps);
    if (const Surface* pen = edited_pen()) {
        SetStretchBltMode(dc, COLORONCOLOR);
        StretchBlt(dc, 0, 0, kPenEditorSide, kPenEditorSide, pen->dc, 0, 0, kPenSize, kPenSize,
                   SRCCOPY);
    }
    if (cursor.shown) invert_outline(dc, pen_cursor_rect(cursor.cell));
    EndPaint(wnd, &ps);
}

void paint_cell(HWND wnd, POINT cell, bool shape) {
    Surface* pen = edited_pen();
    if (!pen || !paint_pen_cell(*pen, cell, shape)) return;
    const RECT r = pen_cell_rect(cell);
    InvalidateRect(wnd, &r, FALSE);
    UpdateWindow(wnd);
    send_if_open(shell_windows().tool_window, kMsgPenChanged);
    redraw_pen_slot(edited_slot());
}

// A held button keeps painting as the mouse moves from cell to cell.
void on_mouse(HWND wnd, WPARAM keys, LPARAM lparam) {
    POINT cell;
    const bool on_pen = pen_cell_at(short(LOWORD(lparam)), short(HIWORD(lparam)), cell);
    move_cursor(wnd, on_pen ? &cell : nullptr);
    if (!on_pen) return;
    if (keys & MK_LBUTTON)
        paint_cell(wnd, cell, true);
    else if (keys & MK_RBUTTON)
        paint_cell(wnd, cell, false);
}

void on_destroy(HWND wnd) {
    RECT r;
    if (GetWindowRect(wnd, &r)) {
        settings().penMake_left = r.left;
        settings().penMake_top = r.top;
    }
    editor = nullptr;
}

} // namespace

LRESULT CALLBACK VLPenMakeWndProc(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    switch (msg) {
    case WM_CREATE:
        cursor = Cursor{};
        return 0;
    case WM_SIZE:
        if (wparam == SIZE_RESTORED) fit_client_area(wnd, kPenEditorSide, kPenEditorSide);
        return 0;
    case WM_PAINT:
        on_paint(wnd);
        return 0;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        on_mouse(wnd, wparam, lparam);
        return 0;
    case kMsgPenChanged:
        InvalidateRect(wnd, nullptr, FALSE);
        return 0;
    case WM_DESTROY:
        on_destroy(wnd);
        return 0;
    }
    return DefWindowProcA(wnd, msg, wparam, lparam);
}

void open_pen_editor(HWND pen_window) {
    if (editor) return;
    const Settings& s = settings();
    editor = CreateWindowExA(0, kPenEditorClass, "Edit Pen",
                             WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, s.penMake_left,
                             s.penMake_top, kPenEditorSide, kPenEditorSide, pen_window, nullptr,
                             shell_windows().instance, nullptr);
}

HWND pen_editor() {
    return editor;
}
