#include "app/windows/document/document_caption.h"

#include "app/session/shell_state.h"

#include <cstdio>

void set_document_caption(HWND document_window) {
    PictureDocument* doc = document_of(document_window);
    if (!doc) return;
    char title[kFileNameSize + 32];
    std::snprintf(title, sizeof title, "%s (%d x %d)", doc->file_name, picture_width(*doc),
                  picture_height(*doc));
    SetWindowTextA(document_window, title);
    DrawMenuBar(shell_windows().frame);
}
