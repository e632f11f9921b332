#include "app/windows/zoom/zoom_wnd.h"

#include "app/windows/zoom/zoom_state.h"

#include "app/document/composite.h"
#include "app/imageops/reverse.h"
#include "app/imageops/view_area.h"
#include "app/resources/resource_ids.h"
#include "app/session/gdi_object.h"
#include "app/session/settings.h"
#include "app/session/shell_state.h"
#include "app/tools/zoom_tool.h"
#include "engine/rasko.h"

#include <commctrl.h>

#include <algorithm>
#include <iterator>

namespace {

constexpr int kInitialWidth = 256;
constexpr int kInitialHeight = 500;
// Growing the window by this much makes it lay itself out anew.
constexpr int kRelayoutGrowth = 10;
// The view-area mark's removal presents this many picture pixels around
// the area, enough for its one-pixel frame at any canvas zoom.
constexpr int kMarkMargin = 2;
constexpr COLORREF kOutlineRed = RGB(255, 0, 0);
constexpr int kToolbarId = 1;
constexpr int kStatusId = 2;
constexpr int kDisplayId = 3;

struct SizeButton {
    UINT command;
    ZoomSizeMode mode;
    const char* text;
};
constexpr SizeButton kSizeButtons[] = {
    {CMD_ZOOM_FREE_SIZE, ZoomSizeMode::free_size, "Free"},
    {CMD_ZOOM_SIZE_10, ZoomSizeMode::tens, "10x10"},
    {CMD_ZOOM_SIZE_16, ZoomSizeMode::sixteens, "16x16"},
};

struct Syncing {
    Syncing() { ++zoom_state().syncing; }
    ~Syncing() { --zoom_state().syncing; }
};

HMENU menu() {
    return GetMenu(zoom_state().window);
}

void check(UINT command, bool on) {
    CheckMenuItem(menu(), command, MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
}

int bar_height(HWND bar) {
    RECT r{};
    if (bar) GetWindowRect(bar, &r);
    return r.bottom - r.top;
}

// Growing the window by a few pixels runs the whole layout once more.
void force_layout() {
    ZoomState& z = zoom_state();
    z.keep_view_area = true;
    RECT r;
    GetWindowRect(z.window, &r);
    SetWindowPos(z.window, nullptr, 0, 0, r.right - r.left + kRelayoutGrowth,
                 r.bottom - r.top + kRelayoutGrowth, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// ---- The view-area mark on the canvas ----

HWND active_canvas() {
    return canvas_of(active_document_window());
}

RECT area_rect(const AreaRect& a) {
    return {a.left, a.top, a.left + a.width, a.top + a.height};
}

// The canvas point of a picture point, through the canvas's own mapping.
POINT on_canvas(HWND canvas, LONG x, LONG y) {
    int cx = x, cy = y;
    SendMessageA(canvas, kMsgPictureToCanvas, reinterpret_cast<WPARAM>(&cx),
                 reinterpret_cast<LPARAM>(&cy));
    return {cx, cy};
}

// The canvas shows the composite again where the mark was.
void remove_mark() {
    ZoomState& z = zoom_state();
    if (!z.marked_canvas) return;
    if (IsWindow(z.marked_canvas)) {
        RECT r = z.marked;
        InflateRect(&r, kMarkMargin, kMarkMargin);
        SendMessageA(z.marked_canvas, kMsgPresent, 0, reinterpret_cast<LPARAM>(&r));
    }
    z.marked_canvas = nullptr;
}

// An inverted frame one pixel outside the area: no caret, which the thread
// has only one of and an edit field takes.
void draw_mark(HWND canvas, const RECT& area) {
    const POINT a = on_canvas(canvas, area.left, area.top);
    const POINT b = on_canvas(canvas, area.right, area.bottom);
    HDC dc = GetDC(canvas);
    const int w = b.x - a.x + 2, h = b.y - a.y + 2;
    PatBlt(dc, a.x - 1, a.y - 1, w, 1, DSTINVERT);
    PatBlt(dc, a.x - 1, b.y, w, 1, DSTINVERT);
    PatBlt(dc, a.x - 1, a.y, 1, h - 2, DSTINVERT);
    PatBlt(dc, b.x, a.y, 1, h - 2, DSTINVERT);
    ReleaseDC(canvas, dc);
}

void outline_area(HWND canvas, const RECT& area) {
    const POINT a = on_canvas(canvas, area.left, area.top);
    const POINT b = on_canvas(canvas, area.right, area.bottom);
    HDC dc = GetDC(canvas);
    {
        GdiObject pen(CreatePen(PS_SOLID, 1, kOutlineRed));
        const HGDIOBJ old_pen = SelectObject(dc, pen.get());
        const HGDIOBJ old_brush = SelectObject(dc, GetStockObject(HOLLOW_BRUSH));
        Rectangle(dc, a.x - 1, a.y - 1, b.x + 1, b.y + 1);
        SelectObject(dc, old_brush);
        SelectObject(dc, old_pen);
    }
    ReleaseDC(canvas, dc);
}

// ---- Select View Area ----

void start_selecting(HWND wnd) {
    ZoomState& z = zoom_state();
    if (!zoom_document()) return;
    remove_mark();
    z.selecting = true;
    redraw_display();
    SetCapture(wnd);
}

// The pointer's picture point on the active canvas.
bool pointer_on_picture(POINT& p) {
    HWND canvas = active_canvas();
    if (!canvas) return false;
    GetCursorPos(&p);
    ScreenToClient(canvas, &p);
    int x = p.x, y = p.y;
    SendMessageA(canvas, kMsgCanvasToPicture, reinterpret_cast<WPARAM>(&x),
                 reinterpret_cast<LPARAM>(&y));
    p = {x, y};
    return true;
}

void select_move() {
    PictureDocument* doc = zoom_document();
    HWND canvas = active_canvas();
    POINT p;
    if (!doc || !canvas || !pointer_on_picture(p)) return;
    AreaRect& a = doc->zoom_window_area;
    RECT old = area_rect(a);
    InflateRect(&old, kMarkMargin, kMarkMargin);
    SendMessageA(canvas, kMsgPresent, 0, reinterpret_cast<LPARAM>(&old));
    if (p.x >= 0 && p.y >= 0 && p.x + a.width <= picture_width(*doc) &&
        p.y + a.height <= picture_height(*doc)) {
        a.left = p.x;
        a.top = p.y;
        redraw_display();
        send_if_open(zoom_state().tile_view, kMsgZoomRefresh);
    }
    outline_area(canvas, area_rect(a));
}

void end_selecting() {
    ZoomState& z = zoom_state();
    if (!z.selecting) return;
    z.selecting = false;
    PictureDocument* doc = zoom_document();
    HWND canvas = active_canvas();
    if (doc && canvas) {
        RECT r = area_rect(doc->zoom_window_area);
        InflateRect(&r, kMarkMargin, kMarkMargin);
        SendMessageA(canvas, kMsgPresent, 0, reinterpret_cast<LPARAM>(&r));
    }
    picture_changed();
}

// ---- Commands ----

// The edit commands end here: the canvas, the display and the tile view
// show the view area anew.
void area_changed(PictureDocument& doc) {
    doc.update_rect = area_rect(doc.zoom_window_area);
    recomposite(doc);
    present_change(doc);
}

void copy_area(HWND wnd, const PictureDocument& doc) {
    const Surface* source = copy_source(doc);
    const AreaRect& a = doc.zoom_window_area;
    if (source && source->info)
        RaskoCopyDIB(wnd, source->info, source->bits, a.left, a.top, a.width, a.height);
}

void paste_area(HWND wnd, PictureDocument& doc) {
    BITMAPINFOHEADER* dib = RaskoPasteDIB(wnd);
    if (!dib) {
        MessageBoxA(wnd, "Enable to Open Clipboard", "Error", MB_OK | MB_ICONINFORMATION);
        return;
    }
    const bool pasted = paste_into_area(doc, dib, io::bits_of(dib), doc.zoom_window_area);
    RaskoDestroyDIB(dib);
    if (pasted) area_changed(doc);
}

void clear(PictureDocument& doc) {
    if (clear_area(doc, doc.zoom_window_area, GetKeyState('M') < 0)) area_changed(doc);
}

void reverse(PictureDocument& doc, ReverseAxis axis) {
    if (reverse_area(doc, axis, doc.zoom_window_area)) area_changed(doc);
}

void set_size_mode(UINT command) {
    settings().zoom_SizeMode = std::int32_t(command);
    for (const SizeButton& b : kSizeButtons) {
        check(b.command, b.command == command);
        send_if_open(zoom_state().toolbar, TB_CHECKBUTTON, b.command, b.command == command);
    }
    force_layout();
}

void set_mark(bool on) {
    settings().zoom_ShowCurrent = on;
    check(CMD_ZOOM_MARK_VIEW_AREA, on);
    Syncing s;
    CheckDlgButton(zoom_state().dialog, IDC_ZOOM_MARK, on ? BST_CHECKED : BST_UNCHECKED);
    refresh_mark();
}

void set_grid(bool on) {
    settings().zoom_ShowGrid = on;
    check(CMD_ZOOM_DRAW_GRID, on);
    redraw_display();
}

void toggle_tile_view(HWND wnd) {
    ZoomState& z = zoom_state();
    if (z.tile_view) {
        DestroyWindow(z.tile_view);
        return;
    }
    z.tile_view = CreateWindowExA(WS_EX_TOOLWINDOW, kTileViewClass, "Tile view",
                                  WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, CW_USEDEFAULT,
                                  CW_USEDEFAULT, kInitialWidth, kInitialWidth, wnd, nullptr,
                                  shell_windows().instance, nullptr);
    if (z.tile_view) check(CMD_ZOOM_TILE_VIEW, true);
}

void on_command(HWND wnd, UINT id) {
    switch (id) {
    case CMD_ZOOM_CLOSE:
        DestroyWindow(wnd);
        return;
    case CMD_ZOOM_FREE_SIZE:
    case CMD_ZOOM_SIZE_10:
    case CMD_ZOOM_SIZE_16:
        set_size_mode(id);
        return;
    case CMD_ZOOM_MARK_VIEW_AREA:
        set_mark(!zoom_mark_shown());
        return;
    case CMD_ZOOM_DRAW_GRID:
        set_grid(!zoom_grid_shown());
        return;
    case CMD_ZOOM_SELECT_VIEW_AREA:
        start_selecting(wnd);
        return;
    case CMD_ZOOM_TILE_VIEW:
        toggle_tile_view(wnd);
        return;
    case CMD_ZOOM_ANIMATION_TEST:
        send_if_open(shell_windows().frame, kMsgRunAnimeTest, reinterpret_cast<WPARAM>(wnd));
        return;
    }
    PictureDocument* doc = zoom_document();
    if (!doc || !current_layer(*doc)) return;
    switch (id) {
    case CMD_COPY:
        copy_area(wnd, *doc);
        return;
    case CMD_PASTE:
        paste_area(wnd, *doc);
        return;
    case CMD_CUT:
        copy_area(wnd, *doc);
        clear(*doc);
        return;
    case CMD_DELETE:
        clear(*doc);
        return;
    case CMD_MIRROR:
        reverse(*doc, ReverseAxis::LeftRight);
        return;
    case CMD_FLIP:
        reverse(*doc, ReverseAxis::TopBottom);
        return;
    }
}

// ---- The dialog in the toolbar ----

void show_factor() {
    const PictureDocument* doc = zoom_document();
    if (!doc) return;
    Syncing s;
    SetDlgItemInt(zoom_state().dialog, IDC_ZOOM_FACTOR, UINT(doc->zoom_window_scale), FALSE);
}

// A factor outside 1 .. 32 (or no number) is ignored.
void factor_typed(HWND dlg) {
    PictureDocument* doc = zoom_document();
    BOOL ok = FALSE;
    const UINT factor = GetDlgItemInt(dlg, IDC_ZOOM_FACTOR, &ok, FALSE);
    if (!doc || !ok || factor < kZoomFactorMin || factor > kZoomFactorMax ||
        int(factor) == doc->zoom_window_scale)
        return;
    doc->zoom_window_scale = std::int32_t(factor);
    force_layout();
}

void draw_swatch(const DRAWITEMSTRUCT& item) {
    const PictureDocument* doc = zoom_document();
    if (!doc || !doc->colour_swatch || !doc->colour_swatch->dc) return;
    const Surface& s = *doc->colour_swatch;
    SetStretchBltMode(item.hDC, COLORONCOLOR);
    StretchBlt(item.hDC, item.rcItem.left, item.rcItem.top, item.rcItem.right - item.rcItem.left,
               item.rcItem.bottom - item.rcItem.top, s.dc, 0, 0, s.width(), s.height(), SRCCOPY);
}

INT_PTR CALLBACK ZoomDlgProc(HWND dlg, UINT msg, WPARAM wparam, LPARAM lparam) {
    switch (msg) {
    case WM_INITDIALOG:
        SendDlgItemMessageA(dlg, IDC_ZOOM_FACTOR_SPIN, UDM_SETRANGE32, kZoomFactorMin,
                            kZoomFactorMax);
        return TRUE;
    case WM_COMMAND:
        if (zoom_state().syncing) return TRUE;
        if (LOWORD(wparam) == IDC_ZOOM_FACTOR && HIWORD(wparam) == EN_CHANGE) factor_typed(dlg);
        if (LOWORD(wparam) == IDC_ZOOM_MARK && HIWORD(wparam) == BN_CLICKED)
            set_mark(IsDlgButtonChecked(dlg, IDC_ZOOM_MARK) == BST_CHECKED);
        return TRUE;
    case WM_DRAWITEM:
        if (wparam == IDC_ZOOM_SWATCH)
            draw_swatch(*reinterpret_cast<const DRAWITEMSTRUCT*>(lparam));
        return TRUE;
    }
    return FALSE;
}

// ---- Creation and layout ----

void make_toolbar(HWND wnd) {
    ZoomState& z = zoom_state();
    z.toolbar = CreateWindowExA(
        0, TOOLBARCLASSNAMEA, nullptr, WS_CHILD | WS_VISIBLE | TBSTYLE_LIST | CCS_NODIVIDER, 0, 0,
        0, 0, wnd, reinterpret_cast<HMENU>(kToolbarId), shell_windows().instance, nullptr);
    if (!z.toolbar) return;
    SendMessageA(z.toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageA(z.toolbar, TB_SETBITMAPSIZE, 0, MAKELPARAM(0, 0));
    TBBUTTON buttons[std::size(kSizeButtons)] = {};
    for (std::size_t i = 0; i < std::size(kSizeButtons); ++i) {
        buttons[i].iBitmap = I_IMAGENONE;
        buttons[i].idCommand = int(kSizeButtons[i].command);
        buttons[i].fsState = TBSTATE_ENABLED;
        buttons[i].fsStyle = BTNS_CHECKGROUP | BTNS_AUTOSIZE;
        buttons[i].iString = reinterpret_cast<INT_PTR>(kSizeButtons[i].text);
    }
    SendMessageA(z.toolbar, TB_ADDBUTTONSA, std::size(kSizeButtons),
                 reinterpret_cast<LPARAM>(buttons));
    z.dialog =
        CreateDialogParamA(shell_windows().instance, "ZOOM_DIALOG", z.toolbar, ZoomDlgProc, 0);
    RECT last{}, dialog{};
    SendMessageA(z.toolbar, TB_GETITEMRECT, std::size(kSizeButtons) - 1,
                 reinterpret_cast<LPARAM>(&last));
    if (z.dialog) GetWindowRect(z.dialog, &dialog);
    const int dialog_height = dialog.bottom - dialog.top;
    SendMessageA(z.toolbar, TB_SETBUTTONSIZE, 0,
                 MAKELPARAM(0, std::max<LONG>(last.bottom - last.top, dialog_height)));
    SendMessageA(z.toolbar, TB_AUTOSIZE, 0, 0);
    SendMessageA(z.toolbar, TB_GETITEMRECT, std::size(kSizeButtons) - 1,
                 reinterpret_cast<LPARAM>(&last));
    if (z.dialog)
        SetWindowPos(z.dialog, nullptr, last.right + 4, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
}

bool on_create(HWND wnd) {
    ZoomState& z = zoom_state();
    z = ZoomState{};
    z.window = wnd;
    z.keep_view_area = true;
    if (!active_document()) return false;
    make_toolbar(wnd);
    z.status =
        CreateWindowExA(0, STATUSCLASSNAMEA, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, wnd,
                        reinterpret_cast<HMENU>(kStatusId), shell_windows().instance, nullptr);
    z.display =
        CreateWindowExA(0, kZoomDisplayClass, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, wnd,
                        reinterpret_cast<HMENU>(kDisplayId), shell_windows().instance, nullptr);
    if (!z.toolbar || !z.status || !z.display) return false;
    const UINT mode = UINT(settings().zoom_SizeMode);
    for (const SizeButton& b : kSizeButtons) {
        check(b.command, b.command == mode);
        SendMessageA(z.toolbar, TB_CHECKBUTTON, b.command, b.command == mode);
    }
    check(CMD_ZOOM_DRAW_GRID, zoom_grid_shown());
    check(CMD_ZOOM_MARK_VIEW_AREA, zoom_mark_shown());
    {
        Syncing s;
        CheckDlgButton(z.dialog, IDC_ZOOM_MARK, zoom_mark_shown() ? BST_CHECKED : BST_UNCHECKED);
    }
    show_factor();
    return true;
}

// Step 1 of the layout: the bars size themselves, the display gets the rest.
void on_size(HWND wnd, WPARAM type) {
    ZoomState& z = zoom_state();
    if ((type != SIZE_RESTORED && type != SIZE_MAXIMIZED) || z.laying_out) return;
    SendMessageA(z.toolbar, TB_AUTOSIZE, 0, 0);
    SendMessageA(z.status, WM_SIZE, 0, 0);
    RECT client;
    GetClientRect(wnd, &client);
    const int top = bar_height(z.toolbar);
    MoveWindow(z.display, 0, top, client.right,
               std::max<LONG>(client.bottom - top - bar_height(z.status), 0), TRUE);
}

// Step 3: the window wraps the display and its bars.
void finish_layout(HWND wnd) {
    ZoomState& z = zoom_state();
    RECT display;
    GetWindowRect(z.display, &display);
    RECT r{0, 0, display.right - display.left,
           display.bottom - display.top + bar_height(z.toolbar) + bar_height(z.status)};
    AdjustWindowRectEx(&r, DWORD(GetWindowLongPtrA(wnd, GWL_STYLE)), TRUE,
                       DWORD(GetWindowLongPtrA(wnd, GWL_EXSTYLE)));
    z.laying_out = true;
    SetWindowPos(wnd, nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageA(z.toolbar, TB_AUTOSIZE, 0, 0);
    SendMessageA(z.status, WM_SIZE, 0, 0);
    z.laying_out = false;
    z.keep_view_area = false;
    refresh_mark();
}

void on_destroy(HWND wnd) {
    ZoomState& z = zoom_state();
    if (GetCapture() == wnd) ReleaseCapture();
    remove_mark();
    if (z.tile_view) DestroyWindow(z.tile_view);
    floating_window_closed(wnd, &ShellWindows::zoom_window, CMD_ZOOM_WINDOW, &settings().zoom_left,
                           &settings().zoom_top);
    z = ZoomState{};
}

void on_document_activated() {
    zoom_state().outlined_cell = {-1, -1};
    show_factor();
    send_if_open(zoom_state().tile_view, kMsgDocumentActivated);
    InvalidateRect(GetDlgItem(zoom_state().dialog, IDC_ZOOM_SWATCH), nullptr, FALSE);
    force_layout();
}

} // namespace

ZoomState& zoom_state() {
    static ZoomState state;
    return state;
}

ZoomSizeMode zoom_size_mode() {
    for (const SizeButton& b : kSizeButtons)
        if (settings().zoom_SizeMode == std::int32_t(b.command)) return b.mode;
    return ZoomSizeMode::free_size;
}

bool zoom_grid_shown() {
    return settings().zoom_ShowGrid != 0;
}

bool zoom_mark_shown() {
    return settings().zoom_ShowCurrent != 0;
}

PictureDocument* zoom_document() {
    PictureDocument* doc = active_document();
    if (!doc || !current_layer(*doc)) return nullptr;
    doc->zoom_window_area =
        clamped_view_area(doc->zoom_window_area, picture_width(*doc), picture_height(*doc));
    return doc;
}

void refresh_mark() {
    ZoomState& z = zoom_state();
    remove_mark();
    const PictureDocument* doc = zoom_document();
    HWND canvas = active_canvas();
    if (!zoom_mark_shown() || z.selecting || !doc || !canvas) return;
    z.marked = area_rect(doc->zoom_window_area);
    z.marked_canvas = canvas;
    draw_mark(canvas, z.marked);
}

void picture_changed() {
    redraw_display();
    send_if_open(zoom_state().tile_view, kMsgZoomRefresh);
    refresh_mark();
}

void present_change(PictureDocument& doc) {
    if (HWND canvas = active_canvas())
        SendMessageA(canvas, kMsgPresent, 0, reinterpret_cast<LPARAM>(&doc.update_rect));
    const RECT cells = doc.update_rect;
    redraw_display(&cells);
    send_if_open(zoom_state().tile_view, kMsgZoomRefresh);
    // The mark lies just outside the view area: a change inside it, which
    // is all the display draws, leaves the mark alone.
    const AreaRect& a = doc.zoom_window_area;
    if (cells.left < a.left || cells.top < a.top || cells.right > a.left + a.width ||
        cells.bottom > a.top + a.height)
        refresh_mark();
}

HWND create_zoom_window(HWND frame) {
    const Settings& s = settings();
    HWND wnd = CreateWindowExA(WS_EX_WINDOWEDGE, kZoomWindowClass, "Zoom",
                               WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_VISIBLE,
                               s.zoom_left, s.zoom_top, kInitialWidth, kInitialHeight, frame,
                               nullptr, shell_windows().instance, nullptr);
    if (!wnd) return nullptr;
    shell_windows().zoom_window = wnd;
    force_layout();
    return wnd;
}

LRESULT CALLBACK VLZoomWndProc(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    switch (msg) {
    case WM_CREATE:
        return on_create(wnd) ? 0 : -1;
    case WM_SIZE:
        on_size(wnd, wparam);
        return 0;
    case WM_COMMAND:
        on_command(wnd, LOWORD(wparam));
        return 0;
    case WM_MOUSEMOVE:
        if (zoom_state().selecting) select_move();
        return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        if (zoom_state().selecting) ReleaseCapture();
        return 0;
    case WM_CAPTURECHANGED:
        end_selecting();
        return 0;
    case kMsgDocumentActivated:
        on_document_activated();
        return 0;
    case kMsgPaletteChanged:
        picture_changed();
        return 0;
    case kMsgZoomRefresh:
        picture_changed();
        return 0;
    case kMsgColourViews:
        InvalidateRect(GetDlgItem(zoom_state().dialog, IDC_ZOOM_SWATCH), nullptr, FALSE);
        return 0;
    case kMsgZoomLayout:
        if (lparam && reinterpret_cast<HWND>(lparam) == zoom_state().display)
            finish_layout(wnd);
        else
            refresh_mark();
        return 0;
    case WM_DESTROY:
        on_destroy(wnd);
        return 0;
    }
    return DefWindowProcA(wnd, msg, wparam, lparam);
}
