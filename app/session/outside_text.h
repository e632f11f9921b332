// Texts that come from outside the program (Add-In names and hints, status
// texts sent by Add-Ins) carry no note of their encoding: newer Add-Ins write
// UTF-8, older ones the system's ANSI code page.
#pragma once

#include <string_view>

// True when the bytes are well-formed UTF-8: shortest forms only, no
// surrogate halves, nothing above U+10FFFF, no sequence cut short. Pure ASCII
// is UTF-8.
bool is_utf8(std::string_view text);
