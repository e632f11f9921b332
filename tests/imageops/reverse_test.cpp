#include "app/imageops/reverse.h"
#include "tests/support/drawing_fixture.h"

#include <gtest/gtest.h>

using namespace drawing_test;

namespace {

// A 3 x 2 picture whose pixels number themselves 0..5, row by row.
DocumentPtr numbered(std::uint32_t flags) {
    DocumentPtr doc = picture(3, 2);
    Surface& s = *bottom_layer(*doc)->image;
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            at(s, x, y) = BYTE(y * 3 + x);
    doc->flags |= flags;
    return doc;
}

struct Case {
    const char* what;
    ReverseAxis axis;
    std::uint32_t flags;
    const char* mask;     // 0 protected
    const char* expected; // layer image afterwards
};

TEST(Reverse, ModesDecideWhichPixelsMove) {
    const Case cases[] = {
        {"mirror", ReverseAxis::LeftRight, 0, "...\n...\n", "210\n543\n"},
        {"flip", ReverseAxis::TopBottom, 0, "...\n...\n", "345\n012\n"},
        {"mask protects", ReverseAxis::LeftRight, kDocMaskOn, "0..\n...\n", "010\n543\n"},
        {"mask off ignores it", ReverseAxis::LeftRight, 0, "0..\n...\n", "210\n543\n"},
        {"key colour left out", ReverseAxis::LeftRight, kDocKeyColourEnabled, "...\n...\n",
         "210\n543\n"},
        {"mask view reverses the mask only", ReverseAxis::LeftRight, kDocMaskView, "0..\n...\n",
         "012\n345\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DocumentPtr doc = numbered(c.flags);
        Layer& layer = *bottom_layer(*doc);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x)
                at(*layer.mask, x, y) = c.mask[y * 4 + x] == '0' ? 0 : 255;
        ASSERT_TRUE(reverse_picture(*doc, c.axis));
        EXPECT_EQ(grid(*layer.image), c.expected);
        EXPECT_TRUE(doc->flags & kDocModified);
        ASSERT_NE(layer.undo_copy, nullptr);
        EXPECT_EQ(grid(*layer.undo_copy), "012\n345\n");
    }
}

TEST(Reverse, KeyColourStaysWhereItWas) {
    DocumentPtr doc = numbered(kDocKeyColourEnabled);
    Layer& layer = *bottom_layer(*doc);
    layer.key_colour = 0;
    ASSERT_TRUE(reverse_picture(*doc, ReverseAxis::LeftRight));
    // The key pixel moving right is left out; pixel 2 lands over the left.
    EXPECT_EQ(grid(*layer.image), "212\n543\n");
}

TEST(Reverse, MaskViewReversesTheMask) {
    DocumentPtr doc = numbered(kDocMaskView);
    Layer& layer = *bottom_layer(*doc);
    fill(*layer.mask, 255);
    at(*layer.mask, 0, 0) = 0;
    ASSERT_TRUE(reverse_picture(*doc, ReverseAxis::LeftRight));
    EXPECT_EQ(grid(*layer.mask), "..0\n...\n");
}

TEST(Reverse, MovedFloatingAreaChangesNothing) {
    DocumentPtr doc = numbered(0);
    doc->floating = create_surface(1, 1);
    ASSERT_NE(doc->floating, nullptr);
    doc->floating_rect = {1, 0, 1, 0};
    doc->anchor_point = {0, 0};
    EXPECT_FALSE(reverse_picture(*doc, ReverseAxis::LeftRight));
    EXPECT_TRUE(doc->flags & kDocModified); // as the command always does
    EXPECT_NE(doc->floating, nullptr);
    EXPECT_EQ(grid(*bottom_layer(*doc)->image), "012\n345\n");
}

TEST(Reverse, UnmovedFloatingAreaReversesItsFootprintOnEveryLayer) {
    DocumentPtr doc = numbered(kDocMoveAllLayers | kDocFloatingFrame);
    Layer* top = add_layer_above(*doc);
    ASSERT_NE(top, nullptr);
    fill(*top->image, 9);
    at(*top->image, 0, 1) = 1;
    doc->floating = create_surface(2, 2);
    ASSERT_NE(doc->floating, nullptr);
    doc->floating_rect = {0, 0, 1, 1};
    doc->anchor_point = {0, 0};
    ASSERT_TRUE(reverse_picture(*doc, ReverseAxis::LeftRight));
    EXPECT_EQ(grid(*bottom_layer(*doc)->image), "102\n435\n");
    EXPECT_EQ(grid(*top->image), "999\n919\n");
    EXPECT_EQ(doc->floating, nullptr);
    EXPECT_FALSE(doc->flags & kDocFloatingFrame);
}

} // namespace
