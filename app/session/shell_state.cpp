#include "app/session/shell_state.h"

#include "app/session/pen_slots.h"

#include <commctrl.h>

ShellWindows& shell_windows() {
    static ShellWindows instance;
    return instance;
}

ShellState& shell_state() {
    static ShellState instance;
    return instance;
}

void send_if_open(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    if (wnd) SendMessageA(wnd, msg, wparam, lparam);
}

void floating_window_closed(HWND wnd, HWND ShellWindows::*slot, UINT command, int* left, int* top) {
    RECT r;
    if (left && top && GetWindowRect(wnd, &r)) {
        *left = r.left;
        *top = r.top;
    }
    ShellWindows& w = shell_windows();
    if (w.*slot == wnd) w.*slot = nullptr;
    if (w.frame) CheckMenuItem(GetMenu(w.frame), command, MF_BYCOMMAND | MF_UNCHECKED);
    send_if_open(w.toolbar, TB_CHECKBUTTON, command, FALSE);
}

void fit_client_area(HWND wnd, int width, int height) {
    RECT client;
    if (!GetClientRect(wnd, &client) || (client.right == width && client.bottom == height)) return;
    RECT outer = {0, 0, width, height};
    AdjustWindowRectEx(&outer, DWORD(GetWindowLongPtrA(wnd, GWL_STYLE)), GetMenu(wnd) != nullptr,
                       DWORD(GetWindowLongPtrA(wnd, GWL_EXSTYLE)));
    SetWindowPos(wnd, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND active_document_window() {
    HWND client = shell_windows().mdi_client;
    if (!client) return nullptr;
    return reinterpret_cast<HWND>(SendMessageA(client, WM_MDIGETACTIVE, 0, 0));
}

PictureDocument* document_of(HWND document_window) {
    if (!document_window) return nullptr;
    return static_cast<PictureDocument*>(GetPropA(document_window, kDocumentProperty));
}

PictureDocument* active_document() {
    return document_of(active_document_window());
}

HWND canvas_of(HWND document_window) {
    return document_window ? FindWindowExA(document_window, nullptr, kCanvasClass, nullptr)
                           : nullptr;
}

void hold_animation_player() {
    send_if_open(shell_windows().animation_view, kMsgHoldAnimation);
}

void resume_animation_player() {
    send_if_open(shell_windows().animation_view, kMsgDocumentActivated, 0, 0);
}

void close_animation_player_of(const PictureDocument& doc) {
    send_if_open(shell_windows().animation_view, kMsgHoldAnimation, 0,
                 reinterpret_cast<LPARAM>(&doc));
}

void step_current_pen(PictureDocument& doc, int step) {
    const int index = doc.current_pen_index + step;
    if (index < 0 || index >= kPenSlotCount) return;
    doc.current_pen_index = index;
    doc.current_pen = pen_slots().slot[index];
    send_if_open(shell_windows().tool_window, kMsgPenChanged);
    send_if_open(shell_windows().pen_window, kMsgPenChanged);
}
