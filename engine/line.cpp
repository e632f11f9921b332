// One-pixel lines, filled rectangles and the line clipping they use. Lines
// and rectangles draw into bottom-up or top-down DIBs and clip against
// biWidth x |biHeight|.
#include "platform/io/dib_layout.h"
#include "engine/rasko.h"
#include "engine/tone.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

using std::int64_t;

enum ClipCode : int { kLeft = 1, kRight = 2, kBottom = 4, kTop = 8 };

int height_of(const BITMAPINFOHEADER* dib) {
    return dib->biHeight < 0 ? -dib->biHeight : dib->biHeight;
}

int clip_code(int width, int height, int x, int y) {
    int code = 0;
    if (x < 0)
        code |= kLeft;
    else if (x >= width)
        code |= kRight;
    if (y < 0)
        code |= kTop;
    else if (y >= height)
        code |= kBottom;
    return code;
}

// The crossing point in 64 bits, held inside the int range so that a far-off
// crossing cannot wrap around into the bitmap. False when the line runs
// parallel to the edge.
bool cross_point(int x1, int y1, int x2, int y2, int edge, int code, int* result) {
    const bool vertical_edge = code == kLeft || code == kRight;
    const int64_t from = vertical_edge ? x1 : y1;
    const int64_t span = vertical_edge ? int64_t(x2) - x1 : int64_t(y2) - y1;
    const int64_t other_from = vertical_edge ? y1 : x1;
    const int64_t other_span = vertical_edge ? int64_t(y2) - y1 : int64_t(x2) - x1;
    if (span == 0) return false;
    // |edge - from| and |other_span| stay below 2^33, so the product fits.
    const int64_t value = (edge - from) * other_span / span + other_from;
    *result = int(std::clamp<int64_t>(value, INT_MIN, INT_MAX));
    return true;
}

struct Segment {
    int x1, y1, x2, y2;
};

enum class PassResult { kInside, kRejected, kMoved };

// One pass of the clipping: left, right, top, bottom, each for the first end
// point and then the second, always from the points as already moved. The
// pass gives up on the line when both points come to lie beyond one edge
// (the part of the line that could cross the bitmap lies between them, so
// the line misses it); this is also every case in which a crossing would
// divide by zero.
PassResult clip_pass(Segment& s, int width, int height) {
    int c1 = clip_code(width, height, s.x1, s.y1);
    int c2 = clip_code(width, height, s.x2, s.y2);
    if ((c1 | c2) == 0) return PassResult::kInside;

    // Moves one end point onto an edge; `x_edge` tells whether the edge is
    // vertical (the point takes x = edge) or horizontal.
    auto move = [&](int which, int edge, int code, bool x_edge) {
        if (c1 & c2) return false;
        int other = 0;
        if (!cross_point(s.x1, s.y1, s.x2, s.y2, edge, code, &other)) return false;
        int& x = which == 1 ? s.x1 : s.x2;
        int& y = which == 1 ? s.y1 : s.y2;
        if (x_edge) {
            x = edge;
            y = other;
        } else {
            x = other;
            y = edge;
        }
        (which == 1 ? c1 : c2) = clip_code(width, height, x, y);
        return true;
    };

    if ((c1 & kLeft) && !move(1, 0, kLeft, true)) return PassResult::kRejected;
    if ((c2 & kLeft) && !move(2, 0, kLeft, true)) return PassResult::kRejected;
    if ((c1 & kRight) && !move(1, width - 1, kRight, true)) return PassResult::kRejected;
    if ((c2 & kRight) && !move(2, width - 1, kRight, true)) return PassResult::kRejected;
    if ((c1 & kTop) && !move(1, 0, kTop, false)) return PassResult::kRejected;
    if ((c2 & kTop) && !move(2, 0, kTop, false)) return PassResult::kRejected;
    if ((c1 & kBottom) && !move(1, height - 1, kBottom, false)) return PassResult::kRejected;
    if ((c2 & kBottom) && !move(2, height - 1, kBottom, false)) return PassResult::kRejected;
    return PassResult::kMoved;
}

