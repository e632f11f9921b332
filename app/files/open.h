// Opening a picture file of any read type into a new document.
#pragma once

#include "app/document/picture.h"
#include "app/files/file_types.h"
#include "engine/rasko.h"

// Opens path as read type `type` (the native type, BMP, GIF or an Add-In
// decoder of read_types) into a complete document: layers, composite,
// palette, file name, pen (the given pen slot), Named set. After
// an Add-In decoder the file type is the write type whose extension ends the
// path; with none the document is not Named. Null when the type names no
// read type, the file cannot be read or memory runs out; whatever was built
// is freed, and the user is told once, with the path: by the reader's own
// message where it has one (native and BMP), else "Unable to Open Picture".
// A GIF whose frames' colours had to be merged says so once.
PictureDocument* open_picture_file(LPCSTR path, FileTypeId type, const FileTypeTable& read_types,
                                   const FileTypeTable& write_types, Surface* pen);

// The same without building the composite, for callers that work on the
// layers or composite the picture themselves (every save that needs the
// composite builds it).
PictureDocument* read_picture_file(LPCSTR path, FileTypeId type, const FileTypeTable& read_types,
                                   const FileTypeTable& write_types, Surface* pen);

// Builds the layers of an empty document (create_document) from a GIF that
// the engine has read: one layer per frame, in one palette that takes every
// frame's colours (merge_gif_palettes), with the frames' areas and animation
// settings. Frees every block the read handed back. No when the picture
// cannot be made; the caller frees the document. Shows nothing.
enum class GifBuilt { No, Exactly, WithMergedColours };
GifBuilt build_document_from_gif(PictureDocument& doc, GifAnimation& gif);

// Paste from File: the picture in path, of read type `type`, flattened into
// one new surface: a GIF's first image at its own size, any other type's
// composite (visible layers, upper key colours left out). Null when it
// cannot be read, after the reader told the user as opening does. The
// caller owns the result.
Surface* flatten_picture_file(LPCSTR path, FileTypeId type, const FileTypeTable& read_types,
                              const FileTypeTable& write_types);
