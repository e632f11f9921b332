#include "app/tools/layer_copy_tool.h"

#include "tests/support/drawing_fixture.h"

#include <gtest/gtest.h>

using namespace drawing_test;

namespace {

// Three layers of 4 x 2: bottom "0123/4567", middle all 8 but 255 at x 0,
// top (current) all 9; the stroke covers x 0..2, not x 3. The middle
// layer's key colour is 8, so with all layers only its 255 pixels copy.
DocumentPtr three_layers(std::uint32_t flags) {
    DocumentPtr doc = picture(4, 2);
    Surface& bottom = *bottom_layer(*doc)->image;
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x)
            at(bottom, x, y) = BYTE(y * 4 + x);
    Layer* middle = add_layer_above(*doc);
    fill(*middle->image, 8);
    at(*middle->image, 0, 0) = at(*middle->image, 0, 1) = 255;
    middle->key_colour = 8;
    Layer* top = add_layer_above(*doc);
    fill(*top->image, 9);
    doc->flags |= flags;
    fill(*doc->stroke_surface, 255);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            at(*doc->stroke_surface, x, y) = 0;
    doc->stroke_rect = {0, 0, 4, 2};
    return doc;
}

TEST(LayerCopyPen, CopiesTheLayersBelowThroughTheStroke) {
    const struct {
        const char* what;
        std::uint32_t flags;
        bool m_held;
        const char* expected;
    } cases[] = {
        {"the layer directly below, every pixel", 0, false, ".889\n.889\n"},
        {"all layers below, each without its key colour", kDocMoveAllLayers, false, ".129\n.569\n"},
        {"mask keeps pixels below 255", kDocMaskOn, false, ".899\n.889\n"},
        {"M holds the mask too", 0, true, ".899\n.889\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        DocumentPtr doc = three_layers(c.flags);
        Layer& top = *current_layer(*doc);
        at(*top.mask, 2, 0) = 254;
        ASSERT_TRUE(layer_copy_paint(*doc, c.m_held));
        EXPECT_EQ(grid(*top.image), c.expected);
        EXPECT_EQ(doc->update_rect.right, 3);
        EXPECT_EQ(doc->flags & kNotifyBits, kNotifyPresent | kNotifyZoomWindow);
    }
}

TEST(LayerCopyPen, DoesNothingOnTheBottomLayerInMaskViewOrForNonZeroStrokeBytes) {
    DocumentPtr doc = three_layers(0);
    doc->current = doc->layers->next;
    EXPECT_FALSE(layer_copy_paint(*doc, false));
    doc->current = doc->layers->previous;
    doc->flags |= kDocMaskView;
    EXPECT_FALSE(layer_copy_paint(*doc, false));
    EXPECT_EQ(grid(*current_layer(*doc)->image), "9999\n9999\n");
    doc->flags &= ~kDocMaskView;
    fill(*doc->stroke_surface, 1);
    EXPECT_TRUE(layer_copy_paint(*doc, false));
    EXPECT_EQ(grid(*current_layer(*doc)->image), "9999\n9999\n") << "only stroke bytes of 0 copy";
}

} // namespace