// A line that runs past a corner outside can leave a point outside after one
// pass; further passes either bring it in or find that the line misses the
// bitmap. Truncation makes each pass move a point by at most a pixel or so
// beyond an edge, so a few passes settle every line.
constexpr int kMaxClipPasses = 4;

bool clip_segment(Segment& s, int width, int height) {
    if (width < 1 || height < 1) return false;
    Segment work = s;
    for (int pass = 0; pass <= kMaxClipPasses; ++pass) {
        switch (clip_pass(work, width, height)) {
        case PassResult::kInside:
            s = work;
            return true;
        case PassResult::kRejected:
            return false;
        case PassResult::kMoved:
            break;
        }
    }
    return false;
}

// The 4 x 4 block of two-colour tone drawing: entry [y & 3][x & 3].
struct ToneBlock {
    BYTE entry[4][4];
};

ToneBlock tone_block(int background, int colour, int level) {
    const WORD pattern = rasko::working_tone(level);
    ToneBlock block;
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            block.entry[y][x] = BYTE(rasko::tone_bit(pattern, x, y) ? colour : background);
    return block;
}

// Byte address arithmetic of image row y for either row order.
struct RowAddress {
    BYTE* bits;
    std::ptrdiff_t stride;
    int height;
    bool top_down;

    RowAddress(const BITMAPINFOHEADER* dib, BYTE* b)
        : bits(b), stride(io::stride_of(dib->biWidth)), height(height_of(dib)),
          top_down(dib->biHeight < 0) {}

    BYTE* row(int y) const { return bits + (top_down ? y : height - 1 - y) * stride; }
    // Address change for one step down the image.
    std::ptrdiff_t down() const { return top_down ? stride : -stride; }
};

// Bresenham between two points inside the bitmap; `plot` receives each
// pixel's address and coordinates. Counted loops keep every pixel within the
// box of the two end points.
template <typename Plot> void walk_line(const RowAddress& rows, const Segment& s, Plot plot) {
    const int step_x = s.x2 < s.x1 ? -1 : 1;
    const int step_y = s.y2 < s.y1 ? -1 : 1;
    const int64_t d_x = std::abs(int64_t(s.x2) - s.x1);
    const int64_t d_y = std::abs(int64_t(s.y2) - s.y1);
    const std::ptrdiff_t row_step = step_y > 0 ? rows.down() : -rows.down();
    int x = s.x1;
    int y = s.y1;
    BYTE* p = rows.row(y) + x;
    plot(p, x, y);
    if (d_y <= d_x) {
        int64_t e = 2 * d_y - d_x;
        for (int64_t n = 0; n < d_x; ++n) {
            x += step_x;
            p += step_x;
            if (e >= 0) {
                y += step_y;
                p += row_step;
                e += 2 * (d_y - d_x);
            } else {
                e += 2 * d_y;
            }
            plot(p, x, y);
        }
    } else {
        int64_t e = 2 * d_x - d_y;
        for (int64_t n = 0; n < d_y; ++n) {
            y += step_y;
            p += row_step;
            if (e >= 0) {
                x += step_x;
                p += step_x;
                e += 2 * (d_x - d_y);
            } else {
                e += 2 * d_x;
            }
            plot(p, x, y);
        }
    }
}

bool clip_line(const BITMAPINFOHEADER* dib, Segment& s) {
    return clip_segment(s, dib->biWidth, height_of(dib));
}

// Clips a rectangle as the drawing functions do; returns the clipped height
// (the rectangle is empty when it or the clipped width is below 1).
struct ClippedRect {
    int x, y, width, height;
};

