#include "app/imageops/animation_frames.h"

#include "engine/rasko.h"

#include <algorithm>

namespace {

constexpr std::int32_t kDisposalErase = 2;
constexpr std::int32_t kDisposalPrevious = 3;

// The part of the layer's area that lies in both the image and the frame; a
// file or an older picture size may have left it partly or wholly outside,
// and the engine's blits clip only their destination.
AreaRect visible_area(const Layer& layer, const Surface& frame) {
    const AreaRect& a = layer.area;
    const long long right = std::min(
        {(long long)a.left + a.width, (long long)frame.width(), (long long)layer.image->width()});
    const long long bottom = std::min(
        {(long long)a.top + a.height, (long long)frame.height(), (long long)layer.image->height()});
    const long long left = std::max<long long>(a.left, 0);
    const long long top = std::max<long long>(a.top, 0);
    return {LONG(left), LONG(top), LONG(std::max(right - left, 0LL)),
            LONG(std::max(bottom - top, 0LL))};
}

void copy_area(const Layer& layer, Surface& frame, bool transparent) {
    const AreaRect a = visible_area(layer, frame);
    if (a.width == 0 || a.height == 0) return;
    const Surface& image = *layer.image;
    if (transparent)
        RaskoTransparentDIBBits(frame.info, frame.bits, a.left, a.top, a.width, a.height,
                                image.info, image.bits, a.left, a.top, layer.key_colour);
    else
        RaskoCopyDIBBits(frame.info, frame.bits, a.left, a.top, a.width, a.height, image.info,
                         image.bits, a.left, a.top);
}

// The layer below the node; below the bottom one comes the top one.
const Layer& layer_below(const PictureDocument& doc, const LayerNode* node) {
    const LayerNode* below = node->previous == doc.layers ? doc.layers->previous : node->previous;
    return *below->layer;
}

std::uint32_t wait_after(const Layer& layer, int layer_count) {
    if ((layer.flags & kLayerAnimUserInput) || layer_count < 2) return kAnimationStill;
    return std::max(std::uint32_t(std::max(layer.interval, 0)), kAnimationIntervalFloor);
}

} // namespace

bool start_animation_frame(const PictureDocument& doc, Surface& frame) {
    const Layer* bottom = bottom_layer(doc);
    const Layer* current = current_layer(doc);
    if (!bottom || !current || !frame.create(bottom->image->width(), bottom->image->height())) {
        frame.destroy();
        return false;
    }
    frame.set_palette(current->image->colour_table());
    RaskoFillDIB(frame.info, frame.bits, current->key_colour);
    return true;
}

AnimationStep draw_animation_frame(const PictureDocument& doc, int counter, Surface& frame) {
    const int count = doc.layer_count;
    if (count < 1 || !frame.info) return {0, false, kAnimationStill};
    if (counter < 0 || counter >= count) counter = 0;
    const LayerNode* node = layer_node_at(doc, counter + 1);
    const Layer& layer = *node->layer;
    if (layer.disposal == kDisposalErase || layer.disposal == kDisposalPrevious)
        RaskoFillDIB(frame.info, frame.bits, layer.key_colour);
    if (layer.disposal == kDisposalPrevious) copy_area(layer_below(doc, node), frame, false);
    copy_area(layer, frame, layer.flags & kLayerAnimTransparent);
    return {(counter + 1) % count, (layer.flags & kLayerAnimUserInput) != 0,
            wait_after(layer, count)};
}
