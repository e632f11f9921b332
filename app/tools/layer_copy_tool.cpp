#include "app/tools/layer_copy_tool.h"

#include "app/document/composite.h"

#include <algorithm>

namespace {

// Mask bytes below this keep the pixel out of the copy.
constexpr BYTE kMaskFree = 255;
constexpr BYTE kStrokeInside = 0;

} // namespace

int copy_through_stroke(Surface& target, const AreaRect& r, const Surface& source,
                        const BYTE* stroke_bits, const BYTE* mask_bits, int transparent) {
    if (!target.info || !source.info || !stroke_bits || source.width() != target.width() ||
        source.height() != target.height())
        return 0;
    const int width = target.width(), height = target.height();
    const int x0 = std::max<LONG>(r.left, 0), y0 = std::max<LONG>(r.top, 0);
    const int x1 = int(std::min<long long>((long long)r.left + r.width, width));
    const int y1 = int(std::min<long long>((long long)r.top + r.height, height));
    if (x1 <= x0 || y1 <= y0) return 0;
    for (int y = y0; y < y1; ++y) {
        BYTE* d = pixel_at(target, 0, y);
        const BYTE* from = pixel_at(source, 0, y);
        const BYTE* s = pixel_at_bits(target, stroke_bits, 0, y);
        const BYTE* m = mask_bits ? pixel_at_bits(target, mask_bits, 0, y) : nullptr;
        for (int x = x0; x < x1; ++x)
            if (s[x] == kStrokeInside && (!m || m[x] == kMaskFree) && from[x] != transparent)
                d[x] = from[x];
    }
    return y1 - y0;
}

bool layer_copy_paint(PictureDocument& doc, bool m_held) {
    Layer* layer = current_layer(doc);
    if (!layer || !layer->image || !doc.stroke_surface || (doc.flags & kDocMaskView) ||
        !doc.current || doc.current->previous == doc.layers)
        return false;
    const BYTE* mask =
        ((doc.flags & kDocMaskOn) || m_held) && layer->mask ? layer->mask->bits : nullptr;
    const AreaRect& r = doc.stroke_rect;
    const BYTE* stroke = doc.stroke_surface->bits;
    if (doc.flags & kDocMoveAllLayers) {
        for (LayerNode* n = doc.layers->next; n != doc.current; n = n->next)
            copy_through_stroke(*layer->image, r, *n->layer->image, stroke, mask,
                                n->layer->key_colour & 0xFF);
    } else {
        copy_through_stroke(*layer->image, r, *doc.current->previous->layer->image, stroke, mask,
                            kNoTransparentColour);
    }
    doc.update_rect = {r.left, r.top, r.left + r.width - 1, r.top + r.height - 1};
    recomposite(doc);
    doc.flags |= kNotifyPresent | kNotifyZoomWindow;
    return true;
}
