// The Rotring (tool 3): single pixels, one-pixel lines and rectangle outlines
// in the tone mix of the drawing colours.
#pragma once

#include "app/canvas/drawing.h"

// How a Rotring drag draws, chosen at each left-button press.
enum class RotringMode { free, line, rectangle };

// Draws one pixel at (x, y): the right colour where the level's tone bit is
// set, else the left one; nothing where it would write the key colour
// (keying on, outside mask view) or where the mask protects the pixel. Sets
// the update rectangle (x, y, x + 1, y + 1) and recomposites.
void rotring_point(PictureDocument& doc, int x, int y, bool m_held);

// Draws the line from (x0, y0) to (x1, y1), both ends included, with the
// tone tile under the same key and mask rules; the update rectangle becomes
// the clipped line's box and is recomposited. Returns 0, drawing nothing,
// when the line misses the picture.
int rotring_line(PictureDocument& doc, int x0, int y0, int x1, int y1, bool m_held);

// The outline of the rectangle spanned by a and c as four Rotring lines;
// the update rectangle becomes (min x, min y, max x + 1, max y + 1).
void rotring_rectangle(PictureDocument& doc, POINT a, POINT c, bool m_held);
