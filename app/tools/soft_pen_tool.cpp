#include "app/tools/soft_pen_tool.h"

#include "app/document/composite.h"

#include <algorithm>

namespace {

constexpr int kOwnWeight = 100;
constexpr int kPercent = 100;
constexpr int kChannelMax = 255;
constexpr BYTE kStrokeInside = 0;

struct Sums {
    int red = 0, green = 0, blue = 0, weight = 0;
    void add(const RGBQUAD& c, int w) {
        red += w * c.rgbRed;
        green += w * c.rgbGreen;
        blue += w * c.rgbBlue;
        weight += w;
    }
};

} // namespace

Rgb soft_target(const Surface& source, const RGBQUAD* table, const BYTE* mask_bits, int x, int y,
                SoftMode mode, const SoftPenValues& values) {
    const int width = source.width(), height = source.height();
    auto colour = [&](int px, int py) { return table[*pixel_at(source, px, py)]; };
    auto counts = [&](int px, int py) {
        return !mask_bits || *pixel_at_bits(source, mask_bits, px, py) != 0;
    };
    Sums s;
    s.add(colour(x, y), kOwnWeight);
    const POINT neighbours[] = {{x - 1, y}, {x + 1, y}, {x, y - 1}, {x, y + 1}};
    for (const POINT& n : neighbours)
        if (n.x >= 0 && n.x < width && n.y >= 0 && n.y < height && counts(n.x, n.y))
            s.add(colour(n.x, n.y), values.weight);
    if (mode == SoftMode::darken) {
        const int off = std::max({s.red, s.green, s.blue}) * values.value / kPercent;
        s.red -= off;
        s.green -= off;
        s.blue -= off;
    } else if (mode == SoftMode::lighten) {
        const int on =
            (s.weight * kChannelMax - std::min({s.red, s.green, s.blue})) * values.value / kPercent;
        s.red += on;
        s.green += on;
        s.blue += on;
    }
    return {s.red / s.weight, s.green / s.weight, s.blue / s.weight};
}

int dithered_nearest(PaletteSearch& search, const RGBQUAD* table, Rgb t, int x, int y) {
    const Nearest first = search.nearest(t.red, t.green, t.blue);
    if (first.distance == 0 || ((x + y) & 1)) return first.index;
    const RGBQUAD& c = table[first.index];
    const Nearest second =
        search.nearest(2 * t.red - c.rgbRed, 2 * t.green - c.rgbGreen, 2 * t.blue - c.rgbBlue);
    const int level = 16 * first.distance / (second.distance + 2 * first.distance);
    const bool take_second = (standard_tone(level) >> ((y & 3) * 4 + (x & 3))) & 1;
    return take_second ? second.index : first.index;
}

bool soft_pen_filter(PictureDocument& doc, SoftMode mode, const SoftPenValues& values, bool m_held,
                     PaletteSearch& search) {
    Layer* layer = current_layer(doc);
    if (!layer || !layer->image || !doc.stroke_surface || (doc.flags & kDocMaskView) ||
        (doc.current_point.x == doc.previous_point.x &&
         doc.current_point.y == doc.previous_point.y))
        return false;
    const Surface* source = (doc.flags & kDocMoveAllLayers) ? doc.composite : layer->undo_copy;
    Surface& target = *layer->image;
    if (!source || !source->info || source->width() != target.width() ||
        source->height() != target.height())
        return false;
    const BYTE* mask =
        ((doc.flags & kDocMaskOn) || m_held) && layer->mask ? layer->mask->bits : nullptr;
    const RGBQUAD* table = target.colour_table();
    search.use(table);
    const AreaRect& r = doc.stroke_rect;
    const int x0 = std::max<LONG>(r.left, 0), y0 = std::max<LONG>(r.top, 0);
    const int x1 = int(std::min<long long>((long long)r.left + r.width, target.width()));
    const int y1 = int(std::min<long long>((long long)r.top + r.height, target.height()));
    for (int y = y0; y < y1; ++y) {
        BYTE* d = pixel_at(target, 0, y);
        const BYTE* s = pixel_at_bits(target, doc.stroke_surface->bits, 0, y);
        const BYTE* m = mask ? pixel_at_bits(target, mask, 0, y) : nullptr;
        for (int x = x0; x < x1; ++x) {
            if (s[x] != kStrokeInside || (m && !m[x])) continue;
            const Rgb t = soft_target(*source, table, mask, x, y, mode, values);
            d[x] = BYTE(dithered_nearest(search, table, t, x, y));
        }
    }
    doc.update_rect = {r.left, r.top, r.left + r.width - 1, r.top + r.height - 1};
    recomposite(doc);
    doc.flags |= kNotifyPresent | kNotifyZoomWindow;
    return true;
}
