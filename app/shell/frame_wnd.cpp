#include "app/shell/frame_wnd.h"

#include "app/files/file_types.h"
#include "app/resources/resource_ids.h"
#include "app/session/addin_host.h"
#include "app/session/command_line.h"
#include "app/shell/dialog_bar.h"
#include "app/session/file_dialog_text.h"
#include "app/shell/frame_commands.h"
#include "app/shell/object_counts.h"
#include "app/session/outside_text_wide.h"
#include "app/shell/picture_io.h"
#include "app/shell/picture_transfer.h"
#include "app/shell/recent_menu.h"
#include "app/shell/save_dlg.h"
#include "app/session/shell_state.h"
#include "app/windows/tool/tool_wnd.h"
#include "app/shell/open_dlg.h"
#include "app/windows/colour_editor/colour_editor_dlg.h"
#include "app/windows/anime_test/anime_test.h"

#include <commctrl.h>
#include <shellapi.h>

#include <cstdio>

namespace {

constexpr UINT kToolbarId = 1;
constexpr UINT kStatusBarId = 2;
constexpr UINT kFirstDocumentId = 5000;
constexpr int kWindowMenuPosition = 7;
constexpr int kFilterMenuPosition = 2;
constexpr int kToolsMenuPosition = 3;
constexpr int kAddInFilterPosition = 5;
constexpr int kToolbarImages = 14;
// Right edges of the status bar parts.
constexpr int kStatusParts[kStatusPartCount] = {180, 360, 540, 720};

const TBBUTTON kToolbarButtons[] = {
    {0, CMD_NEW, TBSTATE_ENABLED, TBSTYLE_BUTTON, {}, 0, 0},
    {1, CMD_OPEN, TBSTATE_ENABLED, TBSTYLE_BUTTON, {}, 0, 0},
    {2, CMD_SAVE, TBSTATE_ENABLED, TBSTYLE_BUTTON, {}, 0, 0},
    {0, 0, TBSTATE_ENABLED, TBSTYLE_SEP, {}, 0, 0},
    {3, CMD_UNDO, TBSTATE_ENABLED, TBSTYLE_BUTTON, {}, 0, 0},
    {4, CMD_COPY, TBSTATE_ENABLED, TBSTYLE_BUTTON, {}, 0, 0},
    {5, CMD_CUT, TBSTATE_ENABLED, TBSTYLE_BUTTON, {}, 0, 0},
    {6, CMD_PASTE, TBSTATE_ENABLED, TBSTYLE_BUTTON, {}, 0, 0},
    {0, 0, TBSTATE_ENABLED, TBSTYLE_SEP, {}, 0, 0},
    {7, CMD_PALETTE_WINDOW, TBSTATE_ENABLED, TBSTYLE_CHECK, {}, 0, 0},
    {8, CMD_PEN_WINDOW, TBSTATE_ENABLED, TBSTYLE_CHECK, {}, 0, 0},
    {9, CMD_ZOOM_WINDOW, TBSTATE_ENABLED, TBSTYLE_CHECK, {}, 0, 0},
    {10, CMD_LAYER_MANAGER, TBSTATE_ENABLED, TBSTYLE_CHECK, {}, 0, 0},
    {11, CMD_SCRAP_WINDOW, TBSTATE_ENABLED, TBSTYLE_CHECK, {}, 0, 0},
    {12, CMD_MINI_ZOOMER, TBSTATE_ENABLED, TBSTYLE_CHECK, {}, 0, 0},
    {13, CMD_ANIMATION_VIEW, TBSTATE_ENABLED, TBSTYLE_CHECK, {}, 0, 0},
};

int height_of(HWND wnd) {
    RECT r{};
    if (wnd) GetWindowRect(wnd, &r);
    return r.bottom - r.top;
}

void create_toolbar(HWND frame) {
    ShellWindows& w = shell_windows();
    w.toolbar = CreateToolbarEx(frame, WS_CHILD | WS_VISIBLE | TBSTYLE_TOOLTIPS, kToolbarId,
                                kToolbarImages, w.instance, IDB_TOOLBAR, kToolbarButtons,
                                int(sizeof kToolbarButtons / sizeof kToolbarButtons[0]), 20, 20, 20,
                                20, sizeof(TBBUTTON));
}

void create_status_bar(HWND frame) {
    ShellWindows& w = shell_windows();
    w.status_bar =
        CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0,
                        frame, reinterpret_cast<HMENU>(kStatusBarId), w.instance, nullptr);
    if (w.status_bar)
        SendMessageA(w.status_bar, SB_SETPARTS, kStatusPartCount,
                     reinterpret_cast<LPARAM>(kStatusParts));
}

