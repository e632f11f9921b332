// The canvas ("Velmo DIB disp window"): the child of each document window
// that shows the picture at its zoom and turns mouse and keys into calls of
// the current tool. It keeps no state of its own beyond the Add-In pens' call
// block: input works on the active document, painting on its own.
#pragma once

#include "addins/sdk/velmo_addin.h"
#include "app/document/picture.h"
#include "platform/win.h"

// Exported by name from velmo.exe, so its name is not decorated.
extern "C" LRESULT CALLBACK VLDIBDispWndProc(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam);

// A command the document window passes through its canvas to the current
// tool.
inline constexpr UINT kMsgToolCommand = 0x7FF0;

// Process-wide drawing state that belongs to no document.
struct CanvasState {
    // The block 0x422 hands out: it lives as long as the program.
    PenCallBlock block{};
};
CanvasState& canvas_state();

// Sets a part of the status bar. The text may come from an Add-In (0x40C,
// pen hints): UTF-8 when it is well-formed UTF-8, else the ANSI code page.
void set_status_text(int part, const char* text);
