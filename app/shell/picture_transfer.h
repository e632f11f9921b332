// Single bitmaps between pictures and the outside, where the shell's
// dialogs are needed: Paste from File and Copy to File for the document
// window (asked by message), and Paste to New Picture.
#pragma once

#include "app/document/picture.h"
#include "platform/win.h"

// The open dialog, then the chosen file flattened into a new surface; null
// when cancelled or unreadable (the user was told). The caller owns it.
Surface* paste_picture_file(HWND owner);
// The save dialog with every write type but the native one, the BMP or GIF
// dialog where the type has one, then s written. A failed write is told
// with the file name. 1 when written.
int copy_surface_to_file(HWND owner, const Surface& s);
// A new picture holding the clipboard's bitmap, in a window of its own.
void paste_to_new_picture(HWND owner);
