// Texts from outside the program made ready for the wide window functions,
// which show them the same whatever code page the process runs in.
#pragma once

#include "platform/win.h"

#include <string>

// UTF-8 when the text is well-formed UTF-8, otherwise the system's ANSI
// code page; null gives an empty text.
std::wstring widen_outside_text(const char* text);
