#include "app/windows/anime_test/anime_test.h"
#include "app/windows/anime_test/anime_test_state.h"

#include "app/resources/resource_ids.h"
#include "app/session/shell_state.h"

namespace {

constexpr UINT_PTR kFrameTimer = 1;

// Set while the window sizes itself, so that the WM_SIZE this causes does
// not size it again.
bool fitting = false;

void fit(HWND wnd) {
    if (fitting) return;
    const AnimeTestState& s = anime_test_state();
    fitting = true;
    fit_client_area(wnd, s.cell_width, s.cell_height);
    fitting = false;
}

// One frame: the next cell of the sequence from the composite of whichever
// picture is active now. The picture may have been closed or resized since
// the play started.
void on_timer(HWND wnd) {
    AnimeTestState& s = anime_test_state();
    PictureDocument* doc = active_document();
    if (!doc || !doc->composite || !doc->composite->dc) {
        DestroyWindow(wnd);
        return;
    }
    const PlayerStep step = step_player(s.player, anime_grid(*doc), picture_width(*doc),
                                        picture_height(*doc), s.repeat);
    if (step.ended) {
        DestroyWindow(wnd);
        return;
    }
    if (!step.draw) return;
    HDC dc = GetDC(wnd);
    const HPALETTE old = doc->palette ? SelectPalette(dc, doc->palette, FALSE) : nullptr;
    if (old) RealizePalette(dc);
    BitBlt(dc, 0, 0, step.cell.width, step.cell.height, doc->composite->dc, step.cell.left,
           step.cell.top, SRCCOPY);
    if (old) SelectPalette(dc, old, FALSE);
    ReleaseDC(wnd, dc);
}

bool on_create(HWND wnd) {
    if (!active_document()) return false;
    AnimeTestState& s = anime_test_state();
    s.test_window = wnd;
    s.player.position = 0;
    fit(wnd);
    return SetTimer(wnd, kFrameTimer, UINT(s.interval), nullptr) != 0;
}

void on_destroy(HWND wnd) {
    AnimeTestState& s = anime_test_state();
    KillTimer(wnd, kFrameTimer);
    RECT r;
    if (GetWindowRect(wnd, &r)) {
        settings().anime_left = r.left;
        settings().anime_top = r.top;
    }
    s.player = {};
    if (s.test_window == wnd) s.test_window = nullptr;
    if (s.dialog) SetDlgItemTextA(s.dialog, IDC_ANIME_START, "Start");
}

} // namespace

LRESULT CALLBACK VLAnimeTestWndProc(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    switch (msg) {
    case WM_CREATE:
        return on_create(wnd) ? 0 : -1;
    case WM_SIZE:
        if (wparam == SIZE_RESTORED) fit(wnd);
        return 0;
    case WM_TIMER:
        if (wparam == kFrameTimer) on_timer(wnd);
        return 0;
    case WM_DESTROY:
        on_destroy(wnd);
        return 0;
    }
    return DefWindowProcA(wnd, msg, wparam, lparam);
}
