// The Outline filter's pixel work: a one-pixel outline in one colour around
// every pixel that is not the key colour. Portable.
#pragma once

#include "platform/win.h"

struct OutlineOptions {
    bool outside = true;          // paint key pixels next to the shape, else the shape's own edge
    bool eight_connected = false; // diagonal neighbours count too
};

// The plane: bottom-up 8-bit rows of stride (width + 3) & ~3. A pixel is
// outlined by looking at the plane as it was before the call. Only pixels
// inside the clip rectangle (left, top, right, bottom exclusive, picture
// coordinates, top row 0) change, and with a mask only where the mask is not
// 0. Outside the picture counts as key colour, so a shape touching the edge
// gets its inside outline there. Returns the number of pixels painted.
int draw_outline(BYTE* bits, int width, int height, const BYTE* mask, RECT clip, BYTE key,
                 BYTE colour, OutlineOptions options);
