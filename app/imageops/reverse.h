// Mirror (left to right) and Flip (top to bottom) of a picture's layers or of
// the area a floating selection was lifted from.
#pragma once

#include "app/document/picture.h"

enum class ReverseAxis { LeftRight, TopBottom };

// Reverses the current layer, or every layer with "move all layers", over the
// whole picture or, while an area floats unmoved over where it was lifted,
// over that area (and then drops the floating copy). Takes each changed
// layer's undo copy and honours the mask-view, move-with-mask, mask and
// keying modes. Marks the document modified, even when nothing changed.
// False when nothing changed: a moved or pasted floating area no longer lies
// over what it would reverse, or there was no memory for the working copy.
bool reverse_picture(PictureDocument& doc, ReverseAxis axis);
