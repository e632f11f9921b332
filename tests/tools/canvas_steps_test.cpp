#include "app/tools/canvas_steps.h"

#include "app/document/composite.h"
#include "app/tools/drawing.h"
#include "app/tools/pen_tool.h"
#include "app/tools/stroke_shape.h"
#include "tests/support/drawing_fixture.h"

#include <gtest/gtest.h>

using namespace drawing_test;

namespace {

struct Drag {
    DocumentPtr doc = picture(40, 40, 9);
    std::unique_ptr<Surface> pen = pen_of({{0, 0}});
    Drag() {
        doc->current_pen = pen.get();
        doc->left_colour = 3;
        doc->right_colour = 3;
        draw_colour_swatch(*doc);
        recomposite(*doc);
        doc->anchor_point = {10, 10};
        doc->previous_point = {12, 10};
        doc->current_point = {14, 12};
        doc->update_rect = {0, 0, 2, 2};
    }
};

TEST(PenTypeDrag, FreeHandBuildsTheSegmentAndCallsTheTool) {
    Drag d;
    const DragStep move = pen_type_move(*d.doc, kShapeFreeHand, false);
    EXPECT_TRUE(move.call_tool);
    EXPECT_EQ(move.present.right, move.present.left) << "nothing to present";
    EXPECT_EQ(d.doc->stroke_rect.left, 12 - 15);
    EXPECT_EQ(d.doc->stroke_rect.width, 2 + 33);
    EXPECT_EQ(at(*d.doc->stroke_surface, 13, 11), 0) << "on the segment from the previous point";
    EXPECT_EQ(at(*d.doc->stroke_surface, 11, 10), 255);
    EXPECT_EQ(at(*d.doc->composite, 13, 11), 9) << "no preview in free hand";
}

TEST(PenTypeDrag, ShapeModesShowAPreviewAndCallTheToolOnlyOnTheRelease) {
    Drag d;
    const DragStep move = pen_type_move(*d.doc, kShapeFilledRectangle, false);
    EXPECT_FALSE(move.call_tool);
    EXPECT_EQ(at(*d.doc->composite, 12, 11), 3) << "preview from the anchor";
    EXPECT_EQ(d.doc->update_rect.left, 10);
    EXPECT_EQ(d.doc->update_rect.right, 15);
    EXPECT_EQ(move.present.left, 0) << "joined with the old update rectangle";
    EXPECT_EQ(move.present.bottom, 13);
    EXPECT_EQ(at(*current_layer(*d.doc)->image, 12, 11), 9);

    // The release removes the preview and asks for the tool.
    d.doc->current_point = {11, 11};
    const DragStep release = pen_type_release(*d.doc, kShapeFilledRectangle, false);
    EXPECT_TRUE(release.call_tool);
    EXPECT_EQ(at(*d.doc->composite, 12, 11), 9);
    EXPECT_EQ(release.present.left, 10);
    EXPECT_EQ(release.present.right, 15) << "the old preview's box";
    EXPECT_EQ(d.doc->stroke_rect.width, 2);
}

TEST(PenTypeDrag, ShapesReachingPastTheCornerArePreviewedAndPaintedClipped) {
    // Lines and rectangles keep their box and are clipped when drawn;
    // ellipses clip their box. (0, 1) lies on the line and the rectangle's
    // top side, (1, 0) on the ellipses' top pole.
    for (auto [mode, on] : {std::pair{kShapeLine, POINT{0, 1}},
                            {kShapeRectangle, POINT{0, 1}},
                            {kShapeEllipse, POINT{1, 0}},
                            {kShapeFilledEllipse, POINT{1, 0}}}) {
        Drag d;
        d.doc->anchor_point = {1, 1};
        d.doc->current_point = {-3, 2};
        const DragStep move = pen_type_move(*d.doc, mode, false);
        EXPECT_LE(move.present.left, 0) << mode;
        EXPECT_EQ(at(*d.doc->composite, on.x, on.y), 3) << mode;
        ASSERT_TRUE(pen_type_release(*d.doc, mode, false).call_tool);
        EXPECT_EQ(at(*d.doc->composite, on.x, on.y), 9) << mode;
        pen_paint(*d.doc, false, true);
        EXPECT_EQ(at(*current_layer(*d.doc)->image, on.x, on.y), 3) << mode;
    }
}

TEST(PenTypeDrag, PointsOnlyPensGetNeitherShapeNorCallInFreeHand) {
    Drag d;
    fill(*d.doc->stroke_surface, 7);
    EXPECT_FALSE(pen_type_move(*d.doc, kShapeFreeHand, true).call_tool);
    EXPECT_FALSE(pen_type_release(*d.doc, kShapeFreeHand, true).call_tool);
    EXPECT_EQ(at(*d.doc->stroke_surface, 13, 11), 7);
    EXPECT_TRUE(pen_type_release(*d.doc, kShapeLine, true).call_tool);
}

TEST(PenTypeDrag, WithoutAPenTheStrokeRectangleIsEmpty) {
    Drag d;
    d.doc->current_pen = nullptr;
    d.doc->stroke_rect = {1, 2, 3, 4};
    EXPECT_TRUE(pen_type_move(*d.doc, kShapeFreeHand, false).call_tool);
    EXPECT_EQ(d.doc->stroke_rect.width, 0);
}

TEST(EndOfMessage, ActsOnTheBitsAndClearsThem) {
    DocumentPtr doc = picture(4, 4);
    doc->flags = kDocMaskOn | kNotifyPresent | kNotifyZoomWindow;
    MessageEnd end = end_of_message(*doc, false);
    EXPECT_TRUE(end.present);
    EXPECT_TRUE(end.zoom_window);
    EXPECT_FALSE(end.tool_and_zoom || end.palette);
    EXPECT_EQ(doc->flags, kDocMaskOn);

    for (std::uint32_t bit : {kNotifyColours, kNotifyToneLevel, kNotifyColourViews}) {
        doc->flags |= bit;
        end = end_of_message(*doc, false);
        EXPECT_TRUE(end.tool_and_zoom);
        EXPECT_EQ(end.palette_tone_step, 0) << "no palette window: the tone stays";
        EXPECT_FALSE(end.present);
    }
    doc->flags |= kNotifyColours | kNotifyColourViews;
    end = end_of_message(*doc, true);
    EXPECT_TRUE(end.palette);
    EXPECT_FALSE(end.tool_and_zoom);
}

TEST(EndOfMessage, ToneBitStepsAwayForThePaletteWindowToStepBack) {
    DocumentPtr doc = picture(4, 4);
    doc->left_colour = 1;
    doc->right_colour = 2;
    for (auto [level, step] : {std::pair{0, 1}, {14, 1}, {15, -1}, {16, -1}}) {
        doc->tone_level = level;
        doc->flags |= kNotifyToneLevel | kNotifyColours;
        const MessageEnd end = end_of_message(*doc, true);
        EXPECT_EQ(end.palette_tone_step, step);
        EXPECT_FALSE(end.palette);
        EXPECT_EQ(doc->tone_level, level + step);
        EXPECT_EQ(at(*doc->colour_swatch, 0, 0), level + step == 0 ? 1 : 2) << "swatch redrawn";
    }
}

} // namespace
