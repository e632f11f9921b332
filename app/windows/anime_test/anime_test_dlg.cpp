#include "app/windows/anime_test/anime_test.h"
#include "app/windows/anime_test/anime_test_state.h"

#include "app/resources/resource_ids.h"
#include "app/session/file_dialog_text.h"
#include "app/session/gdi_object.h"
#include "app/session/shell_state.h"

#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kNumberFontHeight = 12;
constexpr COLORREF kGridColour = RGB(128, 128, 128);
constexpr COLORREF kNumberColour = RGB(255, 255, 255);
constexpr int kStartWindowSide = 100;
constexpr std::size_t kMinimumSequence = 2;

struct Syncing {
    Syncing() { ++anime_test_state().syncing; }
    ~Syncing() { --anime_test_state().syncing; }
};

int read_number(HWND dlg, int id) {
    char text[33] = {};
    GetDlgItemTextA(dlg, id, text, sizeof text);
    return std::atoi(text);
}

std::vector<int> sequence_of(HWND dlg) {
    std::vector<int> sequence;
    const int count = int(SendDlgItemMessageA(dlg, IDC_ANIME_LIST, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i)
        sequence.push_back(int(SendDlgItemMessageA(dlg, IDC_ANIME_LIST, LB_GETITEMDATA, i, 0)));
    return sequence;
}

AreaRect shown_rect(HWND preview, const PictureDocument& doc) {
    RECT client;
    GetClientRect(preview, &client);
    return preview_rect(client.right, client.bottom, picture_width(doc), picture_height(doc));
}

// ---- The preview ----

void draw_numbers(HDC dc, const AreaRect& shown, const PictureDocument& doc,
                  const PatternGrid& grid) {
    const int w = picture_width(doc), h = picture_height(doc);
    for (int row = 0; row < grid.rows; ++row)
        for (int column = 0; column < grid.columns; ++column) {
            char text[16];
            const int length =
                std::snprintf(text, sizeof text, "%d", row * grid.columns + column + 1);
            TextOutA(dc, shown.left + int(1LL * column * grid.cell_width * shown.width / w),
                     shown.top + int(1LL * row * grid.cell_height * shown.height / h), text,
                     length);
        }
}

void draw_grid(HDC dc, const AreaRect& shown, const PreviewPlan& plan) {
    GdiObject pen(CreatePen(PS_SOLID, 1, kGridColour));
    const HGDIOBJ old = SelectObject(dc, pen.get());
    for (const int x : plan.columns_x) {
        MoveToEx(dc, x, shown.top, nullptr);
        LineTo(dc, x, shown.top + shown.height);
    }
    for (const int y : plan.rows_y) {
        MoveToEx(dc, shown.left, y, nullptr);
        LineTo(dc, shown.left + shown.width, y);
    }
    SelectObject(dc, old);
}

void draw_preview(const DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    FillRect(dc, &item.rcItem, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    const PictureDocument* doc = active_document();
    if (!doc || !doc->composite || !doc->composite->dc) return;
    const AreaRect shown = shown_rect(item.hwndItem, *doc);
    const HPALETTE old_palette = doc->palette ? SelectPalette(dc, doc->palette, FALSE) : nullptr;
    if (old_palette) RealizePalette(dc);
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, shown.left, shown.top, shown.width, shown.height, doc->composite->dc, 0, 0,
               picture_width(*doc), picture_height(*doc), SRCCOPY);
    if (old_palette) SelectPalette(dc, old_palette, FALSE);

    const PatternGrid grid = anime_grid(*doc);
    GdiObject font(CreateFontA(kNumberFontHeight, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET,
                               OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                               DEFAULT_PITCH, "MS Sans Serif"));
    const HGDIOBJ old_font = SelectObject(dc, font.get());
    // The widest number the grid needs decides whether every cell holds its own.
    char widest[16];
    const int length = std::snprintf(widest, sizeof widest, "%d", grid.columns * grid.rows);
    SIZE number{};
    GetTextExtentPoint32A(dc, widest, length, &number);
    const PreviewPlan plan = plan_preview(shown, picture_width(*doc), picture_height(*doc), grid,
                                          {int(number.cx), int(number.cy)});
    draw_grid(dc, shown, plan);
    if (plan.numbers) {
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, kNumberColour);
        draw_numbers(dc, shown, *doc, grid);
    }
    SelectObject(dc, old_font);
}

