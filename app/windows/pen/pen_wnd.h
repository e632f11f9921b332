// The pen window: the sixteen pen slots, the active picture's pen marked. A
// click gives the picture that pen, a double click opens the pen editor on
// it; the system menu saves and opens pen files.
#pragma once

#include "platform/win.h"

inline constexpr char kPenWindowClass[] = "Velmo pen window";

// Exported by name from velmo.exe, so its name is not decorated.
extern "C" LRESULT CALLBACK VLPenWndProc(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam);

// Opens the pen window owned by frame at its remembered place; the handle is
// kept in ShellWindows::pen_window until it is destroyed.
HWND create_pen_window(HWND frame);

// Repaints the button of one slot, after its pen changed.
void redraw_pen_slot(int slot);
