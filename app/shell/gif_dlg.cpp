#include "app/shell/gif_dlg.h"

#include "app/tools/drawing.h"
#include "app/resources/resource_ids.h"
#include "app/session/shell_state.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

// Radio buttons by colour bits 1 to 8 (2 to 256 colours).
constexpr int kColourButtons[8] = {IDC_COLORS_2,  IDC_COLORS_4,  IDC_COLORS_8,   IDC_COLORS_16,
                                   IDC_COLORS_32, IDC_COLORS_64, IDC_COLORS_128, IDC_COLORS_256};
constexpr int kCommentRead = 512;
// Posted to itself by "Spoit": the dialog takes the mouse once the button's
// click is over, whichever order the button lets the mouse go and reports
// the click in.
constexpr UINT kMsgStartPicking = WM_APP + 1;

struct GifDialog {
    PictureDocument* doc;
    int* key_colour;
    bool picking;
    HCURSOR previous_cursor;
};

GifDialog* state_of(HWND dlg) {
    return reinterpret_cast<GifDialog*>(GetWindowLongPtrA(dlg, DWLP_USER));
}

int clamped_key(HWND dlg) {
    char text[16] = {};
    GetDlgItemTextA(dlg, IDC_GIF_KEY, text, sizeof text);
    int key = std::atoi(text);
    return key < 0 ? 0 : key > 255 ? 255 : key;
}

void init_dialog(HWND dlg, GifDialog& g) {
    const PictureDocument& doc = *g.doc;
    SendDlgItemMessageA(dlg, IDC_GIF_KEY_SPIN, UDM_SETRANGE32, 0, 255);
    SendDlgItemMessageA(dlg, IDC_GIF_KEY_SPIN, UDM_SETPOS32, 0, *g.key_colour);
    SendDlgItemMessageA(dlg, IDC_GIF_REPEAT_SPIN, UDM_SETRANGE32, 0, 32767);
    SendDlgItemMessageA(dlg, IDC_GIF_REPEAT_SPIN, UDM_SETPOS32, 0, doc.gif_repeat_count);
    // The depth the picture came with (or was last saved with) is offered.
    for (int button : kColourButtons)
        CheckDlgButton(dlg, button, BST_UNCHECKED);
    CheckDlgButton(dlg, kColourButtons[std::clamp(doc.gif_colour_bits, 1, 8) - 1], BST_CHECKED);
    CheckDlgButton(dlg, IDC_GIF_INTERLACED, (doc.gif_options & kGifInterlaced) ? 1 : 0);
    CheckDlgButton(dlg, IDC_GIF_TRANSPARENT, (doc.gif_options & kGifTransparent) ? 1 : 0);
    CheckDlgButton(dlg, IDC_GIF_ANIMATION, (doc.gif_options & kGifAnimation) ? 1 : 0);
    SetDlgItemTextA(dlg, IDC_GIF_COMMENT, doc.gif_comment);
    // A picture that came with a comment keeps it unless the user unticks.
    CheckDlgButton(dlg, IDC_GIF_INSERT_COMMENT, doc.gif_comment[0] ? 1 : 0);
}

void accept(HWND dlg, GifDialog& g) {
    PictureDocument& doc = *g.doc;
    *g.key_colour = clamped_key(dlg);
    char text[16] = {};
    GetDlgItemTextA(dlg, IDC_GIF_REPEAT, text, sizeof text);
    int repeat = std::atoi(text);
    doc.gif_repeat_count = repeat < 0 ? 0 : repeat;
    std::uint32_t options = 0;
    if (IsDlgButtonChecked(dlg, IDC_GIF_INTERLACED)) options |= kGifInterlaced;
    if (IsDlgButtonChecked(dlg, IDC_GIF_TRANSPARENT)) options |= kGifTransparent;
    if (IsDlgButtonChecked(dlg, IDC_GIF_ANIMATION)) options |= kGifAnimation;
    doc.gif_options = options;
    for (int bits = 1; bits <= 8; ++bits)
        if (IsDlgButtonChecked(dlg, kColourButtons[bits - 1])) doc.gif_colour_bits = bits;
    if (IsDlgButtonChecked(dlg, IDC_GIF_INSERT_COMMENT)) {
        char comment[kCommentRead] = {};
        GetDlgItemTextA(dlg, IDC_GIF_COMMENT, comment, sizeof comment);
        std::strncpy(doc.gif_comment, comment, kGifCommentSize - 1);
        doc.gif_comment[kGifCommentSize - 1] = '\0';
    } else {
        doc.gif_comment[0] = '\0';
    }
}

