#include "app/shell/filter_command.h"

#include "app/session/addin_host.h"
#include "app/session/filter_run.h"
#include "app/shell/hourglass.h"
#include "app/session/shell_state.h"

namespace {

// A new palette shows in the palette window when it is open; otherwise the
// tool window's colour swatches are the only ones to repaint.
void announce_palette(PictureDocument& doc) {
    const ShellWindows& w = shell_windows();
    HWND listener = w.palette_window ? w.palette_window : w.tool_window;
    if (listener) SendMessageA(listener, kMsgPaletteChanged, 0, reinterpret_cast<LPARAM>(&doc));
}

} // namespace

void run_filter_command(HWND frame, int index) {
    const AddInHost& host = addin_host();
    HWND wnd = active_document_window();
    PictureDocument* doc = document_of(wnd);
    if (!doc || index < 0 || index >= host.filter_count) return;
    const FilterEntry& filter = host.filters[index];
    if (filter.setup && filter.setup(frame) == 0) return;
    FilterResult result;
    {
        Hourglass wait;
        result = apply_filter(*doc, filter, canvas_of(wnd));
    }
    if (!result.ran) return;
    if (result.palette_changed) announce_palette(*doc);
    // Whole picture: recomposite and present.
    SendMessageA(wnd, kMsgRedrawPicture, 0, 0);
    send_if_open(shell_windows().zoom_window, kMsgZoomRefresh);
}
