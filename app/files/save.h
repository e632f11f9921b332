// Saving a document in one of the write types, once the dialogs (file name
// and type, BMP colours, GIF settings) have been answered.
#pragma once

#include "app/document/picture.h"
#include "app/files/file_types.h"

struct SaveChoices {
    int bmp_bits = 8;       // the BMP dialog: 8 (256 colours) or 4 (16 colours)
    int gif_key_colour = 0; // the GIF dialog's key colour
};

// Writes the document to its file name in its file type (native, BMP, GIF
// or the Add-In encoder of that write type). BMP, a still GIF and Add-Ins
// receive the composite in the current display mode; an animated GIF
// (option set, two layers or more) every layer with its area and animation
// settings. The file is replaced only after a complete write;
// on failure the old file stays as it was. Sets Named; clears Modified when
// the result is 1. Returns 1 written, 0 failed.
int save_picture_file(PictureDocument& doc, const FileTypeTable& write_types,
                      const SaveChoices& choices);

// Brings the composite's palette up to date and recomposites the whole
// picture, as BMP, GIF and Add-In saving write it.
void prepare_composite(PictureDocument& doc);

// Copy to File: writes s alone to path in write type file_type (BMP, GIF or
// an Add-In encoder; the native type is not offered), with the
// GIF settings of `settings` (the active picture's): the transparent index
// only when its Transparent option is set. Written safely as every save is.
// Returns 1 written, 0 failed.
int save_surface_file(const Surface& s, const char* path, FileTypeId file_type,
                      const FileTypeTable& write_types, const SaveChoices& choices,
                      const PictureDocument& settings);
