#include "app/windows/layer/layer_wnd.h"

#include "app/resources/resource_ids.h"
#include "app/session/shell_state.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int kColourMax = 255;
constexpr int kNumberText = 33;
// Beyond any picture side, so that clamping to the picture decides.
constexpr long long kAreaLimit = 1LL << 30;

// Raised while the dialog fills its own controls: their notifications then
// say nothing the user did.
int syncing = 0;

struct Syncing {
    Syncing() { ++syncing; }
    ~Syncing() { --syncing; }
};

struct FlagBox {
    int control;
    std::uint32_t flag;
    bool redraws; // the composite shows it
    bool stored;  // a saved file keeps it
};

constexpr FlagBox kFlagBoxes[] = {
    {IDC_LAYER_VISIBLE, kLayerVisible, true, true},
    {IDC_LAYER_MASK_OPACITY, kLayerUseMaskAsOpacity, true, true},
    {IDC_LAYER_ALWAYS, kLayerViewAlways, true, false},
    {IDC_LAYER_USER_INPUT, kLayerAnimUserInput, false, true},
    {IDC_LAYER_TRANSPARENT, kLayerAnimTransparent, false, true},
};

// By disposal 0..3.
constexpr int kDisposalButtons[] = {IDC_LAYER_NOTHING, IDC_LAYER_OVERLAP, IDC_LAYER_ERASE,
                                    IDC_LAYER_PREVIOUS};
constexpr int kDisposalCount = int(sizeof kDisposalButtons / sizeof kDisposalButtons[0]);

// Left, top, width, height.
constexpr int kAreaEdits[] = {IDC_LAYER_AREA_LEFT, IDC_LAYER_AREA_TOP, IDC_LAYER_AREA_WIDTH,
                              IDC_LAYER_AREA_HEIGHT};

LRESULT send_item(HWND dlg, int id, UINT msg, WPARAM wparam = 0, LPARAM lparam = 0) {
    return SendDlgItemMessageA(dlg, id, msg, wparam, lparam);
}

void set_number(HWND dlg, int id, long value) {
    char text[kNumberText];
    std::snprintf(text, sizeof text, "%ld", value);
    SetDlgItemTextA(dlg, id, text);
}

// False when the box holds no number.
bool read_number(HWND dlg, int id, long long& value) {
    char text[kNumberText] = {};
    GetDlgItemTextA(dlg, id, text, sizeof text);
    char* end = nullptr;
    value = std::strtoll(text, &end, 10);
    return end != text;
}

void fill_controls(HWND dlg, const PictureDocument* doc) {
    Syncing s;
    const Layer* layer = doc ? current_layer(*doc) : nullptr;
    if (!layer) {
        SetDlgItemTextA(dlg, IDC_LAYER_NAME, "");
        return;
    }
    SetDlgItemTextA(dlg, IDC_LAYER_NAME, layer->name);
    for (const FlagBox& b : kFlagBoxes)
        CheckDlgButton(dlg, b.control, (layer->flags & b.flag) ? BST_CHECKED : BST_UNCHECKED);
    send_item(dlg, IDC_LAYER_KEY_SPIN, UDM_SETPOS32, 0, layer->key_colour);
    send_item(dlg, IDC_LAYER_OPACITY_SPIN, UDM_SETPOS32, 0, layer->opacity);
    send_item(dlg, IDC_LAYER_BACKGROUND_SPIN, UDM_SETPOS32, 0, layer->background_colour);
    for (int i = 0; i < kDisposalCount; ++i)
        CheckDlgButton(dlg, kDisposalButtons[i],
                       layer->disposal == i ? BST_CHECKED : BST_UNCHECKED);
    const LONG area[] = {layer->area.left, layer->area.top, layer->area.width, layer->area.height};
    for (int i = 0; i < 4; ++i)
        set_number(dlg, kAreaEdits[i], area[i]);
    set_number(dlg, IDC_LAYER_INTERVAL, layer->interval);
}

void select_current(HWND dlg, const PictureDocument& doc) {
    Syncing s;
    send_item(dlg, IDC_LAYER_LIST, LB_SETCURSEL,
              WPARAM(list_entry_of_position(doc, layer_position(doc, doc.current))));
}

void fill_list(HWND dlg, const PictureDocument* doc) {
    Syncing s;
    send_item(dlg, IDC_LAYER_LIST, LB_RESETCONTENT);
    if (!doc || !doc->layers) return;
    for (LayerNode* n = doc->layers->previous; n != doc->layers; n = n->previous)
        send_item(dlg, IDC_LAYER_LIST, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(n->layer->name));
    select_current(dlg, *doc);
}

