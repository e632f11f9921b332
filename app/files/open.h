// Opening a picture file of any read type into a new document.
#pragma once

#include "app/document/picture.h"
#include "app/files/file_types.h"
#include "engine/rasko.h"

// Opens path as read type `type` (a position in read_types: the native type,
// BMP, GIF or an Add-In decoder) into a complete document: layers,
// composite, palette, file name, pen (the given pen slot), Named set. Null
// when the type names no read type, the file cannot be read or memory runs
// out; whatever was built is freed. The native and BMP readers show their own
// messages; GIF and Add-In failures are silent.
PictureDocument* open_picture_file(LPCSTR path, int type, const FileTypeTable& read_types,
                                   Surface* pen);

// Builds the layers of an empty document (create_document) from a GIF that
// the engine has read: one layer per frame, in the picture palette, with the
// frames' areas and animation settings. Frees every block the read handed
// back. False when the picture cannot be made; the caller frees the document.
bool build_document_from_gif(PictureDocument& doc, GifAnimation& gif);
