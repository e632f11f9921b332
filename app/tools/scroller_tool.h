// The Scroller (tool 1, and the R and Space keys' temporary tool): the
// picture pixel grabbed at the press follows the pointer.
#pragma once

#include "app/document/picture.h"

// A move to p (mapped without snapping) while grab is held: when p lies in
// the picture (its right and bottom edges included), the view origin moves
// back by p - grab, kept within the picture. True when the origin changed;
// the caller then moves the scroll thumbs and presents the view. The cost
// does not depend on the picture's size.
bool scroll_to_grab(PictureDocument& doc, POINT grab, POINT p);
