// Writing a working plane back into a layer the way the document's modes
// say: opaque or leaving out the layer's key colour, through the layer's mask
// unless the mask is off, moves along with the pixels, or is the layer's
// opacity. Shared by the image operations that lift pixels and put them back.
#pragma once

#include "app/document/picture.h"

// Writes plane (w x h, read from (0, 0)) into target's image at (x, y).
void write_into_layer(const PictureDocument& doc, Layer& target, const Surface& plane, int x, int y,
                      int w, int h);
