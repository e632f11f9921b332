#include "app/windows/document/canvas_tools.h"

#include "app/windows/document/canvas_present.h"
#include "app/windows/document/canvas_wnd.h"
#include "app/windows/document/dib_wnd.h"
#include "app/windows/document/intensity_dlg.h"
#include "app/windows/document/lettering.h"
#include "app/tools/exchange_tool.h"
#include "app/tools/fill_tool.h"
#include "app/tools/layer_copy_tool.h"
#include "app/tools/pen_tool.h"
#include "app/tools/rotring_tool.h"
#include "app/tools/scroller_tool.h"
#include "app/tools/select_tool.h"
#include "app/tools/view.h"
#include "app/document/composite.h"
#include "app/imageops/floating_area.h"
#include "app/resources/resource_ids.h"
#include "app/session/shell_state.h"
#include "app/session/tool_protocol.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>

namespace {

PictureDocument& document(void* record) {
    return *static_cast<PictureDocument*>(record);
}

bool m_held() {
    return GetKeyState('M') < 0;
}

void recomposite_whole(PictureDocument& doc) {
    doc.update_rect = {0, 0, picture_width(doc), picture_height(doc)};
    recomposite(doc);
}

// ---- Zoom (tool 0) ----

int zoom_tool(HWND canvas, UINT msg, WPARAM, LPARAM lparam, void* record) {
    if (msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN)
        zoom_about(canvas, document(record), short(LOWORD(lparam)), short(HIWORD(lparam)),
                   msg == WM_LBUTTONDOWN);
    return 0;
}

POINT unsnapped(const PictureDocument& doc, LPARAM lparam) {
    return canvas_to_picture(doc, short(LOWORD(lparam)), short(HIWORD(lparam)));
}

// ---- Scroller (tool 1) ----

// The picture pixel under the pointer at the press; it stays under it.
POINT scroller_grab{};

int scroller_tool(HWND canvas, UINT msg, WPARAM wparam, LPARAM lparam, void* record) {
    PictureDocument& doc = document(record);
    if (msg == WM_LBUTTONDOWN) scroller_grab = unsnapped(doc, lparam);
    if (msg != WM_MOUSEMOVE || !(wparam & MK_LBUTTON)) return 0;
    if (!scroll_to_grab(doc, scroller_grab, unsnapped(doc, lparam))) return 0;
    HWND wnd = GetParent(canvas);
    SetScrollPos(wnd, SB_HORZ, doc.view_origin_x, TRUE);
    SetScrollPos(wnd, SB_VERT, doc.view_origin_y, TRUE);
    present_view(doc);
    return 0;
}

// ---- Select Area (tool 2) ----

void area_status(int part, int x, int y, int w, int h) {
    char text[64];
    std::snprintf(text, sizeof text, "(%d,%d)-[%d x %d]", x, y, w, h);
    set_status_text(part, text);
}

void draw_band(PictureDocument& doc, POINT to) {
    draw_inverted_frame(doc, rubber_band_rect(doc.anchor_point, to, doc.flags & kDocSnapToGrid));
}

// A selection dragged past the visible part scrolls it a line; true when
// it did, which redrew the view and with it the rubber band.
bool auto_scroll(HWND canvas, const PictureDocument& doc) {
    HWND wnd = GetParent(canvas);
    const POINT p = doc.current_point;
    bool scrolled = false;
    if (p.x < doc.view_origin_x || p.x > doc.view_origin_x + doc.visible_width) {
        SendMessageA(wnd, WM_HSCROLL, p.x < doc.view_origin_x ? SB_LINELEFT : SB_LINERIGHT, 0);
        scrolled = true;
    }
    if (p.y < doc.view_origin_y || p.y > doc.view_origin_y + doc.visible_height) {
        SendMessageA(wnd, WM_VSCROLL, p.y < doc.view_origin_y ? SB_LINEUP : SB_LINEDOWN, 0);
        scrolled = true;
    }
    return scrolled;
}

void select_move(HWND canvas, PictureDocument& doc) {
    const bool scrolled = auto_scroll(canvas, doc);
    if (doc.floating) {
        drag_floating(doc);
        char text[40];
        std::snprintf(text, sizeof text, "(%d,%d)", int(doc.floating_rect.left),
                      int(doc.floating_rect.top));
        set_status_text(kStatusPosition, text);
        return;
    }
    const POINT a = doc.anchor_point, c = doc.current_point;
    area_status(kStatusPosition, a.x, a.y, std::abs(c.x - a.x) + 1, std::abs(c.y - a.y) + 1);
    if (!scrolled) draw_band(doc, doc.previous_point);
    draw_band(doc, c);
}

void select_release_step(PictureDocument& doc) {
    const bool selecting = !doc.floating;
    if (select_release(doc) == SelectionEnd::Area) {
        const RECT& f = doc.floating_rect;
        area_status(kStatusSelection, f.left, f.top, floating_width(doc), floating_height(doc));
    }
    // The view drawn again shows the new frame, or no band after a click.
    if (selecting) present_view(doc);
}

// Commits a floating area into the picture and shows the result.
void commit_and_show(PictureDocument& doc) {
    if (doc.floating) {
        commit_floating(doc, m_held());
        doc.flags |= kNotifyZoomWindow;
    }
    set_status_text(kStatusSelection, "");
    present_view(doc);
}

int select_tool(HWND canvas, UINT msg, WPARAM wparam, LPARAM lparam, void* record) {
    PictureDocument& doc = document(record);
    switch (msg) {
    case WM_LBUTTONDOWN: {
        const SelectPress press = select_press(doc, unsnapped(doc, lparam), m_held());
        if (press.drags) break;
        set_status_text(kStatusSelection, "");
        if (press.committed) present_view(doc);
        draw_band(doc, doc.anchor_point);
        break;
    }
    case WM_MOUSEMOVE:
        if (wparam & MK_LBUTTON) select_move(canvas, doc);
        break;
    case WM_LBUTTONUP:
        select_release_step(doc);
        break;
    case WM_RBUTTONDOWN:
        if (doc.floating) commit_and_show(doc);
        break;
    case kMsgDeactivateTool:
        // The R key's Scroller borrows the drag: the area stays as it is.
        if (lparam == kDeactivateOnlyPreviews) break;
        [[fallthrough]];
    case kMsgLayerChanging:
        if (!doc.floating) recomposite_whole(doc);
        commit_and_show(doc);
        break;
    case WM_KEYDOWN:
        // Escape lets go of the area without writing it.
        if (wparam != VK_ESCAPE || !doc.floating) break;
        [[fallthrough]];
    case kMsgDropFloating:
        drop_floating(doc);
        set_status_text(kStatusSelection, "");
        present_view(doc);
        break;
    }
    return 0;
}

// ---- Rotring (tool 3) ----

// Chosen at each press, kept until the next.
RotringMode rotring_mode = RotringMode::free;

POINT on_canvas(const PictureDocument& doc, POINT p) {
    return picture_to_canvas(doc, p.x, p.y);
}

// The line or rectangle being dragged, drawn inverted on the screen only:
// the band to the previous point is drawn again to erase it, then the one to
// the current point.
void rubber_band(PictureDocument& doc) {
    HDC dc = doc.window_dc;
    if (!dc) return;
    const int old_rop = SetROP2(dc, R2_NOT);
    const POINT a = on_canvas(doc, doc.anchor_point);
    for (POINT p : {doc.previous_point, doc.current_point}) {
        const POINT c = on_canvas(doc, p);
        if (rotring_mode == RotringMode::line) {
            MoveToEx(dc, a.x, a.y, nullptr);
            LineTo(dc, c.x, c.y);
        } else {
            const HGDIOBJ old_brush = SelectObject(dc, GetStockObject(HOLLOW_BRUSH));
            Rectangle(dc, std::min(a.x, c.x), std::min(a.y, c.y), std::max(a.x, c.x),
                      std::max(a.y, c.y));
            SelectObject(dc, old_brush);
        }
    }
    SetROP2(dc, old_rop);
}

int rotring_tool(HWND, UINT msg, WPARAM wparam, LPARAM, void* record) {
    PictureDocument& doc = document(record);
    switch (msg) {
    case WM_LBUTTONDOWN:
        rotring_mode = rotring_press(doc, wparam & MK_SHIFT, wparam & MK_CONTROL, m_held());
        if (rotring_mode != RotringMode::free)
            set_status_text(kStatusSelection, rotring_mode_status(rotring_mode));
        break;
    case WM_MOUSEMOVE:
        if (!(wparam & MK_LBUTTON)) break;
        if (rotring_mode != RotringMode::free) {
            char text[96];
            rotring_drag_status(doc, rotring_mode, text);
            set_status_text(kStatusPosition, text);
            rubber_band(doc);
        }
        rotring_move(doc, rotring_mode, m_held());
        break;
    case WM_LBUTTONUP:
        if (rotring_mode != RotringMode::free) set_status_text(kStatusSelection, "");
        rotring_release(doc, rotring_mode, m_held());
        break;
    }
    return 0;
}

// ---- Pen (tool 4) ----

// What a painting pen does with each stroke segment: (document, M held,
// whether it is the release).
using StrokePaint = void (*)(PictureDocument&, bool, bool);

// The pen-type tools that paint through the stroke shape on moves and on
// the release and remove their footprint when they lose the focus or stop.
int stroke_tool(UINT msg, WPARAM wparam, PictureDocument& doc, StrokePaint paint) {
    switch (msg) {
    case WM_MOUSEMOVE:
        if (wparam & MK_LBUTTON) paint(doc, m_held(), false);
        break;
    case WM_LBUTTONUP:
        paint(doc, m_held(), true);
        break;
    case WM_KILLFOCUS:
    case kMsgDeactivateTool:
        present_rect(doc, pen_deactivate(doc));
        break;
    }
    return 0;
}

int pen_tool(HWND, UINT msg, WPARAM wparam, LPARAM, void* record) {
    return stroke_tool(msg, wparam, document(record), pen_paint);
}

// Long work on the release: the wait cursor and a status text meanwhile.
template <typename Work> void while_waiting(const char* text, const char* after, Work&& work) {
    set_status_text(kStatusSelection, text);
    const HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    work();
    SetCursor(previous);
    set_status_text(kStatusSelection, after);
}

// ---- Fluid Fill (tool 5) ----

int fill_tool(HWND, UINT msg, WPARAM, LPARAM, void* record) {
    if (msg == WM_LBUTTONUP)
        while_waiting("Please Wait", "", [&] { fluid_fill(document(record), m_held()); });
    return 0;
}

// ---- Color Exchange (tool 7) and Layer Copy Pen (tool 6) ----

int exchange_tool(HWND, UINT msg, WPARAM wparam, LPARAM, void* record) {
    return stroke_tool(msg, wparam, document(record), colour_exchange_paint);
}

int layer_copy_tool(HWND, UINT msg, WPARAM wparam, LPARAM, void* record) {
    return stroke_tool(msg, wparam, document(record),
                       [](PictureDocument& doc, bool m, bool) { layer_copy_paint(doc, m); });
}

// ---- Soften, Darken and Lighten pens (tools 9, 10 and 11) ----

// Kept for the whole stroke and beyond: it forgets only when the palette
// changes.
PaletteSearch soft_pen_search;

void soft_filter(PictureDocument& doc, SoftMode mode) {
    soft_pen_filter(doc, mode, soft_pen_values(mode), m_held(), soft_pen_search);
}

int soft_pen_tool(SoftMode mode, UINT msg, WPARAM wparam, LPARAM lparam, PictureDocument& doc) {
    switch (msg) {
    case kMsgActivateTool:
        open_intensity_dialog(mode);
        break;
    case kMsgDeactivateTool:
        if (lparam != kDeactivateOnlyPreviews) close_intensity_dialog(mode);
        present_rect(doc, pen_deactivate(doc));
        break;
    case WM_KILLFOCUS:
        present_rect(doc, pen_deactivate(doc));
        break;
    case WM_KEYDOWN:
        if (wparam == VK_ADD || wparam == VK_OEM_PLUS) step_intensity(mode, 1);
        if (wparam == VK_INSERT || wparam == VK_SUBTRACT) step_intensity(mode, -1);
        break;
    case WM_MOUSEMOVE:
        if (wparam & MK_LBUTTON) soft_filter(doc, mode);
        break;
    case WM_LBUTTONUP:
        while_waiting("Please Wait(^^;", " ", [&] { soft_filter(doc, mode); });
        break;
    }
    return 0;
}

int soften_tool(HWND, UINT msg, WPARAM wparam, LPARAM lparam, void* record) {
    return soft_pen_tool(SoftMode::soften, msg, wparam, lparam, document(record));
}
int darken_tool(HWND, UINT msg, WPARAM wparam, LPARAM lparam, void* record) {
    return soft_pen_tool(SoftMode::darken, msg, wparam, lparam, document(record));
}
int lighten_tool(HWND, UINT msg, WPARAM wparam, LPARAM lparam, void* record) {
    return soft_pen_tool(SoftMode::lighten, msg, wparam, lparam, document(record));
}

constexpr std::array<ToolHandler, kBuiltinToolCount> handlers() {
    std::array<ToolHandler, kBuiltinToolCount> h{};
    h[kToolZoom] = zoom_tool;
    h[kToolScroller] = scroller_tool;
    h[kToolSelectArea] = select_tool;
    h[kToolRotring] = rotring_tool;
    h[kToolPen] = pen_tool;
    h[kToolFluidFill] = fill_tool;
    h[kToolLayerCopyPen] = layer_copy_tool;
    h[kToolColourExchange] = exchange_tool;
    h[kToolLettering] = lettering_tool;
    h[kToolSoftenPen] = soften_tool;
    h[kToolDarkenPen] = darken_tool;
    h[kToolLightenPen] = lighten_tool;
    return h;
}

constexpr std::array<ToolHandler, kBuiltinToolCount> kHandlers = handlers();

} // namespace

