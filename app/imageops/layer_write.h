// Writing an area back into a layer the way the document's modes say. Every
// operation that lifts pixels and puts them back (committing a floating
// area, Delete, mirror and flip, the area-to-layer commands, Resize Area)
// writes through write_area, so they all agree on which planes change and
// how the key colour and the mask take part.
#pragma once

#include "app/document/picture.h"

enum class LayerPlane { Image, Mask };

// Options of one write that the document's flags do not say.
enum LayerWriteOption : unsigned {
    // The M key is held: the mask limits the write as if it were on.
    kWriteMHeld = 0x1,
    // Pixels from outside the picture (the clipboard, a file): no mask
    // travels with them, so the mask protects even with Move with MaskPlane
    // on or where it is the layer's opacity.
    kWritePasted = 0x2,
};

// What an area write puts down: the pixels of plane from `from`, or, with
// no plane, `colour` everywhere.
struct AreaSource {
    const Surface* plane = nullptr;
    POINT from{};
    int colour = 0;
};

// The planes an area operation changes: the mask plane in mask view or with
// Move with MaskPlane, the image outside mask view or with Move with
// MaskPlane.
bool area_changes_mask(const PictureDocument& doc);
bool area_changes_image(const PictureDocument& doc);

// Whether an image write into target goes through target's mask plane: the
// mask is on (or M held), and, unless the pixels were pasted, the mask
// neither travels with them nor is target's opacity.
bool write_goes_through_mask(const PictureDocument& doc, const Layer& target, unsigned options);

// Writes source into the rectangle `to` of target (clipped to it).
// - Image, plane: opaque, or leaving out target's key colour with colour
//   keying on; through target's mask when write_goes_through_mask.
// - Image, colour: a fill, through the mask likewise; the key colour is not
//   left out (Delete fills with the background, whatever it is).
// - Mask, plane: 255 where the plane holds 255, 0 elsewhere, so a mask
//   plane only ever holds its two values.
// - Mask, colour: a fill.
void write_area(const PictureDocument& doc, Layer& target, LayerPlane into,
                const AreaSource& source, const AreaRect& to, unsigned options = 0);

// The layers an area operation changes, from the bottom up: every layer
// with Move All Layers on, else the current one.
template <typename Visit> void for_each_area_layer(PictureDocument& doc, Visit&& visit) {
    if (!(doc.flags & kDocMoveAllLayers)) {
        if (Layer* layer = current_layer(doc)) visit(*layer);
        return;
    }
    for (LayerNode* node = doc.layers->next; node != doc.layers; node = node->next)
        visit(*node->layer);
}
