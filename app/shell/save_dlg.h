// Saving a picture: the overwrite question, the "Save Picture" dialog, and a
// message when writing fails.
#pragma once

#include "app/document/picture.h"
#include "app/session/shell_state.h"
#include "platform/win.h"

// Save (kSaveAskOverwrite) or Save As (kSaveChooseName). A named picture whose
// extension names a write type is, with kSaveAskOverwrite, written after the question
// "Overwrite to <name>"; otherwise the save dialog chooses name and type.
// Returns 1 when written; 0 on No, Cancel or a failed write, which shows a
// message and leaves the picture modified. Name, type and Named change only
// with a picture written.
int save_picture(HWND owner, PictureDocument& doc, SaveMode mode);