void redraw_preview(HWND dlg) {
    InvalidateRect(GetDlgItem(dlg, IDC_LAYER_PREVIEW), nullptr, FALSE);
}

void show_document(HWND dlg) {
    const PictureDocument* doc = active_document();
    fill_list(dlg, doc);
    fill_controls(dlg, doc);
    redraw_preview(dlg);
}

void show_layer_name(const char* name) {
    send_if_open(shell_windows().status_bar, SB_SETTEXTA, kStatusLayerName,
                 reinterpret_cast<LPARAM>(name));
}

// The current layer's image, scaled down to fit when it is larger than the
// control along its longer side, centred on black, in its own palette.
void draw_preview(const DRAWITEMSTRUCT& item) {
    FillRect(item.hDC, &item.rcItem, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    const PictureDocument* doc = active_document();
    const Layer* layer = doc ? current_layer(*doc) : nullptr;
    if (!layer || !layer->image->logical_palette) return;
    const Surface& image = *layer->image;
    const int w = image.width(), h = image.height();
    const int cw = item.rcItem.right - item.rcItem.left, ch = item.rcItem.bottom - item.rcItem.top;
    int dw = w, dh = h;
    if (w > h && w > cw) {
        dw = cw;
        dh = int(static_cast<long long>(h) * cw / w);
    } else if (h >= w && h > ch) {
        dh = ch;
        dw = int(static_cast<long long>(w) * ch / h);
    }
    HPALETTE palette = CreatePalette(image.logical_palette);
    if (!palette) return;
    HPALETTE old = SelectPalette(item.hDC, palette, FALSE);
    RealizePalette(item.hDC);
    SetStretchBltMode(item.hDC, COLORONCOLOR);
    StretchDIBits(item.hDC, item.rcItem.left + (cw - dw) / 2, item.rcItem.top + (ch - dh) / 2, dw,
                  dh, 0, 0, w, h, image.bits, reinterpret_cast<const BITMAPINFO*>(image.info),
                  DIB_RGB_COLORS, SRCCOPY);
    SelectPalette(item.hDC, old, FALSE);
    DeleteObject(palette);
}

// ---- Edits of the current layer ----

struct Active {
    HWND window;
    PictureDocument* doc;
    Layer* layer;
};

Active active() {
    HWND wnd = active_document_window();
    PictureDocument* doc = document_of(wnd);
    return {wnd, doc, doc ? current_layer(*doc) : nullptr};
}

void redraw_picture(const Active& a) {
    send_if_open(a.window, kMsgRedrawPicture);
}

void choose_layer(HWND dlg) {
    Active a = active();
    if (!a.doc) return;
    const LRESULT entry = send_item(dlg, IDC_LAYER_LIST, LB_GETCURSEL);
    if (entry < 0) return;
    SendMessageA(a.window, kMsgLayerChanging, 0, 0);
    a = active();
    const int position = a.doc ? position_of_list_entry(*a.doc, int(entry)) : 0;
    if (!a.doc || !is_layer_position(*a.doc, position)) return;
    a.doc->current = layer_node_at(*a.doc, position);
    fill_controls(dlg, a.doc);
    redraw_preview(dlg);
    SendMessageA(a.window, kMsgLayerChanged, 0, 0);
}

void rename_layer(HWND dlg, const Active& a) {
    char text[kLayerNameSize] = {};
    GetDlgItemTextA(dlg, IDC_LAYER_NAME, text, sizeof text);
    if (std::strcmp(text, a.layer->name) == 0) return;
    std::memcpy(a.layer->name, text, sizeof text);
    a.doc->flags |= kDocModified;
    show_layer_name(a.layer->name);
    send_if_open(shell_windows().dialog_bar, kMsgRedrawPicture);
    Syncing s;
    const int entry = list_entry_of_position(*a.doc, layer_position(*a.doc, a.doc->current));
    send_item(dlg, IDC_LAYER_LIST, LB_DELETESTRING, WPARAM(entry));
    send_item(dlg, IDC_LAYER_LIST, LB_INSERTSTRING, WPARAM(entry),
              reinterpret_cast<LPARAM>(a.layer->name));
    send_item(dlg, IDC_LAYER_LIST, LB_SETCURSEL, WPARAM(entry));
}

void set_flag(HWND dlg, const Active& a, const FlagBox& box) {
    const std::uint32_t flags = IsDlgButtonChecked(dlg, box.control) ? a.layer->flags | box.flag
                                                                     : a.layer->flags & ~box.flag;
    if (flags == a.layer->flags) return;
    a.layer->flags = flags;
    if (box.stored) a.doc->flags |= kDocModified;
    if (box.redraws) redraw_picture(a);
}

void set_colour(HWND dlg, const Active& a, int control) {
    long long value;
    if (!read_number(dlg, control, value) || value < 0 || value > kColourMax) return;
    std::int32_t& field =
        control == IDC_LAYER_KEY ? a.layer->key_colour : a.layer->background_colour;
    if (field == value) return;
    field = std::int32_t(value);
    a.doc->flags |= kDocModified;
    redraw_picture(a);
    send_if_open(shell_windows().palette_window, kMsgColourViews, 0,
                 reinterpret_cast<LPARAM>(a.doc));
}

void set_opacity(HWND dlg, const Active& a) {
    long long value;
    if (!read_number(dlg, IDC_LAYER_OPACITY, value) || value < 0 || value > kLayerOpacityOpaque ||
        value == a.layer->opacity)
        return;
    set_layer_opacity(*a.layer, int(value));
    a.doc->flags |= kDocModified;
    redraw_picture(a);
}

void set_interval(HWND dlg, const Active& a) {
    long long value;
    if (!read_number(dlg, IDC_LAYER_INTERVAL, value) || value < 0) return;
    const std::int32_t interval = clamped_interval(value);
    if (interval == a.layer->interval) return;
    a.layer->interval = interval;
    a.doc->flags |= kDocModified;
}

void set_area(HWND dlg, const Active& a) {
    LONG* fields[] = {&a.layer->area.left, &a.layer->area.top, &a.layer->area.width,
                      &a.layer->area.height};
    AreaRect area = a.layer->area;
    LONG* typed[] = {&area.left, &area.top, &area.width, &area.height};
    for (int i = 0; i < 4; ++i) {
        long long value;
        if (read_number(dlg, kAreaEdits[i], value))
            *typed[i] = LONG(std::clamp(value, -kAreaLimit, kAreaLimit));
    }
    area = clamped_area(area, picture_width(*a.doc), picture_height(*a.doc));
    bool changed = false;
    for (int i = 0; i < 4; ++i)
        changed |= *fields[i] != *typed[i];
    if (!changed) return;
    a.layer->area = area;
    a.doc->flags |= kDocModified;
}

void set_disposal(const Active& a, int disposal) {
    if (a.layer->disposal == disposal) return;
    a.layer->disposal = disposal;
    a.doc->flags |= kDocModified;
}

// ---- The layer list ----

// After the list changed: the dialog bar and this dialog show it anew, the
// document window learns its current layer and redraws.
void list_changed(HWND dlg, const Active& a) {
    send_if_open(shell_windows().dialog_bar, kMsgRedrawPicture);
    show_document(dlg);
    SendMessageA(a.window, kMsgLayerChanged, 0, 0);
    redraw_picture(a);
}

// New and Delete change the list under the current tool and the undo copies:
// a floating area is committed and the other layers' copies settled first.
// False when the window lost its document meanwhile.
bool prepare_list_change(Active& a) {
    SendMessageA(a.window, kMsgLayerChanging, 0, 0);
    a = active();
    if (!a.layer) return false;
    settle_undo_copies(*a.doc);
    return true;
}

void new_layer(HWND dlg) {
    Active a = active();
    if (!a.layer) return;
    a.doc->flags |= kDocModified;
    if (!prepare_list_change(a)) return;
    hold_animation_player();
    add_layer_above(*a.doc);
    resume_animation_player();
    list_changed(dlg, a);
}

void delete_layer(HWND dlg) {
    if (MessageBoxA(dlg, "Delete Selected Layer.\nAre you sure?", "delete layer", MB_YESNO) !=
        IDYES)
        return;
    Active a = active();
    if (!a.layer) return;
    a.doc->flags |= kDocModified;
    if (!prepare_list_change(a)) return;
    hold_animation_player();
    const bool deleted = delete_current_layer(*a.doc);
    resume_animation_player();
    if (!deleted) return;
    if (HWND canvas = canvas_of(a.window)) InvalidateRect(canvas, nullptr, FALSE);
    list_changed(dlg, a);
}

// Moves the current layer one place up or down the stack.
void move_layer(HWND dlg, bool up) {
    Active a = active();
    if (!a.layer) return;
    const int position = layer_position(*a.doc, a.doc->current);
    hold_animation_player();
    const bool moved = swap_with_upper(*a.doc, up ? position : position - 1);
    resume_animation_player();
    if (!moved) return;
    a.doc->flags |= kDocModified;
    send_if_open(shell_windows().dialog_bar, kMsgRedrawPicture);
    show_document(dlg);
    redraw_picture(a);
}

void on_command(HWND dlg, int id, int code) {
    if (syncing) return;
    switch (id) {
    case IDC_LAYER_LIST:
        if (code == LBN_SELCHANGE) choose_layer(dlg);
        return;
    case IDC_LAYER_NEW:
        if (code == BN_CLICKED) new_layer(dlg);
        return;
    case IDC_LAYER_DELETE:
        if (code == BN_CLICKED) delete_layer(dlg);
        return;
    case IDC_LAYER_TO_UPPER:
    case IDC_LAYER_TO_LOWER:
        if (code == BN_CLICKED) move_layer(dlg, id == IDC_LAYER_TO_UPPER);
        return;
    }
    const Active a = active();
    if (!a.layer) return;
    switch (id) {
    case IDC_LAYER_NAME:
        if (code == EN_CHANGE) rename_layer(dlg, a);
        return;
    case IDC_LAYER_KEY:
    case IDC_LAYER_BACKGROUND:
        if (code == EN_CHANGE) set_colour(dlg, a, id);
        return;
    case IDC_LAYER_OPACITY:
        if (code == EN_CHANGE) set_opacity(dlg, a);
        return;
    case IDC_LAYER_INTERVAL:
        if (code == EN_CHANGE) set_interval(dlg, a);
        return;
    }
    for (int edit : kAreaEdits)
        if (id == edit && code == EN_CHANGE) set_area(dlg, a);
    for (int i = 0; i < kDisposalCount; ++i)
        if (id == kDisposalButtons[i] && code == BN_CLICKED) set_disposal(a, i);
    for (const FlagBox& b : kFlagBoxes)
        if (id == b.control && code == BN_CLICKED) set_flag(dlg, a, b);
}

void on_destroy(HWND dlg) {
    floating_window_closed(dlg, &ShellWindows::layer_manager, CMD_LAYER_MANAGER,
                           &settings().layer_left, &settings().layer_top);
}

} // namespace

