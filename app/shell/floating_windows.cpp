#include "app/shell/floating_windows.h"

#include "app/resources/resource_ids.h"
#include "app/session/shell_state.h"
#include "app/windows/animation_view/animation_view_wnd.h"
#include "app/windows/layer/layer_wnd.h"
#include "app/windows/pen/pen_wnd.h"
#include "app/windows/palette/palette_wnd.h"
#include "app/windows/mini_zoom/mini_zoom_wnd.h"
#include "app/windows/zoom/zoom_wnd.h"
#include "app/windows/scrapbook/scrapbook_wnd.h"

#include <commctrl.h>

namespace {

using Creator = HWND (*)(HWND frame);

struct FloatingWindow {
    UINT command;
    HWND ShellWindows::*handle;
    // Makes the window; null while the window is not part of the program.
    Creator create;
};

constexpr FloatingWindow kWindows[] = {
    {CMD_PALETTE_WINDOW, &ShellWindows::palette_window, create_palette_window},
    {CMD_PEN_WINDOW, &ShellWindows::pen_window, create_pen_window},
    {CMD_ZOOM_WINDOW, &ShellWindows::zoom_window, create_zoom_window},
    {CMD_LAYER_MANAGER, &ShellWindows::layer_manager, create_layer_manager},
    {CMD_SCRAP_WINDOW, &ShellWindows::scrapbook, create_scrapbook},
    {CMD_ANIMATION_VIEW, &ShellWindows::animation_view, create_animation_view},
    {CMD_MINI_ZOOMER, &ShellWindows::mini_zoomer, create_mini_zoomer},
};

} // namespace

void toggle_floating_window(HWND frame, UINT command) {
    ShellWindows& w = shell_windows();
    for (const FloatingWindow& f : kWindows) {
        if (f.command != command) continue;
        HWND& handle = w.*f.handle;
        if (handle) {
            DestroyWindow(handle);
            return;
        }
        if (!f.create || !active_document_window()) {
            // The toolbar's check button pressed itself; nothing opened.
            if (w.toolbar) SendMessageA(w.toolbar, TB_CHECKBUTTON, command, FALSE);
            return;
        }
        CheckMenuItem(GetMenu(frame), command, MF_BYCOMMAND | MF_CHECKED);
        if (w.toolbar) SendMessageA(w.toolbar, TB_CHECKBUTTON, command, TRUE);
        handle = f.create(frame);
        // A window that refused to open takes nothing with it.
        if (!handle) {
            CheckMenuItem(GetMenu(frame), command, MF_BYCOMMAND | MF_UNCHECKED);
            if (w.toolbar) SendMessageA(w.toolbar, TB_CHECKBUTTON, command, FALSE);
        }
        return;
    }
}

void record_open_floating_windows(Settings& s) {
    const ShellWindows& w = shell_windows();
    s.PaletteOn = w.palette_window != nullptr;
    s.PenOn = w.pen_window != nullptr;
    s.LayerOn = w.layer_manager != nullptr;
    s.ScrapOn = w.scrapbook != nullptr;
    s.MiniOn = w.mini_zoomer != nullptr;
}
