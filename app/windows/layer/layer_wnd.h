// The Layer Manager: a modeless dialog ("LAYER_DIALOG") that lists the
// active picture's layers and edits the current one's settings, adds,
// deletes and reorders layers. It never keeps a document: every step asks
// for the active one.
#pragma once

#include "platform/win.h"

INT_PTR CALLBACK LayerDlgProc(HWND dlg, UINT msg, WPARAM wparam, LPARAM lparam);

// Opens the Layer Manager owned by frame at its remembered place; the
// handle is kept in ShellWindows::layer_manager until it is destroyed.
HWND create_layer_manager(HWND frame);