void redraw_preview(HWND dlg) {
    InvalidateRect(GetDlgItem(dlg, IDC_ANIME_PREVIEW), nullptr, FALSE);
}

// A click on the preview puts the cell under it into the list, before the
// selected entry or at the end.
void pick_cell(HWND dlg) {
    const PictureDocument* doc = active_document();
    if (!doc) return;
    HWND preview = GetDlgItem(dlg, IDC_ANIME_PREVIEW);
    POINT at;
    GetCursorPos(&at);
    ScreenToClient(preview, &at);
    POINT p;
    if (!preview_to_picture(shown_rect(preview, *doc), picture_width(*doc), picture_height(*doc),
                            at, p))
        return;
    const int index = pattern_at(anime_grid(*doc), p.x, p.y);
    if (index < 0) return;
    char text[16];
    std::snprintf(text, sizeof text, "%d", index + 1);
    HWND list = GetDlgItem(dlg, IDC_ANIME_LIST);
    const LRESULT selected = SendMessageA(list, LB_GETCURSEL, 0, 0);
    const LRESULT added =
        SendMessageA(list, LB_INSERTSTRING, WPARAM(selected), reinterpret_cast<LPARAM>(text));
    if (added >= 0) SendMessageA(list, LB_SETITEMDATA, WPARAM(added), index);
}

// ---- Fields ----

// Width or height typed: held to 1 .. the picture's side (the field is
// corrected when it went past the side).
void cell_size_changed(HWND dlg, int id) {
    AnimeTestState& s = anime_test_state();
    const PictureDocument* doc = active_document();
    if (s.syncing || !doc) return;
    const bool width = id == IDC_ANIME_WIDTH;
    const int side = width ? picture_width(*doc) : picture_height(*doc);
    int value = std::max(read_number(dlg, id), 1);
    if (value > side) {
        value = side;
        Syncing guard;
        SendDlgItemMessageA(dlg, width ? IDC_ANIME_WIDTH_SPIN : IDC_ANIME_HEIGHT_SPIN, UDM_SETPOS32,
                            0, value);
    }
    (width ? s.cell_width : s.cell_height) = value;
    redraw_preview(dlg);
}

void interval_changed(HWND dlg) {
    if (anime_test_state().syncing) return;
    anime_test_state().interval =
        std::max(read_number(dlg, IDC_ANIME_INTERVAL), kPatternMinInterval);
}

bool on_init(HWND dlg) {
    AnimeTestState& s = anime_test_state();
    const PictureDocument* doc = active_document();
    if (!doc || !current_layer(*doc)) return false;
    s.dialog = dlg;
    // Held inside the picture, so that the sheet has at least one column.
    const PatternGrid grid =
        pattern_grid(picture_width(*doc), picture_height(*doc), doc->zoom_window_area.width,
                     doc->zoom_window_area.height);
    s.cell_width = grid.cell_width;
    s.cell_height = grid.cell_height;
    Syncing guard;
    CheckDlgButton(dlg, IDC_ANIME_REPEAT, s.repeat ? BST_CHECKED : BST_UNCHECKED);
    SetDlgItemInt(dlg, IDC_ANIME_INTERVAL, UINT(s.interval), FALSE);
    SendDlgItemMessageA(dlg, IDC_ANIME_WIDTH_SPIN, UDM_SETRANGE32, 1, picture_width(*doc));
    SendDlgItemMessageA(dlg, IDC_ANIME_HEIGHT_SPIN, UDM_SETRANGE32, 1, picture_height(*doc));
    SendDlgItemMessageA(dlg, IDC_ANIME_WIDTH_SPIN, UDM_SETPOS32, 0, s.cell_width);
    SendDlgItemMessageA(dlg, IDC_ANIME_HEIGHT_SPIN, UDM_SETPOS32, 0, s.cell_height);
    return true;
}

// ---- Buttons ----

void start_or_stop(HWND dlg) {
    AnimeTestState& s = anime_test_state();
    if (s.test_window) {
        DestroyWindow(s.test_window);
        return;
    }
    std::vector<int> sequence = sequence_of(dlg);
    if (sequence.size() < kMinimumSequence) return;
    s.player = {std::move(sequence), 0};
    const Settings& place = settings();
    if (CreateWindowExA(0, kAnimeTestClass, "Anime",
                        WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, place.anime_left,
                        place.anime_top, kStartWindowSide, kStartWindowSide, dlg, nullptr,
                        shell_windows().instance, nullptr))
        SetDlgItemTextA(dlg, IDC_ANIME_START, "Stop");
}

