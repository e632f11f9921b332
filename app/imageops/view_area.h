// The zoom editor's edits of its view area: pasting a clipboard picture into
// it and clearing it (Cut and Delete). Mirror and Flip are reverse_area
// (reverse.h).
#pragma once

#include "app/document/picture.h"

// Writes the overlap of the picture (dib, bits: an 8-bit DIB the caller
// owns) and the area, min of the widths and of the heights, cut to the
// picture, at the area's top-left. Outside mask view the picture's colours
// are first remapped to the current layer's palette when it has another
// one (dib is changed), then written into the current layer's image,
// opaquely or leaving out the layer's key colour by the keying flag, through
// the mask plane while the mask is on. In mask view the mask plane becomes
// 255 where the picture is 255 and 0 elsewhere. Marks the document modified
// and takes the current layer's undo copy first. The update rectangle
// becomes the written box; false, with nothing changed, when nothing
// overlaps.
bool paste_into_area(PictureDocument& doc, BITMAPINFOHEADER* dib, BYTE* bits, const AreaRect& area);

// Cut and Delete: on the current layer, or every layer with "move all
// layers", each after its undo copy: in mask view or with move with mask
// plane the mask's area becomes 255 (free); outside mask view, or with move
// with mask plane, the image's area takes the layer's background colour,
// plainly when the mask is off and M is not held, with move with mask plane
// or when the layer's mask is its opacity, otherwise only where the mask
// leaves pixels free. Marks the document modified; the update rectangle
// becomes the area. False when the area misses the picture.
bool clear_area(PictureDocument& doc, const AreaRect& area, bool m_held);
