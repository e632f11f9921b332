#include "app/shell/bmp_dlg.h"

#include "app/resources/resource_ids.h"
#include "app/session/shell_state.h"

namespace {

constexpr int kSixteenColourBits = 4;

INT_PTR CALLBACK bmp_dialog_proc(HWND dlg, UINT msg, WPARAM wparam, LPARAM lparam) {
    switch (msg) {
    case WM_INITDIALOG:
        CheckRadioButton(dlg, IDC_COLORS_16, IDC_COLORS_256,
                         lparam <= kSixteenColourBits ? IDC_COLORS_16 : IDC_COLORS_256);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wparam) == IDOK) {
            EndDialog(dlg, IsDlgButtonChecked(dlg, IDC_COLORS_16) ? 4 : 8);
            return TRUE;
        }
        if (LOWORD(wparam) == IDCANCEL) {
            EndDialog(dlg, 0);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

} // namespace

int run_bmp_dialog(HWND owner, int bits) {
    return int(DialogBoxParamA(shell_windows().instance, "BMP_DIALOG", owner, bmp_dialog_proc,
                               LPARAM(bits)));
}
