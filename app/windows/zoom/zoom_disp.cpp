#include "app/windows/zoom/zoom_state.h"
#include "app/windows/zoom/zoom_wnd.h"

#include "app/document/composite.h"
#include "app/resources/resource_ids.h"
#include "app/session/gdi_object.h"
#include "app/session/shell_state.h"
#include "app/tools/fill_tool.h"
#include "app/tools/rotring_tool.h"
#include "app/tools/zoom_tool.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>

namespace {

// Below this factor the cells are too small for the grid's lines.
constexpr int kGridFactorMin = 4;
constexpr int kGridEdgeWidth = 3;
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr int kToneMax = 16;
constexpr int kColourMax = 255;
constexpr int kColourRow = 16;
// lParam bit 30 of a key message: the key was already down (auto-repeat).
constexpr LPARAM kKeyWasDown = LPARAM(1) << 30;

bool key_held(int key) {
    return GetKeyState(key) < 0;
}

int factor_of(const PictureDocument& doc) {
    return std::clamp<int>(doc.zoom_window_scale, kZoomFactorMin, kZoomFactorMax);
}

// The display's own DC with the picture's palette selected for one drawing
// step; the document owns the palette, so it never stays selected here.
class DisplayDc {
  public:
    DisplayDc(HWND wnd, const PictureDocument& doc) : wnd_(wnd), dc_(GetDC(wnd)) {
        if (doc.palette) {
            old_palette_ = SelectPalette(dc_, doc.palette, TRUE);
            RealizePalette(dc_);
        }
    }
    ~DisplayDc() {
        if (old_palette_) SelectPalette(dc_, old_palette_, TRUE);
        ReleaseDC(wnd_, dc_);
    }
    DisplayDc(const DisplayDc&) = delete;
    DisplayDc& operator=(const DisplayDc&) = delete;
    HDC get() const { return dc_; }

  private:
    HWND wnd_;
    HDC dc_;
    HPALETTE old_palette_ = nullptr;
};

// White grid lines with black edges over the display rectangle r: black
// bands three pixels wide, then their white middles. Rectangle fills rather
// than wide pens, which cost far more per line.
void draw_grid(HDC dc, const RECT& r, int f) {
    const int width = r.right - r.left + 1, height = r.bottom - r.top + 1;
    const int edge = kGridEdgeWidth / 2;
    for (const DWORD rop : {DWORD(BLACKNESS), DWORD(WHITENESS)}) {
        const int band = rop == BLACKNESS ? kGridEdgeWidth : 1;
        const int shift = rop == BLACKNESS ? edge : 0;
        for (int y = r.top; y <= r.bottom; y += f)
            PatBlt(dc, r.left - shift, y - shift, width + 2 * shift, band, rop);
        for (int x = r.left; x <= r.right; x += f)
            PatBlt(dc, x - shift, r.top - shift, band, height + 2 * shift, rop);
    }
}

void outline_cell(HDC dc, const AreaRect& area, int f, POINT cell, COLORREF colour) {
    if (cell.x < area.left || cell.y < area.top || cell.x >= area.left + area.width ||
        cell.y >= area.top + area.height)
        return;
    GdiObject pen(CreatePen(PS_SOLID, 1, colour));
    const HGDIOBJ old_pen = SelectObject(dc, pen.get());
    const HGDIOBJ old_brush = SelectObject(dc, GetStockObject(HOLLOW_BRUSH));
    const int x = (cell.x - area.left) * f, y = (cell.y - area.top) * f;
    Rectangle(dc, x, y, x + f + 1, y + f + 1);
    SelectObject(dc, old_brush);
    SelectObject(dc, old_pen);
}

bool grid_drawn(const PictureDocument& doc) {
    return zoom_grid_shown() && !zoom_state().selecting && factor_of(doc) >= kGridFactorMin;
}

// The grid's red outline moves to cell; the cell it left is outlined white
// again.
void outline_pointer_cell(PictureDocument& doc, POINT cell) {
    ZoomState& z = zoom_state();
    if (!grid_drawn(doc) || (cell.x == z.outlined_cell.x && cell.y == z.outlined_cell.y)) return;
    DisplayDc dc(z.display, doc);
    outline_cell(dc.get(), doc.zoom_window_area, factor_of(doc), z.outlined_cell, kWhite);
    outline_cell(dc.get(), doc.zoom_window_area, factor_of(doc), cell, kRed);
    z.outlined_cell = cell;
}

// ---- Drawing ----

void draw_cells(HDC dc, const PictureDocument& doc, RECT cells) {
    const AreaRect& a = doc.zoom_window_area;
    const int f = factor_of(doc);
    cells.left = std::max<LONG>(cells.left, a.left);
    cells.top = std::max<LONG>(cells.top, a.top);
    cells.right = std::min<LONG>(cells.right, a.left + a.width);
    cells.bottom = std::min<LONG>(cells.bottom, a.top + a.height);
    if (cells.right <= cells.left || cells.bottom <= cells.top) return;
    const int w = cells.right - cells.left, h = cells.bottom - cells.top;
    const RECT shown{(cells.left - a.left) * f, (cells.top - a.top) * f, (cells.right - a.left) * f,
                     (cells.bottom - a.top) * f};
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, shown.left, shown.top, w * f, h * f, doc.composite->dc, cells.left, cells.top, w,
               h, SRCCOPY);
    if (!grid_drawn(doc)) return;
    draw_grid(dc, shown, f);
    const POINT outlined = zoom_state().outlined_cell;
    if (outlined.x >= cells.left && outlined.x < cells.right && outlined.y >= cells.top &&
        outlined.y < cells.bottom)
        outline_cell(dc, a, f, outlined, kRed);
}