const ToolHandler* builtin_tool_handlers() {
    return kHandlers.data();
}

void zoom_about(HWND canvas, PictureDocument& doc, int x, int y, bool zoom_in) {
    const POINT p = canvas_to_picture(doc, x, y);
    const int width = picture_width(doc), height = picture_height(doc);
    if (p.x < 0 || p.y < 0 || p.x > width || p.y > height) return;
    const int index = zoom_index(doc.zoom);
    if (index < 0 || (zoom_in ? index >= kZoomRateCount - 1 : index <= 0)) return;
    const int step = zoom_in ? 1 : -1;
    if (HWND bar = shell_windows().dialog_bar)
        SendDlgItemMessageA(bar, IDC_BAR_ZOOM, CB_SETCURSEL, WPARAM(index + step), 0);
    // Where the pointer is in the document window, so that after the canvas
    // moved the picture pixel under it can be put back under it.
    const int window_x = doc.canvas_left + x, window_y = doc.canvas_top + y;
    HWND wnd = GetParent(canvas);
    relayout_for_zoom(wnd, doc, kZoomRates[index + step]);
    const int zoom = doc.zoom;
    doc.view_origin_x =
        clamp_origin(p.x - (window_x - doc.canvas_left) * 100 / zoom, doc.visible_width, width);
    doc.view_origin_y =
        clamp_origin(p.y - (window_y - doc.canvas_top) * 100 / zoom, doc.visible_height, height);
    present_view(doc);
    update_scroll_bars(wnd);
    if (HWND zoom_window = shell_windows().zoom_window)
        SendMessageA(zoom_window, kMsgZoomLayout, 1, 0);
}
