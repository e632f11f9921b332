#include "app/shell/frame_commands.h"

#include "app/resources/resource_ids.h"
#include "app/shell/addin_about_dlg.h"
#include "app/session/addin_host.h"
#include "app/shell/dialog_bar.h"
#include "app/windows/document/document_caption.h"
#include "app/shell/filter_command.h"
#include "app/shell/floating_windows.h"
#include "app/shell/frame_wnd.h"
#include "app/shell/new_dlg.h"
#include "app/shell/open_dlg.h"
#include "app/shell/picture_io.h"
#include "app/shell/picture_transfer.h"
#include "app/shell/recent_menu.h"
#include "app/shell/save_dlg.h"
#include "app/session/shell_state.h"

#include <algorithm>
#include <cstdio>

namespace {

using Handler = void (*)(HWND frame, UINT id);
using EnabledTest = bool (*)();

// One row a command; the numbered families (recent files, tools, filters,
// zoom rates) are one row with their last id.
struct FrameCommand {
    UINT id;
    Handler run;
    EnabledTest enabled; // null: always enabled
    UINT last = 0;       // a family's last id; 0 for a single command
};

// Commands whose windows and dialogs are not part of the program yet have
// their place in the table but no handler; they do nothing.
constexpr Handler kNotYetBuilt = nullptr;

bool has_document() {
    return active_document() != nullptr;
}

bool layer_below_enabled() {
    PictureDocument* doc = active_document();
    return doc && (doc->flags & kDocOnlyCurrentLayer);
}

void send_to_document(HWND, UINT id) {
    HWND wnd = active_document_window();
    if (wnd) SendMessageA(wnd, WM_COMMAND, id, 0);
}

// Toggles and view choices also show in the dialog bar; it mirrors the new
// state without acting on its own notifications.
void mirror_then_send_to_document(HWND frame, UINT id) {
    if (!active_document_window()) return;
    mirror_in_dialog_bar(id);
    send_to_document(frame, id);
}

void name_untitled(PictureDocument& doc) {
    std::snprintf(doc.file_name, sizeof doc.file_name, "untitled%d.vlx",
                  shell_state().untitled_counter++);
}

void new_command(HWND frame, UINT) {
    bool had_active = active_document_window() != nullptr;
    PictureDocument* doc = run_new_picture_dialog(frame);
    if (!doc) return;
    name_untitled(*doc);
    if (open_document_window(doc)) restore_tool_windows(had_active);
}

void open_command(HWND frame, UINT) {
    bool had_active = active_document_window() != nullptr;
    OpenedPicture opened = run_open_dialog(frame);
    if (!opened.document) return;
    if (!open_document_window(opened.document)) return;
    add_recent_file(opened.path.c_str());
    restore_tool_windows(had_active);
}

void save_command(HWND frame, UINT id) {
    HWND wnd = active_document_window();
    PictureDocument* doc = document_of(wnd);
    if (!doc) return;
    if (!save_picture(frame, *doc, id == CMD_SAVE ? kSaveAskOverwrite : kSaveChooseName)) return;
    set_document_caption(wnd);
    add_recent_file(doc->file_name);
}

void reload_command(HWND, UINT) {
    HWND wnd = active_document_window();
    PictureDocument* doc = document_of(wnd);
    if (!doc) return;
    if (MessageBoxA(wnd, "Reload from file.\nAre you sure?", "Reload",
                    MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    std::string path = doc->file_name;
    PictureDocument* reloaded = load_picture_by_extension(path.c_str());
    if (!reloaded) return;
    SendMessageA(shell_windows().mdi_client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(wnd), 0);
    if (open_document_window(reloaded)) add_recent_file(path.c_str());
}

void paste_to_new_picture_command(HWND frame, UINT) {
    bool had_active = active_document_window() != nullptr;
    paste_to_new_picture(frame);
    if (active_document_window()) restore_tool_windows(had_active);
}

void arrange_command(HWND, UINT id) {
    HWND client = shell_windows().mdi_client;
    UINT msg = id == CMD_TILE ? WM_MDITILE : id == CMD_CASCADE ? WM_MDICASCADE : WM_MDIICONARRANGE;
    SendMessageA(client, msg, 0, 0);
}

void floating_window_command(HWND frame, UINT id) {
    toggle_floating_window(frame, id);
}

void help_command(HWND frame, UINT) {
    char path[MAX_PATH];
    char* file_part = nullptr;
    if (SearchPathA(nullptr, "velmo.hlp", nullptr, sizeof path, path, &file_part))
        WinHelpA(frame, path, HELP_CONTENTS, 0);
    else
        WinHelpA(frame, "velmo.hlp", HELP_CONTENTS, 0);
}

void recent_command(HWND, UINT id) {
    bool had_active = active_document_window() != nullptr;
    std::string path = recent_file(int(id - CMD_RECENT_FIRST));
    if (path.empty()) return;
    if (open_file_in_window(path.c_str())) restore_tool_windows(had_active);
}

void about_addin_command(HWND frame, UINT) {
    run_addin_about_dialog(frame);
}

void filter_command(HWND frame, UINT id) {
    run_filter_command(frame, int(id - CMD_FILTER_FIRST));
}

void tool_command(HWND, UINT id) {
    int tool = int(id - CMD_TOOL_FIRST);
    ShellState& state = shell_state();
    HWND wnd = active_document_window();
    if (tool >= addin_host().tools.count || tool == state.current_tool || !wnd) return;
    SendMessageA(wnd, kMsgDeactivateTool, WPARAM(tool), 0);
    state.current_tool = tool;
    if (shell_windows().tool_window)
        SendMessageA(shell_windows().tool_window, kMsgActivateTool, WPARAM(tool), 0);
    SendMessageA(wnd, kMsgActivateTool, WPARAM(tool), 0);
}

// Asks for every modified picture; false when the user cancels or a save
// fails, leaving the remaining pictures open.
bool close_all_documents(HWND frame) {
    HWND client = shell_windows().mdi_client;
    for (;;) {
        HWND wnd = nullptr;
        for (HWND child = GetWindow(client, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            if (!GetWindow(child, GW_OWNER) && document_of(child)) {
                wnd = child;
                break;
            }
        if (!wnd) return true;
        PictureDocument* doc = document_of(wnd);
        if (doc->flags & kDocModified) {
            // The question names no picture: the one it is about comes
            // forward first.
            SendMessageA(client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(wnd), 0);
            int answer =
                MessageBoxA(frame, "Picture has been modified.\nSave Picture before close?\n",
                            "Close", MB_YESNOCANCEL | MB_ICONQUESTION);
            if (answer == IDCANCEL) return false;
            if (answer == IDYES && !save_picture(frame, *doc, kSaveAskOverwrite)) return false;
        }
        if (doc->flags & kDocNamed) add_recent_file(doc->file_name);
        SendMessageA(client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(wnd), 0);
    }
}

void exit_command(HWND frame, UINT) {
    if (!close_all_documents(frame)) return;
    Settings& s = settings();
    if (IsIconic(frame)) ShowWindow(frame, SW_RESTORE);
    if (IsZoomed(frame)) {
        ShowWindow(frame, SW_RESTORE);
        s.mainWnd_zoomed = 1;
    } else {
        s.mainWnd_zoomed = 0;
    }
    record_open_floating_windows(s);
    DestroyWindow(frame);
}

constexpr FrameCommand kCommands[] = {
    {CMD_NEW, new_command, nullptr},
    {CMD_OPEN, open_command, nullptr},
    {CMD_SAVE, save_command, has_document},
    {CMD_SAVE_AS, save_command, has_document},
    {CMD_EXIT, exit_command, nullptr},
    {CMD_RELOAD, reload_command, has_document},
    {CMD_TILE, arrange_command, nullptr},
    {CMD_CASCADE, arrange_command, nullptr},
    {CMD_ARRANGE_ICONS, arrange_command, nullptr},
    {CMD_PALETTE_WINDOW, floating_window_command, nullptr},
    {CMD_PEN_WINDOW, floating_window_command, nullptr},
    {CMD_ZOOM_WINDOW, floating_window_command, nullptr},
    {CMD_LAYER_MANAGER, floating_window_command, nullptr},
    {CMD_SCRAP_WINDOW, floating_window_command, nullptr},
    {CMD_ANIMATION_VIEW, floating_window_command, nullptr},
    {CMD_MINI_ZOOMER, floating_window_command, nullptr},
    {CMD_PASTE_TO_NEW_PICTURE, paste_to_new_picture_command, nullptr},
    {CMD_HELP, help_command, nullptr},
    {CMD_ABOUT_ADDIN, about_addin_command, nullptr},
    {CMD_RECENT_FIRST, recent_command, nullptr, CMD_RECENT_LAST},
    {CMD_TOOL_FIRST, tool_command, has_document, CMD_TOOL_LAST},
    {CMD_FILTER_FIRST, filter_command, has_document, CMD_FILTER_LAST},
    {CMD_MASK_ON, mirror_then_send_to_document, has_document},
    {CMD_VIEW_PICTURE, mirror_then_send_to_document, has_document},
    {CMD_VIEW_MASK, mirror_then_send_to_document, has_document},
    {CMD_ENABLE_KEYCOLOR, mirror_then_send_to_document, has_document},
    {CMD_MOVE_ALL_LAYERS, mirror_then_send_to_document, has_document},
    {CMD_SNAP_TO_GRID, mirror_then_send_to_document, has_document},
    {CMD_GRID, mirror_then_send_to_document, has_document},
    {CMD_ZOOM_RATE_FIRST, mirror_then_send_to_document, has_document, CMD_ZOOM_RATE_LAST},
    {CMD_CLOSE, send_to_document, has_document},
    {CMD_UNDO, send_to_document, has_document},
    {CMD_COPY, send_to_document, has_document},
    {CMD_PASTE, send_to_document, has_document},
    {CMD_CUT, send_to_document, has_document},
    {CMD_DELETE, send_to_document, has_document},
    {CMD_NEW_LAYER_WITH_COLOR, send_to_document, has_document},
    {CMD_ADD_COLOR_TO_LAYER, send_to_document, has_document},
    {CMD_MIRROR, send_to_document, has_document},
    {CMD_CLEAR_MASK, send_to_document, has_document},
    {CMD_INVERT_MASK, send_to_document, has_document},
    {CMD_MASK_WITH_COLOR, send_to_document, has_document},
    {CMD_NEW_LAYER_WITH_AREA, send_to_document, has_document},
    {CMD_ADD_COLOR_TO_MASK, send_to_document, has_document},
    {CMD_ADD_AREA_TO_LAYER, send_to_document, has_document},
    {CMD_PASTE_FROM_FILE, send_to_document, has_document},
    {CMD_COPY_TO_FILE, send_to_document, has_document},
    {CMD_OVERLAP_MASK, send_to_document, has_document},
    {CMD_COPY_TO_SCRAPBOOK, send_to_document, has_document},
    {CMD_PASTE_FROM_SCRAPBOOK, send_to_document, has_document},
    {CMD_MASK_WITH_OTHER_COLORS, send_to_document, has_document},
    {CMD_FLIP, send_to_document, has_document},
    {CMD_RESIZE_AREA, send_to_document, has_document},
    {CMD_ADD_OTHER_COLORS_TO_MASK, send_to_document, has_document},
    {CMD_SELECT_ALL, send_to_document, has_document},
    {CMD_AREA_TO_ANIMATION, send_to_document, has_document},
    {CMD_DECREASE_COLORS, send_to_document, has_document},
    {CMD_MOVE_WITH_MASK, send_to_document, has_document},
    {CMD_RESIZE_PICTURE, send_to_document, has_document},
    {CMD_ONLY_CURRENT_LAYER, send_to_document, has_document},
    {CMD_WITH_LAYER_BELOW, send_to_document, layer_below_enabled},
};

const FrameCommand* find_command(UINT id) {
    for (const FrameCommand& c : kCommands)
        if (id >= c.id && id <= std::max(c.id, c.last)) return &c;
    return nullptr;
}

} // namespace

bool run_frame_command(HWND frame, UINT id) {
    const FrameCommand* command = find_command(id);
    if (!command) return false;
    if (command->run) command->run(frame, id);
    return true;
}

void enable_frame_commands(HMENU popup) {
    int count = GetMenuItemCount(popup);
    for (int i = 0; i < count; ++i) {
        UINT id = GetMenuItemID(popup, i);
        if (id == UINT(-1) || id == 0) continue;
        const FrameCommand* command = find_command(id);
        if (!command || !command->enabled) continue;
        EnableMenuItem(popup, UINT(i),
                       MF_BYPOSITION | (command->enabled() ? MF_ENABLED : MF_GRAYED));
    }
}