// ---- Mouse ----

POINT cell_at(const PictureDocument& doc, LPARAM lparam, bool hold) {
    return zoom_cell(doc.zoom_window_area, factor_of(doc), short(LOWORD(lparam)),
                     short(HIWORD(lparam)), hold);
}

RECT area_bounds(const AreaRect& a) {
    return {a.left, a.top, a.left + a.width - 1, a.top + a.height - 1};
}

void show_preview(PictureDocument& doc) {
    doc.update_rect = {doc.zoom_window_area.left, doc.zoom_window_area.top,
                       doc.zoom_window_area.left + doc.zoom_window_area.width,
                       doc.zoom_window_area.top + doc.zoom_window_area.height};
    redraw_display();
    send_if_open(zoom_state().tile_view, kMsgZoomRefresh);
}

void on_left_down(HWND wnd, LPARAM lparam) {
    PictureDocument* doc = zoom_document();
    if (!doc || !current_layer(*doc)) return;
    ZoomState& z = zoom_state();
    SetCapture(wnd);
    doc->flags |= kDocModified;
    take_undo_copy(*current_layer(*doc));
    SetFocus(wnd);
    const POINT cell = cell_at(*doc, lparam, false);
    const bool shift = key_held(VK_SHIFT), ctrl = key_held(VK_CONTROL);
    const bool m_held = key_held('M');
    z.drag_start = z.last_cell = cell;
    z.drag = ZoomDrag::none;
    if (shift) {
        z.drag = ZoomDrag::line;
    } else if (ctrl && key_held('F')) {
        doc->current_point = cell;
        if (fluid_fill_within(*doc, area_bounds(doc->zoom_window_area), m_held)) {
            // The fill's box has inclusive corners.
            ++doc->update_rect.right;
            ++doc->update_rect.bottom;
            present_change(*doc);
        }
    } else if (ctrl) {
        z.drag = ZoomDrag::box;
    } else {
        rotring_point(*doc, cell.x, cell.y, m_held);
        present_change(*doc);
        z.drag = ZoomDrag::free;
    }
    doc->flags &= ~kNotifyBits;
}

