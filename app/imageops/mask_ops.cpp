#include "app/imageops/mask_ops.h"

#include "app/imageops/layer_write.h"

#include "app/document/composite.h"
#include "engine/rasko.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>

namespace {

constexpr BYTE kMaskOpen = 255;
constexpr BYTE kMaskProtected = 0;
constexpr int kFullTone = 16;

// The w x h rectangle of from at (x, y) into work at (0, 0), so that a layer
// copied onto itself never reads what it has just written.
void take(Surface& work, const Surface& from, int x, int y, int w, int h) {
    RaskoCopyDIBBits(work.info, work.bits, 0, 0, w, h, from.info, from.bits, x, y);
}

constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7FULL;
constexpr std::uint64_t kHigh = 0x8080808080808080ULL;
constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
constexpr std::uint64_t kAllButLow = 0xFEFEFEFEFEFEFEFEULL;

// 0xFF in every byte of word that is 0 or 255, 0 in the others. Those two
// are the bytes that become 0 or 1 when raised by one (without carries
// between bytes); flipping every bit of them swaps them.
std::uint64_t swap_bytes_of(std::uint64_t word) {
    const std::uint64_t raised = ((word & kLow7) + kOnes) ^ (word & kHigh);
    const std::uint64_t high = raised & kAllButLow;
    const std::uint64_t nonzero = (((high & kLow7) + kLow7) | high) & kHigh;
    return ((nonzero ^ kHigh) >> 7) * 0xFF;
}

} // namespace

void clear_mask(Layer& layer) {
    RaskoFillDIB(layer.mask->info, layer.mask->bits, kMaskOpen);
}

void invert_mask(Layer& layer) {
    Surface& mask = *layer.mask;
    const std::size_t width = std::size_t(mask.width());
    for (int row = 0; row < mask.height(); ++row) {
        BYTE* p = mask.bits + std::size_t(row) * std::size_t(mask.stride());
        std::size_t x = 0;
        // Eight bytes at a time: a plane of a picture's size is large and
        // most of its bytes are 0 or 255.
        for (; x + sizeof(std::uint64_t) <= width; x += sizeof(std::uint64_t)) {
            std::uint64_t word;
            std::memcpy(&word, p + x, sizeof word);
            word ^= swap_bytes_of(word);
            std::memcpy(p + x, &word, sizeof word);
        }
        for (; x < width; ++x)
            p[x] = BYTE(p[x] ^ (BYTE(p[x] + 1) <= 1 ? kMaskOpen : 0));
    }
}

const Surface* colour_source(PictureDocument& doc) {
    if (doc.flags & kDocMoveAllLayers) {
        doc.update_rect = {0, 0, picture_width(doc), picture_height(doc)};
        recomposite(doc);
        return doc.composite;
    }
    const Layer* layer = current_layer(doc);
    return layer ? layer->image : nullptr;
}

void mask_from_colour(PictureDocument& doc, int colour, ColourMatch match, MaskStart start) {
    Layer* layer = current_layer(doc);
    const Surface* source = colour_source(doc);
    if (!layer || !source) return;
    Surface& mask = *layer->mask;
    const int w = picture_width(doc), h = picture_height(doc);
    if (start == MaskStart::Clear) clear_mask(*layer);
    if (match == ColourMatch::Selected)
        RaskoExchangeCopyDIBBits(mask.info, mask.bits, 0, 0, w, h, source->info, source->bits, 0, 0,
                                 kMaskProtected, colour);
    else
        RaskoTransparentDIBBitsExColor(mask.info, mask.bits, 0, 0, w, h, source->info, source->bits,
                                       0, 0, colour, kMaskProtected, kFullTone);
}

void copy_colour_to_layer(PictureDocument& doc, Layer& target, int colour) {
    const Surface* source = colour_source(doc);
    if (!source) return;
    Surface& image = *target.image;
    const int w = picture_width(doc), h = picture_height(doc);
    if (!(doc.flags & kDocMaskOn) || (target.flags & kLayerUseMaskAsOpacity))
        RaskoExchangeCopyDIBBits(image.info, image.bits, 0, 0, w, h, source->info, source->bits, 0,
                                 0, colour, colour);
    else
        RaskoMaskExchangeCopyDIBBits(image.info, image.bits, 0, 0, w, h, source->info, source->bits,
                                     0, 0, colour, colour, target.mask->bits);
}

bool copy_area_to_layer(PictureDocument& doc, Layer& target) {
    Layer* current = current_layer(doc);
    if (!current) return false;
    int x = 0, y = 0, w = picture_width(doc), h = picture_height(doc);
    int from_x = 0, from_y = 0;
    const Surface* pasted = nullptr;
    if (doc.floating) {
        const RECT& r = doc.floating_rect;
        x = r.left;
        y = r.top;
        w = r.right - r.left + 1;
        h = r.bottom - r.top + 1;
        if (doc.flags & kDocPasted) {
            pasted = doc.floating;
        } else {
            from_x = doc.anchor_point.x;
            from_y = doc.anchor_point.y;
        }
    }
    if (w <= 0 || h <= 0) return true;
    if (pasted) {
        // A pasted area has pixels only: they go to the plane the view edits.
        const AreaRect to{x, y, std::min(w, pasted->width()), std::min(h, pasted->height())};
        write_area(doc, target, (doc.flags & kDocMaskView) ? LayerPlane::Mask : LayerPlane::Image,
                   {pasted, {0, 0}, 0}, to);
        return true;
    }
    std::unique_ptr<Surface> work(create_surface(w, h));
    if (!work) return false;
    const AreaRect to{x, y, w, h};
    if (area_changes_mask(doc)) {
        take(*work, *current->mask, from_x, from_y, w, h);
        write_area(doc, target, LayerPlane::Mask, {work.get(), {0, 0}, 0}, to);
    }
    if (area_changes_image(doc)) {
        take(*work, *current->image, from_x, from_y, w, h);
        write_area(doc, target, LayerPlane::Image, {work.get(), {0, 0}, 0}, to);
    }
    return true;
}

AreaRect selected_animation_area(const PictureDocument& doc) {
    const int width = picture_width(doc), height = picture_height(doc);
    RECT r{0, 0, width - 1, height - 1};
    if (doc.flags & kDocFloatingFrame) r = doc.floating_rect;
    return clamped_area({r.left, r.top, r.right - r.left + 1, r.bottom - r.top + 1}, width, height);
}