void draw_sample(HWND dlg, const DRAWITEMSTRUCT& item, const GifDialog& g) {
    const Layer* layer = current_layer(*g.doc);
    COLORREF colour = RGB(0, 0, 0);
    if (layer && layer->image && layer->image->info) {
        RGBQUAD q = layer->image->colour_table()[clamped_key(dlg)];
        colour = RGB(q.rgbRed, q.rgbGreen, q.rgbBlue);
    }
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(item.hDC, &item.rcItem, brush);
    DeleteObject(brush);
}

// A click on the active picture's canvas, inside the picture, picks the key
// there. The canvas is found by its place, not by the window under the point,
// which is the disabled frame while this dialog is up; a click on the dialog
// itself picks nothing.
void pick_at(HWND dlg, GifDialog& g, POINT screen) {
    HWND canvas = canvas_of(active_document_window());
    if (!canvas || active_document() != g.doc) return;
    RECT own;
    GetWindowRect(dlg, &own);
    if (PtInRect(&own, screen)) return;
    POINT p = screen;
    ScreenToClient(canvas, &p);
    const int colour = colour_at_canvas_point(*g.doc, p.x, p.y);
    if (colour != kNoColour) SendDlgItemMessageA(dlg, IDC_GIF_KEY_SPIN, UDM_SETPOS32, 0, colour);
}

void end_picking(GifDialog& g) {
    if (!g.picking) return;
    g.picking = false;
    ReleaseCapture();
    SetCursor(g.previous_cursor);
}

INT_PTR CALLBACK gif_dialog_proc(HWND dlg, UINT msg, WPARAM wparam, LPARAM lparam) {
    GifDialog* g = state_of(dlg);
    switch (msg) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(dlg, DWLP_USER, lparam);
        init_dialog(dlg, *reinterpret_cast<GifDialog*>(lparam));
        return TRUE;
    case WM_DRAWITEM:
        if (g && wparam == IDC_GIF_SAMPLE)
            draw_sample(dlg, *reinterpret_cast<const DRAWITEMSTRUCT*>(lparam), *g);
        return TRUE;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        if (g && g->picking) {
            POINT p{short(LOWORD(lparam)), short(HIWORD(lparam))};
            ClientToScreen(dlg, &p);
            end_picking(*g);
            if (msg == WM_LBUTTONDOWN) pick_at(dlg, *g, p);
            return TRUE;
        }
        break;
    case WM_SETCURSOR:
        if (g && g->picking) {
            SetCursor(LoadCursorA(shell_windows().instance, "SPOIT_CURSOR"));
            SetWindowLongPtrA(dlg, DWLP_MSGRESULT, TRUE);
            return TRUE;
        }
        break;
    case kMsgStartPicking:
        if (!g) break;
        g->previous_cursor = SetCursor(LoadCursorA(shell_windows().instance, "SPOIT_CURSOR"));
        SetCapture(dlg);
        g->picking = true;
        return TRUE;
    case WM_CAPTURECHANGED:
        if (g) g->picking = false;
        break;
    case WM_COMMAND:
        if (!g) break;
        switch (LOWORD(wparam)) {
        case IDC_GIF_KEY:
            if (HIWORD(wparam) == EN_CHANGE)
                InvalidateRect(GetDlgItem(dlg, IDC_GIF_SAMPLE), nullptr, FALSE);
            return TRUE;
        case IDC_GIF_SPOIT:
            PostMessageA(dlg, kMsgStartPicking, 0, 0);
            return TRUE;
        case IDOK:
            end_picking(*g);
            accept(dlg, *g);
            EndDialog(dlg, 1);
            return TRUE;
        case IDCANCEL:
            end_picking(*g);
            EndDialog(dlg, 0);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

} // namespace

int run_gif_dialog(HWND owner, PictureDocument& doc, int& key_colour) {
    GifDialog g{&doc, &key_colour, false, nullptr};
    return int(DialogBoxParamA(shell_windows().instance, "GIF_DIALOG", owner, gif_dialog_proc,
                               reinterpret_cast<LPARAM>(&g)));
}
