// Opening a picture file of any read type into a new document.
#pragma once

#include "app/document/picture.h"
#include "app/files/file_types.h"

// Opens path as read type `type` (a position in read_types: the native type,
// BMP, GIF or an Add-In decoder) into a complete document: layers,
// composite, palette, file name, pen (the given pen slot), Named set. Null
// when the type names no read type, the file cannot be read or memory runs
// out; whatever was built is freed. The native and BMP readers show their own
// messages; GIF and Add-In failures are silent.
PictureDocument* open_picture_file(LPCSTR path, int type, const FileTypeTable& read_types,
                                   Surface* pen);
