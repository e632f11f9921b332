// Mirror (left to right) and Flip (top to bottom) of a picture's layers, of
// the area a floating selection was lifted from, or of the zoom editor's
// view area.
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

// Reverses the area (cut to the picture) of the current layer, or of every
// layer with "move all layers", with the same undo copies and modes as
// reverse_picture. Marks the document modified. False when the area misses
// the picture or there was no memory for the working copy.
bool reverse_area(PictureDocument& doc, ReverseAxis axis, const AreaRect& area);
