#include "app/imageops/layer_write.h"

#include "engine/rasko.h"

namespace {

constexpr BYTE kMaskOpen = 255;
constexpr BYTE kMaskProtected = 0;
constexpr int kFullTone = 16;

void write_mask(Layer& target, const AreaSource& source, const AreaRect& to) {
    Surface& m = *target.mask;
    if (!source.plane) {
        RaskoFillRect(m.info, m.bits, to.left, to.top, to.width, to.height, source.colour);
        return;
    }
    const Surface& p = *source.plane;
    RaskoExchangeCopyDIBBits(m.info, m.bits, to.left, to.top, to.width, to.height, p.info, p.bits,
                             source.from.x, source.from.y, kMaskOpen, kMaskOpen);
    RaskoTransparentDIBBitsExColor(m.info, m.bits, to.left, to.top, to.width, to.height, p.info,
                                   p.bits, source.from.x, source.from.y, kMaskOpen, kMaskProtected,
                                   kFullTone);
}

void write_image(const PictureDocument& doc, Layer& target, const AreaSource& source,
                 const AreaRect& to, unsigned options) {
    Surface& image = *target.image;
    const BYTE* mask = write_goes_through_mask(doc, target, options) ? target.mask->bits : nullptr;
    const int x = to.left, y = to.top, w = to.width, h = to.height;
    if (!source.plane) {
        if (mask)
            RaskoMaskFillRect(image.info, image.bits, x, y, w, h, source.colour, mask);
        else
            RaskoFillRect(image.info, image.bits, x, y, w, h, source.colour);
        return;
    }
    const Surface& p = *source.plane;
    const int sx = source.from.x, sy = source.from.y;
    const bool keyed = doc.flags & kDocKeyColourEnabled;
    if (!mask && !keyed)
        RaskoCopyDIBBits(image.info, image.bits, x, y, w, h, p.info, p.bits, sx, sy);
    else if (!mask)
        RaskoTransparentDIBBits(image.info, image.bits, x, y, w, h, p.info, p.bits, sx, sy,
                                target.key_colour);
    else if (!keyed)
        RaskoMaskCopyDIBBits(image.info, image.bits, x, y, w, h, p.info, p.bits, sx, sy, mask);
    else
        RaskoMaskTransparentDIBBits(image.info, image.bits, x, y, w, h, p.info, p.bits, sx, sy,
                                    target.key_colour, mask);
}

} // namespace

bool area_changes_mask(const PictureDocument& doc) {
    return doc.flags & (kDocMaskView | kDocMoveWithMask);
}

bool area_changes_image(const PictureDocument& doc) {
    return !(doc.flags & kDocMaskView) || (doc.flags & kDocMoveWithMask);
}

bool write_goes_through_mask(const PictureDocument& doc, const Layer& target, unsigned options) {
    if (!(doc.flags & kDocMaskOn) && !(options & kWriteMHeld)) return false;
    if (options & kWritePasted) return true;
    return !(doc.flags & kDocMoveWithMask) && !(target.flags & kLayerUseMaskAsOpacity);
}

void write_area(const PictureDocument& doc, Layer& target, LayerPlane into,
                const AreaSource& source, const AreaRect& to, unsigned options) {
    if (to.width <= 0 || to.height <= 0) return;
    if (into == LayerPlane::Mask)
        write_mask(target, source, to);
    else
        write_image(doc, target, source, to, options);
}
