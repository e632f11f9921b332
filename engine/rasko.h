// rasko32: the DIB engine. Every picture is an 8-bit palettized packed DIB:
// a BITMAPINFOHEADER, 256 RGBQUADs, then bottom-up rows of stride
// (width + 3) & ~3. Functions that touch pixels take a DIB as a header
// pointer and a separate bits pointer; the header supplies only biWidth and
// biHeight, so callers may pair one DIB's header with another buffer of the
// same size (layers and mask planes are kept this way).
//
// Every function is exported under its name with a leading underscore
// (_RaskoCreateDIB) and uses the C calling convention. The caller owns every
// DIB a function returns and frees it with RaskoDestroyDIB.
#pragma once

#include "platform/win.h"

#ifdef __cplusplus
extern "C" {
#endif

// Creates a width x height DIB with the default colour table (the twenty
// static system colours in entries 0-9 and 246-255, black elsewhere) and all
// pixels 0. Returns null, after the message box "Can't create Bitmap" /
// "Allocate Error", when memory runs out; returns null without a message when
// a size is below 1 or the block would not fit in memory.
BITMAPINFOHEADER* RaskoCreateDIB(int width, int height);

// Frees a DIB block; returns what GlobalFree returns (null on success).
HGLOBAL RaskoDestroyDIB(BITMAPINFOHEADER* dib);

#ifdef __cplusplus
}
#endif
