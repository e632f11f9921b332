#include "app/document/picture.h"

#include <algorithm>

namespace {

// The bottom position is the picture's first layer: it cannot be deleted.
// A layer that has left it becomes an ordinary, deletable layer.
void keep_bottom_undeletable(PictureDocument& doc, Layer* old_bottom) {
    Layer* bottom = bottom_layer(doc);
    if (old_bottom && old_bottom != bottom) old_bottom->flags |= kLayerDeletable;
    if (bottom) bottom->flags &= ~kLayerDeletable;
}

void link_after(LayerNode* below, LayerNode* node) {
    node->previous = below;
    node->next = below->next;
    below->next->previous = node;
    below->next = node;
}

void unlink(LayerNode* node) {
    node->previous->next = node->next;
    node->next->previous = node->previous;
    node->previous = node->next = nullptr;
}

} // namespace

int layer_position(const PictureDocument& doc, const LayerNode* node) {
    if (!doc.layers || !node || node == doc.layers) return 0;
    int position = 1;
    for (const LayerNode* n = doc.layers->next; n != doc.layers; n = n->next, ++position)
        if (n == node) return position;
    return 0;
}

bool is_layer_position(const PictureDocument& doc, int position) {
    return position >= 1 && position <= doc.layer_count;
}

int position_of_list_entry(const PictureDocument& doc, int entry) {
    return doc.layer_count - entry;
}

int list_entry_of_position(const PictureDocument& doc, int position) {
    return doc.layer_count - position;
}

LayerNode* unlink_layer(PictureDocument& doc, LayerNode* node) {
    if (doc.layer_count <= 1 || layer_position(doc, node) == 0) return nullptr;
    unlink(node);
    --doc.layer_count;
    if (doc.current == node) doc.current = doc.layers->next;
    keep_bottom_undeletable(doc, nullptr);
    return node;
}

bool delete_current_layer(PictureDocument& doc) {
    Layer* layer = current_layer(doc);
    // A file may carry Deletable on its first layer; the bottom stays anyway.
    if (!layer || !(layer->flags & kLayerDeletable) || layer == bottom_layer(doc)) return false;
    LayerNode* node = unlink_layer(doc, doc.current);
    if (!node) return false;
    free_layer(node->layer);
    delete node;
    return true;
}

bool swap_with_upper(PictureDocument& doc, int position) {
    if (!is_layer_position(doc, position) || !is_layer_position(doc, position + 1)) return false;
    LayerNode* lower = layer_node_at(doc, position);
    Layer* old_bottom = bottom_layer(doc);
    LayerNode* upper = lower->next;
    unlink(lower);
    link_after(upper, lower);
    keep_bottom_undeletable(doc, old_bottom);
    return true;
}

bool move_layer_to(PictureDocument& doc, LayerNode* node, int position) {
    const int from = layer_position(doc, node);
    if (from == 0 || !is_layer_position(doc, position)) return false;
    if (from == position) return true;
    Layer* old_bottom = bottom_layer(doc);
    unlink(node);
    // With node out, the layer now at position - 1 is the one it goes above.
    link_after(layer_node_at(doc, position - 1), node);
    keep_bottom_undeletable(doc, old_bottom);
    return true;
}

bool set_layer_opacity(Layer& layer, int opacity) {
    if (opacity < 0 || opacity > kLayerOpacityOpaque) return false;
    layer.opacity = opacity;
    if (opacity == kLayerOpacityOpaque)
        layer.flags &= ~kLayerTranslucent;
    else
        layer.flags |= kLayerTranslucent;
    return true;
}

std::int32_t clamped_interval(long long interval) {
    return std::int32_t(std::clamp<long long>(interval, 0, kLayerIntervalMax));
}

AreaRect clamped_area(AreaRect area, int width, int height) {
    area.left = std::clamp<LONG>(area.left, 0, std::max(width - 1, 0));
    area.top = std::clamp<LONG>(area.top, 0, std::max(height - 1, 0));
    area.width = std::clamp<LONG>(area.width, 1, std::max<LONG>(width - area.left, 1));
    area.height = std::clamp<LONG>(area.height, 1, std::max<LONG>(height - area.top, 1));
    return area;
}
