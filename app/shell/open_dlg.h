// The "Open Picture" dialog.
#pragma once

#include "app/document/picture.h"
#include "platform/win.h"

#include <string>

struct OpenedPicture {
    PictureDocument* document; // null when cancelled or unreadable
    std::string path;
};

struct ChosenPicture {
    std::string path; // empty when cancelled
    FileTypeId type;  // read type, None when the name matches none
};

// Lets the user choose a picture file ("All Image Types" or one type)
// without reading it.
ChosenPicture choose_picture_file(HWND owner);
// Lets the user choose a picture file and opens it.
OpenedPicture run_open_dialog(HWND owner);
