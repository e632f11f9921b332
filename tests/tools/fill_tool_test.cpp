#include "app/tools/fill_tool.h"

#include "tests/support/drawing_fixture.h"

#include <gtest/gtest.h>

using namespace drawing_test;

namespace {

// A 6 x 4 picture of 255 with a wall of 1 at x = 2 except in the last row,
// so the region right of the wall is reached only from below.
DocumentPtr walled(std::uint32_t flags, int left, int right, int tone) {
    DocumentPtr doc = picture(6, 4);
    Surface& image = *current_layer(*doc)->image;
    for (int y = 0; y < 3; ++y)
        at(image, 2, y) = 1;
    doc->flags |= flags;
    doc->left_colour = left;
    doc->right_colour = right;
    doc->tone_level = tone;
    doc->current_point = {0, 0};
    return doc;
}

struct Case {
    const char* what;
    std::uint32_t flags;
    bool m_held;
    int left, right, tone;
    const char* expected;
};

TEST(FluidFill, FillsTheRegionWithTheToneMixUnderTheModes) {
    const Case cases[] = {
        {"level 0: left colour", 0, false, 4, 5, 0, "441444\n441444\n441444\n444444\n"},
        {"level 16: right colour", 0, false, 4, 5, 16, "551555\n551555\n551555\n555555\n"},
        {"level 8: pattern anchored at the origin", 0, false, 4, 5, 8,
         "541454\n451545\n541454\n454545\n"},
        {"mask protects, region goes past", kDocMaskOn, false, 4, 5, 0,
         "441444\n441.44\n441444\n444444\n"},
        {"M holds the mask too", 0, true, 4, 5, 0, "441444\n441.44\n441444\n444444\n"},
        {"keying leaves the key colour out", kDocKeyColourEnabled, false, 4, 9, 8,
         "?414?4\n4?1?4?\n?414?4\n4?4?4?\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DocumentPtr doc = walled(c.flags, c.left, c.right, c.tone);
        Layer& layer = *current_layer(*doc);
        at(*layer.mask, 3, 1) = 0;
        layer.key_colour = 9;
        ASSERT_TRUE(fluid_fill(*doc, c.m_held));
        std::string want = c.expected;
        for (char& ch : want)
            if (ch == '?') ch = '.';
        EXPECT_EQ(grid(*layer.image), want);
        EXPECT_EQ(doc->update_rect.left, 0);
        EXPECT_EQ(doc->update_rect.right, 5);
        EXPECT_EQ(doc->update_rect.bottom, 3);
        EXPECT_EQ(grid(*doc->composite), grid(*layer.image)) << "recomposited";
        EXPECT_EQ(doc->flags & kNotifyBits, kNotifyPresent | kNotifyZoomWindow);
    }
}

TEST(FluidFill, InMaskViewFillsTheMaskPlaneWithTheColoursSwapped) {
    DocumentPtr doc = walled(kDocMaskView, 0, 255, 0);
    Layer& layer = *current_layer(*doc);
    for (int y = 0; y < 4; ++y)
        at(*layer.mask, 4, y) = 0;
    // Level 0 in mask view is L everywhere (the pattern of 16 - 0).
    ASSERT_TRUE(fluid_fill(*doc, false));
    EXPECT_EQ(grid(*layer.mask), "00000.\n00000.\n00000.\n00000.\n");
    // Level 16 is R everywhere; the 0 region now reaches column 4.
    doc->tone_level = 16;
    ASSERT_TRUE(fluid_fill(*doc, false));
    EXPECT_EQ(grid(*layer.mask), "......\n......\n......\n......\n");
    EXPECT_EQ(at(*layer.image, 0, 0), 255) << "the image is left alone";
}

TEST(FluidFill, AClickInsideAFloatingAreaFillsTheAreaNotTheLayer) {
    DocumentPtr doc = walled(0, 4, 5, 8);
    doc->floating = create_surface(3, 2);
    ASSERT_NE(doc->floating, nullptr);
    fill(*doc->floating, 7);
    at(*doc->floating, 2, 1) = 1;
    doc->floating_rect = {3, 1, 5, 2};
    doc->current_point = {3, 1};
    ASSERT_TRUE(fluid_fill(*doc, false));
    // The pattern is anchored to the picture: (3, 1) is odd, R at level 8 is
    // on x + y even.
    EXPECT_EQ(grid(*doc->floating), "545\n451\n");
    EXPECT_EQ(at(*current_layer(*doc)->image, 3, 1), 255);
    EXPECT_EQ(doc->update_rect.left, 3);
    EXPECT_EQ(doc->update_rect.top, 1);
    EXPECT_EQ(doc->update_rect.right, 5);
    EXPECT_EQ(doc->update_rect.bottom, 2);

    doc->current_point = {0, 3};
    ASSERT_TRUE(fluid_fill(*doc, false)) << "outside the area: the layer";
    EXPECT_EQ(at(*current_layer(*doc)->image, 0, 3), 4);
}

TEST(FluidFill, AClickOutsideThePictureFillsNothing) {
    DocumentPtr doc = walled(0, 4, 5, 0);
    const std::string before = grid(*current_layer(*doc)->image);
    for (POINT p : {POINT{-1, 0}, POINT{6, 0}, POINT{0, 4}}) {
        doc->current_point = p;
        EXPECT_FALSE(fluid_fill(*doc, false));
    }
    EXPECT_EQ(grid(*current_layer(*doc)->image), before);
    EXPECT_EQ(doc->flags & kNotifyBits, 0u);
}

} // namespace
