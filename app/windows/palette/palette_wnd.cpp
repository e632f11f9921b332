#include "app/windows/palette/palette_wnd.h"

#include "app/resources/resource_ids.h"
#include "app/session/settings.h"
#include "app/session/shell_state.h"
#include "app/tools/drawing.h"
#include "app/windows/palette/palette_view.h"
#include "engine/rasko.h"

#include <commctrl.h>

#include <cstdio>
#include <cstring>

namespace {

constexpr int kToneLevels = 17;
constexpr int kToneMax = kToneLevels - 1;
constexpr int kClientWidth = 280;
constexpr int kStripWidth = kToneLevels * kToneStripCell;
// Offsets below the grid.
constexpr int kPanelTop = 4;
constexpr int kPanelBottom = 36;
constexpr int kStripTop = 38;
constexpr int kStripBottom = kStripTop + kToneStripCell;
constexpr int kTrackTop = 56;
constexpr int kTrackHeight = 32;
constexpr int kPanelRoom = 90;
// The colour panel: six copies of the swatch, then four boxes.
constexpr int kSwatchSide = 16;
constexpr int kPreviewLeft = 16;
constexpr int kBoxLefts[] = {80, 128, 176, 224};
constexpr int kBoxWidth = 32;
constexpr int kBoxTop = 20; // below the labels
constexpr int kLabelHeight = 12;
constexpr COLORREF kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255), kBlack = RGB(0, 0, 0),
                   kWhite = RGB(255, 255, 255);
constexpr int kWideFrame = 3;
constexpr WPARAM kFromColourEditor = 1;

PaletteView view;
// Raised while the window resizes itself from its own size handler.
int laying_out = 0;

HWND window() {
    return shell_windows().palette_window;
}

struct PaletteSelection {
    HDC dc;
    HPALETTE palette;
    HPALETTE previous;
    // The current layer's palette realised in dc for the drawing that
    // follows; selected out and deleted again when it ends.
    PaletteSelection(HDC d, const Layer& layer)
        : dc(d), palette(CreatePalette(layer.image->logical_palette)),
          previous(palette ? SelectPalette(d, palette, FALSE) : nullptr) {
        if (palette) RealizePalette(d);
    }
    ~PaletteSelection() {
        if (!palette) return;
        SelectPalette(dc, previous, FALSE);
        DeleteObject(palette);
    }
};

void frame_box(HDC dc, RECT r, COLORREF colour, int width, int style) {
    HPEN pen = CreatePen(style, width, colour);
    HGDIOBJ old_pen = SelectObject(dc, pen);
    HGDIOBJ old_brush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, r.left, r.top, r.right, r.bottom);
    SelectObject(dc, old_brush);
    SelectObject(dc, old_pen);
    DeleteObject(pen);
}

void fill_index(HDC dc, const RECT& r, int index) {
    HBRUSH brush = CreateSolidBrush(PALETTEINDEX(index & 0xFF));
    FillRect(dc, &r, brush);
    DeleteObject(brush);
}

void draw_preview(HDC dc, PictureDocument& doc, int top) {
    const Surface& swatch = *doc.colour_swatch;
    for (int j = 0; j < 2; ++j)
        for (int i = 0; i < 3; ++i)
            SetDIBitsToDevice(dc, kPreviewLeft + i * kSwatchSide, top + j * kSwatchSide,
                              kSwatchSide, kSwatchSide, 0, 0, 0, kSwatchSide, swatch.bits,
                              reinterpret_cast<const BITMAPINFO*>(swatch.info), DIB_RGB_COLORS);
}

