#include "app/imageops/layer_write.h"

#include "engine/rasko.h"

void write_into_layer(const PictureDocument& doc, Layer& target, const Surface& plane, int x, int y,
                      int w, int h) {
    Surface& image = *target.image;
    const bool plain = !(doc.flags & kDocMaskOn) || (doc.flags & kDocMoveWithMask) ||
                       (target.flags & kLayerUseMaskAsOpacity);
    const bool keyed = doc.flags & kDocKeyColourEnabled;
    if (plain && !keyed)
        RaskoCopyDIBBits(image.info, image.bits, x, y, w, h, plane.info, plane.bits, 0, 0);
    else if (plain)
        RaskoTransparentDIBBits(image.info, image.bits, x, y, w, h, plane.info, plane.bits, 0, 0,
                                target.key_colour);
    else if (!keyed)
        RaskoMaskCopyDIBBits(image.info, image.bits, x, y, w, h, plane.info, plane.bits, 0, 0,
                             target.mask->bits);
    else
        RaskoMaskTransparentDIBBits(image.info, image.bits, x, y, w, h, plane.info, plane.bits, 0,
                                    0, target.key_colour, target.mask->bits);
}
