#include "app/tools/stroke_shape.h"

#include "tests/support/drawing_fixture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

using namespace drawing_test;

namespace {

struct Stroke {
    Surface surface;
    explicit Stroke(int w, int h, BYTE stale = 7) {
        EXPECT_TRUE(surface.create(w, h));
        fill(surface, stale);
    }
};

TEST(LineStamping, OnePixelPenFollowsTheWalkAndClearsTheBoxTo255) {
    Stroke s(10, 4);
    auto pen = pen_of({{0, 0}});
    AreaRect r;
    ASSERT_EQ(build_stroke_shape(s.surface, kShapeFreeHand, {1, 0}, {8, 2}, *pen, r), 1);
    // q0 = (-14, -15), box size (7 + 33) x (2 + 33): the whole small surface.
    EXPECT_EQ(r.left, -14);
    EXPECT_EQ(r.top, -15);
    EXPECT_EQ(r.width, 40);
    EXPECT_EQ(r.height, 35);
    EXPECT_EQ(grid(s.surface), ".00.......\n"
                               "...0000...\n"
                               ".......00.\n"
                               "..........\n");
}

TEST(LineStamping, SteepLinesStepAlongYAndEveryPenPixelLands) {
    Stroke s(6, 6);
    // A two-pixel pen with its own values: they are copied, not flattened.
    auto pen = pen_of({{0, 0}, {1, 0}}, 3);
    AreaRect r;
    ASSERT_EQ(build_stroke_shape(s.surface, kShapeLine, {1, 4}, {2, 1}, *pen, r), 1);
    EXPECT_EQ(grid(s.surface), "......\n"
                               "..33..\n"
                               "..33..\n"
                               ".33...\n"
                               ".33...\n"
                               "......\n");
}

TEST(LineStamping, ClickWithoutMovementStampsThePenOnce) {
    Stroke s(5, 5);
    auto pen = pen_of({{0, 0}, {-1, 1}, {1, -1}});
    AreaRect r;
    build_stroke_shape(s.surface, kShapeFreeHand, {2, 2}, {2, 2}, *pen, r);
    EXPECT_EQ(grid(s.surface), ".....\n"
                               "...0.\n"
                               "..0..\n"
                               ".0...\n"
                               ".....\n");
    EXPECT_EQ(r.width, 33);
    EXPECT_EQ(r.height, 33);
}

TEST(OutlineStamping, DrawsTheFourSidesWhateverTheDragDirection) {
    auto pen = pen_of({{0, 0}});
    for (POINT from : {POINT{1, 1}, POINT{6, 3}}) {
        Stroke s(8, 5);
        const POINT to = from.x == 1 ? POINT{6, 3} : POINT{1, 1};
        AreaRect r;
        build_stroke_shape(s.surface, kShapeRectangle, from, to, *pen, r);
        EXPECT_EQ(grid(s.surface), "........\n"
                                   ".000000.\n"
                                   ".0....0.\n"
                                   ".000000.\n"
                                   "........\n");
    }
}

TEST(FilledRectangle, IncludesBothCornersInEitherDirection) {
    for (auto [from, to] : {std::pair{POINT{10, 5}, POINT{4, 9}}, {POINT{4, 9}, POINT{10, 5}}}) {
        Stroke s(12, 11);
        auto pen = pen_of({});
        AreaRect r;
        ASSERT_EQ(build_stroke_shape(s.surface, kShapeFilledRectangle, from, to, *pen, r), 1);
        EXPECT_EQ(r.left, 4);
        EXPECT_EQ(r.top, 5);
        EXPECT_EQ(r.width, 7);
        EXPECT_EQ(r.height, 5);
        int inside = 0;
        for (int y = 0; y < 11; ++y)
            for (int x = 0; x < 12; ++x)
                if (at(s.surface, x, y) == 0) ++inside;
        EXPECT_EQ(inside, 35);
        EXPECT_EQ(at(s.surface, 4, 5), 0);
        EXPECT_EQ(at(s.surface, 10, 9), 0);
        EXPECT_EQ(at(s.surface, 3, 5), 7) << "outside the box stays stale";
    }
}

TEST(FilledEllipse, ZeroWidthIsAVerticalLineAndZeroBothOnePixel) {
    Stroke s(5, 7);
    auto pen = pen_of({});
    AreaRect r;
    ASSERT_EQ(build_stroke_shape(s.surface, kShapeFilledEllipse, {2, 3}, {2, 0}, *pen, r), 1);
    EXPECT_EQ(r.width, 1);
    EXPECT_EQ(r.height, 7);
    EXPECT_EQ(grid(s.surface), "77077\n77077\n77077\n77077\n77077\n77077\n77077\n");

    Stroke dot(3, 3);
    ASSERT_EQ(build_stroke_shape(dot.surface, kShapeFilledEllipse, {1, 1}, {1, 1}, *pen, r), 1);
    EXPECT_EQ(grid(dot.surface), "777\n707\n777\n");
}

TEST(FilledEllipse, FillsInsideTheCurveAndClipsItsBox) {
    Stroke s(7, 5);
    auto pen = pen_of({});
    AreaRect r;
    ASSERT_EQ(build_stroke_shape(s.surface, kShapeFilledEllipse, {3, 2}, {0, 0}, *pen, r), 1);
    EXPECT_EQ(grid(s.surface), "...0...\n"
                               ".00000.\n"
                               "0000000\n"
                               ".00000.\n"
                               "...0...\n");
    // Centred on the corner: the box is cut to the surface.
    Stroke c(4, 4);
    ASSERT_EQ(build_stroke_shape(c.surface, kShapeFilledEllipse, {0, 0}, {2, 2}, *pen, r), 1);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.width, 3);
    EXPECT_EQ(r.height, 3);
}

