#include "app/windows/mini_zoom/mini_zoom_wnd.h"

#include "app/resources/resource_ids.h"
#include "app/session/settings.h"
#include "app/session/shell_state.h"
#include "app/tools/zoom_view.h"

#include <commctrl.h>

namespace {

constexpr int kInitialSide = 256;
// The lines that frame the centre pixel, inverted across the whole window.
constexpr int kFrameNear = (kMiniSpan / 2) * kMiniScale - 1;
constexpr int kFrameFar = (kMiniSpan / 2 + 1) * kMiniScale;

// The window DC (the class owns one) and the palette realised in it.
struct MiniZoom {
    HDC dc = nullptr;
    HPALETTE palette = nullptr;
    HPALETTE old_palette = nullptr;
};
MiniZoom mini;

void release_palette() {
    if (!mini.palette) return;
    SelectPalette(mini.dc, mini.old_palette, FALSE);
    DeleteObject(mini.palette);
    mini.palette = nullptr;
}

// A palette of the current layer's colours, realised in the window DC.
void realise_palette() {
    release_palette();
    const PictureDocument* doc = active_document();
    const Layer* layer = doc ? current_layer(*doc) : nullptr;
    if (!mini.dc || !layer || !layer->image->logical_palette) return;
    mini.palette = CreatePalette(layer->image->logical_palette);
    if (!mini.palette) return;
    mini.old_palette = SelectPalette(mini.dc, mini.palette, FALSE);
    RealizePalette(mini.dc);
}

void draw_centre_frame(HDC dc) {
    PatBlt(dc, 0, kFrameNear, kMiniSide, 1, DSTINVERT);
    PatBlt(dc, 0, kFrameFar, kMiniSide, 1, DSTINVERT);
    PatBlt(dc, kFrameNear, 0, 1, kMiniSide, DSTINVERT);
    PatBlt(dc, kFrameFar, 0, 1, kMiniSide, DSTINVERT);
}

// The pixels around the document's pointer position.
void draw_around_pointer() {
    const PictureDocument* doc = active_document();
    if (!mini.dc || !doc || !doc->composite || !doc->composite->dc) return;
    const MiniZoomCopy copy = mini_zoom_copy(doc->current_point.x, doc->current_point.y,
                                             picture_width(*doc), picture_height(*doc));
    if (!copy.any) return;
    if (copy.cut) PatBlt(mini.dc, 0, 0, kMiniSide, kMiniSide, BLACKNESS);
    const AreaRect& s = copy.source;
    StretchBlt(mini.dc, copy.target.x, copy.target.y, s.width * kMiniScale, s.height * kMiniScale,
               doc->composite->dc, s.left, s.top, s.width, s.height, SRCCOPY);
    draw_centre_frame(mini.dc);
}

void fit_client(HWND wnd) {
    RECT client;
    GetClientRect(wnd, &client);
    if (client.right == kMiniSide && client.bottom == kMiniSide) return;
    RECT r{0, 0, kMiniSide, kMiniSide};
    AdjustWindowRectEx(&r, DWORD(GetWindowLongPtrA(wnd, GWL_STYLE)), FALSE,
                       DWORD(GetWindowLongPtrA(wnd, GWL_EXSTYLE)));
    SetWindowPos(wnd, nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool on_create(HWND wnd) {
    if (!active_document()) return false;
    mini.dc = GetDC(wnd);
    SetStretchBltMode(mini.dc, COLORONCOLOR);
    SetBrushOrgEx(mini.dc, 0, 0, nullptr);
    realise_palette();
    return true;
}

void on_destroy(HWND wnd) {
    release_palette();
    if (mini.dc) ReleaseDC(wnd, mini.dc);
    mini = MiniZoom{};
    floating_window_closed(wnd, &ShellWindows::mini_zoomer, CMD_MINI_ZOOMER, &settings().mini_left,
                           &settings().mini_top);
}

} // namespace

LRESULT CALLBACK VLMiniZoomWndProc(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    switch (msg) {
    case WM_CREATE:
        return on_create(wnd) ? 0 : -1;
    case WM_SIZE:
        if (wparam == SIZE_RESTORED) fit_client(wnd);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(wnd, &ps);
        EndPaint(wnd, &ps);
        draw_around_pointer();
        return 0;
    }
    case kMsgDocumentActivated:
        realise_palette();
        return 0;
    case kMsgMousePosition:
        draw_around_pointer();
        return 0;
    case WM_DESTROY:
        on_destroy(wnd);
        return 0;
    }
    return DefWindowProcA(wnd, msg, wparam, lparam);
}

HWND create_mini_zoomer(HWND frame) {
    const Settings& s = settings();
    HWND wnd = CreateWindowExA(0, kMiniZoomClass, "Mini-Zoomer",
                               WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, s.mini_left,
                               s.mini_top, kInitialSide, kInitialSide, frame, nullptr,
                               shell_windows().instance, nullptr);
    if (wnd) shell_windows().mini_zoomer = wnd;
    return wnd;
}
