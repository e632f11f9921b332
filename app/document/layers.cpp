#include "app/document/picture.h"
#include "engine/rasko.h"

#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <new>

Layer* create_layer(int width, int height) {
    auto* layer = new (std::nothrow) Layer;
    if (!layer) return nullptr;
    layer->image = create_surface(width, height);
    layer->undo_copy = create_surface(width, height);
    layer->mask = create_surface(width, height);
    if (!layer->image || !layer->undo_copy || !layer->mask) {
        free_layer(layer);
        return nullptr;
    }
    std::memset(layer->mask->bits, 255, layer->mask->pixel_bytes());
    layer->area = {0, 0, width, height};
    return layer;
}

void free_layer(Layer* layer) {
    if (!layer) return;
    delete layer->image;
    delete layer->undo_copy;
    delete layer->mask;
    delete layer;
}

void append_layer_at_top(LayerNode* sentinel, LayerNode* node) {
    node->previous = sentinel->previous;
    node->next = sentinel;
    sentinel->previous->next = node;
    sentinel->previous = node;
}

LayerNode* layer_node_at(const PictureDocument& doc, int position) {
    LayerNode* node = doc.layers;
    for (int i = 0; node && i < position; ++i)
        node = node->next;
    return node;
}

void free_all_layers(PictureDocument& doc) {
    LayerNode* sentinel = doc.layers;
    if (!sentinel) return;
    while (sentinel->next != sentinel) {
        LayerNode* node = sentinel->next;
        sentinel->next = node->next;
        node->next->previous = sentinel;
        free_layer(node->layer);
        delete node;
    }
    delete sentinel;
    doc.layers = nullptr;
    doc.current = nullptr;
    doc.layer_count = 0;
}

Layer* bottom_layer(const PictureDocument& doc) {
    return doc.layers && doc.layers->next != doc.layers ? doc.layers->next->layer : nullptr;
}

Layer* current_layer(const PictureDocument& doc) {
    return doc.current && doc.current != doc.layers ? doc.current->layer : nullptr;
}

int picture_width(const PictureDocument& doc) {
    const Layer* bottom = bottom_layer(doc);
    return bottom ? bottom->image->width() : 0;
}

int picture_height(const PictureDocument& doc) {
    const Layer* bottom = bottom_layer(doc);
    return bottom ? bottom->image->height() : 0;
}

namespace {

// Names a made layer "Layer:%02d" with the next layer number, links it in at
// the top and makes it current. When the node cannot be allocated, the layer
// is freed and the document keeps its list and its next layer number.
bool name_and_link_at_top(PictureDocument& doc, Layer* layer) {
    auto* node = new (std::nothrow) LayerNode;
    if (!node) {
        free_layer(layer);
        return false;
    }
    std::snprintf(layer->name, sizeof layer->name, "Layer:%02d", doc.next_layer_number);
    ++doc.next_layer_number;
    node->layer = layer;
    append_layer_at_top(doc.layers, node);
    ++doc.layer_count;
    doc.current = node;
    return true;
}

void fill_surface(Surface& surface, int colour) {
    std::memset(surface.bits, colour & 0xFF, surface.pixel_bytes());
}

} // namespace

Layer* add_layer_above(PictureDocument& doc) {
    Layer* current = current_layer(doc);
    Layer* bottom = bottom_layer(doc);
    if (!current || !bottom) return nullptr;
    Layer* layer = create_layer(picture_width(doc), picture_height(doc));
    if (!layer) return nullptr;
    layer->image->set_palette(current->image->colour_table());
    layer->key_colour = bottom->key_colour;
    layer->background_colour = bottom->background_colour;
    // The filler bytes of each row take the key colour too, so a saved layer
    // holds no stray bytes.
    fill_surface(*layer->image, layer->key_colour);
    layer->image->copy_to(*layer->undo_copy);
    if (!name_and_link_at_top(doc, layer)) return nullptr;
    layer->flags = kLayerVisible | kLayerDeletable;
    return layer;
}

bool create_bottom_layer(PictureDocument& doc, int width, int height) {
    if (!doc.layers || doc.layers->next != doc.layers) return false;
    Layer* layer = create_layer(width, height);
    if (!layer) return false;
    if (!name_and_link_at_top(doc, layer)) return false;
    layer->flags = kLayerVisible;
    layer->key_colour = 255;
    layer->background_colour = 255;

    if (!doc.composite->create(width, height) || !doc.stroke_surface->create(width, height))
        return false;
    update_palette(doc);
    if (!doc.palette) return false;

    if (doc.flags & kDocMaskOn) {
        const RGBQUAD* table = layer->image->colour_table();
        for (std::int32_t* colour : {&doc.left_colour, &doc.right_colour}) {
            const RGBQUAD& c = table[*colour & 0xFF];
            *colour = c.rgbRed + c.rgbGreen + c.rgbBlue < 384 ? 0 : 255;
        }
    }
    draw_colour_swatch(doc);
    if (doc.zoom_window_area.width > width) doc.zoom_window_area.width = width;
    if (doc.zoom_window_area.height > height) doc.zoom_window_area.height = height;
    return true;
}
