#include "app/tools/stroke_shape.h"

#include "app/tools/line_walk.h"
#include "engine/rasko.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

void clear_box(Surface& stroke, const AreaRect& box, int colour) {
    RaskoFillRect(stroke.info, stroke.bits, box.left, box.top, box.width, box.height, colour);
}

// The pen's top-left corner at q; the engine clips at the surface's edges.
void stamp(Surface& stroke, const Surface& pen, int qx, int qy) {
    RaskoTransparentDIBBits(stroke.info, stroke.bits, qx, qy, kPenExtent, kPenExtent, pen.info,
                            pen.bits, 0, 0, 255);
}

// The box that holds every stamp from q0 to q1.
AreaRect stamp_box(POINT q0, POINT q1) {
    return {std::min(q0.x, q1.x), std::min(q0.y, q1.y), std::abs(q1.x - q0.x) + kPenExtent + 1,
            std::abs(q1.y - q0.y) + kPenExtent + 1};
}

POINT pen_corner(POINT p) {
    return {p.x - kPenHotSpot, p.y - kPenHotSpot};
}

void stamp_line(Surface& stroke, const Surface& pen, POINT p0, POINT p1, AreaRect& out) {
    const POINT q0 = pen_corner(p0), q1 = pen_corner(p1);
    out = stamp_box(q0, q1);
    clear_box(stroke, out, 255);
    walk_line(q0.x, q0.y, q1.x, q1.y, [&](int x, int y) { stamp(stroke, pen, x, y); });
}

void stamp_outline(Surface& stroke, const Surface& pen, POINT p0, POINT p1, AreaRect& out) {
    out = stamp_box(pen_corner(p0), pen_corner(p1));
    clear_box(stroke, out, 255);
    const int w = std::abs(p1.x - p0.x), h = std::abs(p1.y - p0.y);
    for (int i = 0; i <= w; ++i) {
        stamp(stroke, pen, out.left + i, out.top);
        stamp(stroke, pen, out.left + i, out.top + h);
    }
    for (int j = 0; j <= h; ++j) {
        stamp(stroke, pen, out.left, out.top + j);
        stamp(stroke, pen, out.left + w, out.top + j);
    }
}

void fill_rectangle(Surface& stroke, POINT p0, POINT p1, AreaRect& out) {
    out = {std::min(p0.x, p1.x), std::min(p0.y, p1.y), std::abs(p1.x - p0.x) + 1,
           std::abs(p1.y - p0.y) + 1};
    clear_box(stroke, out, 0);
}

// The box (left, top, width, height) cut to the surface; false when nothing
// of it is left.
bool clip_to_surface(const Surface& stroke, long long left, long long top, long long width,
                     long long height, AreaRect& out) {
    const long long right = std::min<long long>(left + width, stroke.width());
    const long long bottom = std::min<long long>(top + height, stroke.height());
    left = std::max<long long>(left, 0);
    top = std::max<long long>(top, 0);
    if (right <= left || bottom <= top) {
        out = {0, 0, 0, 0};
        return false;
    }
    out = {LONG(left), LONG(top), LONG(right - left), LONG(bottom - top)};
    return true;
}

int stamp_ellipse(Surface& stroke, const Surface& pen, POINT c, POINT corner, AreaRect& out) {
    const long long a = std::llabs((long long)corner.x - c.x);
    const long long b = std::llabs((long long)corner.y - c.y);
    if (!clip_to_surface(stroke, c.x - a - kPenHotSpot, c.y - b - kPenHotSpot, 2 * a + 34,
                         2 * b + 34, out))
        return 0;
    clear_box(stroke, out, 255);
    const double A = double(a) * double(a), B = double(b) * double(b), K = A * B;
    long long x = a, y = 0;
    while (x >= 0) {
        for (int sx = -1; sx <= 1; sx += 2)
            for (int sy = -1; sy <= 1; sy += 2)
                stamp(stroke, pen, int(c.x + sx * x - kPenHotSpot),
                      int(c.y + sy * y - kPenHotSpot));
        if (x == 0) {
            // On the axis the walk keeps climbing to b, so that a = 0 gives
            // the vertical line and tall ellipses close at the poles.
            if (y >= b) break;
            ++y;
            continue;
        }
        const double xm = double(x - 1), xs = double(x), y0 = double(y), y1 = double(y + 1);
        const double e1 = std::fabs(K - xm * xm * B - y0 * y0 * A);
        const double e2 = std::fabs(K - xm * xm * B - y1 * y1 * A);
        if (e1 <= e2) {
            --x;
        } else {
            const double e3 = std::fabs(K - xs * xs * B - y1 * y1 * A);
            ++y;
            if (e2 < e3) --x;
        }
    }
    return 1;
}

int fill_ellipse(Surface& stroke, POINT c, POINT corner, AreaRect& out) {
    const long long a = std::llabs((long long)corner.x - c.x);
    const long long b = std::llabs((long long)corner.y - c.y);
    if (!clip_to_surface(stroke, c.x - a, c.y - b, 2 * a + 1, 2 * b + 1, out)) return 0;
    clear_box(stroke, out, 255);
    const double A = double(a) * double(a), B = double(b) * double(b), K = A * B;
    const int stride = stroke.stride(), height = stroke.height();
    for (int y = out.top; y < out.top + out.height; ++y) {
        BYTE* row = stroke.bits + std::size_t(height - 1 - y) * std::size_t(stride);
        const double dy = double(c.y) - y;
        for (int x = out.left; x < out.left + out.width; ++x) {
            const double dx = double(c.x) - x;
            if (dy * dy * A + dx * dx * B <= K) row[x] = 0;
        }
    }
    return 1;
}

} // namespace

int build_stroke_shape(Surface& stroke, int mode, POINT p0, POINT p1, const Surface& pen,
                       AreaRect& out) {
    out = {0, 0, 0, 0};
    if (!stroke.info || !pen.info) return 0;
    switch (mode) {
    case kShapeFreeHand:
    case kShapeLine:
        stamp_line(stroke, pen, p0, p1, out);
        return 1;
    case kShapeRectangle:
        stamp_outline(stroke, pen, p0, p1, out);
        return 1;
    case kShapeEllipse:
        return stamp_ellipse(stroke, pen, p0, p1, out);
    case kShapeFilledRectangle:
        fill_rectangle(stroke, p0, p1, out);
        return 1;
    case kShapeFilledEllipse:
        return fill_ellipse(stroke, p0, p1, out);
    }
    return 0;
}

RECT shape_bounds(int mode, POINT anchor, POINT current) {
    RECT r;
    if (mode == kShapeEllipse || mode == kShapeFilledEllipse) {
        const LONG ox = 2 * anchor.x - current.x, oy = 2 * anchor.y - current.y;
        r = {std::min(ox, current.x), std::min(oy, current.y), std::max(ox, current.x),
             std::max(oy, current.y)};
    } else {
        r = {std::min(anchor.x, current.x), std::min(anchor.y, current.y),
             std::max(anchor.x, current.x), std::max(anchor.y, current.y)};
    }
    if (mode != kShapeFilledRectangle && mode != kShapeFilledEllipse) {
        r.left -= kPenHotSpot;
        r.top -= kPenHotSpot;
        r.right += kPenHotSpot + 1;
        r.bottom += kPenHotSpot + 1;
    }
    return r;
}
