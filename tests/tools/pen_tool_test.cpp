#include "app/tools/pen_tool.h"

#include "app/tools/canvas_steps.h"
#include "app/tools/line_walk.h"
#include "app/tools/stroke_shape.h"
#include "tests/support/drawing_fixture.h"

#include <gtest/gtest.h>

#include <vector>

using namespace drawing_test;

namespace {

// A surface of w x h whose rows are given as text (see grid()).
std::unique_ptr<Surface> surface_of(int w, std::initializer_list<const char*> rows) {
    auto s = std::make_unique<Surface>();
    EXPECT_TRUE(s->create(w, int(rows.size())));
    int y = 0;
    for (const char* row : rows) {
        for (int x = 0; x < w; ++x) {
            const char c = row[x];
            at(*s, x, y) = c == '.' ? 255 : c <= '9' ? BYTE(c - '0') : BYTE(c - 'a' + 10);
        }
        ++y;
    }
    return s;
}

TEST(PaintRule, StrokeZeroPaintsThePatternTiledFromThePictureOrigin) {
    // Width 7 crosses the row padding; the pattern is 2 x 2.
    auto target = surface_of(7, {"9999999", "9999999", "9999999"});
    auto stroke = surface_of(7, {"..00...", ".0000..", "...0..0"});
    auto pattern = surface_of(2, {"12", "34"});
    const AreaRect r{1, 0, 6, 3};
    EXPECT_EQ(
        paint_through_stroke(*target, r, *pattern, stroke->bits, kNoTransparentColour, nullptr), 3);
    EXPECT_EQ(grid(*target), "9912999\n"
                             "9434399\n"
                             "9992991\n");
}

TEST(PaintRule, PartialStrokeBytesCombineBitByBit) {
    // 0x0F keeps the destination's low four bits and takes the pattern's
    // high four; 0xF0 the other way round.
    auto target = surface_of(2, {"99"});
    at(*target, 0, 0) = 0x35;
    at(*target, 1, 0) = 0x35;
    auto stroke = surface_of(2, {"00"});
    at(*stroke, 0, 0) = 0x0F;
    at(*stroke, 1, 0) = 0xF0;
    auto pattern = surface_of(1, {"0"});
    at(*pattern, 0, 0) = 0xC7;
    paint_through_stroke(*target, {0, 0, 2, 1}, *pattern, stroke->bits, kNoTransparentColour,
                         nullptr);
    EXPECT_EQ(at(*target, 0, 0), 0xC5);
    EXPECT_EQ(at(*target, 1, 0), 0x37);
}

TEST(PaintRule, TransparentPatternColourIsNeverWritten) {
    auto target = surface_of(4, {"9999"});
    auto stroke = surface_of(4, {"0000"});
    auto pattern = surface_of(2, {"57"});
    paint_through_stroke(*target, {0, 0, 4, 1}, *pattern, stroke->bits, 7, nullptr);
    EXPECT_EQ(grid(*target), "5959\n");
}

TEST(PaintRule, MaskedRuleLeavesProtectedPixelsAndBitsAlone) {
    auto target = surface_of(4, {"9999"});
    auto stroke = surface_of(4, {"0000"});
    auto mask = surface_of(4, {"0.0."});
    at(*mask, 2, 0) = 0xF0; // protects the low four bits only
    auto pattern = surface_of(1, {"0"});
    at(*pattern, 0, 0) = 0x12;
    paint_through_stroke(*target, {0, 0, 4, 1}, *pattern, stroke->bits, kNoTransparentColour,
                         mask->bits);
    EXPECT_EQ(at(*target, 0, 0), 9);
    EXPECT_EQ(at(*target, 1, 0), 0x12);
    EXPECT_EQ(at(*target, 2, 0), 0x19);
    EXPECT_EQ(at(*target, 3, 0), 0x12);
}

TEST(PaintRule, ClipsToTheTargetAndReportsTheClippedHeight) {
    auto target = surface_of(3, {"999", "999"});
    auto stroke = surface_of(3, {"000", "000"});
    auto pattern = surface_of(1, {"1"});
    EXPECT_EQ(paint_through_stroke(*target, {-40, 1, 42, 40}, *pattern, stroke->bits,
                                   kNoTransparentColour, nullptr),
              1);
    EXPECT_EQ(grid(*target), "999\n119\n");
    EXPECT_EQ(paint_through_stroke(*target, {3, 0, 5, 5}, *pattern, stroke->bits,
                                   kNoTransparentColour, nullptr),
              0);
    EXPECT_EQ(paint_through_stroke(*target, {0, -9, 3, 9}, *pattern, stroke->bits,
                                   kNoTransparentColour, nullptr),
              0);
}

// A 9 x 6 picture of 9s, drawing colours 1 (left) and 2 (right), with a
// one-pixel pen as its current pen.
struct PenPicture {
    DocumentPtr doc = picture(9, 6, 9);
    std::unique_ptr<Surface> pen = pen_of({{0, 0}});
    explicit PenPicture(int level = 8) {
        doc->current_pen = pen.get();
        doc->left_colour = 1;
        doc->right_colour = 2;
        doc->tone_level = level;
        draw_colour_swatch(*doc);
    }
    Layer& layer() { return *current_layer(*doc); }
    // A free-hand segment from a to b, painted as a move.
    void segment(POINT a, POINT b, bool m_held = false) {
        doc->previous_point = a;
        doc->current_point = b;
        ASSERT_TRUE(pen_type_move(*doc, kShapeFreeHand, false).call_tool);
        pen_paint(*doc, m_held, false);
    }
};

TEST(Pen, FreeHandStrokeAtLevelEightIsTheToneTileOnTheWalk) {
    PenPicture p(8);
    p.segment({1, 1}, {7, 4});
    const ToneTile tile = tone_tile(1, 2, 8);
    std::vector<POINT> walk;
    walk_line(1, 1, 7, 4, [&](int x, int y) { walk.push_back({x, y}); });
    std::string expected;
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 9; ++x) {
            bool on = false;
            for (POINT w : walk)
                on |= w.x == x && w.y == y;
            expected += on ? char('0' + tile.colour[y & 3][x & 3]) : '9';
        }
        expected += '\n';
    }
    EXPECT_EQ(grid(*p.layer().image), expected);
    EXPECT_EQ(expected, "999999999\n"
                        "929999999\n"
                        "992199999\n"
                        "999912999\n"
                        "999999219\n"
                        "999999999\n");
    EXPECT_EQ(p.doc->flags & (kNotifyPresent | kNotifyZoomWindow),
              kNotifyPresent | kNotifyZoomWindow);
}

