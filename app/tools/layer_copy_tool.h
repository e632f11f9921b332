// Layer Copy Pen (tool 6): inside a pen stroke, the current layer takes the
// pixels of the layer below, or of every layer below.
#pragma once

#include "app/tools/drawing.h"

// Over the stroke rectangle r clipped to target: where the stroke byte is
// exactly 0, the mask byte (mask_bits, or null for none) is 255 and the
// source pixel is not `transparent`, the target takes the source pixel.
// Source, stroke and mask have target's geometry. Returns the clipped
// height.
int copy_through_stroke(Surface& target, const AreaRect& r, const Surface& source,
                        const BYTE* stroke_bits, const BYTE* mask_bits, int transparent);

// The tool on a move with the left button or the release: outside mask view
// and above the bottom layer, copies through the document's last stroke
// shape from the layer directly below (every pixel), or with move and edit
// all layers from each layer below, bottom up, leaving out each one's key
// colour. The mask (on, or M held) keeps every pixel whose mask byte is not
// 255. Sets the update rectangle, recomposites and raises the present and
// zoom-window bits; false when it did nothing.
bool layer_copy_paint(PictureDocument& doc, bool m_held);