void draw_boxes(HDC dc, const PictureDocument& doc, const Layer& layer, int top) {
    const int indexes[] = {doc.left_colour, doc.right_colour, layer.key_colour,
                           layer.background_colour};
    const char* labels[] = {"L", "R", "Key", "BG"};
    const COLORREF frames[] = {kRed, kBlue, kBlack, kWhite};
    const int widths[] = {1, 1, 1, kWideFrame};
    const int styles[] = {PS_SOLID, PS_SOLID, PS_DOT, PS_SOLID};
    HFONT font = CreateFontA(kLabelHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             DEFAULT_PITCH, "MS Sans Serif");
    HGDIOBJ old_font = font ? SelectObject(dc, font) : nullptr;
    SetBkMode(dc, TRANSPARENT);
    for (int i = 0; i < 4; ++i) {
        const RECT box{kBoxLefts[i], top + kBoxTop - kPanelTop, kBoxLefts[i] + kBoxWidth,
                       top + kPanelBottom - kPanelTop};
        fill_index(dc, box, indexes[i]);
        frame_box(dc, box, frames[i], widths[i], styles[i]);
        SetTextColor(dc, kBlack);
        TextOutA(dc, box.left, top, labels[i], int(std::strlen(labels[i])));
        char number[8];
        std::snprintf(number, sizeof number, "%d", indexes[i] & 0xFF);
        SetTextColor(dc, kWhite);
        TextOutA(dc, box.left + 2, box.top + 2, number, int(std::strlen(number)));
    }
    if (old_font) SelectObject(dc, old_font);
    if (font) DeleteObject(font);
}

void draw_strip(HDC dc, PictureDocument& doc, const Layer& layer, int top) {
    BITMAPINFOHEADER* strip = RaskoCreateDIB(kStripWidth, kToneStripCell);
    if (!strip) return;
    RaskoCopyPaletteToDIB(strip, layer.image->logical_palette);
    BYTE* bits = reinterpret_cast<BYTE*>(strip) + strip->biSize + 256 * sizeof(RGBQUAD);
    for (int level = 0; level < kToneLevels; ++level)
        RaskoDrawRectangleEx(strip, bits, level * kToneStripCell, 0, kToneStripCell, kToneStripCell,
                             doc.left_colour, doc.right_colour, level);
    SetDIBitsToDevice(dc, 0, top, kStripWidth, kToneStripCell, 0, 0, 0, kToneStripCell, bits,
                      reinterpret_cast<const BITMAPINFO*>(strip), DIB_RGB_COLORS);
    RaskoDestroyDIB(strip);
}

void paint_panel(HDC dc) {
    PictureDocument* doc = active_document();
    const Layer* layer = doc ? current_layer(*doc) : nullptr;
    if (!layer || !layer->image->logical_palette) return;
    const int h = grid_height();
    RECT room{0, h, kClientWidth, h + kStripTop};
    FillRect(dc, &room, GetSysColorBrush(COLOR_BTNFACE));
    PaletteSelection selected(dc, *layer);
    draw_preview(dc, *doc, h + kPanelTop);
    draw_boxes(dc, *doc, *layer, h + kPanelTop);
    draw_strip(dc, *doc, *layer, h + kStripTop);
}

// ---- Layout ----

int status_height() {
    RECT r{};
    if (view.status_bar) GetWindowRect(view.status_bar, &r);
    return r.bottom - r.top;
}

