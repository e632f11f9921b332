#include "app/session/filter_run.h"

#include "app/document/composite.h"
#include "engine/rasko.h"

#include <algorithm>
#include <memory>

namespace {

void whole_picture(PictureDocument& doc) {
    doc.update_rect = RECT{0, 0, picture_width(doc), picture_height(doc)};
}

bool mask_view(const PictureDocument& doc) {
    return (doc.flags & kDocMaskView) != 0;
}
bool all_layers(const PictureDocument& doc) {
    return (doc.flags & kDocMoveAllLayers) != 0;
}

// The floating area still shows the pixels under it only when it stands
// where it was lifted and was not pasted from elsewhere.
bool floating_is_unmoved(const PictureDocument& doc) {
    return doc.floating && !(doc.flags & kDocPasted) &&
           doc.floating_rect.left == doc.anchor_point.x &&
           doc.floating_rect.top == doc.anchor_point.y;
}

// The plane the filter changed, as the floating area reads it.
const Surface* processed_plane(const PictureDocument& doc) {
    Layer* current = current_layer(doc);
    if (mask_view(doc)) return current->mask;
    return all_layers(doc) ? doc.composite : current->image;
}

void refresh_floating(PictureDocument& doc) {
    Surface* floating = doc.floating;
    // Recomposite without the floating overlay, so that the composite holds
    // the filtered layers and not the old floating pixels.
    doc.floating = nullptr;
    whole_picture(doc);
    recomposite(doc);
    doc.floating = floating;
    const Surface* plane = processed_plane(doc);
    RaskoCopyDIBBits(floating->info, floating->bits, 0, 0, floating->width(), floating->height(),
                     plane->info, plane->bits, doc.floating_rect.left, doc.floating_rect.top);
}

} // namespace

FilterRequest make_filter_request(const PictureDocument& doc, const Layer& layer,
                                  const Surface* mask_copy, HWND canvas) {
    FilterRequest r{};
    r.size = sizeof(FilterRequest);
    if (&layer == current_layer(doc)) r.flags |= kFilterCurrentLayer;
    if (mask_view(doc)) {
        r.target = layer.mask->info;
        r.target_bits = layer.mask->bits;
        r.copy = mask_copy->info;
        r.copy_bits = mask_copy->bits;
        r.flags |= kFilterMaskView;
    } else {
        r.target = layer.image->info;
        r.target_bits = layer.image->bits;
        r.mask_bits = layer.mask->bits;
        const Surface* copy = all_layers(doc) ? doc.composite : layer.undo_copy;
        r.copy = copy->info;
        r.copy_bits = copy->bits;
        r.flags |= kFilterPictureView;
    }
    if (doc.flags & kDocMaskOn) r.flags |= kFilterMaskOn;
    if (doc.flags & kDocKeyColourEnabled) r.flags |= kFilterKeying;
    if (doc.floating) {
        r.flags |= kFilterArea;
        r.area_left = doc.floating_rect.left;
        r.area_top = doc.floating_rect.top;
        r.area_width = doc.floating_rect.right - doc.floating_rect.left + 1;
        r.area_height = doc.floating_rect.bottom - doc.floating_rect.top + 1;
    }
    r.window = canvas;
    r.left_colour = DWORD(doc.left_colour);
    r.right_colour = DWORD(doc.right_colour);
    r.key_colour = DWORD(layer.key_colour);
    r.background_colour = DWORD(layer.background_colour);
    r.tone_level = DWORD(doc.tone_level);
    return r;
}

FilterResult apply_filter(PictureDocument& doc, const FilterEntry& filter, HWND canvas) {
    FilterResult result;
    Layer* current = current_layer(doc);
    if (!current || !filter.filter) return result;
    std::unique_ptr<Surface, void (*)(Surface*)> mask_copy(nullptr, [](Surface* s) { delete s; });
    if (mask_view(doc)) {
        mask_copy.reset(create_surface(picture_width(doc), picture_height(doc)));
        if (!mask_copy) return result;
    }
    doc.flags |= kDocModified;
    whole_picture(doc);
    recomposite(doc);

    Layer* palette_source = nullptr;
    for (LayerNode* node = doc.layers->next; node != doc.layers; node = node->next) {
        Layer& layer = *node->layer;
        if (!all_layers(doc) && &layer != current) continue;
        take_undo_copy(layer);
        if (mask_copy) layer.mask->copy_to(*mask_copy);
        FilterRequest request = make_filter_request(doc, layer, mask_copy.get(), canvas);
        filter.filter(&request);
        if (request.flags & kFilterPaletteChanged) {
            Surface* target = mask_view(doc) ? layer.mask : layer.image;
            target->refresh_palette();
            if (!mask_view(doc)) palette_source = &layer;
        }
    }
    result.ran = true;

    // One palette per picture: the table a filter left becomes everyone's.
    if (palette_source) {
        if (palette_source != current)
            current->image->set_palette(palette_source->image->colour_table());
        update_palette(doc);
        result.palette_changed = true;
    }
    if (floating_is_unmoved(doc)) refresh_floating(doc);
    whole_picture(doc);
    recomposite(doc);
    return result;
}
