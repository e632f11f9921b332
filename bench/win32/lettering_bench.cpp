// Lettering under Wine: one keystroke's re-render of a 20-character line at
// size 16 in a real canvas (remove the old preview, render the text into
// the stroke surface, preview it in the composite, present the box); goal
// under 2 ms. The peer in the same run: TextOutA of the same 20 characters
// alone into the same memory DC.
// Run by hand: scripts/wine-run build/win64/bin/lettering_bench.exe
#include "app/windows/document/canvas_wnd.h"
#include "app/windows/document/dib_wnd.h"
#include "app/shell/frame_wnd.h"
#include "app/resources/resource_ids.h"
#include "app/session/pen_slots.h"
#include "app/session/settings.h"
#include "app/session/shell_state.h"
#include "app/session/tool_table.h"
#include "app/shell/startup.h"
#include "bench_window.h"

#include <cstdio>

namespace {

using bench::pump;
using bench::seconds;

constexpr char kBenchKey[] = "Software\\Korvane\\Velmo\\lettering-bench";
constexpr double kGoalMs = 2.0;
constexpr int kKeystrokes = 2000;
constexpr char kLine[] = "The quick brown fox"; // 19 bytes, the 20th is typed

} // namespace

int main() {
    shell_state().registry_key = kBenchKey;
    HWND frame = start_velmo(GetModuleHandleA(nullptr), "", SW_SHOWNORMAL);
    if (!frame) {
        std::puts("the program did not start");
        return 1;
    }
    pump();
    PictureDocument* doc = new_picture(512, 128, pen_slots().slot[0], nullptr);
    HWND wnd = doc ? open_document_window(doc) : nullptr;
    if (!wnd) {
        std::puts("no document window");
        return 1;
    }
    pump();
    HWND canvas = canvas_of(wnd);
    settings().input_fontSize = 16;
    SendMessageA(frame, WM_COMMAND, CMD_TOOL_FIRST + kToolLettering, 0);
    SendMessageA(canvas, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    SendMessageA(canvas, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    for (const char* c = kLine; *c; ++c)
        SendMessageA(canvas, WM_CHAR, BYTE(*c), 0);
    GdiFlush();
    // Each keystroke re-renders the whole line: a character typed, then
    // taken back, so the line stays at 19 and 20 characters.
    const double start = seconds();
    for (int i = 0; i < kKeystrokes; ++i)
        SendMessageA(canvas, WM_CHAR, i % 2 ? '\b' : 'x', 0);
    GdiFlush();
    const double per_key = (seconds() - start) / kKeystrokes * 1e3;

    HDC dc = doc->stroke_surface->dc;
    HFONT font = CreateFontA(16, 0, 0, 0, 400, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0,
                             NONANTIALIASED_QUALITY, 0, settings().input_fontName);
    const HGDIOBJ old = SelectObject(dc, font);
    const double peer_start = seconds();
    for (int i = 0; i < kKeystrokes; ++i)
        TextOutA(dc, 10, 10, "The quick brown foxx", 20);
    GdiFlush();
    const double peer = (seconds() - peer_start) / kKeystrokes * 1e3;
    SelectObject(dc, old);
    DeleteObject(font);

    std::printf("keystroke re-render of 20 characters: %.3f ms (goal %.1f ms, ratio %.2f)\n",
                per_key, kGoalMs, per_key / kGoalMs);
    std::printf("TextOutA alone (peer):                %.3f ms (re-render at %.1f x)\n", peer,
                per_key / peer);
    SendMessageA(wnd, WM_COMMAND, CMD_CLOSE, 0);
    DestroyWindow(frame);
    shut_down_velmo();
    RegDeleteKeyA(HKEY_CURRENT_USER, kBenchKey);
    return 0;
}
