// The zoom editor: a floating window ("Velmo zoom window") that shows the
// active picture's view area magnified in its display child ("Velmo zoom
// disp window") for pixel-by-pixel editing, and the tile view ("Velmo
// tile-view window") it opens to show that area 3 x 3. One zoom window per
// process; it always follows the active document.
#pragma once

#include "platform/win.h"

inline constexpr char kZoomWindowClass[] = "Velmo zoom window";
inline constexpr char kZoomDisplayClass[] = "Velmo zoom disp window";
inline constexpr char kTileViewClass[] = "Velmo tile-view window";

// Exported by name from velmo.exe, so their names are not decorated.
extern "C" LRESULT CALLBACK VLZoomWndProc(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam);
extern "C" LRESULT CALLBACK VLZoomDispWndProc(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam);
extern "C" LRESULT CALLBACK VLTileviewWndProc(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam);

// Opens the zoom window owned by frame at its remembered place; null, with
// nothing left behind, when no document is active. The handle is kept in
// ShellWindows::zoom_window until the window is destroyed, which unchecks
// the frame's item and releases its toolbar button.
HWND create_zoom_window(HWND frame);
