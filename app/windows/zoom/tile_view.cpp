#include "app/windows/zoom/zoom_state.h"
#include "app/windows/zoom/zoom_wnd.h"

#include "app/resources/resource_ids.h"
#include "app/session/shell_state.h"

namespace {

constexpr int kTiles = 3;
// Growing the window by this much makes it size itself to the area anew.
constexpr int kRelayoutGrowth = 10;

// The view area nine times, from the composite, in the picture's palette.
void draw_tiles(HWND wnd) {
    const PictureDocument* doc = zoom_document();
    if (!doc || !doc->composite || !doc->composite->dc) return;
    const AreaRect& a = doc->zoom_window_area;
    HDC dc = GetDC(wnd);
    const HPALETTE old = doc->palette ? SelectPalette(dc, doc->palette, TRUE) : nullptr;
    if (old) RealizePalette(dc);
    for (int j = 0; j < kTiles; ++j)
        for (int i = 0; i < kTiles; ++i)
            BitBlt(dc, i * a.width, j * a.height, a.width, a.height, doc->composite->dc, a.left,
                   a.top, SRCCOPY);
    if (old) SelectPalette(dc, old, TRUE);
    ReleaseDC(wnd, dc);
}

// The client becomes exactly three areas wide and high.
void fit_client(HWND wnd) {
    const PictureDocument* doc = zoom_document();
    if (!doc) return;
    RECT client;
    GetClientRect(wnd, &client);
    const int w = kTiles * doc->zoom_window_area.width, h = kTiles * doc->zoom_window_area.height;
    if (client.right == w && client.bottom == h) return;
    RECT r{0, 0, w, h};
    AdjustWindowRectEx(&r, DWORD(GetWindowLongPtrA(wnd, GWL_STYLE)), FALSE,
                       DWORD(GetWindowLongPtrA(wnd, GWL_EXSTYLE)));
    SetWindowPos(wnd, nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void grow(HWND wnd) {
    RECT r;
    GetWindowRect(wnd, &r);
    SetWindowPos(wnd, nullptr, 0, 0, r.right - r.left + kRelayoutGrowth,
                 r.bottom - r.top + kRelayoutGrowth, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void on_destroy(HWND wnd) {
    ZoomState& z = zoom_state();
    if (z.tile_view == wnd) z.tile_view = nullptr;
    if (z.window) CheckMenuItem(GetMenu(z.window), CMD_ZOOM_TILE_VIEW, MF_BYCOMMAND | MF_UNCHECKED);
}

} // namespace

LRESULT CALLBACK VLTileviewWndProc(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    switch (msg) {
    case WM_CREATE:
        return zoom_document() ? 0 : -1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(wnd, &ps);
        EndPaint(wnd, &ps);
        draw_tiles(wnd);
        return 0;
    }
    case WM_SIZE:
        if (wparam == SIZE_RESTORED) fit_client(wnd);
        return 0;
    case kMsgPaletteChanged:
    case kMsgZoomRefresh:
        draw_tiles(wnd);
        return 0;
    case kMsgDocumentActivated:
        grow(wnd);
        return 0;
    case WM_DESTROY:
        on_destroy(wnd);
        return 0;
    }
    return DefWindowProcA(wnd, msg, wparam, lparam);
}
