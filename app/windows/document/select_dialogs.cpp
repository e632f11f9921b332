#include "app/windows/document/select_dialogs.h"

#include "app/resources/resource_ids.h"
#include "app/session/shell_state.h"
#include "app/tools/drawing.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>

namespace {

constexpr int kColourMax = 255;
constexpr int kNumberText = 33; // 32 characters and the terminator
constexpr int kCancelled = -1;

struct ColourDialog {
    int value;
    bool picking;
    HCURSOR previous_cursor;
};

ColourDialog* colour_state(HWND dlg) {
    return reinterpret_cast<ColourDialog*>(GetWindowLongPtrA(dlg, DWLP_USER));
}

int typed_colour(HWND dlg) {
    char text[kNumberText] = {};
    GetDlgItemTextA(dlg, IDC_SELECT_COLOR, text, sizeof text);
    return std::clamp(std::atoi(text), 0, kColourMax);
}

// The swatch in the picture's own palette, so that it shows the index as the
// canvas does. The palette and the brush are released on every path.
void draw_swatch(const DRAWITEMSTRUCT& item, int value) {
    const PictureDocument* doc = active_document();
    const Layer* layer = doc ? current_layer(*doc) : nullptr;
    if (!layer || !layer->image->logical_palette) return;
    HPALETTE palette = CreatePalette(layer->image->logical_palette);
    if (!palette) return;
    HPALETTE old = SelectPalette(item.hDC, palette, FALSE);
    RealizePalette(item.hDC);
    if (HBRUSH brush = CreateSolidBrush(PALETTEINDEX(WORD(value)))) {
        FillRect(item.hDC, &item.rcItem, brush);
        DeleteObject(brush);
    }
    SelectPalette(item.hDC, old, FALSE);
    DeleteObject(palette);
}

void end_picking(ColourDialog& c) {
    if (!c.picking) return;
    c.picking = false;
    ReleaseCapture();
    SetCursor(c.previous_cursor);
}

// A left click while picking: inside the active picture it takes the colour
// there (as the canvas picks colours) and ends picking; elsewhere it keeps
// the capture.
void pick_at(HWND dlg, ColourDialog& c, POINT screen) {
    const PictureDocument* doc = active_document();
    HWND canvas = canvas_of(active_document_window());
    if (!doc || !canvas || doc->zoom <= 0) return;
    POINT p = screen;
    ScreenToClient(canvas, &p);
    if (p.x < 0 || p.y < 0) return;
    const int x = p.x * 100 / doc->zoom + doc->view_origin_x;
    const int y = p.y * 100 / doc->zoom + doc->view_origin_y;
    if (x >= picture_width(*doc) || y >= picture_height(*doc)) return;
    c.value = colour_under(*doc, x, y);
    end_picking(c);
    SendDlgItemMessageA(dlg, IDC_SELECT_COLOR_SPIN, UDM_SETPOS32, 0, c.value);
}

INT_PTR CALLBACK select_colour_proc(HWND dlg, UINT msg, WPARAM wparam, LPARAM lparam) {
    ColourDialog* c = colour_state(dlg);
    switch (msg) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(dlg, DWLP_USER, lparam);
        c = reinterpret_cast<ColourDialog*>(lparam);
        SendDlgItemMessageA(dlg, IDC_SELECT_COLOR_SPIN, UDM_SETRANGE32, 0, kColourMax);
        SendDlgItemMessageA(dlg, IDC_SELECT_COLOR_SPIN, UDM_SETPOS32, 0, c->value);
        return TRUE;
    case WM_DRAWITEM:
        if (c && wparam == IDC_SELECT_COLOR_SWATCH)
            draw_swatch(*reinterpret_cast<const DRAWITEMSTRUCT*>(lparam), c->value);
        return TRUE;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        if (c && c->picking) {
            POINT p{short(LOWORD(lparam)), short(HIWORD(lparam))};
            ClientToScreen(dlg, &p);
            if (msg == WM_LBUTTONDOWN)
                pick_at(dlg, *c, p);
            else
                end_picking(*c);
            return TRUE;
        }
        break;
    case WM_SETCURSOR:
        if (c && c->picking) {
            SetCursor(LoadCursorA(shell_windows().instance, "SPOIT_CURSOR"));
            SetWindowLongPtrA(dlg, DWLP_MSGRESULT, TRUE);
            return TRUE;
        }
        break;
    case WM_CAPTURECHANGED:
        if (c) c->picking = false;
        break;
    case WM_COMMAND:
        if (!c) break;
        switch (LOWORD(wparam)) {
        case IDC_SELECT_COLOR:
            if (HIWORD(wparam) == EN_CHANGE) {
                c->value = typed_colour(dlg);
                InvalidateRect(GetDlgItem(dlg, IDC_SELECT_COLOR_SWATCH), nullptr, FALSE);
            }
            return TRUE;
        case IDC_SELECT_COLOR_SPOIT:
            c->previous_cursor = SetCursor(LoadCursorA(shell_windows().instance, "SPOIT_CURSOR"));
            SetCapture(dlg);
            c->picking = true;
            return TRUE;
        case IDOK:
            end_picking(*c);
            EndDialog(dlg, typed_colour(dlg));
            return TRUE;
        case IDCANCEL:
            end_picking(*c);
            EndDialog(dlg, kCancelled);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

INT_PTR CALLBACK select_layer_proc(HWND dlg, UINT msg, WPARAM wparam, LPARAM lparam) {
    switch (msg) {
    case WM_INITDIALOG: {
        const auto* doc = reinterpret_cast<const PictureDocument*>(lparam);
        for (LayerNode* n = doc->layers->previous; n != doc->layers; n = n->previous)
            SendDlgItemMessageA(dlg, IDC_SELECT_LAYER, LB_ADDSTRING, 0,
                                reinterpret_cast<LPARAM>(n->layer->name));
        SendDlgItemMessageA(
            dlg, IDC_SELECT_LAYER, LB_SETCURSEL,
            WPARAM(list_entry_of_position(*doc, layer_position(*doc, doc->current))), 0);
        return TRUE;
    }
    case WM_COMMAND:
        switch (LOWORD(wparam)) {
        case IDOK: {
            const LRESULT entry = SendDlgItemMessageA(dlg, IDC_SELECT_LAYER, LB_GETCURSEL, 0, 0);
            const LRESULT count = SendDlgItemMessageA(dlg, IDC_SELECT_LAYER, LB_GETCOUNT, 0, 0);
            if (entry >= 0) EndDialog(dlg, count - entry);
            return TRUE;
        }
        case IDCANCEL:
            EndDialog(dlg, 0);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

} // namespace

int run_select_colour_dialog(int initial) {
    ColourDialog c{std::clamp(initial, 0, kColourMax), false, nullptr};
    const INT_PTR result =
        DialogBoxParamA(shell_windows().instance, "SELECTCOLOR_DIALOG", shell_windows().frame,
                        select_colour_proc, reinterpret_cast<LPARAM>(&c));
    return result < 0 ? kCancelled : int(result);
}

int run_select_layer_dialog(const PictureDocument& doc) {
    const INT_PTR result =
        DialogBoxParamA(shell_windows().instance, "SELECTLAYER_DIALOG", shell_windows().frame,
                        select_layer_proc, reinterpret_cast<LPARAM>(&doc));
    return result > 0 ? int(result) : 0;
}
