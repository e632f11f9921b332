#include "app/resources/resource_ids.h"
#include "app/session/pen_slots.h"
#include "app/session/shell_state.h"
#include "app/tools/drawing.h"
#include "app/windows/palette/palette_view.h"
#include "app/windows/palette/palette_wnd.h"

#include <commctrl.h>

#include <cstdio>

namespace {

constexpr int kWideMark = 3;
constexpr int kCellInset = 2;
constexpr int kDragSquare = 12;
constexpr int kPenIndexMax = kPenSlotCount - 1;

PaletteView& view = palette_view();

Layer* active_layer(PictureDocument*& doc) {
    doc = active_document();
    return doc ? current_layer(*doc) : nullptr;
}

void mark(HDC dc, int index, int pen_style, int width, COLORREF colour, int rop) {
    const int row = index / kPaletteColumns - view.first_row;
    if (row < 0 || row >= view.rows) return;
    const int x = (index % kPaletteColumns) * kPaletteCellWidth, y = row * kPaletteCellHeight;
    HPEN pen = CreatePen(pen_style, width, colour);
    HGDIOBJ old_pen = SelectObject(dc, pen);
    HGDIOBJ old_brush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    const int old_rop = SetROP2(dc, rop);
    const int inset = pen_style == PS_DOT ? 1 : 0;
    Rectangle(dc, x + inset, y + inset, x + kPaletteCellWidth + 1 - inset,
              y + kPaletteCellHeight + 1 - inset);
    SetROP2(dc, old_rop);
    SelectObject(dc, old_brush);
    SelectObject(dc, old_pen);
    DeleteObject(pen);
}

void draw_marks(HDC dc, const PictureDocument& doc, const Layer& layer) {
    mark(dc, layer.background_colour & 0xFF, PS_SOLID, kWideMark, RGB(255, 255, 255), R2_COPYPEN);
    mark(dc, layer.key_colour & 0xFF, PS_DOT, 1, RGB(255, 255, 255), R2_NOT);
    mark(dc, doc.left_colour & 0xFF, PS_SOLID, 1, RGB(255, 0, 0), R2_COPYPEN);
    mark(dc, doc.right_colour & 0xFF, PS_SOLID, 1, RGB(0, 0, 255), R2_COPYPEN);
}

void grid_lines(HDC dc, int height) {
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(255, 255, 255));
    HGDIOBJ old = SelectObject(dc, pen);
    for (int y = 0; y <= height; y += kPaletteCellHeight) {
        MoveToEx(dc, 0, y, nullptr);
        LineTo(dc, kPaletteGridWidth, y);
    }
    for (int x = 0; x <= kPaletteGridWidth; x += kPaletteCellWidth) {
        MoveToEx(dc, x, 0, nullptr);
        LineTo(dc, x, height);
    }
    SelectObject(dc, old);
    DeleteObject(pen);
}

void show_status(int index) {
    PictureDocument* doc;
    Layer* layer = active_layer(doc);
    if (!layer || index == kPaletteNoEntry || !view.status_bar) return;
    const PALETTEENTRY& e = layer->image->logical_palette->palPalEntry[index];
    char text[64];
    std::snprintf(text, sizeof text,
                  view.hex ? "No.[%d]:(R: %02X ,G: %02X ,B: %02X)"
                           : "No.[%d]:(R: %d ,G: %d ,B: %d)",
                  index, e.peRed, e.peGreen, e.peBlue);
    SendMessageA(view.status_bar, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(text));
}

int entry_at(LPARAM lparam) {
    return palette_entry_at(short(LOWORD(lparam)), short(HIWORD(lparam)), view.first_row,
                            view.rows);
}

void invert_drag_square(POINT p) {
    const int half = kDragSquare / 2;
    PatBlt(view.display_dc, p.x - half, p.y - half, kDragSquare, kDragSquare, DSTINVERT);
}

void tell_colour_views(PictureDocument& doc, bool editor) {
    const ShellWindows& w = shell_windows();
    if (editor) send_if_open(w.colour_editor, kMsgColourViews, 0, reinterpret_cast<LPARAM>(&doc));
    send_if_open(w.zoom_window, kMsgColourViews);
    send_if_open(w.tool_window, kMsgColourViews);
}

