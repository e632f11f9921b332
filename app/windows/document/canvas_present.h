// Presenting: copying the document's composite to its canvas window at the
// zoom, with the floating-area frame and the grid drawn over the copy. The
// composite itself is rebuilt by recomposite() (composite.h); this is the
// thin GDI step after it.
#pragma once

#include "app/document/picture.h"

// Copies the picture rectangle r (left, top, right, bottom; column right and
// row bottom are not copied) of the composite to the canvas through the
// document's window DC, then draws the frame and the grid over it. Does
// nothing before the document window has given the document its DC.
void present_rect(PictureDocument& doc, const RECT& r);
// Presents the document's update rectangle.
void present_update(PictureDocument& doc);
// Presents the whole visible part of the picture (painting, zooming,
// scrolling).
void present_view(PictureDocument& doc);

// Inverts the outline of the picture rectangle r (its right and bottom lie
// past the last pixel) on the canvas: a pen one picture pixel wide, centred
// on the inside of the edge. Drawing it twice erases it. The floating
// area's frame and Select Area's rubber band.
void draw_inverted_frame(PictureDocument& doc, const RECT& r);