void on_left_move(HWND wnd, PictureDocument& doc, LPARAM lparam) {
    ZoomState& z = zoom_state();
    if (GetCapture() != wnd) return;
    const POINT cell = cell_at(doc, lparam, true);
    if (cell.x == z.last_cell.x && cell.y == z.last_cell.y) return;
    switch (z.drag) {
    case ZoomDrag::free:
        rotring_line(doc, z.last_cell.x, z.last_cell.y, cell.x, cell.y, key_held('M'));
        present_change(doc);
        break;
    case ZoomDrag::line:
        zoom_line_preview(doc, doc.zoom_window_area, z.drag_start, cell);
        show_preview(doc);
        break;
    case ZoomDrag::box:
        zoom_box_preview(doc, doc.zoom_window_area, z.drag_start, cell);
        show_preview(doc);
        break;
    case ZoomDrag::none:
        break;
    }
    z.last_cell = cell;
}

void on_left_up(HWND wnd, LPARAM lparam) {
    ZoomState& z = zoom_state();
    if (GetCapture() != wnd) return;
    // Releasing the capture ends the drag.
    const ZoomDrag drag = z.drag;
    ReleaseCapture();
    PictureDocument* doc = zoom_document();
    if (!doc) return;
    const POINT cell = cell_at(*doc, lparam, true);
    const bool m_held = key_held('M');
    if (drag == ZoomDrag::line) {
        rotring_line(*doc, z.drag_start.x, z.drag_start.y, cell.x, cell.y, m_held);
        present_change(*doc);
    } else if (drag == ZoomDrag::box) {
        zoom_box_fill(*doc, z.drag_start, cell, m_held);
        present_change(*doc);
    }
}

void show_cell_status(const PictureDocument& doc, POINT cell) {
    const int x = cell.x, y = cell.y;
    if (x < 0 || y < 0 || x >= picture_width(doc) || y >= picture_height(doc)) return;
    const int index = colour_under(doc, x, y);
    const RGBQUAD c = current_layer(doc)->image->colour_table()[index & kColourMax];
    char text[80];
    std::snprintf(text, sizeof text, "( %d , %d )[ %d :R %d,G %d B %d]", x, y, index, c.rgbRed,
                  c.rgbGreen, c.rgbBlue);
    send_if_open(zoom_state().status, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(text));
}

// The drawing colours changed here: the swatch, the tool window, the
// palette window and the zoom dialog show them.
void colours_changed(PictureDocument& doc) {
    drawing_colours_changed(doc);
    doc.flags &= ~kNotifyBits;
    const ShellWindows& w = shell_windows();
    send_if_open(w.tool_window, kMsgColourViews);
    send_if_open(w.palette_window, kMsgColourViews);
    send_if_open(zoom_state().window, kMsgColourViews);
}

void pick(PictureDocument& doc, POINT cell) {
    pick_colour(doc, cell.x, cell.y, key_held(VK_SHIFT));
    colours_changed(doc);
}

void on_move(HWND wnd, WPARAM wparam, LPARAM lparam) {
    PictureDocument* doc = zoom_document();
    if (!doc || zoom_state().selecting) return;
    if (wparam & MK_LBUTTON) {
        on_left_move(wnd, *doc, lparam);
        return;
    }
    const POINT cell = cell_at(*doc, lparam, false);
    if (wparam & MK_RBUTTON) {
        pick(*doc, cell);
        return;
    }
    show_cell_status(*doc, cell);
    outline_pointer_cell(*doc, cell);
}

// ---- Keys ----

LPARAM pointer_lparam(HWND wnd) {
    POINT p;
    GetCursorPos(&p);
    ScreenToClient(wnd, &p);
    return MAKELPARAM(p.x, p.y);
}

