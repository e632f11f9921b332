#include "app/windows/document/resize_dlg.h"

#include "app/windows/document/area_commands.h"
#include "app/windows/document/canvas_present.h"
#include "app/windows/document/dib_wnd.h"
#include "app/windows/document/document_caption.h"
#include "app/imageops/resize.h"
#include "app/resources/resource_ids.h"
#include "app/session/shell_state.h"

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>

namespace {

// Kept for the whole run, shared by both dialogs.
struct ResizeChoices {
    bool fixed_aspect = true;
    bool also_resize_image = false;
};
ResizeChoices& choices() {
    static ResizeChoices c;
    return c;
}

struct SizeRequest {
    int start_width, start_height;
    int width, height;    // the result
    bool setting = false; // the dialog writes its own fields
};

int read_number(HWND dlg, int id) {
    char text[33] = {};
    GetDlgItemTextA(dlg, id, text, sizeof text);
    return std::atoi(text);
}

void show_fields(HWND dlg, SizeRequest& r, const ResizeFields& f, int typed) {
    r.setting = true;
    const int spins[] = {IDC_RESIZE_WIDTH_SPIN, IDC_RESIZE_HEIGHT_SPIN, IDC_RESIZE_RATE_SPIN};
    const int values[] = {f.width, f.height, f.rate};
    for (int i = 0; i < 3; ++i)
        if (IDC_RESIZE_WIDTH + i != typed)
            SendDlgItemMessageA(dlg, spins[i], UDM_SETPOS32, 0, values[i]);
    r.setting = false;
}

void on_init(HWND dlg, SizeRequest& r) {
    char text[48];
    std::snprintf(text, sizeof text, "W:%d x H:%d", r.start_width, r.start_height);
    SetDlgItemTextA(dlg, IDC_RESIZE_ORIGINAL, text);
    for (int spin : {IDC_RESIZE_WIDTH_SPIN, IDC_RESIZE_HEIGHT_SPIN, IDC_RESIZE_RATE_SPIN})
        SendDlgItemMessageA(dlg, spin, UDM_SETRANGE32, 1, kMaxResizeSide);
    show_fields(dlg, r, {r.start_width, r.start_height, 100}, 0);
    CheckDlgButton(dlg, IDC_RESIZE_FIXED_ASPECT, choices().fixed_aspect ? BST_CHECKED : 0);
    EnableWindow(GetDlgItem(dlg, IDC_RESIZE_RATE), choices().fixed_aspect);
    CheckDlgButton(dlg, IDC_RESIZE_ALSO_IMAGE, choices().also_resize_image ? BST_CHECKED : 0);
}

void on_field_changed(HWND dlg, SizeRequest& r, int id) {
    if (r.setting) return;
    const int value = read_number(dlg, id);
    if (id == IDC_RESIZE_RATE)
        show_fields(dlg, r, fields_for_rate(r.start_width, r.start_height, value), id);
    else if (!choices().fixed_aspect)
        return;
    else if (id == IDC_RESIZE_WIDTH)
        show_fields(dlg, r, fields_for_width(r.start_width, r.start_height, value), id);
    else
        show_fields(dlg, r, fields_for_height(r.start_width, r.start_height, value), id);
}

INT_PTR CALLBACK size_dialog_proc(HWND dlg, UINT msg, WPARAM wparam, LPARAM lparam) {
    auto* r = reinterpret_cast<SizeRequest*>(GetWindowLongPtrA(dlg, DWLP_USER));
    if (msg == WM_INITDIALOG) {
        SetWindowLongPtrA(dlg, DWLP_USER, lparam);
        on_init(dlg, *reinterpret_cast<SizeRequest*>(lparam));
        return TRUE;
    }
    if (msg != WM_COMMAND || !r) return FALSE;
    const int id = LOWORD(wparam);
    switch (id) {
    case IDC_RESIZE_WIDTH:
    case IDC_RESIZE_HEIGHT:
    case IDC_RESIZE_RATE:
        if (HIWORD(wparam) == EN_CHANGE) on_field_changed(dlg, *r, id);
        return TRUE;
    case IDC_RESIZE_FIXED_ASPECT:
        choices().fixed_aspect = IsDlgButtonChecked(dlg, id) == BST_CHECKED;
        EnableWindow(GetDlgItem(dlg, IDC_RESIZE_RATE), choices().fixed_aspect);
        return TRUE;
    case IDC_RESIZE_ALSO_IMAGE:
        choices().also_resize_image = IsDlgButtonChecked(dlg, id) == BST_CHECKED;
        return TRUE;
    case IDOK:
        r->width = read_number(dlg, IDC_RESIZE_WIDTH);
        r->height = read_number(dlg, IDC_RESIZE_HEIGHT);
        // A size that is not positive, or past the limit, keeps it open.
        if (r->width < 1 || r->height < 1 || r->width > kMaxResizeSide ||
            r->height > kMaxResizeSide)
            return TRUE;
        EndDialog(dlg, IDOK);
        return TRUE;
    case IDCANCEL:
        EndDialog(dlg, IDCANCEL);
        return TRUE;
    }
    return FALSE;
}

bool run_size_dialog(const char* name, SizeRequest& r) {
    return DialogBoxParamA(shell_windows().instance, name, shell_windows().frame, size_dialog_proc,
                           reinterpret_cast<LPARAM>(&r)) == IDOK;
}

void tell_no_memory(HWND wnd) {
    MessageBoxA(wnd, "Can't create Bitmap", "Allocate Error", MB_OK | MB_ICONEXCLAMATION);
}

} // namespace

void resize_area_command(HWND wnd, PictureDocument& doc, UINT) {
    RECT source{0, 0, picture_width(doc) - 1, picture_height(doc) - 1};
    // A pasted area is committed first, but its place is what is resized.
    if (doc.floating) source = doc.floating_rect;
    if (!doc.floating || (doc.flags & kDocPasted)) {
        if (!commit_before_command(wnd, doc)) return;
        choose_select_area();
    }
    // The engine's stretch draws nothing from outside its bitmap.
    if (!clip_to_picture(doc, source)) return;
    SizeRequest r{int(source.right - source.left + 1), int(source.bottom - source.top + 1), 0, 0};
    if (!run_size_dialog("STRETCH_DIALOG", r) || document_of(wnd) != &doc) return;
    if (!resize_area(doc, source, r.width, r.height)) {
        tell_no_memory(wnd);
        return;
    }
    present_view(doc);
    send_if_open(shell_windows().zoom_window, kMsgZoomRefresh);
    choose_select_area();
}

void resize_picture_command(HWND wnd, PictureDocument& doc, UINT) {
    if ((doc.flags & kDocFloatingFrame) && !commit_before_command(wnd, doc)) return;
    SizeRequest r{picture_width(doc), picture_height(doc), 0, 0};
    if (!run_size_dialog("RESIZE_DIALOG", r) || document_of(wnd) != &doc) return;
    const ResizeMode mode = choices().also_resize_image ? ResizeMode::Stretch : ResizeMode::Crop;
    hold_animation_player();
    const bool resized = resize_picture(doc, r.width, r.height, mode);
    resume_animation_player();
    if (!resized) {
        tell_no_memory(wnd);
        return;
    }
    doc.flags |= kDocModified;
    lay_out_again(wnd);
    set_document_caption(wnd);
    send_if_open(shell_windows().zoom_window, kMsgDocumentActivated, 0,
                 reinterpret_cast<LPARAM>(&doc));
    ShowWindow(wnd, SW_RESTORE);
}
