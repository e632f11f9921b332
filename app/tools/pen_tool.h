// The Pen (tool 4): paints the drawing colours, as a pattern tiled from the
// picture's origin, through the stroke shape.
#pragma once

#include "app/tools/drawing.h"

// The Pen's pixel rule over the stroke rectangle r (x, y, width, height),
// clipped to target: with p the pattern pixel at (x mod pattern width,
// y mod pattern height) and s the stroke byte at (x, y), every p other than
// transparent gives destination = (destination AND s) OR (NOT s AND p). With
// mask bits (the target's geometry), s becomes (NOT m) OR s so that a
// protected pixel (m = 0) never changes. Stroke and mask bits have the
// target's geometry. Returns the clipped height (0 when nothing is left).
int paint_through_stroke(Surface& target, const AreaRect& r, const Surface& pattern,
                         const BYTE* stroke_bits, int transparent, const BYTE* mask_bits);

// The Pen on a move with the left button (release false) or on the release:
// paints the document's last stroke shape into the drawing target, sets the
// update rectangle, recomposites and raises the present and zoom-window bits.
void pen_paint(PictureDocument& doc, bool m_held, bool release);

// The Pen on focus loss and on deactivation (0x409): the update rectangle
// becomes the pen's box around the previous point and is recomposited, which
// removes a footprint left there. Returns that rectangle for presenting.
RECT pen_deactivate(PictureDocument& doc);
