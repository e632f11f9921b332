#include "app/tools/zoom_tool.h"

#include "app/document/composite.h"
#include "engine/rasko.h"

#include <algorithm>

namespace {

// Writes the tile's colours over box (inclusive, cut to the surface),
// skipping pixels the mask protects and tile colours equal to transparent.
void fill_box(Surface& s, RECT box, const ToneTile& tile, const BYTE* mask, int transparent) {
    box.left = std::max<LONG>(box.left, 0);
    box.top = std::max<LONG>(box.top, 0);
    box.right = std::min<LONG>(box.right, s.width() - 1);
    box.bottom = std::min<LONG>(box.bottom, s.height() - 1);
    for (int y = box.top; y <= box.bottom; ++y) {
        BYTE* row = pixel_at(s, 0, y);
        const BYTE* guard = mask ? pixel_at_bits(s, mask, 0, y) : nullptr;
        for (int x = box.left; x <= box.right; ++x) {
            const BYTE colour = tile.colour[y & 3][x & 3];
            if (colour == transparent || (guard && !guard[x])) continue;
            row[x] = colour;
        }
    }
}

void recomposite_area(PictureDocument& doc, const AreaRect& area) {
    doc.update_rect = {area.left, area.top, area.left + area.width, area.top + area.height};
    recomposite(doc);
}

int transparent_colour(const PictureDocument& doc) {
    const Layer* layer = current_layer(doc);
    return layer && (doc.flags & kDocKeyColourEnabled) ? layer->key_colour & 0xFF
                                                       : kNoTransparentColour;
}

} // namespace

RECT box_of(POINT a, POINT c) {
    return {std::min(a.x, c.x), std::min(a.y, c.y), std::max(a.x, c.x), std::max(a.y, c.y)};
}

void zoom_box_fill(PictureDocument& doc, POINT a, POINT c, bool m_held) {
    const DrawTarget t = drawing_target(doc, m_held);
    if (!t.surface || !t.surface->info) return;
    const RECT box = box_of(a, c);
    fill_box(*t.surface, box, tone_tile(doc.left_colour, doc.right_colour, doc.tone_level), t.mask,
             t.transparent);
    doc.update_rect = {box.left, box.top, box.right + 1, box.bottom + 1};
    recomposite(doc);
}

void zoom_line_preview(PictureDocument& doc, const AreaRect& area, POINT a, POINT c) {
    recomposite_area(doc, area);
    if (!doc.composite || !doc.composite->info) return;
    RaskoDrawLineEx(doc.composite->info, doc.composite->bits, a.x, a.y, c.x, c.y, doc.left_colour,
                    doc.right_colour, doc.tone_level);
}

void zoom_box_preview(PictureDocument& doc, const AreaRect& area, POINT a, POINT c) {
    recomposite_area(doc, area);
    if (!doc.composite || !doc.composite->info) return;
    fill_box(*doc.composite, box_of(a, c),
             tone_tile(doc.left_colour, doc.right_colour, doc.tone_level), nullptr,
             transparent_colour(doc));
}

const Surface* copy_source(const PictureDocument& doc) {
    const Layer* layer = current_layer(doc);
    if (!layer) return nullptr;
    if (doc.flags & kDocMaskView) return layer->mask;
    if (doc.flags & kDocMoveAllLayers) return doc.composite;
    return layer->image;
}
