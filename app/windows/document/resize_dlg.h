// "STRETCH_DIALOG" (Resize Area) and "RESIZE_DIALOG" (Resize Picture), both
// titled "Resize", and the two commands that run them.
#pragma once

#include "app/document/picture.h"
#include "platform/win.h"

// Resize Area: the floating area, or the whole picture, stretched to the
// size the dialog gives, written back and floating there.
void resize_area_command(HWND wnd, PictureDocument& doc, UINT id);
// Resize Picture: every layer stretched or cropped to the size the dialog
// gives; the window is laid out again.
void resize_picture_command(HWND wnd, PictureDocument& doc, UINT id);