void add_filter_menu(HMENU menu) {
    const AddInHost& host = addin_host();
    if (host.filter_count == 0) return;
    HMENU filter_menu = GetSubMenu(menu, kFilterMenuPosition);
    HMENU popup = CreatePopupMenu();
    for (int i = 0; i < host.filter_count; ++i)
        AppendMenuW(popup, MF_STRING, CMD_FILTER_FIRST + i,
                    widen_outside_text(host.filters[i].name).c_str());
    AppendMenuA(filter_menu, MF_SEPARATOR, 0, nullptr);
    InsertMenuA(filter_menu, kAddInFilterPosition, MF_BYPOSITION | MF_POPUP,
                reinterpret_cast<UINT_PTR>(popup), "Add-In &Filter");
}

void add_pen_tools_menu(HMENU menu) {
    const ToolTable& tools = addin_host().tools;
    HMENU tools_menu = GetSubMenu(menu, kToolsMenuPosition);
    for (int t = kBuiltinToolCount; t < tools.count; ++t)
        AppendMenuW(tools_menu, MF_STRING, CMD_TOOL_FIRST + t,
                    widen_outside_text(tools.entries[t].name).c_str());
}

LRESULT on_create(HWND frame) {
    ShellWindows& w = shell_windows();
    w.frame = frame;
    DragAcceptFiles(frame, TRUE);
    create_toolbar(frame);
    create_dialog_bar(frame);
    create_status_bar(frame);
    create_tool_window(frame);
    build_recent_menu();
    HMENU menu = GetMenu(frame);
    add_filter_menu(menu);
    add_pen_tools_menu(menu);
    return 0;
}

void on_size(HWND frame, WPARAM type, LPARAM lparam) {
    settings().main_size_mode = std::int32_t(type);
    if (type != SIZE_RESTORED && type != SIZE_MAXIMIZED) return;
    ShellWindows& w = shell_windows();
    if (w.toolbar) SendMessageA(w.toolbar, WM_SIZE, type, lparam);
    if (w.status_bar) SendMessageA(w.status_bar, WM_SIZE, type, lparam);
    RECT client;
    GetClientRect(frame, &client);
    int toolbar = height_of(w.toolbar);
    int status = height_of(w.status_bar);
    if (w.dialog_bar_container)
        MoveWindow(w.dialog_bar_container, 0, toolbar + 2, client.right, toolbar, TRUE);
    if (w.mdi_client)
        MoveWindow(w.mdi_client, 0, 2 * toolbar + 2, client.right,
                   client.bottom - 2 * toolbar - status - 2, TRUE);
}

// On a palette display the system colours go back to the system; the frame's
// rectangle is stored inclusive, so the next run gets the same size.
void on_destroy(HWND frame) {
    if (shell_state().display_depth == 8) {
        HDC dc = GetDC(nullptr);
        SetSystemPaletteUse(dc, SYSPAL_STATIC);
        RealizePalette(dc);
        ReleaseDC(nullptr, dc);
    }
    RECT r;
    if (GetWindowRect(frame, &r)) {
        Settings& s = settings();
        s.main_left = r.left;
        s.main_top = r.top;
        s.main_right = r.right - 1;
        s.main_bottom = r.bottom - 1;
    }
    DragAcceptFiles(frame, FALSE);
    PostQuitMessage(0);
}

void check_current_tool(HWND frame) {
    HMENU menu = GetMenu(frame);
    const int count = addin_host().tools.count > 0 ? addin_host().tools.count : kBuiltinToolCount;
    for (int t = 0; t < count; ++t)
        CheckMenuItem(menu, CMD_TOOL_FIRST + t,
                      MF_BYCOMMAND | (t == shell_state().current_tool ? MF_CHECKED : MF_UNCHECKED));
}

