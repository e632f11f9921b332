// What the canvas, the tools and the message loop share about the current
// tool beyond its table entry.
#pragma once

#include "platform/win.h"

// lParam of 0x409 when the canvas hands a drag to the Scroller for a moment
// (R held): the tool removes its previews but keeps its dialog and state.
inline constexpr LPARAM kDeactivateOnlyPreviews = 1;

// The current tool's modeless dialog (Intensity or Lettering), or null; the
// message loop gives it its keys before the accelerators.
inline HWND& tool_dialog() {
    static HWND dialog = nullptr;
    return dialog;
}
