// The zoom editor, the tile view and the mini zoomer in real windows: each
// figure is the time of one step, printed beside its goal as a ratio (below
// 1 meets it).
// Run by hand: scripts/wine-run build/win64/bin/zoom_bench.exe
#include "app/resources/resource_ids.h"
#include "app/session/pen_slots.h"
#include "app/session/shell_state.h"
#include "app/shell/frame_wnd.h"
#include "app/shell/startup.h"
#include "app/windows/zoom/zoom_wnd.h"
#include "bench_window.h"

#include <cstdio>
#include <cstring>

namespace {

using bench::pump;
using bench::seconds;

constexpr char kBenchKey[] = "Software\\Korvane\\Velmo\\zoom-bench";
constexpr int kSide = 256;
constexpr int kFactor = 10;
constexpr int kTileArea = 64;
constexpr double kRoundSeconds = 0.4;
constexpr int kRounds = 5;

// Milliseconds per call of `step`: the best of kRounds rounds of at least
// kRoundSeconds each, so that other work on the machine counts least.
template <typename Step> double milliseconds(Step&& step) {
    step(0);
    GdiFlush();
    double best = 0;
    int calls = 0;
    for (int round = 0; round < kRounds; ++round) {
        int round_calls = 0;
        const double start = seconds();
        double elapsed = 0;
        do {
            step(++calls);
            GdiFlush();
            ++round_calls;
            elapsed = seconds() - start;
        } while (elapsed < kRoundSeconds);
        const double ms = elapsed * 1000.0 / round_calls;
        if (round == 0 || ms < best) best = ms;
    }
    return best;
}

void report(const char* what, double ms, double goal_ms) {
    std::printf("  %-44s %7.3f ms  (%.2f x the %.1f ms goal)\n", what, ms, ms / goal_ms, goal_ms);
}

// A picture of stripes in many colours, so that every blit carries work.
PictureDocument* striped_picture() {
    PictureDocument* doc = new_picture(kSide, kSide, pen_slots().slot[0], nullptr);
    if (!doc) return nullptr;
    Surface& image = *current_layer(*doc)->image;
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x)
            image.bits[std::size_t(y) * image.stride() + x] = BYTE((x * 7 + y * 3) & 0xFF);
    image.copy_to(*current_layer(*doc)->undo_copy);
    return doc;
}

} // namespace

int main() {
    shell_state().registry_key = kBenchKey;
    HWND frame = start_velmo(GetModuleHandleA(nullptr), "", SW_SHOWMAXIMIZED);
    PictureDocument* doc = frame ? striped_picture() : nullptr;
    HWND wnd = doc ? open_document_window(doc) : nullptr;
    if (!wnd) {
        std::puts("the program or its picture did not start");
        return 1;
    }
    pump();
    doc->zoom_window_scale = kFactor;
    doc->zoom_window_area = {0, 0, 32, 32};
    SendMessageA(frame, WM_COMMAND, CMD_ZOOM_WINDOW, 0);
    pump();
    HWND zoom = shell_windows().zoom_window;
    HWND display = zoom ? FindWindowExA(zoom, nullptr, kZoomDisplayClass, nullptr) : nullptr;
    if (!display) {
        std::puts("no zoom window");
        return 1;
    }
    RECT client;
    GetClientRect(display, &client);
    std::printf("zoom display %ld x %ld, factor %d, grid on\n", client.right, client.bottom,
                kFactor);
    report("redraw of 32 x 32 cells", milliseconds([&](int) {
               InvalidateRect(display, nullptr, FALSE);
               UpdateWindow(display);
           }),
           3.0);
    SendMessageA(zoom, WM_COMMAND, CMD_ZOOM_DRAW_GRID, 0);
    report("  the same without the grid (peer)", milliseconds([&](int) {
               InvalidateRect(display, nullptr, FALSE);
               UpdateWindow(display);
           }),
           3.0);
    SendMessageA(zoom, WM_COMMAND, CMD_ZOOM_DRAW_GRID, 0);
    SendMessageA(display, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    report("one-cell drag step (picture, canvas, display)", milliseconds([&](int i) {
               const int x = (i & 1) ? 15 : 5;
               SendMessageA(display, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, 5));
           }),
           1.0);
    SendMessageA(display, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));

    SendMessageA(frame, WM_COMMAND, CMD_MINI_ZOOMER, 0);
    pump();
    HWND mini = shell_windows().mini_zoomer;
    if (mini)
        report("mini zoomer update per pointer move", milliseconds([&](int i) {
                   doc->current_point = {100 + (i & 7), 100};
                   SendMessageA(mini, kMsgMousePosition, 0, 0);
               }),
               0.2);

    doc->zoom_window_scale = 4;
    doc->zoom_window_area = {0, 0, kTileArea, kTileArea};
    SendMessageA(zoom, kMsgDocumentActivated, 0, 0);
    SendMessageA(zoom, WM_COMMAND, CMD_ZOOM_TILE_VIEW, 0);
    pump();
    HWND tiles = FindWindowA(kTileViewClass, nullptr);
    if (tiles) {
        GetClientRect(tiles, &client);
        std::printf("tile view %ld x %ld of a %d x %d area\n", client.right, client.bottom,
                    int(doc->zoom_window_area.width), int(doc->zoom_window_area.height));
        report("tile view of a 64 x 64 area",
               milliseconds([&](int) { SendMessageA(tiles, kMsgZoomRefresh, 0, 0); }), 1.0);
    }
    DestroyWindow(frame);
    shut_down_velmo();
    RegDeleteKeyA(HKEY_CURRENT_USER, kBenchKey);
    return 0;
}