void export_gif(HWND dlg) {
    const PictureDocument* doc = active_document();
    const std::vector<int> sequence = sequence_of(dlg);
    if (!doc || sequence.size() < kMinimumSequence) return;
    PatternGifOptions options;
    options.interval = anime_test_state().interval;
    options.repeat = anime_test_state().repeat;
    options.transparent = IsDlgButtonChecked(dlg, IDC_ANIME_TRANSPARENT) == BST_CHECKED;
    options.interlaced = IsDlgButtonChecked(dlg, IDC_ANIME_INTERLACED) == BST_CHECKED;
    char path[kPathCapacity] = {};
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = dlg;
    ofn.lpstrFilter = "GIF Image(*.GIF)\0*.gif\0";
    ofn.lpstrFile = path;
    ofn.nMaxFile = kPathCapacity;
    ofn.lpstrTitle = "Export GIF";
    ofn.lpstrDefExt = "gif";
    ofn.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST;
    if (!GetSaveFileNameA(&ofn)) return;
    if (name_lost_characters(path) ||
        !export_pattern_gif(path, *doc, anime_grid(*doc), sequence, options))
        MessageBoxA(dlg, path, "Write Error", MB_OK | MB_ICONEXCLAMATION);
}

void close_dialog(HWND dlg) {
    AnimeTestState& s = anime_test_state();
    if (s.test_window) DestroyWindow(s.test_window);
    s.dialog = nullptr;
    EndDialog(dlg, IDOK);
}

void remove_selected(HWND dlg) {
    const LRESULT selected = SendDlgItemMessageA(dlg, IDC_ANIME_LIST, LB_GETCURSEL, 0, 0);
    if (selected != LB_ERR) SendDlgItemMessageA(dlg, IDC_ANIME_LIST, LB_DELETESTRING, selected, 0);
}

void on_command(HWND dlg, int id, int code) {
    switch (id) {
    case IDC_ANIME_PREVIEW:
        if (code == STN_CLICKED) pick_cell(dlg);
        return;
    case IDC_ANIME_WIDTH:
    case IDC_ANIME_HEIGHT:
        if (code == EN_CHANGE) cell_size_changed(dlg, id);
        return;
    case IDC_ANIME_INTERVAL:
        if (code == EN_CHANGE) interval_changed(dlg);
        return;
    case IDC_ANIME_REPEAT:
        anime_test_state().repeat = IsDlgButtonChecked(dlg, id) == BST_CHECKED;
        return;
    case IDC_ANIME_CLEAR:
        SendDlgItemMessageA(dlg, IDC_ANIME_LIST, LB_RESETCONTENT, 0, 0);
        return;
    case IDC_ANIME_START:
        start_or_stop(dlg);
        return;
    case IDC_ANIME_EXPORT:
        export_gif(dlg);
        return;
    case IDOK:
    case IDCANCEL: // Escape and the caption's close box close it as Close does
        close_dialog(dlg);
        return;
    }
}

} // namespace

AnimeTestState& anime_test_state() {
    static AnimeTestState state;
    return state;
}

PatternGrid anime_grid(const PictureDocument& doc) {
    const AnimeTestState& s = anime_test_state();
    return pattern_grid(picture_width(doc), picture_height(doc), s.cell_width, s.cell_height);
}

INT_PTR CALLBACK AnimeTestDlgProc(HWND dlg, UINT msg, WPARAM wparam, LPARAM lparam) {
    switch (msg) {
    case WM_INITDIALOG:
        if (!on_init(dlg)) EndDialog(dlg, IDCANCEL);
        return TRUE;
    case WM_DRAWITEM:
        if (wparam != IDC_ANIME_PREVIEW) return FALSE;
        draw_preview(*reinterpret_cast<const DRAWITEMSTRUCT*>(lparam));
        return TRUE;
    case WM_VKEYTOITEM:
        // The list asks what its keys do: Delete removes the selected entry.
        if (LOWORD(wparam) != VK_DELETE) return -1;
        remove_selected(dlg);
        return -2;
    case WM_COMMAND:
        on_command(dlg, LOWORD(wparam), HIWORD(wparam));
        return TRUE;
    }
    return FALSE;
}

void run_anime_test(HWND owner) {
    DialogBoxParamA(shell_windows().instance, "ANIME_DIALOG", owner, AnimeTestDlgProc, 0);
}
