// The "Open Picture" dialog.
#pragma once

#include "app/document/picture.h"
#include "platform/win.h"

#include <string>

struct OpenedPicture {
    PictureDocument* document; // null when cancelled or unreadable
    std::string path;
};

// Lets the user choose a picture file ("All Image Types" or one type) and
// opens it.
OpenedPicture run_open_dialog(HWND owner);
