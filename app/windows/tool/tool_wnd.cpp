#include "app/windows/tool/tool_wnd.h"

#include "app/session/settings.h"
#include "app/session/shell_state.h"

namespace {

void remember_position(HWND wnd) {
    RECT r;
    if (!GetWindowRect(wnd, &r)) return;
    settings().tool_left = r.left;
    settings().tool_top = r.top;
}

} // namespace

// The buttons, shapes, pen and colour swatches are drawn by the tool
// window's own code; here it keeps its place and tells the frame which tool
// is current, so that the Tools menu carries the check mark.
LRESULT CALLBACK VLToolWndProc(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    switch (msg) {
    case kMsgActivateTool:
        InvalidateRect(wnd, nullptr, TRUE);
        SendMessageA(shell_windows().frame, kMsgActivateTool, WPARAM(shell_state().current_tool),
                     0);
        return 0;
    case WM_DESTROY:
        remember_position(wnd);
        shell_windows().tool_window = nullptr;
        return 0;
    }
    return DefWindowProcA(wnd, msg, wparam, lparam);
}

HWND create_tool_window(HWND frame) {
    ShellWindows& w = shell_windows();
    const Settings& s = settings();
    w.tool_window = CreateWindowExA(WS_EX_TOOLWINDOW, kToolWindowClass, "tool",
                                    WS_POPUP | WS_CAPTION | WS_VISIBLE, s.tool_left, s.tool_top, 40,
                                    200, frame, nullptr, w.instance, nullptr);
    return w.tool_window;
}
