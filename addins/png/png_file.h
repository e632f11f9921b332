// PNG files for the Add-In records: whole-file reading and the decode and
// encode steps of the PNG Add-Ins, which the command-line program runs as
// its own PNG type. Portable.
#pragma once

#include "addins/sdk/velmo_addin.h"
#include "platform/win.h"

#include <vector>

// The file's bytes; false when it cannot be read or is larger than max_bytes.
bool read_whole_file(const char* path, std::size_t max_bytes, std::vector<BYTE>& out);

// _VLDecode of the PNG decoder: the file at path as one frame (the
// transparent colour as the key colour). 1 when decoded, else 0.
int png_decode_file(const char* path, AddInImage* image);
// _VLEncode of the PNG encoder: frame 0 as an 8-bit indexed PNG, the key
// colour transparent when the record names one; through the safe writer.
// 1 when written, else 0 (an existing file then stays as it was).
int png_encode_file(const char* path, AddInImage* image);
