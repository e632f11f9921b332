// Saving a picture: the overwrite question, the "Save Picture" dialog, and a
// message when writing fails.
#pragma once

#include "app/document/picture.h"
#include "platform/win.h"

// Save (ask_overwrite 1) or Save As (0). A named picture whose extension
// names a write type is, with ask_overwrite, written after the question
// "Overwrite to <name>"; otherwise the save dialog chooses name and type.
// Returns 1 when written; 0 on No, Cancel or a failed write, which shows a
// message and leaves the picture modified. Name, type and Named change only
// with a picture written.
int save_picture(HWND owner, PictureDocument& doc, int ask_overwrite);
