#include "app/tools/scroller_tool.h"
#include "app/tools/select_tool.h"
#include "tests/support/drawing_fixture.h"

#include "app/tools/drawing.h"

#include <gtest/gtest.h>

using namespace drawing_test;

namespace {

TEST(SelectTool, DragsMakeRectanglesInsideThePicture) {
    struct Case {
        const char* what;
        POINT a, b;
        bool snapping;
        SelectionEnd end;
        RECT r;
    };
    const Case cases[] = {
        {"any direction", {5, 5}, {2, 9}, false, SelectionEnd::Area, {2, 5, 5, 9}},
        {"grid lines bound a snapped area",
         {0, 0},
         {16, 16},
         true,
         SelectionEnd::Area,
         {0, 0, 15, 15}},
        {"clamped", {-4, 40}, {3, 12}, false, SelectionEnd::Area, {0, 12, 3, 31}},
        {"a click", {7, 7}, {7, 7}, false, SelectionEnd::Click, {}},
        {"snapped to no height", {0, 16}, {16, 16}, true, SelectionEnd::Click, {}},
        {"both left of the picture", {-1, 2}, {-5, 9}, false, SelectionEnd::Outside, {}},
        {"both below it", {1, 32}, {5, 40}, false, SelectionEnd::Outside, {}},
    };
    DocumentPtr doc = picture(32, 32);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RECT r{};
        ASSERT_EQ(selection_rect(*doc, c.a, c.b, c.snapping, r), c.end);
        if (c.end != SelectionEnd::Area) continue;
        EXPECT_EQ(r.left, c.r.left);
        EXPECT_EQ(r.top, c.r.top);
        EXPECT_EQ(r.right, c.r.right);
        EXPECT_EQ(r.bottom, c.r.bottom);
    }
    const RECT band = rubber_band_rect({5, 5}, {2, 9}, false);
    EXPECT_EQ(band.right, 6);
    EXPECT_EQ(band.bottom, 10);
    EXPECT_EQ(rubber_band_rect({0, 0}, {16, 16}, true).right, 16);
}

TEST(SelectTool, SelectDragAndCommitMovesACopy) {
    DocumentPtr doc = picture(6, 4);
    Layer& layer = *bottom_layer(*doc);
    paint(*layer.image, "12....\n34....\n......\n......\n");
    doc->current_point = {0, 0};
    EXPECT_FALSE(select_press(*doc, {0, 0}, false).drags);
    doc->current_point = {1, 1};
    ASSERT_EQ(select_release(*doc), SelectionEnd::Area);
    ASSERT_NE(doc->floating, nullptr);
    EXPECT_TRUE(doc->flags & kDocFloatingFrame);
    EXPECT_EQ(doc->anchor_point.x, 0);
    EXPECT_EQ(grid(*doc->floating), "12\n34\n");

    // Grab inside, drag by (3, 1): the area floats there, composited.
    EXPECT_TRUE(select_press(*doc, {1, 1}, false).drags);
    doc->previous_point = {1, 1};
    doc->current_point = {4, 2};
    const RECT shown = drag_floating(*doc);
    EXPECT_EQ(shown.left, 0);
    EXPECT_EQ(shown.right, 5);
    EXPECT_EQ(shown.bottom, 3);
    EXPECT_EQ(grid(*doc->composite), "12....\n34.12.\n...34.\n......\n");
    EXPECT_EQ(grid(*layer.image), "12....\n34....\n......\n......\n");
    EXPECT_EQ(select_release(*doc), SelectionEnd::Outside);

    // A press outside commits it; the release is then a click.
    doc->current_point = {0, 3};
    const SelectPress press = select_press(*doc, {0, 3}, false);
    EXPECT_TRUE(press.committed);
    EXPECT_EQ(doc->floating, nullptr);
    EXPECT_EQ(grid(*layer.image), "12....\n34.12.\n...34.\n......\n");
    EXPECT_EQ(select_release(*doc), SelectionEnd::Click);
}

TEST(SelectTool, ScrollerFollowsTheGrabbedPixel) {
    DocumentPtr doc = picture(100, 50);
    doc->visible_width = 40;
    doc->visible_height = 50;
    doc->view_origin_x = 30;
    EXPECT_TRUE(scroll_to_grab(*doc, {50, 10}, {45, 12}));
    EXPECT_EQ(doc->view_origin_x, 35);
    EXPECT_EQ(doc->view_origin_y, 0); // nothing to scroll across
    EXPECT_TRUE(scroll_to_grab(*doc, {50, 10}, {0, 10}));
    EXPECT_EQ(doc->view_origin_x, 60); // held at width - visible width
    EXPECT_FALSE(scroll_to_grab(*doc, {50, 10}, {-1, 10}));
    EXPECT_FALSE(scroll_to_grab(*doc, {50, 10}, {50, 10}));
}

} // namespace
