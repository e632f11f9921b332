// Palette files (.vlf, one 256-entry palette) and pen files (.vln, the
// 32 x 32 pen slots). Both start with the same 144-byte header.
#pragma once

#include "app/document/picture.h"
#include "app/files/byte_source.h"

// Writes the 1024-byte palette (256 RGBQUADs); 1, or 0 when the file cannot
// be written (an existing file is then left as it was).
int write_palette_file(const char* path, const RGBQUAD* palette);
// Reads up to 256 entries into destination; 1 when read, else 0. A file cut
// short fills only the entries it holds. Shows "Error" or "It's not for
// Velmo" for a short or foreign file, nothing when the file cannot be opened.
int read_palette_file(const char* path, RGBQUAD* destination);
int read_palette_file(ByteSource& source, RGBQUAD* destination);

// Writes the pixel rows of slots 0 to count - 1 (each 32 x 32); 1, or 0 when
// the file cannot be written or a slot is not a 32 x 32 surface.
int write_pen_file(const char* path, Surface* const* slots, int count);
// Reads as many pen blocks as the file and capacity allow into the slots'
// pixel rows; later slots keep their shapes. 1 when read, else 0; shows no
// message.
int read_pen_file(const char* path, Surface* const* slots, int capacity);
int read_pen_file(ByteSource& source, Surface* const* slots, int capacity);

// Looks for "default.vlf" in the program's folder, the current folder, the
// system folders and PATH, and reads it into colour_table. 1 when it changed
// the table. For New Picture.
int load_default_palette(RGBQUAD* colour_table);
