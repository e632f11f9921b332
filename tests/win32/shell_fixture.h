// A fixture that starts the program's shell inside the test process, with
// its settings and recent files in a registry key of the test's own, and
// shuts it down again after each test. A stand-in document window keeps a
// document in its property and records the commands the frame forwards.
#pragma once

#include "app/resources/resource_ids.h"
#include "app/shell/frame_wnd.h"
#include "app/shell/recent_menu.h"
#include "app/shell/registry_store.h"
#include "app/session/shell_state.h"
#include "app/shell/startup.h"
#include "app/shell/window_classes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

inline constexpr char kShellTestKey[] = "Software\\Korvane\\Velmo\\shell-test";

// Commands the stand-in document window received.
inline std::vector<UINT> forwarded;

inline LRESULT CALLBACK test_document_proc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CREATE: {
        auto* cs = reinterpret_cast<CREATESTRUCTA*>(lp);
        auto* mcs = static_cast<MDICREATESTRUCTA*>(cs->lpCreateParams);
        SetPropA(wnd, kDocumentProperty, reinterpret_cast<HANDLE>(mcs->lParam));
        break;
    }
    case WM_COMMAND:
        forwarded.push_back(LOWORD(wp));
        return 0;
    case WM_DESTROY:
        free_document(static_cast<PictureDocument*>(RemovePropA(wnd, kDocumentProperty)));
        break;
    }
    return DefMDIChildProcA(wnd, msg, wp, lp);
}

// Replaces whatever document window class is registered with the stand-in.
inline void register_test_document_class() {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    UnregisterClassA(kDocumentClass, instance);
    WNDCLASSA wc{};
    wc.lpfnWndProc = test_document_proc;
    wc.hInstance = instance;
    wc.lpszClassName = kDocumentClass;
    RegisterClassA(&wc);
}

inline void pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        if (msg.message != WM_QUIT) DispatchMessageA(&msg);
}

inline std::string menu_text(HMENU menu, UINT id) {
    char text[1100] = {};
    GetMenuStringA(menu, id, text, sizeof text, MF_BYCOMMAND);
    return text;
}

// The folder of the test program, with a trailing backslash.
inline std::string program_folder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of('\\') + 1);
}

class Shell : public ::testing::Test {
  protected:
    void SetUp() override {
        GetCurrentDirectoryA(sizeof start_dir_, start_dir_);
        RegDeleteKeyA(HKEY_CURRENT_USER, kShellTestKey);
        shell_state().registry_key = kShellTestKey;
        forwarded.clear();
    }
    void TearDown() override {
        if (IsWindow(shell_windows().frame)) DestroyWindow(shell_windows().frame);
        shut_down_velmo();
        pump();
        HINSTANCE instance = GetModuleHandleA(nullptr);
        unregister_window_classes(instance);
        UnregisterClassA(kDocumentClass, instance);
        shell_windows() = ShellWindows{};
        shell_state() = ShellState{};
        RegDeleteKeyA(HKEY_CURRENT_USER, kShellTestKey);
        SetCurrentDirectoryA(start_dir_);
    }
    HWND start(const char* command_line = "") {
        HWND frame = start_velmo(GetModuleHandleA(nullptr), command_line, SW_SHOWNORMAL);
        pump();
        return frame;
    }
    HWND open_test_picture(int width, int height, std::uint32_t flags = 0,
                           const char* name = "C:\\pictures\\test.vlx") {
        register_test_document_class();
        PictureDocument* doc = new_picture(width, height, nullptr, nullptr);
        EXPECT_NE(doc, nullptr);
        doc->flags |= flags;
        lstrcpynA(doc->file_name, name, kFileNameSize);
        return open_document_window(doc);
    }
    void exit_program() {
        SendMessageA(shell_windows().frame, WM_COMMAND, CMD_EXIT, 0);
        pump();
    }

  private:
    char start_dir_[MAX_PATH] = {};
};