void place_display() {
    RECT r{0, 0, kPaletteGridWidth, grid_height()};
    AdjustWindowRectEx(&r, WS_CHILD, FALSE, WS_EX_CLIENTEDGE);
    const int width = r.right - r.left + GetSystemMetrics(SM_CXVSCROLL);
    SetWindowPos(view.display, nullptr, 0, 0, width, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    view.first_row = first_row_within(view.first_row, view.rows);
    if (view.rows == kPaletteRows) {
        EnableScrollBar(view.display, SB_VERT, ESB_DISABLE_BOTH);
    } else {
        EnableScrollBar(view.display, SB_VERT, ESB_ENABLE_BOTH);
        SetScrollRange(view.display, SB_VERT, 0, kPaletteRows - view.rows, FALSE);
        SetScrollPos(view.display, SB_VERT, view.first_row, TRUE);
    }
}

// The client is kClientWidth wide and as high as the rows need.
void fit_window(HWND wnd) {
    RECT r{0, 0, kClientWidth, grid_height() + kPanelRoom + status_height()};
    AdjustWindowRectEx(&r, DWORD(GetWindowLongPtrA(wnd, GWL_STYLE)), TRUE,
                       DWORD(GetWindowLongPtrA(wnd, GWL_EXSTYLE)));
    ++laying_out;
    SetWindowPos(wnd, nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    --laying_out;
}

void on_size(HWND wnd, WPARAM type, int client_height) {
    if (type != SIZE_RESTORED || !view.display) return;
    if (view.status_bar) SendMessageA(view.status_bar, WM_SIZE, 0, 0);
    if (laying_out) return;
    view.rows = visible_rows_for(client_height - status_height());
    place_display();
    fit_window(wnd);
    MoveWindow(view.track_bar, 0, grid_height() + kTrackTop, kStripWidth, kTrackHeight, TRUE);
    InvalidateRect(wnd, nullptr, TRUE);
}

// ---- Messages ----

LRESULT on_create(HWND wnd) {
    HINSTANCE instance = shell_windows().instance;
    view.rows = kPaletteRows;
    view.first_row = 0;
    view.display = CreateWindowExA(WS_EX_CLIENTEDGE, kPaletteDisplayClass, nullptr,
                                   WS_CHILD | WS_VISIBLE | WS_VSCROLL, 0, 0, kPaletteGridWidth,
                                   grid_height(), wnd, nullptr, instance, nullptr);
    const PictureDocument* doc = active_document();
    view.track_bar = CreateWindowExA(
        0, TRACKBAR_CLASSA, nullptr, WS_CHILD | WS_VISIBLE | TBS_AUTOTICKS, 0,
        grid_height() + kTrackTop, kStripWidth, kTrackHeight, wnd, nullptr, instance, nullptr);
    view.status_bar = CreateWindowExA(0, STATUSCLASSNAMEA, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 0,
                                      0, wnd, nullptr, instance, nullptr);
    if (!view.display || !view.track_bar || !view.status_bar) return -1;
    SendMessageA(view.track_bar, TBM_SETRANGE, FALSE, MAKELPARAM(0, kToneMax));
    SendMessageA(view.track_bar, TBM_SETPOS, TRUE, doc ? doc->tone_level : 0);
    int parts[] = {kPaletteGridWidth};
    SendMessageA(view.status_bar, SB_SETPARTS, 1, reinterpret_cast<LPARAM>(parts));
    CheckMenuItem(GetMenu(wnd), CMD_PAL_ARRANGE,
                  MF_BYCOMMAND | (settings().pal_FitPalette ? MF_CHECKED : MF_UNCHECKED));
    place_display();
    fit_window(wnd);
    return 0;
}

void on_destroy(HWND wnd) {
    floating_window_closed(wnd, &ShellWindows::palette_window, CMD_PALETTE_WINDOW,
                           &settings().pal_left, &settings().pal_top);
    view.display = view.track_bar = view.status_bar = nullptr;
}

void on_paint(HWND wnd) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(wnd, &ps);
    paint_panel(dc);
    EndPaint(wnd, &ps);
    if (settings().PaletteMakeOn && active_document() && !shell_windows().colour_editor)
        open_colour_editor();
}

// The track bar has moved its thumb already for every code it sends; the
// canvas sends line steps without a control (lparam 0).
void on_hscroll(WPARAM wparam, LPARAM lparam) {
    PictureDocument* doc = active_document();
    if (!doc) return;
    const int code = LOWORD(wparam);
    if (reinterpret_cast<HWND>(lparam) == view.track_bar && view.track_bar) {
        if (code == TB_ENDTRACK) return;
        set_tone_level(*doc, int(SendMessageA(view.track_bar, TBM_GETPOS, 0, 0)));
    } else if (!lparam) {
        set_tone_level(*doc, stepped_tone(code, doc->tone_level));
    }
}

void on_strip_mouse(int x, int y) {
    PictureDocument* doc = active_document();
    const int h = grid_height();
    if (!doc || y < h + kStripTop || y > h + kStripBottom) return;
    set_tone_level(*doc, tone_at_strip(x));
}

void on_document(UINT msg, LPARAM lparam) {
    const ShellWindows& w = shell_windows();
    if (msg == kMsgDocumentActivated) send_if_open(w.colour_editor, msg, 0, lparam);
    const PictureDocument* doc = active_document();
    if (!doc) return;
    draw_grid();
    redraw_panel();
    SendMessageA(view.track_bar, TBM_SETPOS, TRUE, doc->tone_level);
    send_if_open(w.tool_window, kMsgPaletteChanged, 0, lparam);
}

// wparam 1: the colour editor made the change and is not told back.
void on_colour_views(WPARAM wparam) {
    const ShellWindows& w = shell_windows();
    redraw_panel();
    if (wparam != kFromColourEditor) send_if_open(w.colour_editor, kMsgColourViews);
    send_if_open(w.tool_window, kMsgColourViews);
    draw_grid();
}

} // namespace

