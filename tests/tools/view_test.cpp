#include "app/tools/view.h"

#include "app/tools/stroke_shape.h"
#include "tests/support/drawing_fixture.h"

#include <gtest/gtest.h>

using namespace drawing_test;

namespace {

bool operator==(POINT a, POINT b) { return a.x == b.x && a.y == b.y; }

TEST(View, MappingTruncatesAndAddsTheOrigin) {
    DocumentPtr doc = picture(400, 300);
    doc->view_origin_x = 7;
    doc->view_origin_y = 3;
    doc->zoom = 50;
    EXPECT_TRUE(canvas_to_picture(*doc, 101, 0) == (POINT{202 + 7, 3}));
    doc->zoom = 300;
    EXPECT_TRUE(canvas_to_picture(*doc, 5, 5) == (POINT{1 + 7, 1 + 3}));
    // Left of the canvas rounds towards zero, as the division does.
    EXPECT_TRUE(canvas_to_picture(*doc, -2, -4) == (POINT{7, 2}));
    EXPECT_TRUE(picture_to_canvas(*doc, 8, 4) == (POINT{3, 3}));
    EXPECT_TRUE(picture_to_canvas(*doc, 5, 3) == (POINT{-6, 0}));
}

TEST(View, SnappingGoesToTheNearestLineHalvesUp) {
    DocumentPtr doc = picture(64, 64);
    const int xs[][2] = {{7, 0}, {8, 16}, {23, 16}, {24, 32}, {-8, 0}, {-9, -16}};
    for (const auto& x : xs)
        EXPECT_EQ(snap_to_grid(*doc, {x[0], 0}).x, x[1]) << x[0];
    doc->grid_height = 10;
    EXPECT_EQ(snap_to_grid(*doc, {0, 15}).y, 20);
    EXPECT_EQ(snap_to_grid(*doc, {0, 14}).y, 10);
}

TEST(View, ShiftMakesLinesStraightAndBoxesSquare) {
    const POINT a{10, 10};
    EXPECT_TRUE(constrain_point(kShapeLine, a, {15, 40}) == (POINT{10, 40}));
    EXPECT_TRUE(constrain_point(kShapeRectangle, a, {15, 40}) == (POINT{40, 40}));
    EXPECT_TRUE(constrain_point(kShapeFilledEllipse, a, {5, 40}) == (POINT{-20, 40}));
    EXPECT_TRUE(constrain_point(kShapeEllipse, a, {40, 5}) == (POINT{40, -20}));
    // Ties: the line goes horizontal, the box keeps x and moves y.
    EXPECT_TRUE(constrain_point(kShapeLine, a, {14, 14}) == (POINT{14, 10}));
    EXPECT_TRUE(constrain_point(kShapeRectangle, a, {6, 14}) == (POINT{6, 14}));
    EXPECT_TRUE(constrain_point(kShapeFreeHand, a, {15, 40}) == (POINT{15, 40}));
}

TEST(View, AxisLayoutCentresWhatFitsAndClipsWhatDoesNot) {
    // 200 x 100 at zoom 300 in a 400 x 400 client.
    AxisLayout x = layout_axis(400, 200, 300, 0);
    EXPECT_EQ(x.offset, 0);
    EXPECT_EQ(x.visible, 133);
    EXPECT_EQ(x.extent, 399);
    AxisLayout y = layout_axis(400, 100, 300, 5);
    EXPECT_EQ(y.offset, 50);
    EXPECT_EQ(y.extent, 300);
    EXPECT_EQ(y.visible, 100);
    EXPECT_EQ(y.origin, 0);
    // 3 pixels at zoom 50 need 1 pixel: they count as fitting a 1-pixel column.
    AxisLayout column = layout_axis(1, 3, 50, 0);
    EXPECT_EQ(column.offset, 0);
    EXPECT_EQ(column.extent, 1);
    EXPECT_EQ(column.visible, 3);
    // 16 pixels at zoom 1600 in 100.
    AxisLayout big = layout_axis(100, 16, 1600, 0);
    EXPECT_EQ(big.visible, 6);
    EXPECT_EQ(big.extent, 96);
    // An origin that would show past the picture is pulled back.
    EXPECT_EQ(layout_axis(400, 200, 300, 150).origin, 67);
    EXPECT_EQ(layout_axis(400, 200, 300, 60).origin, 60);
}

TEST(View, ScrollingMovesByHalfAPageAndStaysInThePicture) {
    int out = -1;
    EXPECT_TRUE(scrolled_origin(kScrollPageDown, 0, 0, 7, 20, out));
    EXPECT_EQ(out, 3);
    EXPECT_TRUE(scrolled_origin(kScrollPageUp, 0, 2, 7, 20, out));
    EXPECT_EQ(out, 0);
    EXPECT_TRUE(scrolled_origin(kScrollLineDown, 0, 13, 7, 20, out));
    EXPECT_EQ(out, 13);
    EXPECT_TRUE(scrolled_origin(kScrollThumbTrack, 9, 0, 7, 20, out));
    EXPECT_EQ(out, 9);
    EXPECT_FALSE(scrolled_origin(kScrollThumbPosition, 9, 4, 7, 20, out));
    EXPECT_FALSE(scrolled_origin(6, 9, 4, 7, 20, out));
}

} // namespace
