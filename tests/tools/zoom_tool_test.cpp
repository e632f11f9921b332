#include "app/tools/fill_tool.h"
#include "app/tools/zoom_tool.h"

#include "tests/support/drawing_fixture.h"

#include <gtest/gtest.h>

using namespace drawing_test;

namespace {

TEST(ZoomTool, BoxFillTakesTheToneMixUnderTheModes) {
    struct Case {
        const char* what;
        std::uint32_t flags;
        bool m_held;
        const char* expected;
    };
    const Case cases[] = {
        {"plain", 0, false, "....\n.44.\n.44.\n....\n"},
        {"mask protects", kDocMaskOn, false, "....\n.4..\n.44.\n....\n"},
        {"M protects too", 0, true, "....\n.4..\n.44.\n....\n"},
        {"key colour left out", kDocKeyColourEnabled, false, "....\n....\n....\n....\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DocumentPtr doc = picture(4, 4);
        Layer& layer = *current_layer(*doc);
        layer.key_colour = 4;
        at(*layer.mask, 2, 1) = 0;
        doc->flags |= c.flags;
        doc->left_colour = doc->right_colour = 4;
        zoom_box_fill(*doc, {2, 2}, {1, 1}, c.m_held);
        EXPECT_EQ(grid(*layer.image), c.expected);
        EXPECT_EQ(doc->update_rect.left, 1);
        EXPECT_EQ(doc->update_rect.right, 3);
    }
}

TEST(ZoomTool, PreviewsDrawIntoTheCompositeOnly) {
    DocumentPtr doc = picture(4, 4);
    doc->left_colour = doc->right_colour = 3;
    const AreaRect area{0, 0, 4, 4};
    zoom_box_preview(*doc, area, {0, 0}, {1, 1});
    EXPECT_EQ(grid(*doc->composite), "33..\n33..\n....\n....\n");
    // The next preview removes the last one.
    zoom_line_preview(*doc, area, {0, 3}, {3, 3});
    EXPECT_EQ(grid(*doc->composite), "....\n....\n....\n3333\n");
    EXPECT_EQ(grid(*current_layer(*doc)->image), "....\n....\n....\n....\n");
}

TEST(ZoomTool, FillStopsAtTheViewArea) {
    DocumentPtr doc = picture(6, 3);
    doc->left_colour = doc->right_colour = 2;
    doc->current_point = {1, 1};
    EXPECT_TRUE(fluid_fill_within(*doc, {1, 0, 3, 2}, false));
    EXPECT_EQ(grid(*current_layer(*doc)->image), ".222..\n.222..\n.222..\n");
    doc->current_point = {5, 1};
    EXPECT_FALSE(fluid_fill_within(*doc, {1, 0, 3, 2}, false));
}

TEST(ZoomTool, CopyReadsWhatTheViewShows) {
    DocumentPtr doc = picture(2, 2);
    const Layer& layer = *current_layer(*doc);
    EXPECT_EQ(copy_source(*doc), layer.image);
    doc->flags |= kDocMoveAllLayers;
    EXPECT_EQ(copy_source(*doc), doc->composite);
    doc->flags |= kDocMaskView;
    EXPECT_EQ(copy_source(*doc), layer.mask);
}

} // namespace
