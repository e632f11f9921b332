#include "engine/rasko.h"
#include "tests/support/guarded_dib.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <random>
#include <set>
#include <tuple>
#include <utility>

namespace {

using test::GuardedDib;
using Pixels = std::set<std::pair<int, int>>;

// The pixels of `dib` that hold `colour`.
Pixels pixels_of(GuardedDib& dib, int colour) {
    Pixels found;
    for (int y = 0; y < dib.height(); ++y)
        for (int x = 0; x < dib.width(); ++x)
            if (dib.at(x, y) == colour) found.insert({x, y});
    return found;
}

TEST(GetClippingCode, RegionsAgainstWidthAndAbsoluteHeight) {
    for (int height : {10, -10}) {
        GuardedDib dib(12, height);
        EXPECT_EQ(RaskoGetClippingCode(dib.header(), -1, -1), 9);
        EXPECT_EQ(RaskoGetClippingCode(dib.header(), 12, 10), 6);
        EXPECT_EQ(RaskoGetClippingCode(dib.header(), 11, 9), 0);
        EXPECT_EQ(RaskoGetClippingCode(dib.header(), -3, 10), 5);
        EXPECT_EQ(RaskoGetClippingCode(dib.header(), 12, -1), 10);
        EXPECT_EQ(RaskoGetClippingCode(dib.header(), 0, 0), 0);
    }
}

TEST(GetCrossPoint, TruncatesTowardZeroAndRefusesToDivideByZero) {
    // Vertical edge x = 0 of (-4, 1)-(4, 4): y = 4 * 3 / 8 + 1 = 2.
    EXPECT_EQ(RaskoGetCrossPoint(-4, 1, 4, 4, 0, 1), 2);
    // Horizontal edge y = 0 of (1, -3)-(-4, 3): x = 3 * -5 / 6 + 1 = -1.
    EXPECT_EQ(RaskoGetCrossPoint(1, -3, -4, 3, 0, 8), -1);
    EXPECT_EQ(RaskoGetCrossPoint(5, 2, 5, 9, 0, 2), 2);
    EXPECT_EQ(RaskoGetCrossPoint(3, 7, 9, 7, 0, 4), 3);
    // Far-off crossings are held in the int range instead of wrapping.
    EXPECT_EQ(RaskoGetCrossPoint(0, 0, 1, INT_MAX, 3, 2), INT_MAX);
}

TEST(ClipLine, MovesOutsideEndPointsOntoTheEdges) {
    GuardedDib dib(10, 10);
    int x1 = -5, y1 = 5, x2 = 5, y2 = 5;
    EXPECT_EQ(RaskoClipLine(dib.header(), &x1, &y1, &x2, &y2), 1);
    EXPECT_EQ(std::make_tuple(x1, y1, x2, y2), std::make_tuple(0, 5, 5, 5));

    x1 = -5, y1 = -5, x2 = -1, y2 = 20;
    EXPECT_EQ(RaskoClipLine(dib.header(), &x1, &y1, &x2, &y2), 0);
    EXPECT_EQ(std::make_tuple(x1, y1, x2, y2), std::make_tuple(-5, -5, -1, 20));

    x1 = -10, y1 = -10, x2 = 19, y2 = 19;
    EXPECT_EQ(RaskoClipLine(dib.header(), &x1, &y1, &x2, &y2), 1);
    EXPECT_EQ(std::make_tuple(x1, y1, x2, y2), std::make_tuple(0, 0, 9, 9));
}

TEST(ClipLine, RejectsLinesThatOnlyPassOutside) {
    GuardedDib dib(10, 10, 0);
    const struct {
        int x1, y1, x2, y2;
    } cases[] = {
        {-100, -1, 100, 0}, // nearly level above: both ends clip to y = -1
        {-10, 5, 5, -10},   // past the top-left corner
        {20, 5, 5, 20},     // past the bottom-right corner
        {-1, -100, 0, 100}, // nearly upright left of the bitmap
        {8, -5, 15, 2},     // past the top-right corner
    };
    for (const auto& c : cases) {
        int x1 = c.x1, y1 = c.y1, x2 = c.x2, y2 = c.y2;
        EXPECT_EQ(RaskoClipLine(dib.header(), &x1, &y1, &x2, &y2), 0) << c.x1 << "," << c.y1;
        EXPECT_EQ(std::make_tuple(x1, y1, x2, y2), std::make_tuple(c.x1, c.y1, c.x2, c.y2));
        EXPECT_EQ(RaskoDrawLine(dib.header(), dib.bits(), c.x1, c.y1, c.x2, c.y2, 7), 0);
    }
    EXPECT_TRUE(pixels_of(dib, 7).empty());
    EXPECT_TRUE(dib.outside_untouched());
}

TEST(DrawLine, DrawsTheDocumentedPixels) {
    GuardedDib dib(10, 10);
    EXPECT_EQ(RaskoDrawLine(dib.header(), dib.bits(), -5, 5, 5, 5, 3), 1);
    Pixels row;
    for (int x = 0; x <= 5; ++x)
        row.insert({x, 5});
    EXPECT_EQ(pixels_of(dib, 3), row);

    EXPECT_EQ(RaskoDrawLine(dib.header(), dib.bits(), 0, 0, 3, 1, 4), 1);
    EXPECT_EQ(pixels_of(dib, 4), (Pixels{{0, 0}, {1, 0}, {2, 1}, {3, 1}}));

    // The same line drawn backwards, and a steep one.
    EXPECT_EQ(RaskoDrawLine(dib.header(), dib.bits(), 3, 9, 0, 8, 5), 1);
    EXPECT_EQ(pixels_of(dib, 5), (Pixels{{3, 9}, {2, 9}, {1, 8}, {0, 8}}));
    EXPECT_EQ(RaskoDrawLine(dib.header(), dib.bits(), 9, 0, 8, 3, 6), 1);
    EXPECT_EQ(pixels_of(dib, 6), (Pixels{{9, 0}, {9, 1}, {8, 2}, {8, 3}}));

    // An error of exactly 0 steps the minor axis.
    EXPECT_EQ(RaskoDrawLine(dib.header(), dib.bits(), 4, 0, 6, 1, 10), 1);
    EXPECT_EQ(pixels_of(dib, 10), (Pixels{{4, 0}, {5, 1}, {6, 1}}));
    EXPECT_EQ(RaskoDrawLine(dib.header(), dib.bits(), 5, 2, 6, 4, 11), 1);
    EXPECT_EQ(pixels_of(dib, 11), (Pixels{{5, 2}, {6, 3}, {6, 4}}));

    EXPECT_EQ(RaskoDrawLine(dib.header(), dib.bits(), 7, 7, 7, 7, 8), 1);
    EXPECT_EQ(pixels_of(dib, 8), (Pixels{{7, 7}}));
    EXPECT_TRUE(dib.outside_untouched());
}

TEST(DrawLine, TopDownRowsAndHeight) {
    GuardedDib dib(6, -8);
    EXPECT_EQ(RaskoDrawLine(dib.header(), dib.bits(), 2, -3, 2, 20, 9), 1);
    for (int y = 0; y < 8; ++y)
        EXPECT_EQ(dib.bits()[y * 8 + 2], 9) << y;
    EXPECT_TRUE(dib.outside_untouched());
}

TEST(DrawLineEx, TwoColoursByTheWorkingToneTable) {
    GuardedDib dib(8, 8, 0);
    RaskoDrawLineEx(dib.header(), dib.bits(), 0, 0, 7, 0, 1, 2, 16);
    RaskoDrawLineEx(dib.header(), dib.bits(), 0, 1, 7, 1, 1, 2, 0);
    RaskoDrawLineEx(dib.header(), dib.bits(), 0, 2, 7, 2, 1, 2, 8);
    RaskoDrawLineEx(dib.header(), dib.bits(), 0, 3, 7, 3, 1, 2, 300);
    RaskoDrawLineEx(dib.header(), dib.bits(), 0, 4, 7, 4, 1, 2, -5);
    for (int x = 0; x < 8; ++x) {
        EXPECT_EQ(dib.at(x, 0), 2);
        EXPECT_EQ(dib.at(x, 1), 1);
        EXPECT_EQ(dib.at(x, 2), (x + 2) % 2 == 0 ? 2 : 1);
        EXPECT_EQ(dib.at(x, 3), 2);
        EXPECT_EQ(dib.at(x, 4), 1);
    }
    // Level 1 under the upside-down table is drawn at x & 3 = 0, y & 3 = 3.
    RaskoOffsetPattern(0, -4);
    RaskoDrawLineEx(dib.header(), dib.bits(), 0, 7, 7, 7, 1, 2, 1);
    RaskoOffsetPattern(0, 0);
    for (int x = 0; x < 8; ++x)
        EXPECT_EQ(dib.at(x, 7), (x & 3) == 0 ? 2 : 1) << x;
}

// The end points' box: no line function may leave it, and a drawn line lies
// along the line through the points it was given.
double distance_from_line(double x, double y, const double line[4]) {
    const double dx = line[2] - line[0], dy = line[3] - line[1];
    const double length = std::hypot(dx, dy);
    if (length == 0) return std::hypot(x - line[0], y - line[1]);
    return std::fabs(dx * (y - line[1]) - dy * (x - line[0])) / length;
}

TEST(DrawLine, RandomLinesStayInsideAndOnTheLine) {
    std::mt19937 random(4242);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    auto coordinate = [&](int size) {
        switch (pick(0, 5)) {
        case 0:
            return pick(INT_MIN, INT_MAX);
        case 1:
            return pick(-100000, 100000);
        default:
            return pick(-size * 2, size * 3);
        }
    };
    for (int round = 0; round < 20000; ++round) {
        const int width = pick(1, 24), height = pick(1, 24) * (round % 2 ? -1 : 1);
        GuardedDib dib(width, height, 0);
        const int x1 = coordinate(width), y1 = coordinate(dib.height());
        const int x2 = coordinate(width), y2 = coordinate(dib.height());
        int cx1 = x1, cy1 = y1, cx2 = x2, cy2 = y2;
        const int clipped = RaskoClipLine(dib.header(), &cx1, &cy1, &cx2, &cy2);
        const int drawn = round % 3 == 0
                              ? RaskoDrawLineEx(dib.header(), dib.bits(), x1, y1, x2, y2, 1, 1, 5)
                              : RaskoDrawLine(dib.header(), dib.bits(), x1, y1, x2, y2, 1);
        ASSERT_EQ(drawn, clipped);
        ASSERT_TRUE(dib.outside_untouched()) << x1 << "," << y1 << " " << x2 << "," << y2;
        const Pixels lit = pixels_of(dib, 1);
        if (!clipped) {
            ASSERT_TRUE(lit.empty());
            continue;
        }
        ASSERT_EQ(RaskoGetClippingCode(dib.header(), cx1, cy1), 0);
        ASSERT_EQ(RaskoGetClippingCode(dib.header(), cx2, cy2), 0);
        // One pixel per step along the major axis, both end points drawn.
        const int steps = std::max(std::abs(cx2 - cx1), std::abs(cy2 - cy1));
        ASSERT_EQ(int(lit.size()), steps + 1);
        ASSERT_TRUE(lit.count({cx1, cy1}) && lit.count({cx2, cy2}));
        const double line[4] = {double(x1), double(y1), double(x2), double(y2)};
        for (const auto& [x, y] : lit)
            ASSERT_LE(distance_from_line(x, y, line), 2.0) << round;
    }
}

TEST(DrawLine, LinesThroughTheMiddleAreNeverRejected) {
    std::mt19937 random(99);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    for (int round = 0; round < 5000; ++round) {
        GuardedDib dib(pick(3, 40), pick(3, 40), 0);
        // Through a point well inside, out to far ends on both sides.
        const int cx = dib.width() / 2, cy = dib.height() / 2;
        const int ex = pick(-5000, 5000), ey = pick(-5000, 5000);
        EXPECT_EQ(RaskoDrawLine(dib.header(), dib.bits(), cx - ex, cy - ey, cx + ex, cy + ey, 1), 1)
            << dib.width() << "x" << dib.height() << " " << ex << "," << ey;
    }
}

// The clipping written out step by step: one pass, left, right, top, bottom,
// first point then second, each crossing from the points as already moved.
// It stops where the pass would divide by zero or where both points come to
// lie beyond one edge (the line then misses the bitmap, though the rest of
// the pass could still pull both points onto one pixel inside).
struct OnePass {
    bool rejected_at_once = false;
    bool settled = false; // both points inside after a complete pass
    int x1, y1, x2, y2;
};

OnePass clip_one_pass(int w, int h, int x1, int y1, int x2, int y2) {
    auto code = [&](int x, int y) {
        return (x < 0 ? 1 : x >= w ? 2 : 0) | (y < 0 ? 8 : y >= h ? 4 : 0);
    };
    OnePass r{false, false, x1, y1, x2, y2};
    int c[3] = {0, code(x1, y1), code(x2, y2)};
    if ((c[1] | c[2]) == 0) {
        r.settled = true;
        return r;
    }
    if (c[1] & c[2]) {
        r.rejected_at_once = true;
        return r;
    }
    int* xs[3] = {nullptr, &r.x1, &r.x2};
    int* ys[3] = {nullptr, &r.y1, &r.y2};
    const struct { int bit, edge; } steps[] = {{1, 0}, {2, w - 1}, {8, 0}, {4, h - 1}};
    for (const auto& step : steps) {
        for (int p = 1; p <= 2; ++p) {
            if (!(c[p] & step.bit)) continue;
            if (c[1] & c[2]) return r;
            const std::int64_t ax = r.x1, ay = r.y1, bx = r.x2, by = r.y2;
            if (step.bit <= 2) {
                if (bx == ax) return r;
                *ys[p] = int((step.edge - ax) * (by - ay) / (bx - ax) + ay);
                *xs[p] = step.edge;
            } else {
                if (by == ay) return r;
                *xs[p] = int((step.edge - ay) * (bx - ax) / (by - ay) + ax);
                *ys[p] = step.edge;
            }
            c[p] = code(*xs[p], *ys[p]);
        }
    }
    r.settled = code(r.x1, r.y1) == 0 && code(r.x2, r.y2) == 0;
    return r;
}

TEST(ClipLine, OnePassInTheFixedOrderWhereverThatSettlesTheLine) {
    std::mt19937 random(31);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    int settled = 0;
    for (int round = 0; round < 50000; ++round) {
        const int w = pick(1, 30), h = pick(1, 30);
        GuardedDib dib(w, round % 2 ? -h : h);
        const int x1 = pick(-3 * w, 4 * w), y1 = pick(-3 * h, 4 * h);
        const int x2 = pick(-3 * w, 4 * w), y2 = pick(-3 * h, 4 * h);
        const OnePass want = clip_one_pass(w, h, x1, y1, x2, y2);
        int cx1 = x1, cy1 = y1, cx2 = x2, cy2 = y2;
        const int result = RaskoClipLine(dib.header(), &cx1, &cy1, &cx2, &cy2);
        if (want.rejected_at_once) {
            ASSERT_EQ(result, 0);
            ASSERT_EQ(std::make_tuple(cx1, cy1, cx2, cy2), std::make_tuple(x1, y1, x2, y2));
        } else if (want.settled) {
            ++settled;
            ASSERT_EQ(result, 1) << x1 << "," << y1 << " " << x2 << "," << y2 << " on " << w << "x"
                                 << h;
            ASSERT_EQ(std::make_tuple(cx1, cy1, cx2, cy2),
                      std::make_tuple(want.x1, want.y1, want.x2, want.y2))
                << x1 << "," << y1 << " " << x2 << "," << y2 << " on " << w << "x" << h;
        }
    }
    EXPECT_GT(settled, 10000);
}

TEST(DrawRectangle, ClipsAndReturnsTheClippedHeight) {
    GuardedDib dib(10, 10, 0);
    EXPECT_EQ(RaskoDrawRectangle(dib.header(), dib.bits(), -2, -2, 5, 5, 4), 3);
    Pixels square;
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            square.insert({x, y});
    EXPECT_EQ(pixels_of(dib, 4), square);

    EXPECT_EQ(RaskoDrawRectangle(dib.header(), dib.bits(), 8, 7, 5, 5, 5), 3);
    EXPECT_EQ(pixels_of(dib, 5).size(), 6u);
    EXPECT_LE(RaskoDrawRectangle(dib.header(), dib.bits(), 0, 10, 5, 5, 6), 0);
    EXPECT_LE(RaskoDrawRectangle(dib.header(), dib.bits(), 11, 0, 5, 5, 6), 0);
    EXPECT_LE(RaskoDrawRectangle(dib.header(), dib.bits(), -6, 0, 5, 5, 6), 0);
    EXPECT_LE(RaskoDrawRectangle(dib.header(), dib.bits(), 0, -9, 5, 5, 6), 0);
    EXPECT_LE(RaskoDrawRectangle(dib.header(), dib.bits(), INT_MIN, INT_MIN, INT_MAX, INT_MAX, 6),
              0);
    EXPECT_EQ(RaskoDrawRectangle(dib.header(), dib.bits(), INT_MIN + 1, 0, INT_MAX, 1, 6), 1);
    EXPECT_EQ(pixels_of(dib, 6).size(), 0u);
    EXPECT_TRUE(dib.outside_untouched());

    GuardedDib top_down(4, -3, 0);
    EXPECT_EQ(RaskoDrawRectangle(top_down.header(), top_down.bits(), 1, 0, 2, 1, 7), 1);
    EXPECT_EQ(top_down.bits()[1], 7);
    EXPECT_EQ(top_down.bits()[2], 7);
    EXPECT_TRUE(top_down.outside_untouched());
}

TEST(DrawRectangleEx, EveryPixelTakesItsOwnBlockEntry) {
    for (int width : {1, 3, 4, 5, 7, 9, 15, 33}) {
        GuardedDib dib(width + 2, 6, 0);
        EXPECT_EQ(RaskoDrawRectangleEx(dib.header(), dib.bits(), 1, 1, width, 4, 10, 20, 8), 4);
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < width + 2; ++x) {
                const bool inside = x >= 1 && x <= width && y >= 1 && y <= 4;
                EXPECT_EQ(dib.at(x, y), !inside            ? 0
                                        : (x + y) % 2 == 0 ? 20
                                                           : 10)
                    << width << ": " << x << "," << y;
            }
        EXPECT_TRUE(dib.outside_untouched());
    }
    GuardedDib dib(4, 1, 0);
    RaskoDrawRectangleEx(dib.header(), dib.bits(), 0, 0, 4, 1, 10, 20, 99);
    for (int x = 0; x < 4; ++x)
        EXPECT_EQ(dib.at(x, 0), 20);
}

} // namespace
