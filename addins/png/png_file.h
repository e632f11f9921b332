// Whole-file reading and safe replacing for the PNG Add-Ins (Windows only).
#pragma once

#include "platform/win.h"

#include <vector>

// The file's bytes; false when it cannot be read or is larger than max_bytes.
bool read_whole_file(const char* path, std::size_t max_bytes, std::vector<BYTE>& out);

// Writes the bytes to a temporary file beside path and only then replaces
// path with it, so that a failed write leaves the old file as it was.
bool replace_file(const char* path, const std::vector<BYTE>& bytes);
