#include "app/shell/addin_about_dlg.h"

#include "app/resources/resource_ids.h"
#include "app/session/addin_host.h"
#include "app/session/outside_text_wide.h"
#include "app/session/shell_state.h"

namespace {

void fill_list(HWND dlg) {
    const AddInHost& host = addin_host();
    auto add = [&](const char* line) {
        const std::wstring wide = widen_outside_text(line);
        SendDlgItemMessageW(dlg, IDC_ADDIN_LIST, LB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(wide.c_str()));
    };
    if (host.module_count == 0) {
        add("No Add-In Installed");
        return;
    }
    // Each Add-In is asked again: its texts are its own and stay valid only
    // while it is loaded, so the tables keep none of the About texts.
    for (int i = 0; i < host.module_count; ++i) {
        AddInInfo info{};
        host.modules[i].get_info(&info);
        add(about_line(info).c_str());
    }
}

INT_PTR CALLBACK about_dialog_proc(HWND dlg, UINT msg, WPARAM wparam, LPARAM) {
    switch (msg) {
    case WM_INITDIALOG:
        fill_list(dlg);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wparam) == IDOK || LOWORD(wparam) == IDCANCEL) {
            EndDialog(dlg, LOWORD(wparam));
            return TRUE;
        }
        break;
    }
    return FALSE;
}

} // namespace

void run_addin_about_dialog(HWND owner) {
    DialogBoxParamA(shell_windows().instance, "ADDIN_ABOUT_DIALOG", owner, about_dialog_proc, 0);
}
