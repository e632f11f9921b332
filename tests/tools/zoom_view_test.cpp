#include "app/tools/zoom_view.h"

#include <gtest/gtest.h>

namespace {

bool same(const AreaRect& a, const AreaRect& b) {
    return a.left == b.left && a.top == b.top && a.width == b.width && a.height == b.height;
}

TEST(ZoomView, OfferedCellsFollowTheSizeMode) {
    struct Case {
        ZoomSizeMode mode;
        int client, factor, old_cells, expected;
    };
    const Case cases[] = {
        {ZoomSizeMode::tens, 250, 10, 32, 30},       {ZoomSizeMode::sixteens, 250, 10, 32, 32},
        {ZoomSizeMode::free_size, 250, 10, 25, 25},  // the old view filled the client
        {ZoomSizeMode::free_size, 250, 10, 24, 26},  // it fell short: one more
        {ZoomSizeMode::tens, 40, 10, 32, 10},        // never below 10
        {ZoomSizeMode::sixteens, 30, 10, 32, 16},    // never below 16
        {ZoomSizeMode::tens, 149, 10, 32, 10},       // 14 cells round down
        {ZoomSizeMode::tens, 150, 10, 32, 20},       // 15 cells: halves up
        {ZoomSizeMode::free_size, 100, 0, 100, 100}, // a factor of 0 counts as 1
        {ZoomSizeMode::free_size, -20, 10, 0, 0},    // no room at all
    };
    for (const Case& c : cases)
        EXPECT_EQ(offered_cells(c.mode, c.client, c.factor, c.old_cells), c.expected)
            << c.client << " at " << c.factor;
}

TEST(ZoomView, ViewAreaIsClampedIntoThePicture) {
    struct Case {
        AreaRect in;
        int width, height;
        AreaRect expected;
    };
    const Case cases[] = {
        {{-5, -3, 10, 10}, 64, 64, {0, 0, 10, 10}},   // a negative left after a resize
        {{60, 60, 10, 10}, 64, 64, {54, 54, 10, 10}}, // pulled back from the far edge
        {{0, 0, 32, 32}, 16, 8, {0, 0, 16, 8}},       // larger than the picture
        {{3, 3, 0, -4}, 16, 8, {3, 3, 1, 1}},         // at least one cell
    };
    for (const Case& c : cases)
        EXPECT_TRUE(same(clamped_view_area(c.in, c.width, c.height), c.expected));
    // The whole layout step: 250 x 120 pixels offered at factor 10, 10 x 10 mode,
    // from an area whose left went negative.
    EXPECT_TRUE(same(offered_view_area({-4, 2, 32, 32}, ZoomSizeMode::tens, 250, 120, 10, 64, 64),
                     {0, 2, 30, 10}));
}

TEST(ZoomView, KeptAreaIsCappedAtTheWorkArea) {
    EXPECT_TRUE(same(capped_view_area({5, 6, 200, 40}, 10, 1024, 768), {5, 6, 102, 40}));
    EXPECT_TRUE(same(capped_view_area({5, 6, 20, 90}, 32, 1024, 768), {5, 6, 20, 24}));
    EXPECT_TRUE(same(capped_view_area({0, 0, 20, 20}, 32, 10, 10), {0, 0, 1, 1}));
}

TEST(ZoomView, CellsUnderDisplayPoints) {
    const AreaRect area{8, 8, 32, 32};
    struct Case {
        int cx, cy;
        bool hold;
        POINT expected;
    };
    const Case cases[] = {
        {25, 37, false, {10, 11}},  {0, 0, false, {8, 8}},
        {-1, -1, false, {7, 7}},  // left of the display is outside the area
        {-1, 500, true, {8, 39}}, // a drag out of the display stays on the edge
        {319, 319, true, {39, 39}},
    };
    for (const Case& c : cases) {
        const POINT p = zoom_cell(area, 10, c.cx, c.cy, c.hold);
        EXPECT_EQ(p.x, c.expected.x) << c.cx;
        EXPECT_EQ(p.y, c.expected.y) << c.cy;
    }
    const POINT centre = cell_centre(area, 10, {10, 11});
    EXPECT_EQ(centre.x, 25);
    EXPECT_EQ(centre.y, 35);
}

TEST(ZoomView, MiniZoomerCutsTheSquareAtTheEdges) {
    struct Case {
        int x, y;
        MiniZoomCopy expected;
    };
    const Case cases[] = {
        {0, 0, {true, true, {0, 0, 5, 5}, {64, 64}}}, // black border four cells wide
        {10, 10, {true, false, {6, 6, 9, 9}, {0, 0}}},
        {63, 2, {true, true, {59, 0, 5, 7}, {0, 32}}},    // cut right, shifted down
        {80, 10, {false, true, {76, 6, -12, 9}, {0, 0}}}, // nothing left
    };
    for (const Case& c : cases) {
        const MiniZoomCopy m = mini_zoom_copy(c.x, c.y, 64, 64);
        EXPECT_EQ(m.any, c.expected.any) << c.x;
        EXPECT_EQ(m.cut, c.expected.cut) << c.x;
        if (!m.any) continue;
        EXPECT_TRUE(same(m.source, c.expected.source)) << c.x;
        EXPECT_EQ(m.target.x, c.expected.target.x) << c.x;
        EXPECT_EQ(m.target.y, c.expected.target.y) << c.x;
    }
}

} // namespace
