// The pixel work of the Mask and Layer menus: mask planes built from a
// colour, and layers filled from a colour or from the selected area.
#pragma once

#include "app/document/picture.h"

// Every mask byte of the layer becomes 255 (nothing protected).
void clear_mask(Layer& layer);
// 0 and 255 change places in the layer's mask; other values stay.
void invert_mask(Layer& layer);

// Which pixels a colour mask protects, and whether it starts from a clear
// plane or adds to what is protected already.
enum class ColourMatch { Selected, NotSelected };
enum class MaskStart { Clear, Keep };

// The plane the colour commands read: the composite (recomposited over the
// whole picture first) when all layers move together, else the current
// layer's image.
const Surface* colour_source(PictureDocument& doc);

// The current layer's mask byte becomes 0 wherever the colour source holds
// colour (Selected) or another colour (NotSelected); the other bytes keep
// their value, or become 255 first with MaskStart::Clear.
void mask_from_colour(PictureDocument& doc, int colour, ColourMatch match, MaskStart start);

// target receives colour wherever the colour source holds it; with the mask
// on (and target not using its mask as opacity) only where target's mask is
// open. Its other pixels keep their values.
void copy_colour_to_layer(PictureDocument& doc, Layer& target, int colour);

// Copies the selected area of the current layer into target where the area
// lies now, or the whole layer when nothing floats. A pasted area comes from
// the floating surface; a selected one is read where it was taken (the
// anchor). The mask plane in mask view or with Move with MaskPlane, the
// image outside mask view, through target's key colour and mask by the
// document's modes. False when the working copy cannot be made.
bool copy_area_to_layer(PictureDocument& doc, Layer& target);

// The animation area the selected area stands for: the floating rectangle
// while the frame is shown, else the whole picture, kept inside the picture.
AreaRect selected_animation_area(const PictureDocument& doc);
