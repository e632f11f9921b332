// The New Picture dialog ("NEW_DIALOG") and the picture it makes.
#pragma once

#include "app/document/picture.h"
#include "platform/win.h"

// Asks for the size (starting at the last size used) and makes the picture;
// null when the user cancels or the picture cannot be made (then after a
// message). The caller names it and opens its window.
PictureDocument* run_new_picture_dialog(HWND owner);
