// The tool window: the always-present floating window of tool buttons,
// shapes, the pen and the colours. The frame creates it at start-up.
#pragma once

#include "platform/win.h"

inline constexpr char kToolWindowClass[] = "Velmo tool window";

// Exported by name from velmo.exe, so its name is not decorated.
extern "C" LRESULT CALLBACK VLToolWndProc(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam);
HWND create_tool_window(HWND frame);
