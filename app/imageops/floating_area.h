// The floating area: a surface drawn over the current layer at its own
// rectangle until it is committed into the layers or dropped. Select Area
// lifts one from the picture; Paste, Paste from File, Select All and Resize
// Area make one from other pixels. A selected area keeps its source place in
// the anchor point and is read again from every layer when it is committed;
// a pasted one (kDocPasted) carries its own pixels.
#pragma once

#include "app/document/picture.h"

// The floating rectangle's size (inclusive corners).
int floating_width(const PictureDocument& doc);
int floating_height(const PictureDocument& doc);

// Writes the floating area at its rectangle and drops it. A pasted area
// goes into the current layer's image (keyed and through the mask by the
// modes, the mask also with M held) or, in mask view, into its mask plane
// as 0 and 255. A selected area is read again at the anchor from each layer
// it concerns (the current one, or all with Move All Layers), whose undo
// copy is taken first, and written at the rectangle into the mask plane
// and the image as the modes say. The rectangle is never shifted here:
// only drags move it. Then the whole picture is recomposited. Nothing
// without a floating area.
void commit_floating(PictureDocument& doc, bool m_held);

// Destroys the floating surface without writing it; the frame and pasted
// flags go with it. The whole picture is recomposited.
void drop_floating(PictureDocument& doc);

// The floating surface becomes s (owned from here), replacing any other
// without committing it; s is remapped to the current layer's palette when
// its colour table differs.
void replace_floating(PictureDocument& doc, Surface* s);

// A pasted surface s (owned from here) floats with its top-left corner at
// `at`, held inside the picture so that it can always be grabbed; frame and
// pasted flags set; the whole picture recomposited.
void float_pasted(PictureDocument& doc, Surface* s, POINT at);

// Lifts the rectangle r (inclusive, inside the picture) as a selected area:
// from the current layer's mask plane in mask view, the composite with Move
// All Layers (as it stands), else the current layer's image. The anchor
// becomes r's corner; the frame flag is set and the pasted flag cleared
// (any earlier floating area is dropped, not committed).
// False, with nothing changed, when the surface cannot be made.
bool lift_area(PictureDocument& doc, const RECT& r);

// Delete: a pasted area is dropped; a selected one is dropped and the place
// it was taken from (the anchor, the area's size) is filled, in each layer
// it concerns after its undo copy: the mask plane with 255, the image with
// the layer's background colour (through the mask by the modes). Marks the
// document modified and recomposites the whole picture. False without a
// floating area.
bool delete_floating(PictureDocument& doc);
