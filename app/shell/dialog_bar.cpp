#include "app/shell/dialog_bar.h"

#include "app/tools/view.h"
#include "app/resources/resource_ids.h"
#include "app/session/shell_state.h"

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <initializer_list>

namespace {

constexpr int kGridLimit = 1024;

// Set while the bar fills its own controls: their notifications then say
// nothing the user did.
bool syncing = false;

struct CheckCommand {
    int control;
    UINT command;
    std::uint32_t flag;
};

constexpr CheckCommand kChecks[] = {
    {IDC_BAR_MASK, CMD_MASK_ON, kDocMaskOn},
    {IDC_BAR_GRID, CMD_GRID, kDocGridShown},
    {IDC_BAR_SNAP, CMD_SNAP_TO_GRID, kDocSnapToGrid},
    {IDC_BAR_KEY, CMD_ENABLE_KEYCOLOR, kDocKeyColourEnabled},
    {IDC_BAR_ALL_LAYERS, CMD_MOVE_ALL_LAYERS, kDocMoveAllLayers},
};

LRESULT send_item(HWND dlg, int id, UINT msg, WPARAM wparam, LPARAM lparam) {
    return SendDlgItemMessageA(dlg, id, msg, wparam, lparam);
}

void fill_layer_list(HWND dlg, const PictureDocument* doc) {
    send_item(dlg, IDC_BAR_LAYER, CB_RESETCONTENT, 0, 0);
    if (!doc || !doc->layers) return;
    int current = -1, index = 0;
    for (LayerNode* n = doc->layers->next; n != doc->layers; n = n->next, ++index) {
        send_item(dlg, IDC_BAR_LAYER, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(n->layer->name));
        if (n == doc->current) current = index;
    }
    send_item(dlg, IDC_BAR_LAYER, CB_SETCURSEL, WPARAM(current), 0);
}

void select_current_layer(HWND dlg, const PictureDocument* doc) {
    if (!doc || !doc->layers) return;
    int index = 0;
    for (LayerNode* n = doc->layers->next; n != doc->layers; n = n->next, ++index)
        if (n == doc->current) send_item(dlg, IDC_BAR_LAYER, CB_SETCURSEL, WPARAM(index), 0);
}

void show_document(HWND dlg, const PictureDocument* doc) {
    if (!doc) return;
    send_item(dlg, IDC_BAR_VIEW, CB_SETCURSEL, (doc->flags & kDocMaskView) ? 1 : 0, 0);
    const int zoom = zoom_index(doc->zoom);
    if (zoom >= 0) send_item(dlg, IDC_BAR_ZOOM, CB_SETCURSEL, WPARAM(zoom), 0);
    for (const CheckCommand& c : kChecks)
        CheckDlgButton(dlg, c.control, (doc->flags & c.flag) ? BST_CHECKED : BST_UNCHECKED);
    char text[16];
    std::snprintf(text, sizeof text, "%d", doc->grid_width);
    SetDlgItemTextA(dlg, IDC_BAR_GRID_WIDTH, text);
    std::snprintf(text, sizeof text, "%d", doc->grid_height);
    SetDlgItemTextA(dlg, IDC_BAR_GRID_HEIGHT, text);
    fill_layer_list(dlg, doc);
}

void init_controls(HWND dlg) {
    send_item(dlg, IDC_BAR_VIEW, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Pic"));
    send_item(dlg, IDC_BAR_VIEW, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Mask"));
    send_item(dlg, IDC_BAR_VIEW, CB_SETCURSEL, 0, 0);
    for (int rate : kZoomRates) {
        char text[16];
        std::snprintf(text, sizeof text, "%d%%", rate);
        send_item(dlg, IDC_BAR_ZOOM, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    }
    send_item(dlg, IDC_BAR_ZOOM, CB_SETCURSEL, 1, 0);
    for (int spin : {IDC_BAR_GRID_WIDTH_SPIN, IDC_BAR_GRID_HEIGHT_SPIN})
        send_item(dlg, spin, UDM_SETRANGE32, 0, kGridLimit);
    SetDlgItemInt(dlg, IDC_BAR_GRID_WIDTH, 16, FALSE);
    SetDlgItemInt(dlg, IDC_BAR_GRID_HEIGHT, 16, FALSE);
}

void send_to_document(UINT command) {
    HWND wnd = active_document_window();
    if (wnd) SendMessageA(wnd, WM_COMMAND, command, 0);
}

void change_layer(HWND dlg) {
    HWND wnd = active_document_window();
    PictureDocument* doc = document_of(wnd);
    LRESULT index = send_item(dlg, IDC_BAR_LAYER, CB_GETCURSEL, 0, 0);
    if (!doc || index < 0 || index >= doc->layer_count) return;
    SendMessageA(wnd, kMsgLayerChanging, 0, 0);
    doc->current = layer_node_at(*doc, int(index) + 1);
    SendMessageA(wnd, kMsgLayerChanged, 1, 0);
}

void change_grid(HWND dlg, int control) {
    HWND wnd = active_document_window();
    PictureDocument* doc = document_of(wnd);
    if (!doc) return;
    char text[16] = {};
    GetDlgItemTextA(dlg, control, text, sizeof text);
    int value = std::atoi(text);
    if (value < 1) value = 1;
    if (value > kGridLimit) value = kGridLimit;
    (control == IDC_BAR_GRID_WIDTH ? doc->grid_width : doc->grid_height) = value;
    if (doc->flags & kDocGridShown) SendMessageA(wnd, kMsgRedrawPicture, 0, 0);
}

// The bar's own controls send their commands straight to the document
// window; the frame's mirroring is for commands from elsewhere.
void on_command(HWND dlg, int id, int code) {
    if (syncing) return;
    switch (id) {
    case IDC_BAR_VIEW:
        if (code == CBN_SELCHANGE)
            send_to_document(send_item(dlg, id, CB_GETCURSEL, 0, 0) == 1 ? CMD_VIEW_MASK
                                                                         : CMD_VIEW_PICTURE);
        return;
    case IDC_BAR_ZOOM:
        if (code == CBN_SELCHANGE) {
            LRESULT i = send_item(dlg, id, CB_GETCURSEL, 0, 0);
            if (i >= 0 && i < kZoomRateCount) send_to_document(CMD_ZOOM_RATE_FIRST + UINT(i));
        }
        return;
    case IDC_BAR_LAYER:
        if (code == CBN_SELCHANGE) change_layer(dlg);
        return;
    case IDC_BAR_GRID_WIDTH:
    case IDC_BAR_GRID_HEIGHT:
        if (code == EN_CHANGE) change_grid(dlg, id);
        return;
    }
    for (const CheckCommand& c : kChecks)
        if (c.control == id && code == BN_CLICKED) send_to_document(c.command);
}

INT_PTR CALLBACK dialog_bar_proc(HWND dlg, UINT msg, WPARAM wparam, LPARAM lparam) {
    switch (msg) {
    case WM_INITDIALOG:
        syncing = true;
        init_controls(dlg);
        syncing = false;
        return TRUE;
    case WM_COMMAND:
        on_command(dlg, LOWORD(wparam), HIWORD(wparam));
        return TRUE;
    case kMsgDocumentActivated:
        syncing = true;
        show_document(dlg, reinterpret_cast<const PictureDocument*>(lparam));
        syncing = false;
        return TRUE;
    case kMsgLayerChanged:
        syncing = true;
        select_current_layer(dlg, active_document());
        syncing = false;
        return TRUE;
    case kMsgRedrawPicture:
        syncing = true;
        fill_layer_list(dlg, active_document());
        syncing = false;
        return TRUE;
    }
    return FALSE;
}

} // namespace

LRESULT CALLBACK VLDialogBarWndProc(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    return DefWindowProcA(wnd, msg, wparam, lparam);
}

void create_dialog_bar(HWND frame) {
    ShellWindows& w = shell_windows();
    w.dialog_bar_container =
        CreateWindowExA(WS_EX_WINDOWEDGE, kDialogBarClass, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0,
                        frame, nullptr, w.instance, nullptr);
    if (w.dialog_bar_container)
        w.dialog_bar = CreateDialogParamA(w.instance, "MAIN_TOOLBAR_DIALOG", w.dialog_bar_container,
                                          dialog_bar_proc, 0);
}

void mirror_in_dialog_bar(UINT command) {
    HWND dlg = shell_windows().dialog_bar;
    if (!dlg) return;
    syncing = true;
    if (command == CMD_VIEW_PICTURE || command == CMD_VIEW_MASK) {
        send_item(dlg, IDC_BAR_VIEW, CB_SETCURSEL, command == CMD_VIEW_MASK ? 1 : 0, 0);
    } else if (command >= CMD_ZOOM_RATE_FIRST && command <= CMD_ZOOM_RATE_LAST) {
        send_item(dlg, IDC_BAR_ZOOM, CB_SETCURSEL, command - CMD_ZOOM_RATE_FIRST, 0);
    } else {
        for (const CheckCommand& c : kChecks)
            if (c.command == command)
                CheckDlgButton(dlg, c.control,
                               IsDlgButtonChecked(dlg, c.control) ? BST_UNCHECKED : BST_CHECKED);
    }
    syncing = false;
}
