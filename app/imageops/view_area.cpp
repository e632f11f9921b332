#include "app/imageops/view_area.h"

#include "engine/rasko.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr BYTE kMaskFree = 255;
constexpr BYTE kMaskProtected = 0;

// The area cut to the picture, as inclusive-exclusive corners; false when
// nothing is left.
bool cut_to_picture(const PictureDocument& doc, const AreaRect& area, RECT& r) {
    r = {std::max<LONG>(area.left, 0), std::max<LONG>(area.top, 0),
         std::min<LONG>(area.left + area.width, picture_width(doc)),
         std::min<LONG>(area.top + area.height, picture_height(doc))};
    return r.right > r.left && r.bottom > r.top;
}

BYTE* row_of(const BITMAPINFOHEADER* dib, BYTE* bits, int y) {
    return bits + std::size_t(dib->biHeight - 1 - y) * std::size_t(io::stride_of(dib->biWidth));
}

void paste_into_mask(Surface& mask, const BITMAPINFOHEADER* dib, BYTE* bits, const RECT& r) {
    for (int y = r.top; y < r.bottom; ++y) {
        const BYTE* from = row_of(dib, bits, y - r.top);
        BYTE* to = row_of(mask.info, mask.bits, y) + r.left;
        for (int x = 0; x < r.right - r.left; ++x)
            to[x] = from[x] == kMaskFree ? kMaskFree : kMaskProtected;
    }
}

void paste_into_image(const PictureDocument& doc, Layer& layer, BITMAPINFOHEADER* dib, BYTE* bits,
                      const RECT& r) {
    Surface& image = *layer.image;
    if (!RaskoIsSamePalette(dib, image.info) && image.logical_palette)
        RaskoChangeDIBPalette(dib, bits, image.logical_palette);
    const int w = r.right - r.left, h = r.bottom - r.top;
    const bool keyed = doc.flags & kDocKeyColourEnabled;
    const BYTE* mask = (doc.flags & kDocMaskOn) && layer.mask ? layer.mask->bits : nullptr;
    if (mask && keyed)
        RaskoMaskTransparentDIBBits(image.info, image.bits, r.left, r.top, w, h, dib, bits, 0, 0,
                                    layer.key_colour, mask);
    else if (mask)
        RaskoMaskCopyDIBBits(image.info, image.bits, r.left, r.top, w, h, dib, bits, 0, 0, mask);
    else if (keyed)
        RaskoTransparentDIBBits(image.info, image.bits, r.left, r.top, w, h, dib, bits, 0, 0,
                                layer.key_colour);
    else
        RaskoCopyDIBBits(image.info, image.bits, r.left, r.top, w, h, dib, bits, 0, 0);
}

void clear_layer(const PictureDocument& doc, Layer& layer, const RECT& r, bool m_held) {
    take_undo_copy(layer);
    const bool mask_view = doc.flags & kDocMaskView;
    const bool with_mask = doc.flags & kDocMoveWithMask;
    const int w = r.right - r.left, h = r.bottom - r.top;
    if ((mask_view || with_mask) && layer.mask)
        RaskoFillRect(layer.mask->info, layer.mask->bits, r.left, r.top, w, h, kMaskFree);
    if (mask_view && !with_mask) return;
    Surface& image = *layer.image;
    const bool plain = (!(doc.flags & kDocMaskOn) && !m_held) || with_mask ||
                       (layer.flags & kLayerUseMaskAsOpacity) || !layer.mask;
    if (plain)
        RaskoFillRect(image.info, image.bits, r.left, r.top, w, h, layer.background_colour);
    else
        RaskoMaskFillRect(image.info, image.bits, r.left, r.top, w, h, layer.background_colour,
                          layer.mask->bits);
}

} // namespace

bool paste_into_area(PictureDocument& doc, BITMAPINFOHEADER* dib, BYTE* bits,
                     const AreaRect& area) {
    Layer* layer = current_layer(doc);
    if (!layer || !dib || !bits) return false;
    const AreaRect overlap{area.left, area.top, std::min<LONG>(area.width, dib->biWidth),
                           std::min<LONG>(area.height, std::abs(dib->biHeight))};
    RECT r;
    if (dib->biHeight <= 0 || !cut_to_picture(doc, overlap, r)) return false;
    doc.flags |= kDocModified;
    take_undo_copy(*layer);
    if (doc.flags & kDocMaskView) {
        if (layer->mask) paste_into_mask(*layer->mask, dib, bits, r);
    } else {
        paste_into_image(doc, *layer, dib, bits, r);
    }
    doc.update_rect = r;
    return true;
}

bool clear_area(PictureDocument& doc, const AreaRect& area, bool m_held) {
    doc.flags |= kDocModified;
    RECT r;
    if (!current_layer(doc) || !cut_to_picture(doc, area, r)) return false;
    if (doc.flags & kDocMoveAllLayers) {
        for (LayerNode* node = doc.layers->next; node != doc.layers; node = node->next)
            clear_layer(doc, *node->layer, r, m_held);
    } else {
        clear_layer(doc, *current_layer(doc), r, m_held);
    }
    doc.update_rect = r;
    return true;
}
