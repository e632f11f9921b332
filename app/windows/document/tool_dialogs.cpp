#include "app/windows/document/tool_dialogs.h"

#include "app/session/shell_state.h"
#include "app/session/tool_protocol.h"

#include <cstdlib>

HWND open_tool_dialog(const char* name, DLGPROC proc, LPARAM param, int left, int top) {
    const ShellWindows& w = shell_windows();
    HWND dialog = CreateDialogParamA(w.instance, name, w.frame, proc, param);
    if (!dialog) return nullptr;
    SetWindowPos(dialog, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(dialog, SW_SHOWNOACTIVATE);
    tool_dialog() = dialog;
    return dialog;
}

void close_tool_dialog(HWND& dialog) {
    if (!dialog) return;
    if (tool_dialog() == dialog) tool_dialog() = nullptr;
    DestroyWindow(dialog);
    dialog = nullptr;
}

void remember_place(HWND dialog, std::int32_t& left, std::int32_t& top) {
    RECT r;
    if (!GetWindowRect(dialog, &r)) return;
    left = r.left;
    top = r.top;
}

bool read_number(HWND dialog, int id, int least, int most, std::int32_t& field) {
    char digits[16] = {};
    GetDlgItemTextA(dialog, id, digits, sizeof digits);
    char* end = nullptr;
    const long n = std::strtol(digits, &end, 10);
    if (end == digits || *end != 0 || n < least || n > most) return false;
    field = std::int32_t(n);
    return true;
}