TEST(Pen, ToneLevelsZeroAndSixteenPaintOneColour) {
    for (auto [level, colour] : {std::pair{0, '1'}, {16, '2'}}) {
        PenPicture p(level);
        p.segment({0, 2}, {8, 2});
        EXPECT_EQ(grid(*p.layer().image).substr(20, 10), std::string(9, colour) + "\n");
    }
}

TEST(Pen, UpdateRectangleIsInclusiveOnMovesAndOneWiderOnTheRelease) {
    PenPicture p;
    // The segment's box: (-13, -13), 35 x 34.
    p.segment({2, 2}, {4, 3});
    EXPECT_EQ(p.doc->update_rect.left, -13);
    EXPECT_EQ(p.doc->update_rect.top, -13);
    EXPECT_EQ(p.doc->update_rect.right, 21);
    EXPECT_EQ(p.doc->update_rect.bottom, 20);
    pen_paint(*p.doc, false, true);
    EXPECT_EQ(p.doc->update_rect.right, 22);
    EXPECT_EQ(p.doc->update_rect.bottom, 21);
}

TEST(Pen, KeyingLeavesTheKeyColourOutButMaskViewPaintsIt) {
    PenPicture p(8);
    p.layer().key_colour = 2;
    p.doc->flags |= kDocKeyColourEnabled;
    p.segment({0, 0}, {3, 0});
    EXPECT_EQ(grid(*p.layer().image).substr(0, 10), "919199999\n");

    // In mask view the colours are 0 or 255 and the key colour does not
    // matter: 255 (free) can always be painted back.
    p.doc->flags |= kDocMaskView;
    p.layer().key_colour = 255;
    fill(*p.layer().mask, 0);
    p.doc->left_colour = 255;
    p.doc->right_colour = 255;
    drawing_colours_changed(*p.doc);
    p.segment({0, 5}, {8, 5});
    EXPECT_EQ(grid(*p.layer().mask).substr(50, 10), ".........\n");
    EXPECT_EQ(grid(*p.layer().image).substr(50, 10), "999999999\n");
}

TEST(Pen, MaskOnOrMHeldProtectsPixelsWithMaskZero) {
    for (bool mask_on : {true, false}) {
        PenPicture p(0);
        at(*p.layer().mask, 3, 1) = 0;
        at(*p.layer().mask, 5, 1) = 0;
        if (mask_on) p.doc->flags |= kDocMaskOn;
        p.segment({0, 1}, {8, 1}, !mask_on);
        EXPECT_EQ(grid(*p.layer().image).substr(10, 10), "111919111\n");
    }
    PenPicture p(0);
    at(*p.layer().mask, 3, 1) = 0;
    p.segment({0, 1}, {8, 1});
    EXPECT_EQ(grid(*p.layer().image).substr(10, 10), "111111111\n") << "mask off, M up";
}

TEST(Pen, FilledRectangleOnReleasePaintsBothCorners) {
    PenPicture p(16);
    p.doc->anchor_point = {6, 4};
    p.doc->current_point = {2, 1};
    const DragStep step = pen_type_release(*p.doc, kShapeFilledRectangle, false);
    ASSERT_TRUE(step.call_tool);
    pen_paint(*p.doc, false, true);
    EXPECT_EQ(grid(*p.layer().image), "999999999\n"
                                      "992222299\n"
                                      "992222299\n"
                                      "992222299\n"
                                      "992222299\n"
                                      "999999999\n");
}

TEST(Pen, DeactivationRecompositesThePenBoxAroundThePreviousPoint) {
    PenPicture p;
    p.doc->previous_point = {4, 3};
    fill(*p.doc->composite, 7);
    const RECT r = pen_deactivate(*p.doc);
    EXPECT_EQ(r.left, 4 - 15);
    EXPECT_EQ(r.top, 3 - 15);
    EXPECT_EQ(r.right, 4 + 17);
    EXPECT_EQ(r.bottom, 3 + 17);
    EXPECT_EQ(grid(*p.doc->composite).substr(0, 10), "999999999\n");
}

} // namespace
