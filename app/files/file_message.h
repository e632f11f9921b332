// The messages that tell the user what became of a picture file.
#pragma once

#include "platform/win.h"

// A message box without owner: the text, then the file's path on a line of
// its own, so that the user knows which of several files it speaks of.
void show_file_message(LPCSTR text, LPCSTR caption, LPCSTR path, UINT type);
