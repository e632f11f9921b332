// Color Exchange (tool 7): inside a pen stroke, pixels of the left colour
// become the right colour on the pixels of the tone pattern.
#pragma once

#include "app/tools/drawing.h"

// Over the stroke rectangle r (x, y, width, height) clipped to target: where
// the swatch pixel at (x mod swatch width, y mod swatch height) is `right`
// and the target pixel is `left`, destination = (destination AND s) OR
// (NOT s AND right), s the stroke byte; with mask bits s becomes (NOT m) OR
// s, so a protected pixel (m = 0) never changes. No colour is left out by
// keying: the exchange only ever writes where a chosen colour already is.
// Stroke and mask bits have target's geometry. Returns the clipped height.
int exchange_through_stroke(Surface& target, const AreaRect& r, const Surface& swatch,
                            const BYTE* stroke_bits, int left, int right, const BYTE* mask_bits);

// The tool on a move with the left button (release false) or on the
// release: exchanges through the document's last stroke shape in the
// drawing target (the mask plane in mask view; the image, limited by the
// mask when it is on or M is held), sets the update rectangle, recomposites
// and raises the present and zoom-window bits.
void colour_exchange_paint(PictureDocument& doc, bool m_held, bool release);