void on_left_down(HWND wnd, LPARAM lparam) {
    PictureDocument* doc;
    if (!active_layer(doc)) return;
    const int index = entry_at(lparam);
    if (index == kPaletteNoEntry) return;
    view.drag_moved = false;
    SetFocus(wnd);
    SetCapture(wnd);
    view.drag_source = index;
    view.drag_point = {-kPaletteCellWidth, -kPaletteCellWidth};
    doc->left_colour = index;
    shell_state().editor_edits_left = true;
    drawing_colours_picked(*doc);
    tell_colour_views(*doc, true);
}

void on_mouse_move(WPARAM keys, LPARAM lparam) {
    show_status(entry_at(lparam));
    if (view.drag_source == kPaletteNoEntry || !(keys & MK_LBUTTON) ||
        !(keys & (MK_SHIFT | MK_CONTROL)))
        return;
    view.drag_moved = true;
    if (view.drag_point.x >= 0) invert_drag_square(view.drag_point);
    view.drag_point = {short(LOWORD(lparam)), short(HIWORD(lparam))};
    invert_drag_square(view.drag_point);
}

// A copy or swap moves colours between indexes: the picture is recomposited.
// A plain click only picked the left colour, which the button press showed.
void on_left_up(WPARAM keys, LPARAM lparam) {
    ReleaseCapture();
    const int source = view.drag_source, target = entry_at(lparam);
    const bool moved = view.drag_moved;
    view.drag_source = kPaletteNoEntry;
    view.drag_moved = false;
    PictureDocument* doc;
    if (!active_layer(doc) || source == kPaletteNoEntry || !moved || target == kPaletteNoEntry) {
        draw_grid();
        return;
    }
    if (keys & MK_CONTROL)
        copy_palette_colour(*doc, target, source);
    else if (keys & MK_SHIFT)
        swap_palette_colours(*doc, source, target);
    else {
        draw_grid();
        return;
    }
    palette_edited(*doc);
}

void set_layer_colour(PictureDocument& doc, std::int32_t& field, int index, bool key) {
    if (field == index) return;
    field = index;
    doc.flags |= kDocModified;
    const ShellWindows& w = shell_windows();
    if (key) send_if_open(active_document_window(), kMsgRedrawPicture);
    send_if_open(w.layer_manager, kMsgColourViews, 0, reinterpret_cast<LPARAM>(&doc));
    send_if_open(w.colour_editor, kMsgColourViews, 0, reinterpret_cast<LPARAM>(&doc));
}

void on_right_down(HWND wnd, WPARAM keys, LPARAM lparam) {
    PictureDocument* doc;
    Layer* layer = active_layer(doc);
    if (!layer) return;
    SetFocus(wnd);
    const int index = entry_at(lparam);
    if (index == kPaletteNoEntry) return;
    if (keys & MK_SHIFT) {
        set_layer_colour(*doc, layer->background_colour, index, false);
    } else if (keys & MK_CONTROL) {
        set_layer_colour(*doc, layer->key_colour, index, true);
    } else {
        doc->right_colour = index;
        shell_state().editor_edits_left = false;
        drawing_colours_changed(*doc);
        tell_colour_views(*doc, true);
    }
    draw_grid();
    redraw_panel();
    send_if_open(shell_windows().tool_window, kMsgColourViews);
}

void step_pen(PictureDocument& doc, int step) {
    const int index = doc.current_pen_index + step;
    if (index < 0 || index > kPenIndexMax) return;
    doc.current_pen_index = index;
    doc.current_pen = pen_slots().slot[index];
    send_if_open(shell_windows().tool_window, kMsgPenChanged);
    send_if_open(shell_windows().pen_window, kMsgPenChanged);
}

struct ColourKey {
    int key;
    int step;
};
constexpr ColourKey kColourKeys[] = {
    {VK_NUMPAD4, -1},
    {VK_NUMPAD6, 1},
    {VK_NUMPAD8, -kPaletteColumns},
    {VK_NUMPAD2, kPaletteColumns},
};

