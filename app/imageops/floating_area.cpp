#include "app/imageops/floating_area.h"

#include "app/imageops/layer_write.h"

#include "app/document/composite.h"
#include "engine/rasko.h"

#include <algorithm>

namespace {

constexpr int kMaskOpen = 255;

void whole_picture_recomposited(PictureDocument& doc) {
    doc.update_rect = {0, 0, picture_width(doc), picture_height(doc)};
    recomposite(doc);
}

void destroy_floating(PictureDocument& doc) {
    delete doc.floating;
    doc.floating = nullptr;
    doc.flags &= ~(kDocFloatingFrame | kDocPasted);
}

AreaRect floating_area(const PictureDocument& doc) {
    return {doc.floating_rect.left, doc.floating_rect.top, floating_width(doc),
            floating_height(doc)};
}

// Reads plane at the anchor into the floating surface, then writes it at
// the floating rectangle.
void move_plane(PictureDocument& doc, Layer& layer, LayerPlane which, unsigned options) {
    Surface& f = *doc.floating;
    const Surface& from = which == LayerPlane::Mask ? *layer.mask : *layer.image;
    const AreaRect to = floating_area(doc);
    RaskoCopyDIBBits(f.info, f.bits, 0, 0, to.width, to.height, from.info, from.bits,
                     doc.anchor_point.x, doc.anchor_point.y);
    write_area(doc, layer, which, {&f, {0, 0}, 0}, to, options);
}

} // namespace

int floating_width(const PictureDocument& doc) {
    return doc.floating_rect.right - doc.floating_rect.left + 1;
}

int floating_height(const PictureDocument& doc) {
    return doc.floating_rect.bottom - doc.floating_rect.top + 1;
}

void commit_floating(PictureDocument& doc, bool m_held) {
    if (!doc.floating) return;
    const unsigned m = m_held ? unsigned(kWriteMHeld) : 0u;
    if (doc.flags & kDocPasted) {
        if (Layer* layer = current_layer(doc)) {
            const AreaRect to = floating_area(doc);
            const AreaSource source{doc.floating, {0, 0}, 0};
            if (doc.flags & kDocMaskView)
                write_area(doc, *layer, LayerPlane::Mask, source, to);
            else
                write_area(doc, *layer, LayerPlane::Image, source, to, m | kWritePasted);
        }
    } else {
        for_each_area_layer(doc, [&](Layer& layer) {
            take_undo_copy(layer);
            if (area_changes_mask(doc)) move_plane(doc, layer, LayerPlane::Mask, m);
            if (area_changes_image(doc)) move_plane(doc, layer, LayerPlane::Image, m);
        });
    }
    destroy_floating(doc);
    whole_picture_recomposited(doc);
}

void drop_floating(PictureDocument& doc) {
    destroy_floating(doc);
    whole_picture_recomposited(doc);
}

void replace_floating(PictureDocument& doc, Surface* s) {
    destroy_floating(doc);
    doc.floating = s;
    const Layer* layer = current_layer(doc);
    if (!s || !layer) return;
    const Surface& image = *layer->image;
    if (!RaskoIsSamePalette(s->info, image.info)) {
        RaskoChangeDIBPalette(s->info, s->bits, image.logical_palette);
        s->refresh_palette();
    }
}

void float_pasted(PictureDocument& doc, Surface* s, POINT at) {
    replace_floating(doc, s);
    if (!s) return;
    const LONG left = std::clamp<LONG>(at.x, 0, std::max(0, picture_width(doc) - 1));
    const LONG top = std::clamp<LONG>(at.y, 0, std::max(0, picture_height(doc) - 1));
    doc.floating_rect = {left, top, left + s->width() - 1, top + s->height() - 1};
    doc.flags |= kDocFloatingFrame | kDocPasted;
    whole_picture_recomposited(doc);
}

bool lift_area(PictureDocument& doc, const RECT& r) {
    Layer* layer = current_layer(doc);
    if (!layer) return false;
    const int w = r.right - r.left + 1, h = r.bottom - r.top + 1;
    Surface* s = create_surface(w, h);
    if (!s) return false;
    s->set_palette(layer->image->colour_table());
    const Surface* from = layer->image;
    if (doc.flags & kDocMaskView)
        from = layer->mask;
    else if (doc.flags & kDocMoveAllLayers)
        from = doc.composite;
    RaskoCopyDIBBits(s->info, s->bits, 0, 0, w, h, from->info, from->bits, r.left, r.top);
    replace_floating(doc, s);
    doc.floating_rect = r;
    doc.anchor_point = {r.left, r.top};
    doc.flags |= kDocFloatingFrame;
    return true;
}

bool delete_floating(PictureDocument& doc) {
    if (!doc.floating) return false;
    doc.flags |= kDocModified;
    const bool pasted = doc.flags & kDocPasted;
    const AreaRect place{doc.anchor_point.x, doc.anchor_point.y, floating_width(doc),
                         floating_height(doc)};
    destroy_floating(doc);
    if (!pasted) {
        for_each_area_layer(doc, [&](Layer& layer) {
            take_undo_copy(layer);
            if (area_changes_mask(doc))
                write_area(doc, layer, LayerPlane::Mask, {nullptr, {0, 0}, kMaskOpen}, place);
            if (area_changes_image(doc))
                write_area(doc, layer, LayerPlane::Image,
                           {nullptr, {0, 0}, layer.background_colour}, place);
        });
    }
    whole_picture_recomposited(doc);
    return true;
}
