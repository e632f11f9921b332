#include "app/windows/document/intensity_dlg.h"

#include "app/windows/document/tool_dialogs.h"
#include "app/resources/tool_dialog_ids.h"
#include "app/session/settings.h"

#include <commctrl.h>

#include <algorithm>

namespace {

constexpr int kLeast = 0;
constexpr int kMost = 100;
constexpr int kModes = 3;

HWND dialogs[kModes] = {};

int& value_of(SoftMode mode) {
    Settings& s = settings();
    switch (mode) {
    case SoftMode::darken:
        return s.darken_intensity;
    case SoftMode::lighten:
        return s.lighten_intensity;
    case SoftMode::soften:
        break;
    }
    return s.soften_intensity;
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
}

INT_PTR CALLBACK intensity_proc(HWND dlg, UINT msg, WPARAM wparam, LPARAM lparam) {
    switch (msg) {
    case WM_INITDIALOG:
        init(dlg, SoftMode(lparam));
        return FALSE; // no focus: the canvas keeps the keyboard and the frame stays active
    case WM_COMMAND:
        if (HIWORD(wparam) != EN_CHANGE) return FALSE;
        if (LOWORD(wparam) == IDC_INTENSITY_VALUE)
            read_number(dlg, IDC_INTENSITY_VALUE, kLeast, kMost,
                        value_of(SoftMode(GetWindowLongPtrA(dlg, GWLP_USERDATA))));
        else if (LOWORD(wparam) == IDC_INTENSITY_SOFTNESS)
            read_number(dlg, IDC_INTENSITY_SOFTNESS, kLeast, kMost, settings().env_intensity);
        return TRUE;
    case WM_DESTROY:
        remember_place(dlg, settings().intensity_left, settings().intensity_top);
        return TRUE;
    }
    return FALSE;
}

} // namespace

void open_intensity_dialog(SoftMode mode) {
    HWND& dlg = dialogs[int(mode)];
    if (!dlg)
        dlg = open_tool_dialog("BOKASI_DIALOG", intensity_proc, LPARAM(mode),
                               settings().intensity_left, settings().intensity_top);
}

void close_intensity_dialog(SoftMode mode) {
    close_tool_dialog(dialogs[int(mode)]);
}

void step_intensity(SoftMode mode, int step) {
    if (HWND dlg = dialogs[int(mode)])
        SendDlgItemMessageA(dlg, IDC_INTENSITY_VALUE_SPIN, UDM_SETPOS32, 0,
                            std::clamp(value_of(mode) + step, kLeast, kMost));
}

SoftPenValues soft_pen_values(SoftMode mode) {
    const int weight =
        mode == SoftMode::soften ? settings().soften_intensity : settings().env_intensity;
    return {weight, value_of(mode)};
}
