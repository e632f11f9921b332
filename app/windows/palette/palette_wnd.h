// The palette window: the active picture's 256 colours as a grid (its child
// display), the drawing colours, the tone strip and track bar, and the
// palette menu. It keeps no document: every step asks for the active one.
#pragma once

#include "platform/win.h"

inline constexpr char kPaletteWindowClass[] = "Velmo palette window";
inline constexpr char kPaletteDisplayClass[] = "Velmo palette disp window";

// Exported by name from velmo.exe, so their names are not decorated.
extern "C" LRESULT CALLBACK VLPaletteWndProc(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam);
extern "C" LRESULT CALLBACK VLPaletteDispWndProc(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam);

// Opens the palette window owned by frame at its remembered place; the
// handle is kept in ShellWindows::palette_window until it is destroyed.
HWND create_palette_window(HWND frame);
