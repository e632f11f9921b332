// The dialog bar: the strip of controls below the toolbar ("Velmo
// DialogBar" holding the dialog "MAIN_TOOLBAR_DIALOG") that shows and
// changes the active picture's view, zoom, current layer, mask, grid, snap,
// keying and all-layers settings.
#pragma once

#include "platform/win.h"

inline constexpr char kDialogBarClass[] = "Velmo DialogBar";

LRESULT CALLBACK VLDialogBarWndProc(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam);
// Creates the container and its dialog as children of the frame.
void create_dialog_bar(HWND frame);
// Shows the new state of a command that came from a menu, an accelerator or
// the toolbar (114, 115, 116, 150, 151, 190, 191, 417-430) without acting on
// it: the command itself goes to the document window.
void mirror_in_dialog_bar(UINT command);
