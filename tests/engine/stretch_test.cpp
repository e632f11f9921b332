#include "engine/rasko.h"
#include "tests/support/guarded_dib.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

namespace {

using test::GuardedDib;

// The source index that destination pixel i of an unclipped rectangle of
// `dst` pixels picks from `src` pixels, when the clipping cut `skipped`
// pixels off its start, in closed form; held at the last source pixel.
std::int64_t picked(int src, int dst, std::int64_t i, std::int64_t skipped) {
    if (src <= dst) {
        const std::int64_t step = (std::int64_t(src) << 16) / dst;
        return (i * step) >> 16;
    }
    const std::int64_t step = std::max<std::int64_t>(1, (std::int64_t(dst) << 16) / src);
    const std::int64_t rest = (i - skipped) << 16;
    const std::int64_t index = ((skipped << 16) / step) + (rest + step - 1) / step;
    return std::min<std::int64_t>(index, src - 1);
}

// A source whose pixel (x, y) holds y * 16 + x, so every value names its
// position.
GuardedDib numbered_source() {
    GuardedDib src(16, 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            src.at(x, y) = BYTE(y * 16 + x);
    return src;
}

std::vector<int> row_of(GuardedDib& dib, int y) {
    std::vector<int> row;
    for (int x = 0; x < dib.width(); ++x)
        row.push_back(dib.at(x, y));
    return row;
}

// One row of a stretch from a numbered row of `sw` pixels into `dw` pixels.
std::vector<int> stretched_row(int sw, int dw) {
    GuardedDib src(sw, 1);
    for (int x = 0; x < sw; ++x)
        src.at(x, 0) = BYTE(x);
    GuardedDib dst(dw, 1, 0xEE);
    RaskoStretchDIBBits(dst.header(), dst.bits(), 0, 0, dw, 1, src.header(), src.bits(), 0, 0, sw,
                        1);
    return row_of(dst, 0);
}

TEST(StretchDIBBits, PicksTheDocumentedColumns) {
    EXPECT_EQ(stretched_row(5, 5), (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(stretched_row(2, 4), (std::vector<int>{0, 0, 1, 1}));
    EXPECT_EQ(stretched_row(4, 2), (std::vector<int>{0, 2}));
    EXPECT_EQ(stretched_row(3, 2), (std::vector<int>{0, 2}));
    EXPECT_EQ(stretched_row(2, 3), (std::vector<int>{0, 0, 1}));
}

TEST(StretchDIBBits, EqualSizesCopyTheRectangle) {
    GuardedDib src = numbered_source();
    GuardedDib dst(9, 7, 0xEE);
    RaskoStretchDIBBits(dst.header(), dst.bits(), 1, 2, 5, 4, src.header(), src.bits(), 3, 6, 5, 4);
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 9; ++x) {
            const bool inside = x >= 1 && x < 6 && y >= 2 && y < 6;
            EXPECT_EQ(dst.at(x, y), inside ? (6 + y - 2) * 16 + 3 + x - 1 : 0xEE) << x << "," << y;
        }
    EXPECT_TRUE(dst.outside_untouched());
}

TEST(StretchDIBBits, ClippedTopRowContinuesTheUnclippedStretch) {
    // Enlarging 3 rows to 7: the unclipped rows pick 0 0 0 1 1 2 2; with
    // dy = -1 the first drawn row is the unclipped second one.
    GuardedDib src = numbered_source();
    GuardedDib dst(1, 6, 0xEE);
    RaskoStretchDIBBits(dst.header(), dst.bits(), 0, -1, 1, 7, src.header(), src.bits(), 0, 0, 1,
                        3);
    const int rows[] = {0, 0, 1, 1, 2, 2};
    for (int y = 0; y < 6; ++y)
        EXPECT_EQ(dst.at(0, y), rows[y] * 16) << y;
}

TEST(StretchDIBBits, ShrinkNeverPicksPastTheSourceRectangle) {
    // 273 into 272: the rounded step would pick index 273 for the last pixel.
    GuardedDib src(280, 1, 0);
    src.at(272, 0) = 0xAA;
    src.at(273, 0) = 0xBB;
    GuardedDib dst(272, 1, 0xEE);
    RaskoStretchDIBBits(dst.header(), dst.bits(), 0, 0, 272, 1, src.header(), src.bits(), 0, 0, 273,
                        1);
    EXPECT_EQ(dst.at(271, 0), 0xAA);
}

TEST(StretchDIBBits, UnusableSizesAndRectanglesOutsideDrawNothing) {
    GuardedDib src = numbered_source();
    GuardedDib dst(8, 8, 0xEE);
    const struct {
        int dx, dy, dw, dh, sw, sh;
        int sx = 0, sy = 0;
    } cases[] = {{0, 0, 0, 4, 4, 4},
                 {0, 0, 4, 0, 4, 4},
                 {0, 0, 4, 4, 0, 4},
                 {0, 0, 4, 4, 4, -1},
                 {0, 0, -4, 4, 4, 4},
                 {8, 0, 4, 4, 4, 4},
                 {0, 8, 4, 4, 4, 4},
                 {-4, 0, 4, 4, 4, 4},
                 {0, -9, 4, 9, 4, 4},
                 // Source rectangles reaching outside the 16 x 16 source.
                 {0, 0, 8, 8, 17, 4},
                 {0, 0, 8, 8, 4, 17},
                 {0, 0, 8, 8, 4, 4, -1, 0},
                 {0, 0, 8, 8, 4, 4, 0, -1},
                 {0, 0, 8, 8, 4, 4, 13, 0},
                 {0, 0, 8, 8, 4, 4, 0, 0x7FFFFFF0}};
    for (const auto& c : cases) {
        RaskoStretchDIBBits(dst.header(), dst.bits(), c.dx, c.dy, c.dw, c.dh, src.header(),
                            src.bits(), c.sx, c.sy, c.sw, c.sh);
        RaskoStretchTransparentDIBBits(dst.header(), dst.bits(), c.dx, c.dy, c.dw, c.dh,
                                       src.header(), src.bits(), c.sx, c.sy, c.sw, c.sh, 1);
    }
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            ASSERT_EQ(dst.at(x, y), 0xEE) << x << "," << y;
    EXPECT_TRUE(dst.outside_untouched());
}

TEST(StretchTransparentDIBBits, LeavesPixelsWhoseChosenSourceIsTheKey) {
    GuardedDib src(2, 1);
    src.at(0, 0) = 7;
    src.at(1, 0) = 9;
    GuardedDib dst(4, 1, 0xEE);
    RaskoStretchTransparentDIBBits(dst.header(), dst.bits(), 0, 0, 4, 1, src.header(), src.bits(),
                                   0, 0, 2, 1, 0x107);
    EXPECT_EQ(row_of(dst, 0), (std::vector<int>{0xEE, 0xEE, 9, 9}));
}

// Every drawn pixel, for many sizes and clip offsets in both directions,
// takes exactly the source pixel the closed form names; nothing else changes.
TEST(StretchDIBBits, EveryPixelFollowsTheClosedFormUnderClipping) {
    std::mt19937 random(20261207);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    GuardedDib src = numbered_source();
    for (int round = 0; round < 3000; ++round) {
        const bool keyed = round % 3 == 2;
        GuardedDib dst(pick(1, 40), pick(1, 40), 0);
        for (int y = 0; y < dst.height(); ++y)
            for (int x = 0; x < dst.width(); ++x)
                dst.at(x, y) = BYTE(pick(0, 255));
        GuardedDib before = dst;
        const int sw = pick(1, 16), sh = pick(1, 16);
        const int sx = pick(0, 16 - sw), sy = pick(0, 16 - sh);
        const int dw = pick(1, 48), dh = pick(1, 48);
        const int dx = pick(-dw - 2, dst.width() + 2), dy = pick(-dh - 2, dst.height() + 2);
        const int key = src.at(pick(sx, sx + sw - 1), pick(sy, sy + sh - 1));
        if (keyed)
            RaskoStretchTransparentDIBBits(dst.header(), dst.bits(), dx, dy, dw, dh, src.header(),
                                           src.bits(), sx, sy, sw, sh, key);
        else
            RaskoStretchDIBBits(dst.header(), dst.bits(), dx, dy, dw, dh, src.header(), src.bits(),
                                sx, sy, sw, sh);
        const int skipped_x = std::max(0, -dx), skipped_y = std::max(0, -dy);
        for (int y = 0; y < dst.height(); ++y)
            for (int x = 0; x < dst.width(); ++x) {
                int want = before.at(x, y);
                const int i = x - dx, j = y - dy;
                if (i >= 0 && i < dw && j >= 0 && j < dh) {
                    const int v = src.at(sx + int(picked(sw, dw, i, skipped_x)),
                                         sy + int(picked(sh, dh, j, skipped_y)));
                    if (!keyed || v != key) want = v;
                }
                ASSERT_EQ(dst.at(x, y), want)
                    << "round " << round << " pixel " << x << "," << y << " src " << sx << "," << sy
                    << " " << sw << "x" << sh << " dst " << dx << "," << dy << " " << dw << "x"
                    << dh;
            }
        ASSERT_TRUE(dst.outside_untouched()) << round;
    }
}

// Long rows and columns, where the accumulators run through many carries and
// rows run past the width of one batch of column offsets.
TEST(StretchDIBBits, LongAxesFollowTheClosedForm) {
    std::mt19937 random(7);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    for (int round = 0; round < 200; ++round) {
        const int s = pick(1, 256), d = pick(1, 3000), offset = pick(-d / 2, 10);
        const bool vertical = round % 2 == 1;
        GuardedDib src(vertical ? 1 : s, vertical ? s : 1);
        for (int k = 0; k < s; ++k)
            (vertical ? src.at(0, k) : src.at(k, 0)) = BYTE(k);
        GuardedDib dst(vertical ? 1 : 2600, vertical ? 2600 : 1, 0xEE);
        if (vertical)
            RaskoStretchDIBBits(dst.header(), dst.bits(), 0, offset, 1, d, src.header(), src.bits(),
                                0, 0, 1, s);
        else
            RaskoStretchDIBBits(dst.header(), dst.bits(), offset, 0, d, 1, src.header(), src.bits(),
                                0, 0, s, 1);
        const int skipped = std::max(0, -offset);
        for (int p = 0; p < 2600; ++p) {
            const int i = p - offset;
            const int want = i >= 0 && i < d ? int(picked(s, d, i, skipped)) : 0xEE;
            ASSERT_EQ(vertical ? dst.at(0, p) : dst.at(p, 0), want)
                << (vertical ? "row " : "column ") << p << " " << s << " into " << d << " at "
                << offset;
        }
        ASSERT_TRUE(dst.outside_untouched());
    }
}

} // namespace
