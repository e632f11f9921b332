// The colour editor ("Edit Color"): a modeless dialog that edits the palette
// entry of the left or right drawing colour in RGB, HSV or YMC, applies it
// at once (Sync) or on Update, sets the key and background colour and grades
// the entries between the drawing colours. At most one exists; the handle
// is ShellWindows::colour_editor.
#pragma once

#include "platform/win.h"

INT_PTR CALLBACK ColourEditorDlgProc(HWND dlg, UINT msg, WPARAM wparam, LPARAM lparam);

// Opens the editor owned by owner (the palette window) unless it is open.
HWND create_colour_editor(HWND owner);
