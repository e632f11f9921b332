// Whole-file reading for the PNG decoder Add-In (Windows only).
#pragma once

#include "platform/win.h"

#include <vector>

// The file's bytes; false when it cannot be read or is larger than max_bytes.
bool read_whole_file(const char* path, std::size_t max_bytes, std::vector<BYTE>& out);
