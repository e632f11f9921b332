#include "app/windows/scrapbook/scrapbook_wnd.h"

#include "app/files/clipboard.h"
#include "app/resources/resource_ids.h"
#include "app/session/gdi_object.h"
#include "app/session/scrap_book.h"
#include "app/session/shell_state.h"

#include <cstdio>

namespace {

// "W: %d  x  H: %d" with two numbers of any int's length.
constexpr int kSizeTextSize = 40;

// Raised while the dialog fills its own controls: their notifications then
// say nothing the user did.
int syncing = 0;

struct Syncing {
    Syncing() { ++syncing; }
    ~Syncing() { --syncing; }
};

LRESULT send_item(HWND dlg, int id, UINT msg, WPARAM wparam = 0, LPARAM lparam = 0) {
    return SendDlgItemMessageA(dlg, id, msg, wparam, lparam);
}

int selected_index(HWND dlg) {
    return int(send_item(dlg, IDC_SCRAP_LIST, LB_GETCURSEL));
}

// The current entry's name, size and picture; empty without one.
void show_current(HWND dlg) {
    const ScrapEntry* entry = scrap_book().current;
    {
        Syncing s;
        SetDlgItemTextA(dlg, IDC_SCRAP_NAME, entry ? entry->name : "");
    }
    char size[kSizeTextSize] = {};
    if (entry && entry->picture)
        std::snprintf(size, sizeof size, "W: %d  x  H: %d", entry->picture->width(),
                      entry->picture->height());
    SetDlgItemTextA(dlg, IDC_SCRAP_SIZE, size);
    InvalidateRect(GetDlgItem(dlg, IDC_SCRAP_PREVIEW), nullptr, FALSE);
}

// Every entry's name in list order, the current one selected and shown.
void fill_list(HWND dlg) {
    const ScrapBook& book = scrap_book();
    {
        Syncing s;
        send_item(dlg, IDC_SCRAP_LIST, LB_RESETCONTENT);
        for (const auto& entry : book.entries)
            send_item(dlg, IDC_SCRAP_LIST, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry->name));
        send_item(dlg, IDC_SCRAP_LIST, LB_SETCURSEL, WPARAM(current_scrap_index(book)));
    }
    show_current(dlg);
}

void paste(HWND dlg) {
    if (append_scrap(scrap_book(), std::unique_ptr<Surface>(paste_from_clipboard(dlg))))
        fill_list(dlg);
}

void copy() {
    const ScrapEntry* entry = scrap_book().current;
    if (entry && entry->picture) copy_to_clipboard(*entry->picture, shell_windows().frame);
}

void delete_selected(HWND dlg) {
    if (delete_scrap(scrap_book(), selected_index(dlg))) fill_list(dlg);
}

void rename(HWND dlg) {
    char name[kScrapNameSize] = {};
    GetDlgItemTextA(dlg, IDC_SCRAP_NAME, name, sizeof name);
    ScrapBook& book = scrap_book();
    if (!rename_current_scrap(book, name)) return;
    const WPARAM index = WPARAM(current_scrap_index(book));
    Syncing s;
    send_item(dlg, IDC_SCRAP_LIST, LB_DELETESTRING, index);
    send_item(dlg, IDC_SCRAP_LIST, LB_INSERTSTRING, index,
              reinterpret_cast<LPARAM>(book.current->name));
    send_item(dlg, IDC_SCRAP_LIST, LB_SETCURSEL, index);
}

void selection_changed(HWND dlg) {
    if (select_scrap(scrap_book(), selected_index(dlg))) show_current(dlg);
}

// The current entry's picture in its own palette, centred on black and
// scaled down when it does not fit.
void draw_preview(const DRAWITEMSTRUCT& item) {
    FillRect(item.hDC, &item.rcItem, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    const ScrapEntry* entry = scrap_book().current;
    if (!entry || !entry->picture || !entry->picture->logical_palette) return;
    const Surface& picture = *entry->picture;
    const AreaRect place =
        scrap_preview_place(picture.width(), picture.height(), item.rcItem.right - item.rcItem.left,
                            item.rcItem.bottom - item.rcItem.top);
    const GdiObject palette(CreatePalette(picture.logical_palette));
    if (!palette.get()) return;
    HPALETTE old = SelectPalette(item.hDC, static_cast<HPALETTE>(palette.get()), FALSE);
    RealizePalette(item.hDC);
    SetStretchBltMode(item.hDC, COLORONCOLOR);
    StretchDIBits(item.hDC, item.rcItem.left + place.left, item.rcItem.top + place.top, place.width,
                  place.height, 0, 0, picture.width(), picture.height(), picture.bits,
                  reinterpret_cast<const BITMAPINFO*>(picture.info), DIB_RGB_COLORS, SRCCOPY);
    SelectPalette(item.hDC, old, FALSE);
}

void on_command(HWND dlg, int id, int code) {
    switch (id) {
    case IDC_SCRAP_PASTE:
        if (code == BN_CLICKED) paste(dlg);
        return;
    case IDC_SCRAP_COPY:
        if (code == BN_CLICKED) copy();
        return;
    case IDC_SCRAP_DELETE:
        if (code == BN_CLICKED) delete_selected(dlg);
        return;
    case IDC_SCRAP_NAME:
        if (code == EN_CHANGE && !syncing) rename(dlg);
        return;
    case IDC_SCRAP_LIST:
        if (code == LBN_SELCHANGE && !syncing) selection_changed(dlg);
        return;
    case IDOK:
    case IDCANCEL:
        DestroyWindow(dlg);
        return;
    }
}

} // namespace

INT_PTR CALLBACK ScrapDlgProc(HWND dlg, UINT msg, WPARAM wparam, LPARAM lparam) {
    switch (msg) {
    case WM_INITDIALOG:
        SetWindowPos(dlg, nullptr, settings().scrap_left, settings().scrap_top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        send_item(dlg, IDC_SCRAP_NAME, EM_LIMITTEXT, kScrapNameSize - 1);
        fill_list(dlg);
        return TRUE;
    case WM_DRAWITEM:
        if (wparam == IDC_SCRAP_PREVIEW)
            draw_preview(*reinterpret_cast<const DRAWITEMSTRUCT*>(lparam));
        return TRUE;
    case WM_COMMAND:
        on_command(dlg, LOWORD(wparam), HIWORD(wparam));
        return TRUE;
    case kMsgRedrawPicture:
        fill_list(dlg);
        return TRUE;
    case WM_CLOSE:
        DestroyWindow(dlg);
        return TRUE;
    case WM_DESTROY:
        floating_window_closed(dlg, &ShellWindows::scrapbook, CMD_SCRAP_WINDOW,
                               &settings().scrap_left, &settings().scrap_top);
        return TRUE;
    }
    return FALSE;
}

HWND create_scrapbook(HWND frame) {
    HWND dlg = CreateDialogParamA(shell_windows().instance, "SCRAP_DIALOG", frame, ScrapDlgProc, 0);
    if (dlg) shell_windows().scrapbook = dlg;
    return dlg;
}
