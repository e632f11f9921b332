// The canvas ("Velmo DIB disp window"): the child of each document window
// that shows the picture at its zoom and turns mouse and keys into calls of
// the current tool. It keeps no state of its own beyond the process-wide
// shape mode: input works on the active document, painting on its own.
#pragma once

#include "addins/sdk/velmo_addin.h"
#include "app/document/picture.h"
#include "platform/win.h"

LRESULT CALLBACK VLDIBDispWndProc(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam);

// The program's window messages beyond those the shell names.
inline constexpr UINT kMsgColourViews = WM_USER + 4;       // 0x404 drawing colours changed
inline constexpr UINT kMsgPenChanged = WM_USER + 7;        // 0x407 current pen changed
inline constexpr UINT kMsgZoomLayout = WM_USER + 8;        // 0x408 view laid out anew
inline constexpr UINT kMsgDropFloating = WM_USER + 11;     // 0x40B discard a floating area
inline constexpr UINT kMsgStatusText = WM_USER + 12;       // 0x40C
inline constexpr UINT kMsgMousePosition = WM_USER + 15;    // 0x40F to the mini zoomer
inline constexpr UINT kMsgPictureToCanvas = WM_USER + 30;  // 0x41E
inline constexpr UINT kMsgCanvasToPicture = WM_USER + 31;  // 0x41F
inline constexpr UINT kMsgRecomposite = WM_USER + 32;      // 0x420
inline constexpr UINT kMsgPresent = WM_USER + 33;          // 0x421
inline constexpr UINT kMsgPenCallBlock = WM_USER + 34;     // 0x422
inline constexpr UINT kMsgToolCommand = 0x7FF0;

// Process-wide drawing state that belongs to no document.
struct CanvasState {
    // 110 free hand ... 115 filled ellipse; chosen in the pen window.
    int shape_mode = 110;
    // The block 0x422 hands out: it lives as long as the program.
    PenCallBlock block{};
};
CanvasState& canvas_state();

// Sets a part of the status bar. The text may come from an Add-In (0x40C,
// pen hints): UTF-8 when it is well-formed UTF-8, else the ANSI code page.
void set_status_text(int part, const char* text);
