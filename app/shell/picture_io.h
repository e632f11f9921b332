// The shell's way to the picture readers and writers: opening by type or by
// extension, and writing a document in its file type with the BMP and GIF
// dialogs asked at the moment the writers need their answers.
#pragma once

#include "app/document/picture.h"
#include "platform/win.h"

// Loads path as read type `type` (or None); null when it cannot, after
// telling the user once.
PictureDocument* load_picture(const char* path, FileTypeId type);
// Loads path as the read type its extension names; null, after telling the
// user, when none does or it cannot be read.
PictureDocument* load_picture_by_extension(const char* path);

// Writes doc to its file name in its file type (a write type), running
// "BMP_DIALOG" or "GIF_DIALOG" first for those types.
enum class WriteResult { Written, Cancelled, Failed };
WriteResult write_picture(HWND owner, PictureDocument& doc);

// Tells the user that a file name cannot be used because the system handed
// it over with characters lost (see name_lost_characters).
void tell_unusable_name(HWND owner, const char* path, const char* caption);