INT_PTR CALLBACK LayerDlgProc(HWND dlg, UINT msg, WPARAM wparam, LPARAM lparam) {
    switch (msg) {
    case WM_INITDIALOG:
        SetWindowPos(dlg, nullptr, settings().layer_left, settings().layer_top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        send_item(dlg, IDC_LAYER_KEY_SPIN, UDM_SETRANGE32, 0, kColourMax);
        send_item(dlg, IDC_LAYER_BACKGROUND_SPIN, UDM_SETRANGE32, 0, kColourMax);
        send_item(dlg, IDC_LAYER_OPACITY_SPIN, UDM_SETRANGE32, 0, kLayerOpacityOpaque);
        show_document(dlg);
        return TRUE;
    case WM_DRAWITEM:
        if (wparam == IDC_LAYER_PREVIEW)
            draw_preview(*reinterpret_cast<const DRAWITEMSTRUCT*>(lparam));
        return TRUE;
    case WM_COMMAND:
        on_command(dlg, LOWORD(wparam), HIWORD(wparam));
        return TRUE;
    case kMsgDocumentActivated:
        show_document(dlg);
        return TRUE;
    case kMsgColourViews:
        fill_controls(dlg, active_document());
        return TRUE;
    case kMsgLayerChanged:
        if (const PictureDocument* doc = active_document()) select_current(dlg, *doc);
        fill_controls(dlg, active_document());
        redraw_preview(dlg);
        return TRUE;
    case WM_CLOSE:
        DestroyWindow(dlg);
        return TRUE;
    case WM_DESTROY:
        on_destroy(dlg);
        return TRUE;
    }
    return FALSE;
}

HWND create_layer_manager(HWND frame) {
    HWND dlg = CreateDialogParamA(shell_windows().instance, "LAYER_DIALOG", frame, LayerDlgProc, 0);
    if (dlg) shell_windows().layer_manager = dlg;
    return dlg;
}