bool held(int key) {
    return GetKeyState(key) < 0;
}

// False for keys left to the default handling.
bool on_key(int key) {
    PictureDocument* doc;
    if (!active_layer(doc)) return false;
    for (const ColourKey& k : kColourKeys) {
        if (k.key != key) continue;
        const bool right = held(VK_CONTROL) || held(VK_NUMPAD0);
        std::int32_t& colour = right ? doc->right_colour : doc->left_colour;
        colour = stepped_colour(colour, k.step);
        drawing_colours_changed(*doc);
        send_if_open(shell_windows().palette_window, kMsgColourViews);
        return true;
    }
    switch (key) {
    case VK_RETURN:
    case VK_SPACE:
        open_colour_editor();
        return true;
    case VK_PRIOR:
    case VK_NEXT:
        if (held(VK_CONTROL))
            step_pen(*doc, key == VK_PRIOR ? 1 : -1);
        else
            send_if_open(shell_windows().palette_window, WM_HSCROLL,
                         key == VK_PRIOR ? SB_LINERIGHT : SB_LINELEFT, 0);
        return true;
    }
    return false;
}

void on_vscroll(WPARAM wparam) {
    view.first_row = scrolled_first_row(LOWORD(wparam), HIWORD(wparam), view.first_row, view.rows);
    draw_grid();
    SetScrollPos(view.display, SB_VERT, view.first_row, TRUE);
}

} // namespace

void draw_grid() {
    HDC dc = view.display_dc;
    if (!dc) return;
    const int height = grid_height();
    RECT all{0, 0, kPaletteGridWidth, height};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    PictureDocument* doc;
    Layer* layer = active_layer(doc);
    if (!layer || !layer->image->logical_palette) return;
    HPALETTE palette = CreatePalette(layer->image->logical_palette);
    if (!palette) return;
    // The document may delete its palette at any time: the DC keeps it
    // selected only while drawing.
    HPALETTE previous = SelectPalette(dc, palette, FALSE);
    RealizePalette(dc);
    for (int r = 0; r < view.rows; ++r)
        for (int c = 0; c < kPaletteColumns; ++c) {
            const RECT cell{c * kPaletteCellWidth + kCellInset, r * kPaletteCellHeight + kCellInset,
                            c * kPaletteCellWidth + kPaletteCellWidth - 1,
                            r * kPaletteCellHeight + kPaletteCellHeight - 1};
            HBRUSH brush =
                CreateSolidBrush(PALETTEINDEX((r + view.first_row) * kPaletteColumns + c));
            FillRect(dc, &cell, brush);
            DeleteObject(brush);
        }
    grid_lines(dc, height);
    draw_marks(dc, *doc, *layer);
    SelectPalette(dc, previous, FALSE);
    DeleteObject(palette);
}

LRESULT CALLBACK VLPaletteDispWndProc(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    switch (msg) {
    case WM_CREATE:
        SetScrollRange(wnd, SB_VERT, 0, 1, FALSE);
        view.display_dc = GetDC(wnd);
        view.drag_source = kPaletteNoEntry;
        view.drag_moved = false;
        return 0;
    case WM_DESTROY:
        if (view.display_dc) ReleaseDC(wnd, view.display_dc);
        view.display_dc = nullptr;
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(wnd, &ps);
        EndPaint(wnd, &ps);
        draw_grid();
        return 0;
    }
    case WM_MOUSEMOVE:
        on_mouse_move(wparam, lparam);
        return 0;
    case WM_LBUTTONDOWN:
        on_left_down(wnd, lparam);
        return 0;
    case WM_LBUTTONUP:
        on_left_up(wparam, lparam);
        return 0;
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
        open_colour_editor();
        return 0;
    case WM_RBUTTONDOWN:
        on_right_down(wnd, wparam, lparam);
        return 0;
    case WM_VSCROLL:
        if (active_document()) on_vscroll(wparam);
        return 0;
    case WM_KEYDOWN:
        if (on_key(int(wparam))) return 0;
        break;
    }
    return DefWindowProcA(wnd, msg, wparam, lparam);
}
