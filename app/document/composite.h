// Layer compositing: rebuilding the document's composite surface from its
// layers, rectangle by rectangle, and the overlays that pen tools draw into
// the composite (the footprint under the cursor and the stroke preview).
// Portable: presenting the composite on a window is the canvas window's job.
#pragma once

#include "app/document/picture.h"

// Rebuilds the composite inside the document's update rectangle (left, top,
// right, bottom, inclusive) in the document's display mode: all visible
// layers, only the current layer (and the one below it), and the mask-plane
// view with or without the picture under it. An empty rectangle does nothing.
void recomposite(PictureDocument& doc);

// Removes the previous overlay by recompositing the update rectangle, then
// draws the current pen, centred on (x, y), into the composite in the drawing
// colours. The footprint's box (x - 15, y - 15, x + 17, y + 17) becomes the
// update rectangle; returns the rectangle to present, the union of that box
// and the old update rectangle.
RECT draw_footprint(PictureDocument& doc, int x, int y);

// Draws the stroke surface's shape inside the stroke box (x, y, width,
// height) into the composite in the drawing colours. (x, y, x + width,
// y + height) becomes the update rectangle; returns the rectangle to present,
// the union of that and the old update rectangle.
RECT draw_stroke_preview(PictureDocument& doc, const AreaRect& stroke);
