#include "app/tools/drawing.h"

#include "app/imageops/tone_pattern.h"
#include "app/tools/view.h"
#include "engine/rasko.h"

#include <algorithm>

namespace {

int forced_for_mask(const PictureDocument& doc, int colour) {
    const Layer* layer = current_layer(doc);
    if (!layer || !layer->image || !layer->image->info) return colour;
    const RGBQUAD& c = layer->image->colour_table()[colour & 0xFF];
    return c.rgbRed + c.rgbGreen + c.rgbBlue < 384 ? 0 : 255;
}

} // namespace

DrawTarget drawing_target(const PictureDocument& doc, bool m_held) {
    DrawTarget t;
    Layer* layer = current_layer(doc);
    if (!layer) return t;
    if (doc.flags & kDocMaskView) {
        t.surface = layer->mask;
        return t;
    }
    t.surface = layer->image;
    if ((doc.flags & kDocMaskOn) || m_held) t.mask = layer->mask ? layer->mask->bits : nullptr;
    if (doc.flags & kDocKeyColourEnabled) t.transparent = layer->key_colour & 0xFF;
    return t;
}

WORD standard_tone(int level) {
    return standard_tone_pattern(level);
}

ToneTile tone_tile(int left, int right, int level) {
    ToneTile tile;
    const WORD pattern = standard_tone(level);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            tile.colour[y][x] = BYTE((pattern >> (y * 4 + x)) & 1 ? right : left);
    return tile;
}

void drawing_colours_changed(PictureDocument& doc) {
    doc.left_colour &= 0xFF;
    doc.right_colour &= 0xFF;
    if (doc.flags & kDocMaskView) {
        doc.left_colour = forced_for_mask(doc, doc.left_colour);
        doc.right_colour = forced_for_mask(doc, doc.right_colour);
    }
    draw_colour_swatch(doc);
}

int colour_under(const PictureDocument& doc, int x, int y) {
    const Layer* layer = current_layer(doc);
    if (!layer) return 0;
    const Surface* source = layer->image;
    if (doc.flags & kDocMaskView)
        source = layer->mask;
    else if (doc.flags & kDocMoveAllLayers)
        source = doc.composite;
    if (!source || !source->info) return 0;
    return RaskoGetPixel(source->info, source->bits, x, y) & 0xFF;
}

int colour_at_canvas_point(const PictureDocument& doc, int cx, int cy) {
    if (cx < 0 || cy < 0 || cx >= doc.canvas_width || cy >= doc.canvas_height) return kNoColour;
    const POINT p = canvas_to_picture(doc, cx, cy);
    if (p.x < 0 || p.y < 0 || p.x >= picture_width(doc) || p.y >= picture_height(doc))
        return kNoColour;
    return colour_under(doc, p.x, p.y);
}

void pick_colour(PictureDocument& doc, int x, int y, bool into_right) {
    const int colour = colour_under(doc, x, y);
    if (into_right)
        doc.right_colour = colour;
    else
        doc.left_colour = colour;
    drawing_colours_changed(doc);
    doc.flags |= kNotifyColourViews;
}
