// The pen editor ("Edit Pen"): the active picture's pen ten times enlarged;
// the left button paints the shape, the right button the background. The
// pen slots are shared, so every picture with that pen draws with the change.
#pragma once

#include "platform/win.h"

inline constexpr char kPenEditorClass[] = "Velmo pen make window";

// Exported by name from velmo.exe, so its name is not decorated.
extern "C" LRESULT CALLBACK VLPenMakeWndProc(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam);

// Opens the editor, owned by the pen window, at its remembered place unless
// it is open.
void open_pen_editor(HWND pen_window);
// The open editor, or null.
HWND pen_editor();