TEST(EllipseStamping, ZeroWidthGivesTheVerticalLineAndZeroBothOneStamp) {
    auto pen = pen_of({{0, 0}});
    Stroke s(5, 9);
    AreaRect r;
    ASSERT_EQ(build_stroke_shape(s.surface, kShapeEllipse, {2, 4}, {2, 1}, *pen, r), 1);
    EXPECT_EQ(grid(s.surface), ".....\n..0..\n..0..\n..0..\n..0..\n..0..\n..0..\n..0..\n.....\n");

    Stroke dot(5, 5);
    ASSERT_EQ(build_stroke_shape(dot.surface, kShapeEllipse, {2, 2}, {2, 2}, *pen, r), 1);
    EXPECT_EQ(grid(dot.surface), ".....\n.....\n..0..\n.....\n.....\n");
}

TEST(EllipseStamping, TallAndWideEllipsesAreClosedAndSymmetric) {
    auto pen = pen_of({{0, 0}});
    for (POINT corner : {POINT{11, 2}, POINT{7, 11}, POINT{13, 8}, POINT{18, 14}}) {
        Stroke s(21, 21);
        AreaRect r;
        const POINT c{10, 10};
        ASSERT_EQ(build_stroke_shape(s.surface, kShapeEllipse, c, corner, *pen, r), 1);
        const int a = std::abs(corner.x - c.x), b = std::abs(corner.y - c.y);
        EXPECT_EQ(at(s.surface, c.x + a, c.y), 0);
        EXPECT_EQ(at(s.surface, c.x - a, c.y), 0);
        EXPECT_EQ(at(s.surface, c.x, c.y + b), 0) << a << "x" << b;
        EXPECT_EQ(at(s.surface, c.x, c.y - b), 0);
        for (int y = 0; y < 21; ++y)
            for (int x = 0; x < 21; ++x)
                if (at(s.surface, x, y) == 0) {
                    EXPECT_EQ(at(s.surface, 2 * c.x - x, y), 0);
                    EXPECT_EQ(at(s.surface, x, 2 * c.y - y), 0);
                }
        // Closed: the inside, flooded 4-connected from the centre, never
        // reaches the surface's border.
        std::vector<POINT> todo{c};
        bool escaped = false;
        while (!todo.empty() && !escaped) {
            const POINT p = todo.back();
            todo.pop_back();
            if (at(s.surface, p.x, p.y) != 255) continue;
            at(s.surface, p.x, p.y) = 1;
            if (p.x == 0 || p.y == 0 || p.x == 20 || p.y == 20) escaped = true;
            todo.insert(todo.end(),
                        {{p.x + 1, p.y}, {p.x - 1, p.y}, {p.x, p.y + 1}, {p.x, p.y - 1}});
        }
        EXPECT_FALSE(escaped) << a << "x" << b;
    }
}

TEST(EllipseStamping, BoxWhollyOutsideGivesNothing) {
    Stroke s(10, 10);
    auto pen = pen_of({{0, 0}});
    AreaRect r{1, 2, 3, 4};
    EXPECT_EQ(build_stroke_shape(s.surface, kShapeEllipse, {-60, 5}, {-55, 8}, *pen, r), 0);
    EXPECT_EQ(r.left | r.top | r.width | r.height, 0);
    EXPECT_EQ(build_stroke_shape(s.surface, kShapeFilledEllipse, {5, 40}, {6, 41}, *pen, r), 0);
    std::string untouched;
    for (int y = 0; y < 10; ++y)
        untouched += "7777777777\n";
    EXPECT_EQ(grid(s.surface), untouched);
}

TEST(ShapeBounds, EllipsesCentreOnTheAnchorAndPensReachFurther) {
    const RECT e = shape_bounds(kShapeFilledEllipse, {10, 10}, {13, 4});
    EXPECT_EQ(e.left, 7);
    EXPECT_EQ(e.top, 4);
    EXPECT_EQ(e.right, 13);
    EXPECT_EQ(e.bottom, 16);
    const RECT l = shape_bounds(kShapeLine, {10, 10}, {4, 20});
    EXPECT_EQ(l.left, 4 - 15);
    EXPECT_EQ(l.top, 10 - 15);
    EXPECT_EQ(l.right, 10 + 16);
    EXPECT_EQ(l.bottom, 20 + 16);
    const RECT f = shape_bounds(kShapeFilledRectangle, {3, 3}, {1, 1});
    EXPECT_EQ(f.left, 1);
    EXPECT_EQ(f.right, 3);
}

} // namespace
