#include "app/shell/startup.h"

#include "app/session/addin_host.h"
#include "app/shell/program_addins.h"
#include "app/shell/frame_wnd.h"
#include "app/session/pen_slots.h"
#include "app/session/scrap_book.h"
#include "app/shell/registry_store.h"
#include "app/session/shell_state.h"
#include "app/session/tool_protocol.h"
#include "app/shell/window_classes.h"

#include <commctrl.h>

#include <cstring>

namespace {

// A second start gives the running program its command line as text (the
// receiver cannot read the sender's memory) and ends.
bool hand_over_to_running_instance(const char* command_line) {
    HWND running = FindWindowA(kFrameClass, nullptr);
    if (!running) return false;
    SetForegroundWindow(running);
    if (command_line && *command_line) {
        COPYDATASTRUCT data{};
        data.dwData = kMsgOpenCommandLine;
        data.cbData = DWORD(std::strlen(command_line) + 1);
        data.lpData = const_cast<char*>(command_line);
        SendMessageA(running, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
    }
    return true;
}

int screen_depth() {
    HDC dc = GetDC(nullptr);
    int bits = GetDeviceCaps(dc, BITSPIXEL) * GetDeviceCaps(dc, PLANES);
    ReleaseDC(nullptr, dc);
    return bits;
}

void load_settings_from_registry() {
    char current[kPathCapacity] = {};
    GetCurrentDirectoryA(sizeof current, current);
    RegistryStore store(shell_state().registry_key);
    ScreenSize screen{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    load_settings(settings(), store.ok() ? &store : nullptr, screen, current);
}

bool load_default_pens(HMODULE module) {
    HRSRC info = FindResourceA(module, "VELMO_DEFAULT_PEN", MAKEINTRESOURCEA(2) /* RT_BITMAP */);
    HGLOBAL block = info ? LoadResource(module, info) : nullptr;
    const BYTE* strip = block ? static_cast<const BYTE*>(LockResource(block)) : nullptr;
    return strip && build_pen_slots(pen_slots(), strip, SizeofResource(module, info));
}

// Pens that paint nothing would make every pen tool look broken: without
// the default strip the program starts with round pens and says so.
bool set_up_pens(HINSTANCE instance) {
    ShellState& state = shell_state();
    state.default_pens_missing = !load_default_pens(state.pen_module ? state.pen_module : instance);
    return !state.default_pens_missing || build_round_pen_slots(pen_slots());
}

bool init_globals(HINSTANCE instance) {
    load_settings_from_registry();
    if (!set_up_pens(instance)) return false;
    shell_state().current_tool = kToolZoom;
    discover_program_addins();
    SetCurrentDirectoryA(settings().current_path);
    ShellState& state = shell_state();
    for (int i = 0; i < kMenuHelpIds; ++i)
        state.menu_help_ids[i] = UINT(i);
    state.accelerators = LoadAcceleratorsA(instance, "VELMO_MENU");
    return true;
}

} // namespace

HWND start_velmo(HINSTANCE instance, const char* command_line, int show) {
    ShellWindows& w = shell_windows();
    w.instance = instance;
    if (hand_over_to_running_instance(command_line)) return nullptr;

    ShellState& state = shell_state();
    state.display_depth = screen_depth();
    if (state.display_depth < 8) {
        MessageBoxA(nullptr, "You need over 8bit Display for running Velmo", "Error",
                    MB_OK | MB_ICONEXCLAMATION);
        return nullptr;
    }
    if (!register_window_classes(instance)) return nullptr;
    INITCOMMONCONTROLSEX controls{sizeof controls,
                                  ICC_BAR_CLASSES | ICC_UPDOWN_CLASS | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    state.wheel_message = RegisterWindowMessageA("MSWHEEL_ROLLMSG");
    if (!init_globals(instance)) return nullptr;

    HWND frame = create_frame_window(instance, settings());
    if (!frame || !create_mdi_client(frame)) {
        if (frame) DestroyWindow(frame);
        return nullptr;
    }
    ShowWindow(frame, settings().mainWnd_zoomed ? SW_SHOWMAXIMIZED : show);
    UpdateWindow(frame);
    if (state.default_pens_missing)
        MessageBoxA(frame, "The default pens could not be loaded.\nRound pens are used instead.",
                    "Error", MB_OK | MB_ICONEXCLAMATION);
    // The named files open from the message loop, once the frame is on the
    // screen: a message about one of them then belongs to a window the user
    // can see.
    if (command_line && *command_line) {
        state.start_command_line = command_line;
        PostMessageA(frame, kMsgOpenCommandLine, 0,
                     reinterpret_cast<LPARAM>(state.start_command_line.c_str()));
    }
    return frame;
}

bool take_message(MSG& msg) {
    const ShellWindows& w = shell_windows();
    // Keys typed into the modeless dialogs edit their controls; Delete or
    // Ctrl+Z in a name box must not reach the picture as an accelerator.
    if (tool_dialog() && IsDialogMessageA(tool_dialog(), &msg)) return true;
    if (w.layer_manager && IsDialogMessageA(w.layer_manager, &msg)) return true;
    if (w.scrapbook && IsDialogMessageA(w.scrapbook, &msg)) return true;
    if (w.colour_editor && IsDialogMessageA(w.colour_editor, &msg)) return true;
    if (w.dialog_bar && IsDialogMessageA(w.dialog_bar, &msg)) return true;
    if (TranslateMDISysAccel(w.mdi_client, &msg)) return true;
    return w.frame && TranslateAcceleratorA(w.frame, shell_state().accelerators, &msg);
}

void run_message_loop() {
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (take_message(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void shut_down_velmo() {
    char current[kPathCapacity] = {};
    GetCurrentDirectoryA(sizeof current, current);
    RegistryStore store(shell_state().registry_key);
    if (store.ok()) save_settings(settings(), store, current);
    free_pen_slots(pen_slots());
    empty_scrap_book(scrap_book());
    release_program_addins();
}
