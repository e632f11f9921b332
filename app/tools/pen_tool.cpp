#include "app/tools/pen_tool.h"

#include "app/document/composite.h"

#include <algorithm>

int paint_through_stroke(Surface& target, const AreaRect& r, const Surface& pattern,
                         const BYTE* stroke_bits, int transparent, const BYTE* mask_bits) {
    if (!target.info || !pattern.info || !stroke_bits) return 0;
    const int width = target.width(), height = target.height();
    const int left = std::max<LONG>(r.left, 0), top = std::max<LONG>(r.top, 0);
    const int right = int(std::min<long long>((long long)r.left + r.width, width));
    const int bottom = int(std::min<long long>((long long)r.top + r.height, height));
    if (right <= left || bottom <= top) return 0;
    const int pw = pattern.width(), ph = pattern.height();
    const std::size_t stride = std::size_t(target.stride());
    for (int y = top; y < bottom; ++y) {
        const std::size_t row = std::size_t(height - 1 - y) * stride;
        BYTE* d = target.bits + row;
        const BYTE* s = stroke_bits + row;
        const BYTE* m = mask_bits ? mask_bits + row : nullptr;
        const BYTE* p = pixel_at(pattern, 0, y % ph);
        int px = left % pw;
        for (int x = left; x < right; ++x) {
            const BYTE colour = p[px];
            if (++px == pw) px = 0;
            if (colour == transparent) continue;
            const BYTE keep = m ? BYTE(~m[x] | s[x]) : s[x];
            d[x] = BYTE((d[x] & keep) | (~keep & colour));
        }
    }
    return bottom - top;
}

void pen_paint(PictureDocument& doc, bool m_held, bool release) {
    const DrawTarget t = drawing_target(doc, m_held);
    if (!t.surface || !doc.stroke_surface || !doc.colour_swatch) return;
    const AreaRect& r = doc.stroke_rect;
    paint_through_stroke(*t.surface, r, *doc.colour_swatch, doc.stroke_surface->bits, t.transparent,
                         t.mask);
    const int grow = release ? 0 : -1;
    doc.update_rect = {r.left, r.top, r.left + r.width + grow, r.top + r.height + grow};
    recomposite(doc);
    doc.flags |= kNotifyPresent | kNotifyZoomWindow;
}

RECT pen_deactivate(PictureDocument& doc) {
    const POINT p = doc.previous_point;
    doc.update_rect = {p.x - 15, p.y - 15, p.x + 17, p.y + 17};
    recomposite(doc);
    return doc.update_rect;
}
