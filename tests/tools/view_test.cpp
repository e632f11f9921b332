#include "app/tools/view.h"

#include "app/tools/stroke_shape.h"
#include "tests/support/drawing_fixture.h"

#include <gtest/gtest.h>

using namespace drawing_test;

namespace {

bool operator==(POINT a, POINT b) {
    return a.x == b.x && a.y == b.y;
}

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

TEST(View, TheWheelScrollsLinesOfScreenPixelsAndKeepsWhatIsLeftOfANotch) {
    const struct {
        int delta, lines, visible, zoom;
        WheelStep step;
    } cases[] = {
        {120, 3, 50, 100, {-48, 0}}, // a notch away: three lines back
        {-120, 3, 50, 100, {48, 0}}, // towards the user: onwards
        {-120, 3, 50, 1600, {3, 0}}, // a line is one pixel at 1600 %
        {-120, 3, 50, 50, {96, 0}},  // and 32 at 50 %
        {-30, 3, 50, 100, {0, -30}}, // a quarter notch waits
        {-150, 3, 50, 100, {48, -30}},
        {-120, 7, 50, 100, {112, 0}},
        {-100, 7, 50, 100, {80, -14}}, // 5 of 5.83 lines; the rest kept
        {-240, kWheelPageScroll, 50, 400, {100, 0}},
        {200, kWheelPageScroll, 50, 400, {-50, 80}},
        {-120, 0, 50, 100, {0, 0}}, // scrolling turned off
    };
    for (const auto& c : cases) {
        const WheelStep s = wheel_step(c.delta, c.lines, c.visible, c.zoom);
        EXPECT_EQ(s.origin_change, c.step.origin_change)
            << c.delta << " " << c.lines << " " << c.zoom;
        EXPECT_EQ(s.unused_delta, c.step.unused_delta)
            << c.delta << " " << c.lines << " " << c.zoom;
    }
}

TEST(View, ADocumentWindowStaysInsideTheWorkspace) {
    const struct {
        WindowPlace wanted;
        WindowPlace placed;
    } cases[] = {
        {{10, 20, 300, 200}, {10, 20, 300, 200}},   // fits where it is
        {{500, 20, 300, 200}, {340, 20, 300, 200}}, // moved back left
        {{10, 20, 2000, 1500}, {0, 0, 640, 480}},   // as large as the workspace
        {{-5, -9, 100, 100}, {0, 0, 100, 100}},     // caption back in reach
    };
    for (const auto& c : cases) {
        const WindowPlace p = fitted_window(c.wanted, 640, 480);
        EXPECT_EQ(p.x, c.placed.x);
        EXPECT_EQ(p.y, c.placed.y);
        EXPECT_EQ(p.width, c.placed.width);
        EXPECT_EQ(p.height, c.placed.height);
    }
    const WindowPlace kept = fitted_window({10, 20, 300, 200}, 0, 0);
    EXPECT_EQ(kept.width, 300) << "a workspace without room (frame minimised) shrinks nothing";
    EXPECT_EQ(kept.x, 10);
}

} // namespace
