#include "app/document/composite.h"

#include "engine/rasko.h"

#include <algorithm>
#include <cstdint>

namespace {

// A rectangle as the blits take it: x, y, width, height.
struct Box {
    int x, y, w, h;
};

// The update rectangle as recompositing uses it: an empty rectangle gives
// nothing; a start outside the picture is moved onto its edge and the size cut
// to what is left of the picture.
bool update_box(const PictureDocument& doc, Box& box) {
    const int width = picture_width(doc), height = picture_height(doc);
    if (width < 1 || height < 1 || !doc.composite || !doc.composite->info) return false;
    const RECT& u = doc.update_rect;
    std::int64_t w = std::int64_t(u.right) - u.left + 1;
    std::int64_t h = std::int64_t(u.bottom) - u.top + 1;
    if (w <= 0 || h <= 0) return false;
    const int x = std::clamp<LONG>(u.left, 0, width - 1);
    const int y = std::clamp<LONG>(u.top, 0, height - 1);
    w = std::min<std::int64_t>(w, width - x);
    h = std::min<std::int64_t>(h, height - y);
    box = {x, y, int(w), int(h)};
    return true;
}

// The part of the placement (x, y, w, h) that lies inside limit, with the
// source origin (0, 0) moved along; false when nothing is left.
bool clip_placement(std::int64_t x, std::int64_t y, std::int64_t w, std::int64_t h,
                    const Box& limit, Box& out, int& sx, int& sy) {
    const std::int64_t left = std::max<std::int64_t>(x, limit.x);
    const std::int64_t top = std::max<std::int64_t>(y, limit.y);
    const std::int64_t right = std::min<std::int64_t>(x + w, std::int64_t(limit.x) + limit.w);
    const std::int64_t bottom = std::min<std::int64_t>(y + h, std::int64_t(limit.y) + limit.h);
    if (right <= left || bottom <= top) return false;
    out = {int(left), int(top), int(right - left), int(bottom - top)};
    sx = int(left - x);
    sy = int(top - y);
    return true;
}

// Where the floating area lies inside the box b: its inclusive rectangle,
// never larger than the floating surface, clipped to b. False when there is
// no floating area or none of it falls inside b.
bool floating_placement(const PictureDocument& doc, const Box& b, Box& out, int& sx, int& sy) {
    const Surface* floating = doc.floating;
    if (!floating || !floating->info) return false;
    const RECT& f = doc.floating_rect;
    const std::int64_t w =
        std::min<std::int64_t>(std::int64_t(f.right) - f.left + 1, floating->width());
    const std::int64_t h =
        std::min<std::int64_t>(std::int64_t(f.bottom) - f.top + 1, floating->height());
    return clip_placement(f.left, f.top, w, h, b, out, sx, sy);
}

void copy_opaque(Surface& composite, const Surface& image, const Box& b) {
    RaskoCopyDIBBits(composite.info, composite.bits, b.x, b.y, b.w, b.h, image.info, image.bits,
                     b.x, b.y);
}

void copy_keyed(Surface& composite, const Layer& layer, const Box& b) {
    RaskoTransparentDIBBits(composite.info, composite.bits, b.x, b.y, b.w, b.h, layer.image->info,
                            layer.image->bits, b.x, b.y, layer.key_colour);
}

// A layer over what lies below it: its key colour left out, screened by its
// opacity when it is translucent, limited by its mask plane when the mask
// serves as its opacity.
void draw_over(Surface& c, const Layer& layer, const Box& b) {
    const Surface& image = *layer.image;
    const bool blend = layer.flags & kLayerTranslucent;
    if (layer.flags & kLayerUseMaskAsOpacity) {
        if (blend)
            RaskoMaskTransparentDIBBitsEx(c.info, c.bits, b.x, b.y, b.w, b.h, image.info,
                                          image.bits, b.x, b.y, layer.key_colour, layer.opacity,
                                          layer.mask->bits);
        else
            RaskoMaskTransparentDIBBits(c.info, c.bits, b.x, b.y, b.w, b.h, image.info, image.bits,
                                        b.x, b.y, layer.key_colour, layer.mask->bits);
    } else if (blend) {
        RaskoTransparentDIBBitsEx(c.info, c.bits, b.x, b.y, b.w, b.h, image.info, image.bits, b.x,
                                  b.y, layer.key_colour, layer.opacity);
    } else {
        copy_keyed(c, layer, b);
    }
}

// Normal mode: the bottom layer is the ground (its pixels copied, or its
// background colour when it is hidden); every later visible layer goes over.
void draw_normal(Surface& c, const Layer& layer, const Box& b, bool& drawn) {
    const bool visible = layer.flags & kLayerVisible;
    if (!drawn) {
        if (visible)
            copy_opaque(c, *layer.image, b);
        else
            RaskoFillRect(c.info, c.bits, b.x, b.y, b.w, b.h, layer.background_colour);
        drawn = true;
    } else if (visible) {
        draw_over(c, layer, b);
    }
}

// Only-current-layer mode draws its few layers opaquely when they come first
// and with the key colour left out after that.
void draw_plain(Surface& c, const Layer& layer, const Box& b, bool& drawn) {
    if (drawn)
        copy_keyed(c, layer, b);
    else
        copy_opaque(c, *layer.image, b);
    drawn = true;
}

// The floating area, right above the current layer. Only the part inside
// the update rectangle is drawn, so layers above cover it exactly there.
void draw_floating(PictureDocument& doc, const Box& b) {
    const Surface* floating = doc.floating;
    Box d;
    int sx, sy;
    if (!floating_placement(doc, b, d, sx, sy)) return;

    Surface& c = *doc.composite;
    const Layer& current = *doc.current->layer;
    const bool opaque = (!(doc.flags & kDocKeyColourEnabled) && doc.current == doc.layers->next) ||
                        (doc.flags & kDocMoveAllLayers);
    const bool through_mask = (doc.flags & kDocMaskOn) && !(doc.flags & kDocMaskView);
    if (through_mask && opaque)
        RaskoMaskCopyDIBBits(c.info, c.bits, d.x, d.y, d.w, d.h, floating->info, floating->bits, sx,
                             sy, current.mask->bits);
    else if (through_mask)
        RaskoMaskTransparentDIBBits(c.info, c.bits, d.x, d.y, d.w, d.h, floating->info,
                                    floating->bits, sx, sy, current.key_colour, current.mask->bits);
    else if (opaque)
        RaskoCopyDIBBits(c.info, c.bits, d.x, d.y, d.w, d.h, floating->info, floating->bits, sx,
                         sy);
    else
        RaskoTransparentDIBBits(c.info, c.bits, d.x, d.y, d.w, d.h, floating->info, floating->bits,
                                sx, sy, current.key_colour);
}

LayerNode* layer_below(const PictureDocument& doc, LayerNode* node) {
    return node->previous == doc.layers ? doc.layers->previous : node->previous;
}

void compose_layers(PictureDocument& doc, const Box& b) {
    Surface& c = *doc.composite;
    const bool only_current = doc.flags & kDocOnlyCurrentLayer;
    bool drawn = false;
    for (LayerNode* node = doc.layers->next; node != doc.layers; node = node->next) {
        const Layer& layer = *node->layer;
        if (node == doc.current) {
            if (only_current) {
                LayerNode* below = layer_below(doc, node);
                // A layer below with its Always box set is drawn by the walk.
                if ((doc.flags & kDocWithLayerBelow) && below != node &&
                    !(below->layer->flags & kLayerViewAlways))
                    draw_plain(c, *below->layer, b, drawn);
                draw_plain(c, layer, b, drawn);
            } else {
                draw_normal(c, layer, b, drawn);
            }
            draw_floating(doc, b);
        } else if (!only_current) {
            draw_normal(c, layer, b, drawn);
        } else if ((layer.flags & kLayerViewAlways) && (layer.flags & kLayerVisible)) {
            // "View Always" keeps a visible layer on screen whatever layer is
            // being edited.
            if (drawn)
                draw_over(c, layer, b);
            else
                copy_opaque(c, *layer.image, b);
            drawn = true;
        }
    }
}

// The current layer's mask plane: protected pixels black, free ones white or
// (overlapping the picture) a half-tone of black over it. A floating area
// then holds mask values and is shown the same way.
void compose_mask_view(PictureDocument& doc, const Box& b) {
    Surface& c = *doc.composite;
    const Surface& mask = *doc.current->layer->mask;
    const bool overlap = doc.flags & kDocOverlapMask;
    const int level = overlap ? 8 : 16;
    if (!overlap) RaskoFillRect(c.info, c.bits, b.x, b.y, b.w, b.h, doc.white_index);
    RaskoTransparentDIBBitsExColor(c.info, c.bits, b.x, b.y, b.w, b.h, mask.info, mask.bits, b.x,
                                   b.y, 255, doc.black_index, level);

    const Surface* floating = doc.floating;
    Box d;
    int sx, sy;
    if (!floating_placement(doc, b, d, sx, sy)) return;
    if (!overlap)
        RaskoExchangeCopyDIBBits(c.info, c.bits, d.x, d.y, d.w, d.h, floating->info, floating->bits,
                                 sx, sy, doc.white_index, 255);
    RaskoTransparentDIBBitsExColor(c.info, c.bits, d.x, d.y, d.w, d.h, floating->info,
                                   floating->bits, sx, sy, 255, doc.black_index, level);
}

// Draws src's non-255 pixels (a pen or stroke shape) at (x, y, w, h) from
// (sx, sy) in the left colour mixed with the right colour by the tone level.
// With colour keying on, a drawing colour equal to the key paints nothing, as
// the tools themselves will leave those pixels alone.
void draw_in_drawing_colours(PictureDocument& doc, const Surface& src, int x, int y, int w, int h,
                             int sx, int sy) {
    Surface& c = *doc.composite;
    auto paint = [&](int colour, int level) {
        RaskoTransparentDIBBitsExColor(c.info, c.bits, x, y, w, h, src.info, src.bits, sx, sy, 255,
                                       colour, level);
    };
    const int left = doc.left_colour, right = doc.right_colour, tone = doc.tone_level;
    if (doc.flags & kDocKeyColourEnabled) {
        const int key = doc.current->layer->key_colour;
        if (left == key) {
            if (right != key) paint(right, tone);
            return;
        }
        if (right == key) {
            // Upside down, level 16 - t sets exactly the pixels level t leaves clear.
            RaskoOffsetPattern(0, -4);
            paint(left, 16 - tone);
            RaskoOffsetPattern(0, 0);
            return;
        }
    }
    paint(left, 16);
    paint(right, tone);
}

bool is_empty(const RECT& r) {
    return r.right <= r.left || r.bottom <= r.top;
}

RECT union_of(const RECT& a, const RECT& b) {
    if (is_empty(a)) return b;
    if (is_empty(b)) return a;
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

bool ready(const PictureDocument& doc) {
    return doc.layers && doc.current && doc.current != doc.layers && doc.composite &&
           doc.composite->info;
}

} // namespace

void recomposite(PictureDocument& doc) {
    Box box;
    if (!ready(doc) || !update_box(doc, box)) return;
    const bool mask_view = doc.flags & kDocMaskView;
    if (!mask_view || (doc.flags & kDocOverlapMask)) compose_layers(doc, box);
    if (mask_view) compose_mask_view(doc, box);
}

RECT draw_footprint(PictureDocument& doc, int x, int y) {
    recomposite(doc);
    const RECT box{x - 15, y - 15, x + 17, y + 17};
    const RECT present = union_of(doc.update_rect, box);
    doc.update_rect = box;
    const Surface* pen = doc.current_pen;
    if (ready(doc) && pen && pen->info)
        draw_in_drawing_colours(doc, *pen, x - 15, y - 15, std::min(pen->width(), 32),
                                std::min(pen->height(), 32), 0, 0);
    return present;
}

RECT draw_stroke_preview(PictureDocument& doc, const AreaRect& stroke) {
    const RECT box{stroke.left, stroke.top, stroke.left + stroke.width, stroke.top + stroke.height};
    const RECT present = union_of(doc.update_rect, box);
    doc.update_rect = box;
    if (ready(doc) && doc.stroke_surface && doc.stroke_surface->info && stroke.width > 0 &&
        stroke.height > 0)
        draw_in_drawing_colours(doc, *doc.stroke_surface, stroke.left, stroke.top, stroke.width,
                                stroke.height, stroke.left, stroke.top);
    return present;
}