void on_drop_files(HDROP drop) {
    bool had_active = active_document_window() != nullptr;
    UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        char path[kPathCapacity];
        if (DragQueryFileA(drop, i, path, sizeof path)) open_file_in_window(path);
    }
    DragFinish(drop);
    restore_tool_windows(had_active);
}

// Another start of the program handed over its command line.
LRESULT on_copy_data(const COPYDATASTRUCT* data) {
    if (!data || data->dwData != kMsgOpenCommandLine || !data->lpData || data->cbData == 0)
        return FALSE;
    // The text is copied and terminated here: the sender's bytes are only
    // valid during this message and need not end with a NUL.
    std::string text(static_cast<const char*>(data->lpData), data->cbData);
    open_command_line(text.c_str());
    return TRUE;
}

// Toolbar tooltips are the help strings of the buttons' commands.
LRESULT on_notify(NMHDR* header) {
    if (header->code == TTN_NEEDTEXTA) {
        auto* info = reinterpret_cast<TOOLTIPTEXTA*>(header);
        info->hinst = shell_windows().instance;
        info->lpszText = MAKEINTRESOURCEA(header->idFrom);
    } else if (header->code == TTN_NEEDTEXTW) {
        auto* info = reinterpret_cast<TOOLTIPTEXTW*>(header);
        info->hinst = shell_windows().instance;
        info->lpszText = MAKEINTRESOURCEW(header->idFrom);
    }
    return 0;
}

} // namespace

LRESULT CALLBACK VLFrameWndProc(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    HWND client = shell_windows().mdi_client;
    switch (msg) {
    case WM_CREATE:
        return on_create(wnd);
    case WM_SIZE:
        on_size(wnd, wparam, lparam);
        return 0;
    case WM_COMMAND:
        if (run_frame_command(wnd, LOWORD(wparam))) return 0;
        break;
    case WM_INITMENUPOPUP:
        enable_frame_commands(reinterpret_cast<HMENU>(wparam));
        break;
    case WM_MENUSELECT:
        MenuHelp(WM_MENUSELECT, wparam, lparam, GetMenu(wnd), shell_windows().instance,
                 shell_windows().status_bar, shell_state().menu_help_ids);
        break;
    case WM_NOTIFY:
        return on_notify(reinterpret_cast<NMHDR*>(lparam));
    case WM_DROPFILES:
        on_drop_files(reinterpret_cast<HDROP>(wparam));
        return 0;
    case WM_COPYDATA:
        return on_copy_data(reinterpret_cast<const COPYDATASTRUCT*>(lparam));
    case WM_CLOSE:
        run_frame_command(wnd, CMD_EXIT);
        return 0;
    case WM_DESTROY:
        on_destroy(wnd);
        return 0;
    case kMsgActivateTool:
        check_current_tool(wnd);
        return 0;
    case kMsgOpenCommandLine:
        open_command_line(reinterpret_cast<const char*>(lparam));
        return 0;
    case kMsgSavePicture:
        return save_picture(wnd, *reinterpret_cast<PictureDocument*>(lparam),
                            static_cast<SaveMode>(wparam));
    case kMsgAddRecentFile:
        add_recent_file(reinterpret_cast<const char*>(lparam));
        return 0;
    case kMsgOpenColourEditor:
        create_colour_editor(reinterpret_cast<HWND>(wparam));
        return 0;
    case kMsgRunAnimeTest:
        run_anime_test(reinterpret_cast<HWND>(wparam));
        return 0;
    case kMsgOpenPictureFile:
        return reinterpret_cast<LRESULT>(run_open_dialog(reinterpret_cast<HWND>(wparam)).document);
    case kMsgPasteFromFile:
        return reinterpret_cast<LRESULT>(paste_picture_file(wnd));
    case kMsgCopyToFile:
        return lparam ? copy_surface_to_file(wnd, *reinterpret_cast<const Surface*>(lparam)) : 0;
    case kMsgCountObjects:
        return object_counts_result(count_objects());
    }
    return DefFrameProcA(wnd, client, msg, wparam, lparam);
}

