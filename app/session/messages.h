// The program's own window messages (user messages 1 and up), by which its
// windows keep each other current; all are sent on the user-interface thread.
#pragma once

#include "platform/win.h"

inline constexpr UINT kMsgDocumentActivated = WM_USER + 1; // 0x401
inline constexpr UINT kMsgPaletteChanged = WM_USER + 2;    // 0x402
inline constexpr UINT kMsgZoomRefresh = WM_USER + 3;       // 0x403
inline constexpr UINT kMsgColourViews = WM_USER + 4;       // 0x404 drawing colours changed
inline constexpr UINT kMsgLayerChanged = WM_USER + 5;      // 0x405
inline constexpr UINT kMsgRedrawPicture = WM_USER + 6;     // 0x406
inline constexpr UINT kMsgPenChanged = WM_USER + 7;        // 0x407 current pen changed
inline constexpr UINT kMsgZoomLayout = WM_USER + 8;        // 0x408 view laid out anew
inline constexpr UINT kMsgDeactivateTool = WM_USER + 9;    // 0x409
inline constexpr UINT kMsgActivateTool = WM_USER + 10;     // 0x40A
inline constexpr UINT kMsgDropFloating = WM_USER + 11;     // 0x40B discard a floating area
inline constexpr UINT kMsgStatusText = WM_USER + 12;       // 0x40C
inline constexpr UINT kMsgOpenCommandLine = WM_USER + 13;  // 0x40D
inline constexpr UINT kMsgLayerChanging = WM_USER + 14;    // 0x40E
inline constexpr UINT kMsgMousePosition = WM_USER + 15;    // 0x40F to the mini zoomer
inline constexpr UINT kMsgPictureToCanvas = WM_USER + 30;  // 0x41E
inline constexpr UINT kMsgCanvasToPicture = WM_USER + 31;  // 0x41F
inline constexpr UINT kMsgRecomposite = WM_USER + 32;      // 0x420
inline constexpr UINT kMsgPresent = WM_USER + 33;          // 0x421
inline constexpr UINT kMsgPenCallBlock = WM_USER + 34;     // 0x422

// Requests to the frame from the windows below it, which cannot call the
// shell's dialogs and menus directly.
// Saves the PictureDocument* in lParam; wParam is a SaveMode; the result is
// 1 when the picture was written.
inline constexpr UINT kMsgSavePicture = WM_APP + 1;
// Puts the path in lParam (const char*) at the top of the recent files.
inline constexpr UINT kMsgAddRecentFile = WM_APP + 2;
// Asks the animation view to finish the frame it draws and wait: the layer
// list is about to be relinked or a layer replaced. 0x401 starts it again.
// With a PictureDocument* in lParam: that document is about to be freed; the
// view closes when it plays it.
inline constexpr UINT kMsgHoldAnimation = WM_APP + 3;
// Opens the colour editor ("Edit Color") owned by the window in wParam
// unless it is open; the palette window asks, the shell knows the editor.
inline constexpr UINT kMsgOpenColourEditor = WM_APP + 4;
// Runs the Open Picture dialog owned by the window in wParam and returns the
// opened PictureDocument* (the caller frees it), or 0.
inline constexpr UINT kMsgOpenPictureFile = WM_APP + 5;
// Asks the frame for a picture file the user chooses, flattened into one
// surface (Paste from File); the result is that Surface*, owned by the
// sender from then on, or 0.
inline constexpr UINT kMsgPasteFromFile = WM_APP + 6;
// Writes the Surface* in lParam to a file the user chooses (Copy to File);
// the result is 1 when it was written.
inline constexpr UINT kMsgCopyToFile = WM_APP + 7;
// Runs the animation test's dialog owned by the window in wParam (the zoom
// window); the shell knows the dialog.
inline constexpr UINT kMsgRunAnimeTest = WM_APP + 8;
// Answers how many GDI objects (low word) and USER objects (high word) the
// program holds, for checks that watch a long run for leaks. Numbered apart
// from the requests above, which grow with the windows.
inline constexpr UINT kMsgCountObjects = WM_APP + 0x100;
