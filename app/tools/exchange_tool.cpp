#include "app/tools/exchange_tool.h"

#include "app/document/composite.h"

#include <algorithm>

int exchange_through_stroke(Surface& target, const AreaRect& r, const Surface& swatch,
                            const BYTE* stroke_bits, int left, int right, const BYTE* mask_bits) {
    if (!target.info || !swatch.info || !stroke_bits) return 0;
    const int width = target.width(), height = target.height();
    const int x0 = std::max<LONG>(r.left, 0), y0 = std::max<LONG>(r.top, 0);
    const int x1 = int(std::min<long long>((long long)r.left + r.width, width));
    const int y1 = int(std::min<long long>((long long)r.top + r.height, height));
    if (x1 <= x0 || y1 <= y0 || left == right) return y1 > y0 && x1 > x0 ? y1 - y0 : 0;
    const BYTE from = BYTE(left), to = BYTE(right);
    const int sw = swatch.width(), sh = swatch.height();
    for (int y = y0; y < y1; ++y) {
        BYTE* d = pixel_at(target, 0, y);
        const BYTE* s = pixel_at_bits(target, stroke_bits, 0, y);
        const BYTE* m = mask_bits ? pixel_at_bits(target, mask_bits, 0, y) : nullptr;
        const BYTE* p = pixel_at(swatch, 0, y % sh);
        for (int x = x0; x < x1; ++x) {
            if (d[x] != from || p[x % sw] != to) continue;
            const BYTE keep = m ? BYTE(~m[x] | s[x]) : s[x];
            d[x] = BYTE((d[x] & keep) | (~keep & to));
        }
    }
    return y1 - y0;
}

void colour_exchange_paint(PictureDocument& doc, bool m_held, bool release) {
    const DrawTarget t = drawing_target(doc, m_held);
    if (!t.surface || !doc.stroke_surface || !doc.colour_swatch) return;
    const AreaRect& r = doc.stroke_rect;
    exchange_through_stroke(*t.surface, r, *doc.colour_swatch, doc.stroke_surface->bits,
                            doc.left_colour & 0xFF, doc.right_colour & 0xFF, t.mask);
    const int grow = release ? 0 : -1;
    doc.update_rect = {r.left, r.top, r.left + r.width + grow, r.top + r.height + grow};
    recomposite(doc);
    doc.flags |= kNotifyPresent | kNotifyZoomWindow;
}
