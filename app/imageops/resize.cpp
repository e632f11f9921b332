#include "app/imageops/resize.h"

#include "app/imageops/floating_area.h"
#include "app/imageops/layer_write.h"

#include "app/document/composite.h"
#include "engine/rasko.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

namespace {

constexpr BYTE kMaskOpen = 255;

bool valid_side(int side) {
    return side >= 1 && side <= kMaxResizeSide;
}

// The new surfaces of one layer, made before anything is installed.
struct LayerSurfaces {
    std::unique_ptr<Surface> image, undo_copy, mask;
};

void fill_new_layer(const Layer& old, LayerSurfaces& made, ResizeMode mode) {
    Surface& image = *made.image;
    Surface& mask = *made.mask;
    const Surface& old_image = *old.image;
    const Surface& old_mask = *old.mask;
    image.set_palette(old_image.colour_table());
    if (mode == ResizeMode::Stretch) {
        RaskoStretchDIBBits(image.info, image.bits, 0, 0, image.width(), image.height(),
                            old_image.info, old_image.bits, 0, 0, old_image.width(),
                            old_image.height());
        RaskoStretchDIBBits(mask.info, mask.bits, 0, 0, mask.width(), mask.height(), old_mask.info,
                            old_mask.bits, 0, 0, old_mask.width(), old_mask.height());
    } else {
        RaskoFillDIB(image.info, image.bits, old.background_colour);
        RaskoFillDIB(mask.info, mask.bits, kMaskOpen);
        RaskoCopyDIBBits(image.info, image.bits, 0, 0, old_image.width(), old_image.height(),
                         old_image.info, old_image.bits, 0, 0);
        RaskoCopyDIBBits(mask.info, mask.bits, 0, 0, old_mask.width(), old_mask.height(),
                         old_mask.info, old_mask.bits, 0, 0);
    }
    image.copy_to(*made.undo_copy);
}

// Replaces *slot by the surface made for it.
void install(Surface*& slot, std::unique_ptr<Surface>& made) {
    delete slot;
    slot = made.release();
}

void keep_zoom_area_inside(PictureDocument& doc, int width, int height) {
    AreaRect& a = doc.zoom_window_area;
    a.left = std::max<LONG>(a.left, 0);
    a.top = std::max<LONG>(a.top, 0);
    if (a.left + a.width > width) a.left = std::max<LONG>(width - a.width, 0);
    if (a.top + a.height > height) a.top = std::max<LONG>(height - a.height, 0);
}

void stretch_into(Surface& to, const Surface& from, const RECT& r) {
    RaskoStretchDIBBits(to.info, to.bits, 0, 0, to.width(), to.height(), from.info, from.bits,
                        r.left, r.top, r.right - r.left + 1, r.bottom - r.top + 1);
}

} // namespace

bool resize_picture(PictureDocument& doc, int width, int height, ResizeMode mode) {
    if (!valid_side(width) || !valid_side(height) || !current_layer(doc)) return false;
    std::vector<LayerSurfaces> made;
    made.reserve(std::size_t(doc.layer_count > 0 ? doc.layer_count : 1));
    for (LayerNode* node = doc.layers->next; node != doc.layers; node = node->next) {
        LayerSurfaces s{std::unique_ptr<Surface>(create_surface(width, height)),
                        std::unique_ptr<Surface>(create_surface(width, height)),
                        std::unique_ptr<Surface>(create_surface(width, height))};
        if (!s.image || !s.undo_copy || !s.mask) return false;
        made.push_back(std::move(s));
    }
    std::unique_ptr<Surface> composite(create_surface(width, height));
    std::unique_ptr<Surface> stroke(create_surface(width, height));
    if (!composite || !stroke) return false;

    std::size_t i = 0;
    for (LayerNode* node = doc.layers->next; node != doc.layers; node = node->next, ++i) {
        Layer& layer = *node->layer;
        fill_new_layer(layer, made[i], mode);
        install(layer.image, made[i].image);
        install(layer.undo_copy, made[i].undo_copy);
        install(layer.mask, made[i].mask);
        layer.area = {0, 0, width, height};
    }
    install(doc.composite, composite);
    install(doc.stroke_surface, stroke);
    update_palette(doc);
    keep_zoom_area_inside(doc, width, height);
    doc.update_rect = {0, 0, width, height};
    recomposite(doc);
    return true;
}

bool clip_to_picture(const PictureDocument& doc, RECT& r) {
    r.left = std::max<LONG>(r.left, 0);
    r.top = std::max<LONG>(r.top, 0);
    r.right = std::min<LONG>(r.right, picture_width(doc) - 1);
    r.bottom = std::min<LONG>(r.bottom, picture_height(doc) - 1);
    return r.left <= r.right && r.top <= r.bottom;
}

bool resize_area(PictureDocument& doc, const RECT& source, int width, int height) {
    Layer* current = current_layer(doc);
    if (!valid_side(width) || !valid_side(height) || !current) return false;
    Surface* s = create_surface(width, height);
    if (!s) return false;
    s->set_palette(current->image->colour_table());
    doc.flags |= kDocModified;
    replace_floating(doc, s);
    const AreaRect to{source.left, source.top, width, height};
    const AreaSource stretched{s, {0, 0}, 0};
    for_each_area_layer(doc, [&](Layer& layer) {
        take_undo_copy(layer);
        if (area_changes_mask(doc)) {
            stretch_into(*s, *layer.mask, source);
            write_area(doc, layer, LayerPlane::Mask, stretched, to);
        }
        if (area_changes_image(doc)) {
            stretch_into(*s, *layer.image, source);
            write_area(doc, layer, LayerPlane::Image, stretched, to);
        }
    });
    // What floats is read from the layer as it was; with every layer or the
    // mask plane it stands for pixels that the commit reads again.
    const bool own_pixels = !(doc.flags & (kDocMaskView | kDocMoveAllLayers));
    stretch_into(*s, own_pixels ? *current->undo_copy : *doc.composite, source);
    doc.floating_rect = {source.left, source.top, source.left + width - 1, source.top + height - 1};
    doc.anchor_point = {source.left, source.top};
    doc.flags |= kDocFloatingFrame;
    if (own_pixels) doc.flags |= kDocPasted;
    doc.update_rect = {0, 0, picture_width(doc), picture_height(doc)};
    recomposite(doc);
    return true;
}

namespace {

constexpr int kWholeRate = 100;

int capped(std::int64_t v) {
    return int(std::clamp<std::int64_t>(v, 0, kMaxResizeSide));
}

// a * b / c with c held at 1 or more.
int scaled(int a, int b, int c) {
    return capped(std::int64_t(a) * b / std::max(c, 1));
}

} // namespace

ResizeFields fields_for_width(int start_width, int start_height, int width) {
    return {width, scaled(start_height, width, start_width),
            scaled(width, kWholeRate, start_width)};
}

ResizeFields fields_for_height(int start_width, int start_height, int height) {
    return {scaled(start_width, height, start_height), height,
            scaled(height, kWholeRate, start_height)};
}

ResizeFields fields_for_rate(int start_width, int start_height, int rate) {
    rate = std::max(rate, 1);
    return {scaled(start_width, rate, kWholeRate), scaled(start_height, rate, kWholeRate), rate};
}
