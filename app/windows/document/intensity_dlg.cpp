#include "app/windows/document/intensity_dlg.h"

#include "app/resources/resource_ids.h"
#include "app/resources/tool_dialog_ids.h"
#include "app/session/settings.h"
#include "app/session/shell_state.h"
#include "app/session/tool_protocol.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>

namespace {

constexpr int kLeast = 0;
constexpr int kMost = 100;
constexpr int kModes = 3;

HWND dialogs[kModes] = {};

int& value_of(SoftMode mode) {
    Settings& s = settings();
    switch (mode) {
    case SoftMode::darken: return s.darken_intensity;
    case SoftMode::lighten: return s.lighten_intensity;
    case SoftMode::soften: break;
    }
    return s.soften_intensity;
}

// Stores the edit's number in field when it lies within 0 to 100.
void store_number(HWND dlg, int id, std::int32_t& field) {
    char text[16] = {};
    GetDlgItemTextA(dlg, id, text, sizeof text);
    char* end = nullptr;
    const long n = std::strtol(text, &end, 10);
    if (end != text && *end == 0 && n >= kLeast && n <= kMost) field = std::int32_t(n);
}

void init(HWND dlg, SoftMode mode) {
    SetWindowLongPtrA(dlg, GWLP_USERDATA, LONG_PTR(mode));
    SendDlgItemMessageA(dlg, IDC_INTENSITY_VALUE_SPIN, UDM_SETRANGE32, kLeast, kMost);
    SendDlgItemMessageA(dlg, IDC_INTENSITY_VALUE_SPIN, UDM_SETPOS32, 0, value_of(mode));
    SendDlgItemMessageA(dlg, IDC_INTENSITY_SOFTNESS_SPIN, UDM_SETRANGE32, kLeast, kMost);
    SendDlgItemMessageA(dlg, IDC_INTENSITY_SOFTNESS_SPIN, UDM_SETPOS32, 0,
                        settings().env_intensity);
    if (mode == SoftMode::soften) {
        EnableWindow(GetDlgItem(dlg, IDC_INTENSITY_SOFTNESS), FALSE);
        EnableWindow(GetDlgItem(dlg, IDC_INTENSITY_SOFTNESS_SPIN), FALSE);
    }
    const Settings& s = settings();
    SetWindowPos(dlg, nullptr, s.intensity_left, s.intensity_top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CALLBACK intensity_proc(HWND dlg, UINT msg, WPARAM wparam, LPARAM lparam) {
    switch (msg) {
    case WM_INITDIALOG:
        init(dlg, SoftMode(lparam));
        return FALSE; // no focus: the canvas keeps the keyboard and the frame stays active
    case WM_COMMAND:
        if (HIWORD(wparam) != EN_CHANGE) return FALSE;
        if (LOWORD(wparam) == IDC_INTENSITY_VALUE)
            store_number(dlg, IDC_INTENSITY_VALUE,
                         value_of(SoftMode(GetWindowLongPtrA(dlg, GWLP_USERDATA))));
        else if (LOWORD(wparam) == IDC_INTENSITY_SOFTNESS)
            store_number(dlg, IDC_INTENSITY_SOFTNESS, settings().env_intensity);
        return TRUE;
    case WM_DESTROY: {
        RECT r;
        if (GetWindowRect(dlg, &r)) {
            settings().intensity_left = r.left;
            settings().intensity_top = r.top;
        }
        return TRUE;
    }
    }
    return FALSE;
}

} // namespace

void open_intensity_dialog(SoftMode mode) {
    HWND& dlg = dialogs[int(mode)];
    if (dlg) return;
    const ShellWindows& w = shell_windows();
    dlg = CreateDialogParamA(w.instance, "BOKASI_DIALOG", w.frame, intensity_proc, LPARAM(mode));
    if (!dlg) return;
    ShowWindow(dlg, SW_SHOWNOACTIVATE);
    tool_dialog() = dlg;
}

void close_intensity_dialog(SoftMode mode) {
    HWND& dlg = dialogs[int(mode)];
    if (!dlg) return;
    if (tool_dialog() == dlg) tool_dialog() = nullptr;
    DestroyWindow(dlg);
    dlg = nullptr;
}

void step_intensity(SoftMode mode, int step) {
    if (HWND dlg = dialogs[int(mode)])
        SendDlgItemMessageA(dlg, IDC_INTENSITY_VALUE_SPIN, UDM_SETPOS32, 0,
                            std::clamp(value_of(mode) + step, kLeast, kMost));
}

SoftPenValues soft_pen_values(SoftMode mode) {
    const int weight = mode == SoftMode::soften ? settings().soften_intensity : settings().env_intensity;
    return {weight, value_of(mode)};
}
