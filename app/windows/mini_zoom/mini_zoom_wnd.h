// The mini zoomer ("Velmo Mini Zoom"): a small floating window that shows
// the 9 x 9 picture pixels around the pointer over any canvas sixteen times
// larger, from the active picture's composite.
#pragma once

#include "platform/win.h"

inline constexpr char kMiniZoomClass[] = "Velmo Mini Zoom";

// Exported by name from velmo.exe, so its name is not decorated.
extern "C" LRESULT CALLBACK VLMiniZoomWndProc(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam);

// Opens the mini zoomer owned by frame at its remembered place; null when no
// document is active. The handle is kept in ShellWindows::mini_zoomer until
// the window is destroyed, which unchecks the frame's item and releases its
// toolbar button.
HWND create_mini_zoomer(HWND frame);