PaletteView& palette_view() {
    return view;
}

int grid_height() {
    return view.rows * kPaletteCellHeight;
}

void redraw_panel() {
    if (!window()) return;
    HDC dc = GetDC(window());
    paint_panel(dc);
    ReleaseDC(window(), dc);
}

void set_tone_level(PictureDocument& doc, int level) {
    doc.tone_level = level < 0 ? 0 : level > kToneMax ? kToneMax : level;
    drawing_colours_changed(doc);
    send_if_open(view.track_bar, TBM_SETPOS, TRUE, doc.tone_level);
    redraw_panel();
    send_if_open(shell_windows().zoom_window, kMsgColourViews);
    send_if_open(shell_windows().tool_window, kMsgColourViews);
}

void drawing_colours_picked(PictureDocument& doc) {
    drawing_colours_changed(doc);
    draw_grid();
    redraw_panel();
}

void open_colour_editor() {
    const ShellWindows& w = shell_windows();
    if (!w.colour_editor && w.frame)
        SendMessageA(w.frame, kMsgOpenColourEditor, reinterpret_cast<WPARAM>(window()), 0);
}

void palette_edited(PictureDocument& doc) {
    const ShellWindows& w = shell_windows();
    const LPARAM self = reinterpret_cast<LPARAM>(&doc);
    send_if_open(active_document_window(), kMsgPaletteChanged);
    send_if_open(w.colour_editor, kMsgColourViews);
    send_if_open(w.tool_window, kMsgPaletteChanged);
    send_if_open(w.zoom_window, kMsgPaletteChanged, 0, self);
    draw_grid();
    redraw_panel();
}

LRESULT CALLBACK VLPaletteWndProc(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    switch (msg) {
    case WM_CREATE:
        return on_create(wnd);
    case WM_DESTROY:
        on_destroy(wnd);
        return 0;
    case WM_SIZE:
        on_size(wnd, wparam, HIWORD(lparam));
        return 0;
    case WM_SETFOCUS:
    case WM_RBUTTONDOWN:
        if (view.display) SetFocus(view.display);
        return 0;
    case WM_PAINT:
        on_paint(wnd);
        return 0;
    case WM_LBUTTONDOWN:
        on_strip_mouse(short(LOWORD(lparam)), short(HIWORD(lparam)));
        return 0;
    case WM_MOUSEMOVE:
        if (wparam & MK_LBUTTON) on_strip_mouse(short(LOWORD(lparam)), short(HIWORD(lparam)));
        return 0;
    case WM_HSCROLL:
        on_hscroll(wparam, lparam);
        return 0;
    case WM_COMMAND:
        if (run_palette_command(wnd, LOWORD(wparam))) return 0;
        break;
    case kMsgDocumentActivated:
    case kMsgPaletteChanged:
        on_document(msg, lparam);
        return 0;
    case kMsgColourViews:
        on_colour_views(wparam);
        return 0;
    case kMsgLayerChanged:
        draw_grid();
        redraw_panel();
        return 0;
    }
    return DefWindowProcA(wnd, msg, wparam, lparam);
}

HWND create_palette_window(HWND frame) {
    ShellWindows& w = shell_windows();
    const Settings& s = settings();
    w.palette_window = CreateWindowExA(
        WS_EX_TOOLWINDOW, kPaletteWindowClass, "Palette",
        WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_VISIBLE | WS_CLIPCHILDREN,
        s.pal_left, s.pal_top, kClientWidth, kClientWidth, frame, nullptr, w.instance, nullptr);
    return w.palette_window;
}
