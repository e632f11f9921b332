#include "app/windows/colour_editor/colour_editor_dlg.h"

#include "app/imageops/colour_model.h"
#include "app/imageops/palette_edits.h"
#include "app/resources/resource_ids.h"
#include "app/session/settings.h"
#include "app/session/shell_state.h"
#include "app/tools/drawing.h"

#include <commctrl.h>

#include <cstdlib>
#include <cstring>

namespace {

constexpr int kNumberText = 16;
constexpr int kIndexMax = 255;
constexpr int kPageStep = 10;

constexpr int kFields[kModelComponents] = {IDC_PAL_COMPONENT_1, IDC_PAL_COMPONENT_2,
                                           IDC_PAL_COMPONENT_3};
constexpr int kSpins[kModelComponents] = {IDC_PAL_COMPONENT_1_SPIN, IDC_PAL_COMPONENT_2_SPIN,
                                          IDC_PAL_COMPONENT_3_SPIN};
constexpr int kBars[kModelComponents] = {IDC_PAL_BAR_1, IDC_PAL_BAR_2, IDC_PAL_BAR_3};
constexpr int kLabels[kModelComponents] = {IDC_PAL_LABEL_1, IDC_PAL_LABEL_2, IDC_PAL_LABEL_3};

struct ModelButton {
    int control;
    ColourModel model;
    const char* labels[kModelComponents];
};
constexpr ModelButton kModels[] = {
    {IDC_PAL_RGB, ColourModel::Rgb, {"R:", "G:", "B:"}},
    {IDC_PAL_HSV, ColourModel::Hsv, {"H:", "S:", "V:"}},
    {IDC_PAL_YMC, ColourModel::Ymc, {"Y:", "M:", "C:"}},
};

// Raised while the editor writes its own controls: their notifications then
// say nothing the user did, and the palette window is not told back.
int busy = 0;
struct Busy {
    Busy() { ++busy; }
    ~Busy() { --busy; }
};

Rgb pending{};
constexpr int kNoField = -1;

ColourModel model() {
    return colour_model_from_setting(settings().pal_ColorModel);
}

bool sync_on() {
    return settings().pal_AutoApply != 0;
}

bool edits_left() {
    return shell_state().editor_edits_left;
}

LRESULT send_item(HWND dlg, int id, UINT msg, WPARAM wparam = 0, LPARAM lparam = 0) {
    return SendDlgItemMessageA(dlg, id, msg, wparam, lparam);
}

// Text that is not a number reads as 0.
int read_number(HWND dlg, int id) {
    char text[kNumberText] = {};
    GetDlgItemTextA(dlg, id, text, sizeof text);
    return int(std::strtol(text, nullptr, 10));
}

struct Active {
    HWND window;
    PictureDocument* doc;
    Layer* layer;
    int edited() const { return (edits_left() ? doc->left_colour : doc->right_colour) & kIndexMax; }
};

Active active() {
    HWND wnd = active_document_window();
    PictureDocument* doc = document_of(wnd);
    return {wnd, doc, doc ? current_layer(*doc) : nullptr};
}

Rgb entry_colour(const Layer& layer, int index) {
    const RGBQUAD& q = layer.image->colour_table()[index & kIndexMax];
    return {q.rgbRed, q.rgbGreen, q.rgbBlue};
}

void set_ranges(HWND dlg) {
    Busy b;
    const ColourModel m = model();
    for (const ModelButton& button : kModels) {
        CheckDlgButton(dlg, button.control, button.model == m ? BST_CHECKED : BST_UNCHECKED);
        if (button.model != m) continue;
        for (int i = 0; i < kModelComponents; ++i)
            SetDlgItemTextA(dlg, kLabels[i], button.labels[i]);
    }
    for (int i = 0; i < kModelComponents; ++i) {
        send_item(dlg, kSpins[i], UDM_SETRANGE32, 0, component_max(m, i));
        SetScrollRange(GetDlgItem(dlg, kBars[i]), SB_CTL, 0, component_max(m, i), TRUE);
    }
}

// Shows the pending colour (from_palette: the edited entry first becomes
// the pending colour) in every control but the field the user is typing in.
void load_controls(HWND dlg, bool from_palette, int typing = kNoField) {
    const Active a = active();
    if (!a.layer) return;
    Busy b;
    if (from_palette) pending = entry_colour(*a.layer, a.edited());
    const ModelColour shown = to_model(model(), pending);
    for (int i = 0; i < kModelComponents; ++i) {
        if (kFields[i] != typing) send_item(dlg, kSpins[i], UDM_SETPOS32, 0, shown.c[i]);
        SetScrollPos(GetDlgItem(dlg, kBars[i]), SB_CTL, shown.c[i], TRUE);
    }
    CheckDlgButton(dlg, IDC_PAL_KEY,
                   a.layer->key_colour == a.edited() ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dlg, IDC_PAL_BACKGROUND,
                   a.layer->background_colour == a.edited() ? BST_CHECKED : BST_UNCHECKED);
}

void repaint_swatch(HWND dlg, bool left) {
    InvalidateRect(GetDlgItem(dlg, left ? IDC_PAL_LEFT_SWATCH : IDC_PAL_RIGHT_SWATCH), nullptr,
                   FALSE);
}

void enable_sides(HWND dlg) {
    EnableWindow(GetDlgItem(dlg, IDC_PAL_LEFT_INDEX), edits_left());
    EnableWindow(GetDlgItem(dlg, IDC_PAL_RIGHT_INDEX), !edits_left());
}

void show_indexes(HWND dlg, const PictureDocument& doc) {
    Busy b;
    send_item(dlg, IDC_PAL_LEFT_INDEX_SPIN, UDM_SETPOS32, 0, doc.left_colour & kIndexMax);
    send_item(dlg, IDC_PAL_RIGHT_INDEX_SPIN, UDM_SETPOS32, 0, doc.right_colour & kIndexMax);
}

void show_document(HWND dlg) {
    const Active a = active();
    if (!a.layer) return;
    load_controls(dlg, true);
    repaint_swatch(dlg, true);
    repaint_swatch(dlg, false);
    show_indexes(dlg, *a.doc);
}

// ---- What the editor tells the other windows ----

void palette_changed(const Active& a) {
    const ShellWindows& w = shell_windows();
    const LPARAM doc = reinterpret_cast<LPARAM>(a.doc);
    send_if_open(a.window, kMsgPaletteChanged, 1);
    send_if_open(w.palette_window, kMsgPaletteChanged, 1, doc);
    send_if_open(w.zoom_window, kMsgPaletteChanged, 0, doc);
}

void colour_index_changed(const Active& a) {
    const ShellWindows& w = shell_windows();
    send_if_open(w.palette_window, kMsgColourViews, 1, reinterpret_cast<LPARAM>(a.doc));
    send_if_open(w.zoom_window, kMsgColourViews);
    send_if_open(w.tool_window, kMsgColourViews);
}

void key_colour_changed(const Active& a, bool key) {
    const ShellWindows& w = shell_windows();
    a.doc->flags |= kDocModified;
    if (key) send_if_open(a.window, kMsgRedrawPicture);
    send_if_open(w.layer_manager, kMsgColourViews, 0, reinterpret_cast<LPARAM>(a.doc));
    send_if_open(w.palette_window, kMsgColourViews, 1, reinterpret_cast<LPARAM>(a.doc));
}

// ---- Edits ----

// False when a field holds a value outside the model's range: the typed
// text decides, whatever the spin button shows.
bool typed_colour(HWND dlg, Rgb& rgb) {
    ModelColour typed{};
    for (int i = 0; i < kModelComponents; ++i)
        typed.c[i] = read_number(dlg, kFields[i]);
    if (!in_model_range(model(), typed)) return false;
    rgb = from_model(model(), typed);
    return true;
}

void apply(const Active& a, const Rgb& rgb) {
    set_palette_colour(*a.doc, a.edited(), BYTE(rgb.red), BYTE(rgb.green), BYTE(rgb.blue));
    palette_changed(a);
}

void component_changed(HWND dlg, int field) {
    const Active a = active();
    Rgb rgb;
    if (!a.layer || !typed_colour(dlg, rgb)) return;
    if (sync_on()) {
        apply(a, rgb);
        load_controls(dlg, true, field);
    } else {
        pending = rgb;
        load_controls(dlg, false, field);
    }
    repaint_swatch(dlg, edits_left());
}

void update_clicked(HWND dlg) {
    const Active a = active();
    Rgb rgb;
    if (!a.layer || !typed_colour(dlg, rgb)) return;
    pending = rgb;
    apply(a, rgb);
    repaint_swatch(dlg, edits_left());
}

void index_changed(HWND dlg, int control) {
    const Active a = active();
    if (!a.layer) return;
    const int value = read_number(dlg, control);
    if (value < 0 || value > kIndexMax) return;
    (control == IDC_PAL_LEFT_INDEX ? a.doc->left_colour : a.doc->right_colour) = value;
    drawing_colours_changed(*a.doc);
    colour_index_changed(a);
    load_controls(dlg, true);
    repaint_swatch(dlg, control == IDC_PAL_LEFT_INDEX);
}

void side_clicked(HWND dlg, bool left) {
    shell_state().editor_edits_left = left;
    enable_sides(dlg);
    load_controls(dlg, true);
    repaint_swatch(dlg, true);
    repaint_swatch(dlg, false);
}

void layer_colour_clicked(HWND dlg, int control) {
    const Active a = active();
    if (!a.layer) return;
    if (!IsDlgButtonChecked(dlg, control)) {
        // The key and background colours cannot be unset here.
        Busy b;
        CheckDlgButton(dlg, control, BST_CHECKED);
        return;
    }
    const bool key = control == IDC_PAL_KEY;
    (key ? a.layer->key_colour : a.layer->background_colour) = a.edited();
    key_colour_changed(a, key);
}

void model_clicked(HWND dlg, ColourModel m) {
    settings().pal_ColorModel = int(m);
    set_ranges(dlg);
    load_controls(dlg, false);
}

void gradation_clicked() {
    const Active a = active();
    if (!a.layer || !grade_palette(*a.doc, a.doc->right_colour, a.doc->left_colour)) return;
    palette_changed(a);
}

void on_scroll(HWND dlg, HWND bar, int code, int thumb) {
    int component = -1;
    for (int i = 0; i < kModelComponents; ++i)
        if (GetDlgItem(dlg, kBars[i]) == bar) component = i;
    if (component < 0) return;
    int value = GetScrollPos(bar, SB_CTL);
    switch (code) {
    case SB_LINELEFT:
        value = value > 0 ? value - 1 : 0;
        break;
    case SB_LINERIGHT:
        ++value;
        break;
    case SB_PAGELEFT:
        value = value > kPageStep ? value - kPageStep : 0;
        break;
    case SB_PAGERIGHT:
        value += kPageStep;
        break;
    case SB_THUMBTRACK:
        value = thumb;
        break;
    default:
        return;
    }
    const int max = component_max(model(), component);
    value = value > max ? max : value;
    // The spin button rewrites its field, whose change applies the value.
    send_item(dlg, kSpins[component], UDM_SETPOS32, 0, value);
}

void draw_swatch(const DRAWITEMSTRUCT& item) {
    const Active a = active();
    if (!a.layer || !a.layer->image->logical_palette) return;
    const bool left = item.CtlID == IDC_PAL_LEFT_SWATCH;
    const int index = (left ? a.doc->left_colour : a.doc->right_colour) & kIndexMax;
    struct {
        WORD version, count;
        PALETTEENTRY entries[256];
    } copy;
    std::memcpy(&copy, a.layer->image->logical_palette, sizeof copy);
    if (left == edits_left() && !sync_on())
        copy.entries[index] = {BYTE(pending.red), BYTE(pending.green), BYTE(pending.blue), 0};
    HPALETTE palette = CreatePalette(reinterpret_cast<const LOGPALETTE*>(&copy));
    if (!palette) return;
    HPALETTE previous = SelectPalette(item.hDC, palette, FALSE);
    RealizePalette(item.hDC);
    HBRUSH brush = CreateSolidBrush(PALETTEINDEX(index));
    FillRect(item.hDC, &item.rcItem, brush);
    DeleteObject(brush);
    SelectPalette(item.hDC, previous, FALSE);
    DeleteObject(palette);
}

void on_command(HWND dlg, int id, int code) {
    if (busy) return;
    for (int field : kFields)
        if (id == field && code == EN_CHANGE) return component_changed(dlg, id);
    for (const ModelButton& m : kModels)
        if (id == m.control && code == BN_CLICKED) return model_clicked(dlg, m.model);
    switch (id) {
    case IDC_PAL_LEFT_INDEX:
    case IDC_PAL_RIGHT_INDEX:
        if (code == EN_CHANGE) index_changed(dlg, id);
        return;
    case IDC_PAL_LEFT_SWATCH:
    case IDC_PAL_RIGHT_SWATCH:
        if (code == BN_CLICKED) side_clicked(dlg, id == IDC_PAL_LEFT_SWATCH);
        return;
    case IDC_PAL_KEY:
    case IDC_PAL_BACKGROUND:
        if (code == BN_CLICKED) layer_colour_clicked(dlg, id);
        return;
    case IDC_PAL_SYNC:
        if (code == BN_CLICKED) settings().pal_AutoApply = IsDlgButtonChecked(dlg, id) ? 1 : 0;
        return;
    case IDC_PAL_UPDATE:
        if (code == BN_CLICKED) update_clicked(dlg);
        return;
    case IDC_PAL_GRADATION:
        if (code == BN_CLICKED) gradation_clicked();
        return;
    }
}

BOOL on_init(HWND dlg) {
    Settings& s = settings();
    s.PaletteMakeOn = 1;
    SetWindowPos(dlg, nullptr, s.palMake_left, s.palMake_top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (!active_document()) {
        DestroyWindow(dlg);
        return FALSE;
    }
    Busy b;
    CheckDlgButton(dlg, IDC_PAL_SYNC, sync_on() ? BST_CHECKED : BST_UNCHECKED);
    set_ranges(dlg);
    enable_sides(dlg);
    send_item(dlg, IDC_PAL_LEFT_INDEX_SPIN, UDM_SETRANGE32, 0, kIndexMax);
    send_item(dlg, IDC_PAL_RIGHT_INDEX_SPIN, UDM_SETRANGE32, 0, kIndexMax);
    show_document(dlg);
    return TRUE;
}

void on_destroy(HWND dlg) {
    RECT r;
    if (GetWindowRect(dlg, &r)) {
        settings().palMake_left = r.left;
        settings().palMake_top = r.top;
    }
    ShellWindows& w = shell_windows();
    if (w.colour_editor == dlg) w.colour_editor = nullptr;
}

} // namespace

INT_PTR CALLBACK ColourEditorDlgProc(HWND dlg, UINT msg, WPARAM wparam, LPARAM lparam) {
    switch (msg) {
    case WM_INITDIALOG:
        shell_windows().colour_editor = dlg;
        return on_init(dlg);
    case WM_COMMAND:
        on_command(dlg, LOWORD(wparam), HIWORD(wparam));
        return TRUE;
    case WM_HSCROLL:
        if (!busy) on_scroll(dlg, reinterpret_cast<HWND>(lparam), LOWORD(wparam), HIWORD(wparam));
        return TRUE;
    case WM_DRAWITEM:
        draw_swatch(*reinterpret_cast<const DRAWITEMSTRUCT*>(lparam));
        return TRUE;
    case kMsgDocumentActivated:
        if (lparam) show_document(dlg);
        return TRUE;
    case kMsgColourViews:
        if (busy || !active_document()) return TRUE;
        enable_sides(dlg);
        show_document(dlg);
        return TRUE;
    case WM_CLOSE:
        settings().PaletteMakeOn = 0;
        DestroyWindow(dlg);
        return TRUE;
    case WM_DESTROY:
        on_destroy(dlg);
        return TRUE;
    }
    return FALSE;
}

HWND create_colour_editor(HWND owner) {
    ShellWindows& w = shell_windows();
    if (w.colour_editor) return w.colour_editor;
    return CreateDialogParamA(w.instance, "PAL_DIALOG", owner, ColourEditorDlgProc, 0);
}