ClippedRect clip_rectangle(const BITMAPINFOHEADER* dib, int x, int y, int width, int height) {
    const int bitmap_height = height_of(dib);
    int64_t w = width;
    int64_t h = height;
    if (int64_t(x) + w > dib->biWidth) w = int64_t(dib->biWidth) - x;
    if (x < 0) {
        w += x;
        x = 0;
    }
    if (w < 0) return {0, 0, 0, 0};
    if (int64_t(y) + h > bitmap_height) h = int64_t(bitmap_height) - y;
    if (y < 0) {
        h += y;
        y = 0;
    }
    // A height far below zero still reports "nothing drawn".
    return {x, y, int(w), int(std::max<int64_t>(h, INT_MIN))};
}

} // namespace

extern "C" int RaskoGetClippingCode(const BITMAPINFOHEADER* dib, int x, int y) {
    return clip_code(dib->biWidth, height_of(dib), x, y);
}

extern "C" int RaskoGetCrossPoint(int x1, int y1, int x2, int y2, int edge, int code) {
    int result = 0;
    // A line parallel to the edge has no crossing; its start coordinate on
    // the other axis is the only answer that does not divide by zero.
    if (!cross_point(x1, y1, x2, y2, edge, code, &result))
        return code == kLeft || code == kRight ? y1 : x1;
    return result;
}

extern "C" int RaskoClipLine(const BITMAPINFOHEADER* dib, int* x1, int* y1, int* x2, int* y2) {
    Segment s{*x1, *y1, *x2, *y2};
    if (!clip_line(dib, s)) return 0;
    *x1 = s.x1;
    *y1 = s.y1;
    *x2 = s.x2;
    *y2 = s.y2;
    return 1;
}

extern "C" int RaskoDrawLine(const BITMAPINFOHEADER* dib, BYTE* bits, int x1, int y1, int x2,
                             int y2, int colour) {
    Segment s{x1, y1, x2, y2};
    if (!clip_line(dib, s)) return 0;
    const BYTE value = BYTE(colour);
    walk_line(RowAddress(dib, bits), s, [value](BYTE* p, int, int) { *p = value; });
    return 1;
}

extern "C" int RaskoDrawLineEx(const BITMAPINFOHEADER* dib, BYTE* bits, int x1, int y1, int x2,
                               int y2, int background, int colour, int level) {
    Segment s{x1, y1, x2, y2};
    if (!clip_line(dib, s)) return 0;
    const ToneBlock block = tone_block(background, colour, level);
    walk_line(RowAddress(dib, bits), s,
              [&block](BYTE* p, int x, int y) { *p = block.entry[y & 3][x & 3]; });
    return 1;
}

extern "C" int RaskoDrawRectangle(const BITMAPINFOHEADER* dib, BYTE* bits, int x, int y, int width,
                                  int height, int colour) {
    const ClippedRect r = clip_rectangle(dib, x, y, width, height);
    const RowAddress rows(dib, bits);
    for (int j = 0; j < r.height && r.width > 0; ++j)
        std::memset(rows.row(r.y + j) + r.x, BYTE(colour), std::size_t(r.width));
    return r.height;
}

extern "C" int RaskoDrawRectangleEx(const BITMAPINFOHEADER* dib, BYTE* bits, int x, int y,
                                    int width, int height, int background, int colour, int level) {
    const ClippedRect r = clip_rectangle(dib, x, y, width, height);
    const ToneBlock block = tone_block(background, colour, level);
    const RowAddress rows(dib, bits);
    for (int j = 0; j < r.height && r.width > 0; ++j) {
        const int image_y = r.y + j;
        // The row's four entries twice over, so that the four bytes starting
        // at the first column's phase repeat along the whole row.
        BYTE twice[8];
        std::memcpy(twice, block.entry[image_y & 3], 4);
        std::memcpy(twice + 4, block.entry[image_y & 3], 4);
        const BYTE* phase = twice + (r.x & 3);
        BYTE* d = rows.row(image_y) + r.x;
        int i = 0;
        for (; i + 4 <= r.width; i += 4)
            std::memcpy(d + i, phase, 4);
        for (; i < r.width; ++i)
            d[i] = phase[i & 3];
    }
    return r.height;
}
