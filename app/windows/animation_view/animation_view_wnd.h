// The animation view ("Velmo GIF Animation"): plays the active picture's
// layers as the frames of an animated GIF, from a thread of its own that
// shares the document with the user-interface thread through one lock.
#pragma once

#include "platform/win.h"

inline constexpr char kAnimationViewClass[] = "Velmo GIF Animation";

// Exported by name from velmo.exe, so its name is not decorated.
extern "C" LRESULT CALLBACK VLGIFAnimeWndProc(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam);

// Opens the animation view owned by frame at its remembered place, playing
// the active document; null when no document is active or the frame or the
// thread cannot be made. The handle is kept in ShellWindows::animation_view
// until the window is destroyed, which stops the thread, unchecks the
// frame's item and releases its toolbar button.
HWND create_animation_view(HWND frame);