HWND create_frame_window(HINSTANCE instance, const Settings& s) {
    int x = s.main_left, y = s.main_top;
    int width, height;
    if (x == kDefaultPosition || y == kDefaultPosition) {
        x = y = CW_USEDEFAULT;
        width = 640;
        height = 480;
    } else {
        // 64-bit arithmetic: a right edge far left of the left edge must not
        // wrap into a huge width.
        long long w = (long long)s.main_right - s.main_left + 1;
        long long h = (long long)s.main_bottom - s.main_top + 1;
        width = w > 0 && w < 0x7FFF ? int(w) : 640;
        height = h > 0 && h < 0x7FFF ? int(h) : 480;
    }
    return CreateWindowExA(0, kFrameClass, "Velmo", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, x, y,
                           width, height, nullptr, nullptr, instance, nullptr);
}

HWND create_mdi_client(HWND frame) {
    ShellWindows& w = shell_windows();
    CLIENTCREATESTRUCT ccs{};
    ccs.hWindowMenu = GetSubMenu(GetMenu(frame), kWindowMenuPosition);
    ccs.idFirstChild = kFirstDocumentId;
    w.mdi_client =
        CreateWindowExA(WS_EX_CLIENTEDGE, "MDICLIENT", nullptr,
                        WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_VSCROLL | WS_HSCROLL, 0, 0, 0,
                        0, frame, nullptr, w.instance, &ccs);
    if (w.mdi_client) {
        RECT r;
        GetClientRect(frame, &r);
        on_size(frame, SIZE_RESTORED, MAKELPARAM(r.right, r.bottom));
    }
    return w.mdi_client;
}

HWND open_document_window(PictureDocument* doc) {
    if (!doc) return nullptr;
    ShellWindows& w = shell_windows();
    if (shell_state().display_depth == 8) doc->flags |= kDocPaletteDevice;
    WNDCLASSA info;
    if (!w.mdi_client || !GetClassInfoA(w.instance, kDocumentClass, &info)) {
        free_document(doc);
        return nullptr;
    }
    MDICREATESTRUCTA mcs{};
    mcs.szClass = kDocumentClass;
    mcs.szTitle = doc->file_name;
    mcs.hOwner = w.instance;
    mcs.x = mcs.y = CW_USEDEFAULT;
    mcs.cx = picture_width(*doc) + 100;
    mcs.cy = picture_height(*doc) + 100;
    mcs.style = WS_CLIPCHILDREN | WS_HSCROLL | WS_VSCROLL;
    // Whoever works maximised keeps the maximised view for the next picture.
    BOOL maximised = FALSE;
    if (SendMessageA(w.mdi_client, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximised)) &&
        maximised)
        mcs.style |= WS_MAXIMIZE;
    mcs.lParam = reinterpret_cast<LPARAM>(doc);
    // The document window owns the document from its creation on, and frees
    // it on a failed creation as well.
    return reinterpret_cast<HWND>(
        SendMessageA(w.mdi_client, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
}

bool open_file_in_window(const char* path) {
    if (name_lost_characters(path)) {
        tell_unusable_name(shell_windows().frame, path, "Open Picture");
        return false;
    }
    PictureDocument* doc = load_picture_by_extension(path);
    if (!doc) return false;
    if (!open_document_window(doc)) return false;
    add_recent_file(path);
    return true;
}

void open_command_line(const char* text) {
    for (const std::string& name : scan_command_line(text))
        open_file_in_window(name.c_str());
}

void restore_tool_windows(bool had_active_document) {
    ShellState& state = shell_state();
    if (had_active_document || state.tool_windows_restored || !active_document_window()) return;
    const Settings& s = settings();
    const struct {
        std::int32_t on;
        UINT command;
    } windows[] = {{s.PaletteOn, CMD_PALETTE_WINDOW},
                   {s.PenOn, CMD_PEN_WINDOW},
                   {s.LayerOn, CMD_LAYER_MANAGER},
                   {s.ScrapOn, CMD_SCRAP_WINDOW},
                   {s.MiniOn, CMD_MINI_ZOOMER}};
    for (const auto& wnd : windows)
        if (wnd.on) SendMessageA(shell_windows().frame, WM_COMMAND, wnd.command, 0);
    state.tool_windows_restored = true;
}

HMENU file_menu() {
    HMENU menu = GetMenu(shell_windows().frame);
    BOOL maximised = FALSE;
    if (shell_windows().mdi_client)
        SendMessageA(shell_windows().mdi_client, WM_MDIGETACTIVE, 0,
                     reinterpret_cast<LPARAM>(&maximised));
    return GetSubMenu(menu, maximised ? 1 : 0);
}
