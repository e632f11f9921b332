#include "app/shell/new_dlg.h"

#include "app/files/palette_file.h"
#include "app/resources/resource_ids.h"
#include "app/session/pen_slots.h"
#include "app/session/settings.h"
#include "app/session/shell_state.h"

#include <commctrl.h>

#include <cstdlib>

namespace {

constexpr int kSizeLimit = 32767;

struct PictureSize {
    int width;
    int height;
};

int read_number(HWND dlg, int id) {
    char text[33] = {};
    GetDlgItemTextA(dlg, id, text, sizeof text);
    return std::atoi(text);
}

INT_PTR CALLBACK new_dialog_proc(HWND dlg, UINT msg, WPARAM wparam, LPARAM lparam) {
    switch (msg) {
    case WM_INITDIALOG: {
        SetWindowLongPtrA(dlg, DWLP_USER, lparam);
        const auto* size = reinterpret_cast<const PictureSize*>(lparam);
        SendDlgItemMessageA(dlg, IDC_NEW_WIDTH_SPIN, UDM_SETRANGE32, 1, kSizeLimit);
        SendDlgItemMessageA(dlg, IDC_NEW_HEIGHT_SPIN, UDM_SETRANGE32, 1, kSizeLimit);
        SendDlgItemMessageA(dlg, IDC_NEW_WIDTH_SPIN, UDM_SETPOS32, 0, size->width);
        SendDlgItemMessageA(dlg, IDC_NEW_HEIGHT_SPIN, UDM_SETPOS32, 0, size->height);
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wparam) == IDOK) {
            auto* size = reinterpret_cast<PictureSize*>(GetWindowLongPtrA(dlg, DWLP_USER));
            int width = read_number(dlg, IDC_NEW_WIDTH);
            int height = read_number(dlg, IDC_NEW_HEIGHT);
            // A size that is not a positive number keeps the dialog open.
            if (width <= 0 || height <= 0) return TRUE;
            *size = {width, height};
            EndDialog(dlg, IDOK);
            return TRUE;
        }
        if (LOWORD(wparam) == IDCANCEL) {
            EndDialog(dlg, IDCANCEL);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

} // namespace

PictureDocument* run_new_picture_dialog(HWND owner) {
    Settings& s = settings();
    PictureSize size{s.defaultbmp_width, s.defaultbmp_height};
    if (DialogBoxParamA(shell_windows().instance, "NEW_DIALOG", owner, new_dialog_proc,
                        reinterpret_cast<LPARAM>(&size)) != IDOK)
        return nullptr;
    PictureDocument* doc =
        new_picture(size.width, size.height, pen_slots().slot[0], load_default_palette);
    if (!doc) {
        MessageBoxA(owner, "Unable to Create Image", "Error", MB_OK | MB_ICONEXCLAMATION);
        return nullptr;
    }
    s.defaultbmp_width = size.width;
    s.defaultbmp_height = size.height;
    return doc;
}
