#include "app/files/palette_file.h"
#include "app/resources/resource_ids.h"
#include "app/session/settings.h"
#include "app/session/shell_state.h"
#include "app/windows/palette/palette_view.h"
#include "engine/rasko.h"

#include <commdlg.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <utility>

namespace {

constexpr int kNumberText = 16;
constexpr int kFirstEntry = 0;
constexpr int kLastEntry = 255;

struct DibDeleter {
    void operator()(BITMAPINFOHEADER* dib) const { RaskoDestroyDIB(dib); }
};
using DibPtr = std::unique_ptr<BITMAPINFOHEADER, DibDeleter>;

RGBQUAD* table_of(BITMAPINFOHEADER* dib) {
    return reinterpret_cast<RGBQUAD*>(reinterpret_cast<BYTE*>(dib) + dib->biSize);
}

PaletteView& view = palette_view();

void set_number(HWND dlg, int id, int value) {
    char text[kNumberText];
    std::snprintf(text, sizeof text, "%d", value);
    SetDlgItemTextA(dlg, id, text);
}

// Text that is no number reads as -1, which no range accepts.
int read_number(HWND dlg, int id) {
    char text[kNumberText] = {};
    GetDlgItemTextA(dlg, id, text, sizeof text);
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    return end == text || value < -1 || value > kLastEntry + 1 ? -1 : int(value);
}

INT_PTR CALLBACK paste_dialog(HWND dlg, UINT msg, WPARAM wparam, LPARAM) {
    switch (msg) {
    case WM_INITDIALOG:
        set_number(dlg, IDC_LOADPAL_FROM, view.paste.from);
        set_number(dlg, IDC_LOADPAL_TO, view.paste.to);
        set_number(dlg, IDC_LOADPAL_POSITION, view.paste.position);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wparam)) {
        case IDC_LOADPAL_ALL:
            set_number(dlg, IDC_LOADPAL_FROM, kFirstEntry);
            set_number(dlg, IDC_LOADPAL_TO, kLastEntry);
            set_number(dlg, IDC_LOADPAL_POSITION, kFirstEntry);
            return TRUE;
        case IDOK: {
            const PasteRange r{read_number(dlg, IDC_LOADPAL_FROM), read_number(dlg, IDC_LOADPAL_TO),
                               read_number(dlg, IDC_LOADPAL_POSITION)};
            if (!valid_paste_range(r)) return TRUE;
            view.paste = r;
            EndDialog(dlg, IDOK);
            return TRUE;
        }
        case IDCANCEL:
            EndDialog(dlg, IDCANCEL);
            return TRUE;
        }
    }
    return FALSE;
}

// Pastes the colours of source's table into the active picture's palette
// through the Paste Palette dialog.
void paste_palette(HWND wnd, DibPtr source) {
    PictureDocument* doc = active_document();
    if (!source || !doc || !current_layer(*doc)) return;
    view.paste.from = std::min(doc->left_colour, doc->right_colour) & kLastEntry;
    view.paste.to = std::max(doc->left_colour, doc->right_colour) & kLastEntry;
    view.paste.position = view.paste.from;
    if (DialogBoxParamA(shell_windows().instance, "LOADPAL_DIALOG", wnd, paste_dialog, 0) != IDOK)
        return;
    doc = active_document();
    if (!doc || !current_layer(*doc)) return;
    RGBQUAD table[256];
    pasted_table(current_layer(*doc)->image->colour_table(), table_of(source.get()), view.paste,
                 table);
    install_palette(*doc, table, settings().pal_FitPalette != 0);
    palette_edited(*doc);
    SendMessageA(wnd, kMsgPaletteChanged, 0, reinterpret_cast<LPARAM>(doc));
}

DibPtr empty_dib() {
    return DibPtr(RaskoCreateDIB(1, 1));
}

void copy_command(HWND wnd) {
    PictureDocument* doc = active_document();
    DibPtr dib = empty_dib();
    if (!doc || !current_layer(*doc) || !dib) return;
    std::memcpy(table_of(dib.get()), current_layer(*doc)->image->colour_table(),
                256 * sizeof(RGBQUAD));
    BYTE* bits = reinterpret_cast<BYTE*>(table_of(dib.get()) + 256);
    RaskoCopyDIB(wnd, dib.get(), bits, 0, 0, 1, 1);
}

bool choose_palette_file(HWND wnd, char* path, bool save) {
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = wnd;
    ofn.lpstrFilter = "Velmo Palette(*.VLF)\0*.vlf\0";
    ofn.lpstrFile = path;
    ofn.nMaxFile = kPathCapacity;
    if (save) {
        ofn.lpstrTitle = "Save Palette";
        ofn.lpstrDefExt = "vlf";
        ofn.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY;
        return GetSaveFileNameA(&ofn);
    }
    ofn.lpstrTitle = "Open Palette";
    ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    return GetOpenFileNameA(&ofn);
}

void open_command(HWND wnd) {
    char path[kPathCapacity] = {};
    if (!active_document() || !choose_palette_file(wnd, path, false)) return;
    DibPtr dib = empty_dib();
    if (!dib || !read_palette_file(path, table_of(dib.get()))) return;
    paste_palette(wnd, std::move(dib));
}

void save_command(HWND wnd) {
    char path[kPathCapacity] = {};
    PictureDocument* doc = active_document();
    if (!doc || !current_layer(*doc) || !choose_palette_file(wnd, path, true)) return;
    doc = active_document();
    if (!doc || !current_layer(*doc)) return;
    if (!write_palette_file(path, current_layer(*doc)->image->colour_table()))
        MessageBoxA(wnd, path, "Unable to Save Palette", MB_OK | MB_ICONEXCLAMATION);
}

void paste_from_file_command(HWND wnd) {
    if (!active_document()) return;
    auto* picture = reinterpret_cast<PictureDocument*>(
        SendMessageA(shell_windows().frame, kMsgOpenPictureFile, reinterpret_cast<WPARAM>(wnd), 0));
    if (!picture) return;
    DibPtr dib = empty_dib();
    if (dib && current_layer(*picture))
        std::memcpy(table_of(dib.get()), current_layer(*picture)->image->colour_table(),
                    256 * sizeof(RGBQUAD));
    const bool read = dib && current_layer(*picture);
    free_document(picture);
    if (read) paste_palette(wnd, std::move(dib));
}

void toggle(HWND wnd, UINT id, bool on) {
    CheckMenuItem(GetMenu(wnd), id, MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
}

} // namespace

bool run_palette_command(HWND wnd, UINT id) {
    switch (id) {
    case CMD_PAL_MAKE_NEW_COLOR:
        open_colour_editor();
        return true;
    case CMD_PAL_HEX_VALUE:
        view.hex = !view.hex;
        toggle(wnd, id, view.hex);
        return true;
    case CMD_PAL_CLOSE:
        DestroyWindow(wnd);
        return true;
    case CMD_PAL_COPY:
        copy_command(wnd);
        return true;
    case CMD_PAL_PASTE:
        if (active_document()) paste_palette(wnd, DibPtr(RaskoPasteDIB(wnd)));
        return true;
    case CMD_PAL_OPEN:
        open_command(wnd);
        return true;
    case CMD_PAL_SAVE:
        save_command(wnd);
        return true;
    case CMD_PAL_PASTE_FROM_FILE:
        paste_from_file_command(wnd);
        return true;
    case CMD_PAL_ARRANGE:
        settings().pal_FitPalette = !settings().pal_FitPalette;
        toggle(wnd, id, settings().pal_FitPalette);
        return true;
    }
    return false;
}
