// Fluid Fill (tool 5): the region of one colour under the click takes the
// tone mix of the drawing colours.
#pragma once

#include "app/tools/drawing.h"

// Writes the tile's colour at every pixel of target inside box (left, top,
// right, bottom, inclusive, in target's coordinates) whose region byte
// (region has target's geometry) equals mark, leaving out pixels whose mask
// byte is 0 (mask_bits, target's geometry, or null) and tile colours equal
// to transparent. The tile is anchored at (origin_x, origin_y) picture
// pixels, where target's own (0, 0) lies.
void paint_region(Surface& target, const Surface& region, const RECT& box, BYTE mark,
                  const ToneTile& tile, POINT origin, const BYTE* mask_bits, int transparent);

// Fills the region under the current point, on the release. In mask view
// the mask plane's region takes R with L on the pattern of level 16 - t;
// otherwise the image's region takes L with R on the pattern of level t,
// leaving out what the mask protects (mask on or M held; the region is found
// first, so it reaches past protected pixels) and, with colour keying on,
// the key colour. While an area floats, a click inside it fills the
// floating surface instead, its pattern still anchored to the picture. The
// update rectangle becomes the filled region's box, recomposited, and the
// present and zoom-window bits are raised. False when nothing was filled (a
// click outside the picture).
bool fluid_fill(PictureDocument& doc, bool m_held);

// The zoom editor's Ctrl+F: as fluid_fill on the current layer, but the
// region stops at bounds (left, top, right, bottom, inclusive) even where it
// continues beyond. False when the current point lies outside the bounds.
bool fluid_fill_within(PictureDocument& doc, const RECT& bounds, bool m_held);