// The arrow keys walk a cell of the view area and put the pointer on it.
void step_key_cell(HWND wnd, PictureDocument& doc, int dx, int dy) {
    ZoomState& z = zoom_state();
    const AreaRect& a = doc.zoom_window_area;
    z.key_cell.x = std::clamp<LONG>(z.key_cell.x + dx, a.left, a.left + a.width - 1);
    z.key_cell.y = std::clamp<LONG>(z.key_cell.y + dy, a.top, a.top + a.height - 1);
    POINT p = cell_centre(a, factor_of(doc), z.key_cell);
    ClientToScreen(wnd, &p);
    SetCursorPos(p.x, p.y);
}

void step_tone(PictureDocument& doc, int step) {
    if (HWND palette = shell_windows().palette_window) {
        SendMessageA(palette, WM_HSCROLL, step > 0 ? SB_LINERIGHT : SB_LINELEFT, 0);
        return;
    }
    doc.tone_level = std::clamp(doc.tone_level + step, 0, kToneMax);
    colours_changed(doc);
}

void step_colour(PictureDocument& doc, int step) {
    const bool right = key_held(VK_CONTROL) || key_held(VK_NUMPAD0);
    int& colour = right ? doc.right_colour : doc.left_colour;
    colour = std::clamp(colour + step, 0, kColourMax);
    colours_changed(doc);
}

// The factor goes through the dialog's box, which lays the window out anew.
void step_factor(const PictureDocument& doc, int step) {
    const int factor = factor_of(doc) + step;
    if (factor < kZoomFactorMin || factor > kZoomFactorMax) return;
    SetDlgItemInt(zoom_state().dialog, IDC_ZOOM_FACTOR, UINT(factor), FALSE);
}

void arrow(HWND wnd, PictureDocument& doc, int dx, int dy) {
    if (key_held(VK_SHIFT) && !key_held(VK_SPACE)) {
        if (dx) SendMessageA(wnd, WM_HSCROLL, dx < 0 ? SB_PAGELEFT : SB_PAGERIGHT, 0);
        if (dy) SendMessageA(wnd, WM_VSCROLL, dy < 0 ? SB_PAGEUP : SB_PAGEDOWN, 0);
        return;
    }
    step_key_cell(wnd, doc, dx, dy);
}

void on_key_down(HWND wnd, WPARAM key, LPARAM lparam) {
    PictureDocument* doc = zoom_document();
    if (!doc) return;
    const bool ctrl = key_held(VK_CONTROL);
    const bool repeat = lparam & kKeyWasDown;
    switch (key) {
    case VK_LEFT:
        return arrow(wnd, *doc, -1, 0);
    case VK_RIGHT:
        return arrow(wnd, *doc, 1, 0);
    case VK_UP:
        return arrow(wnd, *doc, 0, -1);
    case VK_DOWN:
        return arrow(wnd, *doc, 0, 1);
    case VK_SPACE:
        if (!repeat) on_left_down(wnd, pointer_lparam(wnd));
        return;
    case VK_RETURN:
        if (!repeat) pick(*doc, cell_at(*doc, pointer_lparam(wnd), false));
        return;
    case VK_PRIOR:
        return ctrl ? step_current_pen(*doc, 1) : step_tone(*doc, 1);
    case VK_NEXT:
        return ctrl ? step_current_pen(*doc, -1) : step_tone(*doc, -1);
    case VK_NUMPAD4:
        return step_colour(*doc, -1);
    case VK_NUMPAD6:
        return step_colour(*doc, 1);
    case VK_NUMPAD8:
        return step_colour(*doc, -kColourRow);
    case VK_NUMPAD2:
        return step_colour(*doc, kColourRow);
    case VK_ADD:
    case VK_OEM_PLUS:
        if (ctrl) step_factor(*doc, 1);
        return;
    case VK_SUBTRACT:
    case VK_OEM_MINUS:
        if (ctrl) step_factor(*doc, -1);
        return;
    }
}

