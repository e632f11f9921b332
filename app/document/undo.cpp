#include "app/document/picture.h"

#include <utility>

void take_undo_copy(Layer& layer) {
    if (layer.image && layer.undo_copy) layer.image->copy_to(*layer.undo_copy);
}

void settle_undo_copies(PictureDocument& doc) {
    if (!doc.layers) return;
    for (LayerNode* node = doc.layers->next; node != doc.layers; node = node->next)
        if (node != doc.current) take_undo_copy(*node->layer);
}

void undo_exchange(PictureDocument& doc) {
    if (!current_layer(doc)) return;
    for (LayerNode* node = doc.layers->next; node != doc.layers; node = node->next) {
        Layer& layer = *node->layer;
        std::swap(layer.image, layer.undo_copy);
        layer.image->refresh_palette();
    }
    // An undo copy may hold an older colour table than the current layer's;
    // every image takes the current one so that the layers keep one palette.
    update_palette(doc);
    doc.update_rect = {0, 0, picture_width(doc), picture_height(doc)};
}
