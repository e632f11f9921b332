#include "app/windows/pen/pen_wnd.h"

#include "app/files/palette_file.h"
#include "app/resources/resource_ids.h"
#include "app/session/file_dialog_text.h"
#include "app/session/pen_slots.h"
#include "app/session/settings.h"
#include "app/session/shell_state.h"
#include "app/windows/pen/pen_make_wnd.h"

#include <commctrl.h>
#include <commdlg.h>

namespace {

constexpr int kCreateWidth = 256;
constexpr int kCreateHeight = 500;
constexpr int kSlotColumns = 8;
constexpr int kSlotButton = 40;
constexpr int kClientWidth = kSlotColumns * kSlotButton;
constexpr int kClientHeight = kPenSlotCount / kSlotColumns * kSlotButton;
constexpr int kFirstSlotId = 100;
// The pen sits at (4, 4) in its button; the current one is ringed in red.
constexpr int kPenInset = 4;
constexpr int kMarkWidth = 2;
constexpr int kMarkInset = 1;
constexpr COLORREF kMarkColour = RGB(255, 0, 0);

// System-menu commands. They are compared whole: the low four bits that the
// system's own commands keep to themselves are what tells these two apart.
constexpr UINT kSavePenCommand = 100;
constexpr UINT kOpenPenCommand = 101;

// Each text ends with its NUL, the list with a second one.
constexpr char kPenFilter[] = "Velmo Pen(*.VLN)\0*.vln\0";
constexpr char kPenExtension[] = "vln";

int slot_of(int id) {
    return id - kFirstSlotId;
}

bool is_slot(int id) {
    return slot_of(id) >= 0 && slot_of(id) < kPenSlotCount;
}

void create_buttons(HWND wnd) {
    for (int i = 0; i < kPenSlotCount; ++i)
        CreateWindowExA(0, "BUTTON", "", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW,
                        i % kSlotColumns * kSlotButton, i / kSlotColumns * kSlotButton, kSlotButton,
                        kSlotButton, wnd, reinterpret_cast<HMENU>(INT_PTR(kFirstSlotId + i)),
                        shell_windows().instance, nullptr);
}

void add_file_commands(HWND wnd) {
    HMENU menu = GetSystemMenu(wnd, FALSE);
    InsertMenuA(menu, 0, MF_BYPOSITION | MF_STRING, kSavePenCommand, "Save Pen...");
    InsertMenuA(menu, 1, MF_BYPOSITION | MF_STRING, kOpenPenCommand, "Open Pen...");
    InsertMenuA(menu, 2, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
}

void redraw_slot(HWND wnd, int slot) {
    if (HWND button = GetDlgItem(wnd, kFirstSlotId + slot)) InvalidateRect(button, nullptr, FALSE);
}

void redraw_all(HWND wnd) {
    for (int i = 0; i < kPenSlotCount; ++i)
        redraw_slot(wnd, i);
}

void draw_slot(const DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    const int slot = slot_of(int(item.CtlID));
    FillRect(dc, &item.rcItem, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    if (const Surface* pen = pen_slots().slot[slot])
        BitBlt(dc, kPenInset, kPenInset, kPenSize, kPenSize, pen->dc, 0, 0, SRCCOPY);
    const PictureDocument* doc = active_document();
    if (!doc || doc->current_pen_index != slot) return;
    HPEN mark = CreatePen(PS_SOLID, kMarkWidth, kMarkColour);
    HGDIOBJ previous_pen = SelectObject(dc, mark);
    HGDIOBJ previous_brush = SelectObject(dc, GetStockObject(HOLLOW_BRUSH));
    Rectangle(dc, kMarkInset, kMarkInset, kSlotButton, kSlotButton);
    SelectObject(dc, previous_brush);
    SelectObject(dc, previous_pen);
    DeleteObject(mark);
}

void choose_slot(HWND wnd, int slot) {
    PictureDocument* doc = active_document();
    if (!doc) return;
    const int previous = doc->current_pen_index;
    doc->current_pen_index = slot;
    doc->current_pen = pen_slots().slot[slot];
    redraw_slot(wnd, previous);
    redraw_slot(wnd, slot);
    send_if_open(pen_editor(), kMsgPenChanged);
    send_if_open(shell_windows().tool_window, kMsgPenChanged);
}

OPENFILENAMEA pen_file_dialog(HWND wnd, char* path, const char* title, DWORD flags) {
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = wnd;
    ofn.lpstrFilter = kPenFilter;
    ofn.lpstrFile = path;
    ofn.nMaxFile = kPathCapacity;
    ofn.lpstrTitle = title;
    ofn.lpstrDefExt = kPenExtension;
    ofn.Flags = flags;
    return ofn;
}

void tell_failure(HWND wnd, const char* caption) {
    MessageBoxA(wnd, "Error", caption, MB_OK | MB_ICONEXCLAMATION);
}

void save_pens(HWND wnd) {
    char path[kPathCapacity] = {};
    OPENFILENAMEA ofn = pen_file_dialog(wnd, path, "Save Pen",
                                        OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST);
    if (!GetSaveFileNameA(&ofn)) return;
    if (name_lost_characters(path) || !write_pen_file(path, pen_slots().slot, kPenSlotCount))
        tell_failure(wnd, "Write Error");
}

void open_pens(HWND wnd) {
    char path[kPathCapacity] = {};
    OPENFILENAMEA ofn =
        pen_file_dialog(wnd, path, "Open Pen", OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST);
    if (!GetOpenFileNameA(&ofn)) return;
    if (name_lost_characters(path) || !read_pen_file(path, pen_slots().slot, kPenSlotCount)) {
        tell_failure(wnd, "Read Error");
        return;
    }
    SendMessageA(wnd, kMsgPenChanged, 0, 0);
    send_if_open(shell_windows().tool_window, kMsgPenChanged);
}

void on_command(HWND wnd, int id, int code) {
    if (!is_slot(id)) return;
    if (code == BN_CLICKED) choose_slot(wnd, slot_of(id));
    if (code == BN_DOUBLECLICKED) open_pen_editor(wnd);
}

void on_destroy(HWND wnd) {
    floating_window_closed(wnd, &ShellWindows::pen_window, CMD_PEN_WINDOW, &settings().pen_left,
                           &settings().pen_top);
}

} // namespace

LRESULT CALLBACK VLPenWndProc(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    switch (msg) {
    case WM_CREATE:
        create_buttons(wnd);
        add_file_commands(wnd);
        return 0;
    case WM_SIZE:
        if (wparam == SIZE_RESTORED) fit_client_area(wnd, kClientWidth, kClientHeight);
        return 0;
    case WM_DRAWITEM:
        draw_slot(*reinterpret_cast<const DRAWITEMSTRUCT*>(lparam));
        return TRUE;
    case WM_COMMAND:
        on_command(wnd, LOWORD(wparam), HIWORD(wparam));
        return 0;
    case WM_SYSCOMMAND:
        if (wparam == kSavePenCommand) {
            save_pens(wnd);
            return 0;
        }
        if (wparam == kOpenPenCommand) {
            open_pens(wnd);
            return 0;
        }
        break;
    case kMsgDocumentActivated:
    case kMsgPenChanged:
        redraw_all(wnd);
        send_if_open(pen_editor(), kMsgPenChanged);
        return 0;
    case WM_DESTROY:
        on_destroy(wnd);
        return 0;
    }
    return DefWindowProcA(wnd, msg, wparam, lparam);
}

HWND create_pen_window(HWND frame) {
    ShellWindows& w = shell_windows();
    const Settings& s = settings();
    w.pen_window = CreateWindowExA(
        0, kPenWindowClass, "Pen", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, s.pen_left,
        s.pen_top, kCreateWidth, kCreateHeight, frame, nullptr, w.instance, nullptr);
    return w.pen_window;
}

void redraw_pen_slot(int slot) {
    if (HWND wnd = shell_windows().pen_window) redraw_slot(wnd, slot);
}
