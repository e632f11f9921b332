#include "app/imageops/reverse.h"

#include "app/imageops/layer_write.h"

#include "engine/rasko.h"

#include <algorithm>
#include <memory>

namespace {

using InvertCopy = void (*)(const BITMAPINFOHEADER*, BYTE*, int, int, int, int,
                            const BITMAPINFOHEADER*, const BYTE*, int, int);

// Reverses the rectangle (l, t, w, h) of one layer through temp, a working
// surface at least w x h.
void reverse_layer(PictureDocument& doc, Layer& layer, Surface& temp, int l, int t, int w, int h,
                   InvertCopy invert) {
    take_undo_copy(layer);
    const AreaSource source{&temp, {0, 0}, 0};
    const AreaRect to{l, t, w, h};
    if (area_changes_mask(doc)) {
        Surface& m = *layer.mask;
        invert(temp.info, temp.bits, 0, 0, w, h, m.info, m.bits, l, t);
        write_area(doc, layer, LayerPlane::Mask, source, to);
    }
    if (!area_changes_image(doc)) return;
    invert(temp.info, temp.bits, 0, 0, w, h, layer.image->info, layer.image->bits, l, t);
    write_area(doc, layer, LayerPlane::Image, source, to);
}

InvertCopy invert_copy(ReverseAxis axis) {
    return axis == ReverseAxis::LeftRight ? RaskoCopyDIBBitsLRInvert : RaskoCopyDIBBitsUDInvert;
}

void reverse_layers(PictureDocument& doc, Surface& temp, int l, int t, int w, int h,
                    InvertCopy invert) {
    for_each_area_layer(doc,
                        [&](Layer& layer) { reverse_layer(doc, layer, temp, l, t, w, h, invert); });
}

} // namespace

bool reverse_picture(PictureDocument& doc, ReverseAxis axis) {
    const InvertCopy invert = invert_copy(axis);
    doc.flags |= kDocModified;
    std::unique_ptr<Surface> own;
    Surface* temp = doc.floating;
    RECT r{0, 0, picture_width(doc) - 1, picture_height(doc) - 1};
    if (temp) {
        r = doc.floating_rect;
        // A moved or pasted area no longer lies over what it would reverse.
        if (r.left != doc.anchor_point.x || r.top != doc.anchor_point.y || (doc.flags & kDocPasted))
            return false;
    } else {
        own.reset(create_surface(picture_width(doc), picture_height(doc)));
        if (!own) return false;
        own->set_palette(current_layer(doc)->image->colour_table());
        temp = own.get();
    }
    reverse_layers(doc, *temp, r.left, r.top, r.right - r.left + 1, r.bottom - r.top + 1, invert);
    if (!own) {
        delete doc.floating;
        doc.floating = nullptr;
    }
    doc.flags &= ~(kDocFloatingFrame | kDocPasted);
    return true;
}

bool reverse_area(PictureDocument& doc, ReverseAxis axis, const AreaRect& area) {
    doc.flags |= kDocModified;
    const int l = std::max<LONG>(area.left, 0), t = std::max<LONG>(area.top, 0);
    const int r = std::min<LONG>(area.left + area.width, picture_width(doc));
    const int b = std::min<LONG>(area.top + area.height, picture_height(doc));
    if (r <= l || b <= t || !current_layer(doc)) return false;
    const std::unique_ptr<Surface> temp(create_surface(r - l, b - t));
    if (!temp) return false;
    temp->set_palette(current_layer(doc)->image->colour_table());
    reverse_layers(doc, *temp, l, t, r - l, b - t, invert_copy(axis));
    return true;
}
