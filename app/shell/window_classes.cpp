#include "app/shell/window_classes.h"

#include "app/windows/animation_view/animation_view_wnd.h"
#include "app/windows/document/canvas_wnd.h"
#include "app/windows/document/dib_wnd.h"
#include "app/shell/dialog_bar.h"
#include "app/shell/frame_wnd.h"
#include "app/session/shell_state.h"
#include "app/windows/pen/pen_make_wnd.h"
#include "app/windows/pen/pen_wnd.h"
#include "app/windows/palette/palette_wnd.h"
#include "app/windows/tool/tool_wnd.h"
#include "app/windows/mini_zoom/mini_zoom_wnd.h"
#include "app/windows/zoom/zoom_wnd.h"
#include "app/windows/anime_test/anime_test.h"

namespace {

// A class background: a system colour (its index + 1, as the table writes
// it) or a stock brush.
class Background {
  public:
    constexpr Background(int system_colour_plus_one) : value_(system_colour_plus_one) {}
    static constexpr Background stock(int object) { return Background(object, true); }
    HBRUSH brush() const {
        return stock_ ? static_cast<HBRUSH>(GetStockObject(value_))
                      : reinterpret_cast<HBRUSH>(INT_PTR(value_));
    }

  private:
    constexpr Background(int value, bool stock) : value_(value), stock_(stock) {}
    int value_;
    bool stock_ = false;
};

struct WindowClass {
    const char* name;
    WNDPROC procedure;
    UINT style;
    Background background;
    const char* menu;
    const char* icon; // program resource, or null
    LPCSTR cursor;    // system cursor, or null for none
};

// In registration order. The windows of the palettes, pens, zoom, tile view,
// animation test, animation view and mini zoomer join the table as they
// join the program.
const WindowClass kClasses[] = {
    {kFrameClass, VLFrameWndProc, CS_BYTEALIGNCLIENT | CS_HREDRAW | CS_VREDRAW, COLOR_WINDOW + 1,
     "VELMO_MENU", "VELMO_ICON", IDC_ARROW},
    {kDocumentClass, VLDIBWndProc, CS_BYTEALIGNCLIENT | CS_HREDRAW | CS_VREDRAW, COLOR_BTNFACE + 1,
     nullptr, nullptr, IDC_ARROW},
    {kCanvasClass, VLDIBDispWndProc, CS_BYTEALIGNCLIENT | CS_OWNDC | CS_HREDRAW | CS_VREDRAW,
     COLOR_WINDOW + 1, nullptr, nullptr, nullptr},
    {kPaletteWindowClass, VLPaletteWndProc, CS_BYTEALIGNCLIENT | CS_OWNDC | CS_HREDRAW | CS_VREDRAW,
     COLOR_BTNFACE + 1, "PALETTE_MENU", nullptr, IDC_ARROW},
    {kPaletteDisplayClass, VLPaletteDispWndProc,
     CS_BYTEALIGNCLIENT | CS_OWNDC | CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW,
     Background::stock(BLACK_BRUSH), nullptr, nullptr, IDC_ARROW},
    {kZoomWindowClass, VLZoomWndProc, CS_HREDRAW | CS_VREDRAW, COLOR_BTNFACE + 1,
     "ZOOM_WINDOW_MENU", nullptr, IDC_ARROW},
    {kZoomDisplayClass, VLZoomDispWndProc, CS_OWNDC | CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW,
     COLOR_WINDOW + 1, nullptr, nullptr, IDC_ARROW},
    {kToolWindowClass, VLToolWndProc, CS_BYTEALIGNCLIENT | CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW,
     COLOR_BTNFACE + 1, nullptr, nullptr, IDC_ARROW},
    {kTileViewClass, VLTileviewWndProc, CS_BYTEALIGNCLIENT | CS_HREDRAW | CS_VREDRAW,
     COLOR_WINDOW + 1, nullptr, nullptr, IDC_ARROW},
    {kPenWindowClass, VLPenWndProc, CS_BYTEALIGNCLIENT | CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW,
     COLOR_BTNFACE + 1, nullptr, nullptr, IDC_ARROW},
    {kPenEditorClass, VLPenMakeWndProc, CS_HREDRAW | CS_VREDRAW, COLOR_WINDOW + 1, nullptr, nullptr,
     IDC_ARROW},
    {kAnimeTestClass, VLAnimeTestWndProc, CS_BYTEALIGNCLIENT | CS_OWNDC | CS_HREDRAW | CS_VREDRAW,
     COLOR_WINDOW + 1, nullptr, nullptr, IDC_ARROW},
    {kDialogBarClass, VLDialogBarWndProc, CS_BYTEALIGNCLIENT | CS_HREDRAW | CS_VREDRAW,
     COLOR_BTNFACE + 1, nullptr, nullptr, IDC_ARROW},
    {kMiniZoomClass, VLMiniZoomWndProc, CS_BYTEALIGNCLIENT | CS_OWNDC | CS_HREDRAW | CS_VREDRAW,
     COLOR_WINDOW + 1, nullptr, nullptr, IDC_CROSS},
    {kAnimationViewClass, VLGIFAnimeWndProc,
     CS_BYTEALIGNCLIENT | CS_OWNDC | CS_HREDRAW | CS_VREDRAW, COLOR_WINDOW + 1, nullptr, nullptr,
     IDC_ARROW},
};

} // namespace

bool register_window_classes(HINSTANCE instance) {
    for (const WindowClass& c : kClasses) {
        WNDCLASSA wc{};
        wc.style = c.style;
        wc.lpfnWndProc = c.procedure;
        wc.hInstance = instance;
        wc.hIcon = c.icon ? LoadIconA(instance, c.icon) : nullptr;
        wc.hCursor = c.cursor ? LoadCursorA(nullptr, c.cursor) : nullptr;
        wc.hbrBackground = c.background.brush();
        wc.lpszMenuName = c.menu;
        wc.lpszClassName = c.name;
        if (!RegisterClassA(&wc)) return false;
    }
    return true;
}

void unregister_window_classes(HINSTANCE instance) {
    for (const WindowClass& c : kClasses)
        UnregisterClassA(c.name, instance);
}
