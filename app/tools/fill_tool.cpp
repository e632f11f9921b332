#include "app/tools/fill_tool.h"

#include "app/document/composite.h"
#include "app/imageops/region_fill.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace {

// The region plane's marks: cleared to outside, filled with inside.
constexpr BYTE kOutside = 0;
constexpr BYTE kInside = 255;

bool inside_floating(const PictureDocument& doc, POINT p) {
    const Surface* f = doc.floating;
    if (!f || !f->info) return false;
    const RECT& r = doc.floating_rect;
    const LONG right = std::min<LONG>(r.right, r.left + f->width() - 1);
    const LONG bottom = std::min<LONG>(r.bottom, r.top + f->height() - 1);
    return p.x >= r.left && p.y >= r.top && p.x <= right && p.y <= bottom;
}

// The colours the fill writes: L with R on level t's pattern, or in mask view
// R with L on level 16 - t's pattern.
ToneTile fill_tile(const PictureDocument& doc) {
    if (doc.flags & kDocMaskView)
        return tone_tile(doc.right_colour, doc.left_colour, 16 - doc.tone_level);
    return tone_tile(doc.left_colour, doc.right_colour, doc.tone_level);
}

// Finds the region of target at p (target's coordinates) in region and paints
// it; the box it painted, in target's coordinates, goes to painted.
bool fill_surface(Surface& target, Surface& region, POINT p, POINT origin, const ToneTile& tile,
                  const BYTE* mask, int transparent, RECT& painted, const RECT* bounds = nullptr) {
    std::memset(region.bits, kOutside, region.pixel_bytes());
    if (!region_fill(region, target, p.x, p.y, kInside, bounds, &painted)) return false;
    paint_region(target, region, painted, kInside, tile, origin, mask, transparent);
    return true;
}

} // namespace

void paint_region(Surface& target, const Surface& region, const RECT& box, BYTE mark,
                  const ToneTile& tile, POINT origin, const BYTE* mask_bits, int transparent) {
    const int left = std::max<LONG>(box.left, 0), top = std::max<LONG>(box.top, 0);
    const int right = std::min<LONG>(box.right, target.width() - 1);
    const int bottom = std::min<LONG>(box.bottom, target.height() - 1);
    if (right < left || bottom < top) return;
    // Each of the tile's four rows spread over the box's width, and a row of
    // free mask bytes when there is no mask, so the inner loop is plain byte
    // arithmetic the compiler can vectorise.
    const int width = right - left + 1;
    std::vector<BYTE> rows(std::size_t(width) * 5);
    for (int ty = 0; ty < 4; ++ty)
        for (int x = 0; x < width; ++x)
            rows[std::size_t(ty) * width + x] = tile.colour[ty][(left + x + origin.x) & 3];
    BYTE* const free_row = rows.data() + std::size_t(4) * width;
    std::fill(free_row, free_row + width, BYTE(0xFF));
    const bool keyed = transparent >= 0 && transparent <= 0xFF;
    const BYTE key = BYTE(transparent);
    for (int y = top; y <= bottom; ++y) {
        BYTE* __restrict d = pixel_at(target, left, y);
        const BYTE* __restrict r = pixel_at(region, left, y);
        const BYTE* __restrict m = mask_bits ? pixel_at_bits(target, mask_bits, left, y) : free_row;
        const BYTE* __restrict p = rows.data() + std::size_t((y + origin.y) & 3) * width;
        for (int x = 0; x < width; ++x) {
            const bool write = (r[x] == mark) & (m[x] != 0) & !(keyed & (p[x] == key));
            d[x] = write ? p[x] : d[x];
        }
    }
}

bool fluid_fill(PictureDocument& doc, bool m_held) {
    const POINT p = doc.current_point;
    const ToneTile tile = fill_tile(doc);
    const DrawTarget t = drawing_target(doc, m_held);
    RECT box{};
    if (inside_floating(doc, p)) {
        Surface& floating = *doc.floating;
        const std::unique_ptr<Surface> region(create_surface(floating.width(), floating.height()));
        const RECT& f = doc.floating_rect;
        if (!region || !fill_surface(floating, *region, {p.x - f.left, p.y - f.top},
                                     {f.left, f.top}, tile, nullptr, t.transparent, box))
            return false;
        box = {box.left + f.left, box.top + f.top, box.right + f.left, box.bottom + f.top};
    } else {
        if (!t.surface || !doc.stroke_surface ||
            !fill_surface(*t.surface, *doc.stroke_surface, p, {0, 0}, tile, t.mask, t.transparent,
                          box))
            return false;
    }
    doc.update_rect = box;
    recomposite(doc);
    doc.flags |= kNotifyPresent | kNotifyZoomWindow;
    return true;
}

bool fluid_fill_within(PictureDocument& doc, const RECT& bounds, bool m_held) {
    const DrawTarget t = drawing_target(doc, m_held);
    RECT box{};
    if (!t.surface || !doc.stroke_surface ||
        !fill_surface(*t.surface, *doc.stroke_surface, doc.current_point, {0, 0}, fill_tile(doc),
                      t.mask, t.transparent, box, &bounds))
        return false;
    doc.update_rect = box;
    recomposite(doc);
    doc.flags |= kNotifyPresent | kNotifyZoomWindow;
    return true;
}