// Shift with the arrows moves the view area by its own size.
void on_scroll(bool horizontal, WPARAM code) {
    PictureDocument* doc = zoom_document();
    if (!doc) return;
    AreaRect& a = doc->zoom_window_area;
    const int back = horizontal ? SB_PAGELEFT : SB_PAGEUP;
    const int forth = horizontal ? SB_PAGERIGHT : SB_PAGEDOWN;
    const int step = int(LOWORD(code)) == back ? -1 : int(LOWORD(code)) == forth ? 1 : 0;
    if (!step) return;
    if (horizontal)
        a.left += step * a.width;
    else
        a.top += step * a.height;
    a = clamped_view_area(a, picture_width(*doc), picture_height(*doc));
    picture_changed();
}

void on_paint(HWND wnd) {
    PAINTSTRUCT ps;
    BeginPaint(wnd, &ps);
    EndPaint(wnd, &ps);
    redraw_display();
}

} // namespace

void redraw_display(const RECT* cells) {
    const ZoomState& z = zoom_state();
    PictureDocument* doc = zoom_document();
    if (!z.display || !doc || !doc->composite || !doc->composite->dc) return;
    const AreaRect& a = doc->zoom_window_area;
    const RECT whole{a.left, a.top, a.left + a.width, a.top + a.height};
    DisplayDc dc(z.display, *doc);
    draw_cells(dc.get(), *doc, cells ? *cells : whole);
}

void lay_out_display(HWND display, int client_width, int client_height) {
    ZoomState& z = zoom_state();
    PictureDocument* doc = zoom_document();
    if (!doc || z.display_resizing) return;
    const int f = factor_of(*doc);
    const int pw = picture_width(*doc), ph = picture_height(*doc);
    AreaRect& a = doc->zoom_window_area;
    if (z.keep_view_area) {
        RECT work{};
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
        a = clamped_view_area(
            capped_view_area(a, f, work.right - work.left, work.bottom - work.top), pw, ph);
    } else {
        a = offered_view_area(a, zoom_size_mode(), client_width, client_height, f, pw, ph);
        send_if_open(z.tile_view, kMsgDocumentActivated);
    }
    z.display_resizing = true;
    SetWindowPos(display, nullptr, 0, 0, a.width * f, a.height * f,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    z.display_resizing = false;
    InvalidateRect(display, nullptr, FALSE);
    SendMessageA(GetParent(display), kMsgZoomLayout, 1, reinterpret_cast<LPARAM>(display));
}

LRESULT CALLBACK VLZoomDispWndProc(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    switch (msg) {
    case WM_PAINT:
        on_paint(wnd);
        return 0;
    case WM_SIZE:
        if (wparam == SIZE_RESTORED) lay_out_display(wnd, LOWORD(lparam), HIWORD(lparam));
        return 0;
    case WM_LBUTTONDOWN:
        on_left_down(wnd, lparam);
        return 0;
    case WM_MOUSEMOVE:
        on_move(wnd, wparam, lparam);
        return 0;
    case WM_LBUTTONUP:
        on_left_up(wnd, lparam);
        return 0;
    case WM_RBUTTONDOWN:
        if (PictureDocument* doc = zoom_document()) pick(*doc, cell_at(*doc, lparam, false));
        return 0;
    case WM_KEYDOWN:
        on_key_down(wnd, wparam, lparam);
        return 0;
    case WM_KEYUP:
        if (wparam == VK_SPACE) on_left_up(wnd, pointer_lparam(wnd));
        return 0;
    case WM_HSCROLL:
    case WM_VSCROLL:
        on_scroll(msg == WM_HSCROLL, wparam);
        return 0;
    case WM_CAPTURECHANGED:
        zoom_state().drag = ZoomDrag::none;
        return 0;
    }
    return DefWindowProcA(wnd, msg, wparam, lparam);
}
