#include "app/imageops/reverse.h"
#include "app/imageops/view_area.h"

#include "engine/rasko.h"
#include "tests/support/drawing_fixture.h"

#include <gtest/gtest.h>

using namespace drawing_test;

namespace {

struct DibDeleter {
    void operator()(BITMAPINFOHEADER* dib) const { RaskoDestroyDIB(dib); }
};
using DibPtr = std::unique_ptr<BITMAPINFOHEADER, DibDeleter>;

// A w x h clipboard picture with the picture's default colours, pixels
// numbered 1, 2, 3 ... row by row from the top.
DibPtr clip(int w, int h) {
    DibPtr dib(RaskoCreateDIB(w, h));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            RaskoPutPixel(dib.get(), io::bits_of(dib.get()), x, y, 1 + y * w + x);
    return dib;
}

TEST(ViewArea, PasteWritesTheOverlapUnderTheModes) {
    struct Case {
        const char* what;
        int clip_w, clip_h;
        AreaRect area;
        std::uint32_t flags;
        const char* expected;
    };
    const Case cases[] = {
        {"clip smaller than the area", 2, 2, {1, 1, 3, 3}, 0, ".5...\n.12..\n.34..\n.....\n"},
        {"area smaller than the clip", 3, 3, {0, 0, 2, 1}, 0, "12...\n.....\n.....\n.....\n"},
        {"cut at the picture's edge", 3, 3, {3, 2, 3, 3}, 0, ".5...\n.....\n...12\n...45\n"},
        {"mask protects", 2, 2, {0, 0, 2, 2}, kDocMaskOn, "15...\n34...\n.....\n.....\n"},
        {"key colour left out",
         3,
         1,
         {0, 0, 3, 3},
         kDocKeyColourEnabled,
         "153..\n.....\n.....\n.....\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DocumentPtr doc = picture(5, 4);
        Layer& layer = *current_layer(*doc);
        at(*layer.mask, 1, 0) = 0;
        at(*layer.image, 1, 0) = 5;
        layer.key_colour = 2;
        doc->flags |= c.flags;
        DibPtr dib = clip(c.clip_w, c.clip_h);
        ASSERT_TRUE(paste_into_area(*doc, dib.get(), io::bits_of(dib.get()), c.area));
        EXPECT_EQ(grid(*layer.image), c.expected);
        EXPECT_EQ(grid(*layer.undo_copy), ".5...\n.....\n.....\n.....\n");
        EXPECT_TRUE(doc->flags & kDocModified);
    }
}

TEST(ViewArea, PasteRemapsToTheLayerPalette) {
    DocumentPtr doc = picture(2, 1);
    DibPtr dib = clip(1, 1);
    // Pixel 1 of the clip is pure white, which the picture keeps at 255.
    RGBQUAD& c = io::colour_table(dib.get())[1];
    c = {255, 255, 255, 0};
    RaskoPutPixel(dib.get(), io::bits_of(dib.get()), 0, 0, 1);
    fill(*current_layer(*doc)->image, 0);
    ASSERT_TRUE(paste_into_area(*doc, dib.get(), io::bits_of(dib.get()), {0, 0, 2, 1}));
    EXPECT_EQ(grid(*current_layer(*doc)->image), ".0\n");
}

TEST(ViewArea, PasteInMaskViewWritesTheMaskAndMissingAreaChangesNothing) {
    DocumentPtr doc = picture(3, 1);
    doc->flags |= kDocMaskView;
    DibPtr dib = clip(3, 1);
    RaskoPutPixel(dib.get(), io::bits_of(dib.get()), 1, 0, 255);
    ASSERT_TRUE(paste_into_area(*doc, dib.get(), io::bits_of(dib.get()), {0, 0, 3, 1}));
    EXPECT_EQ(grid(*current_layer(*doc)->mask), "0.0\n");
    DocumentPtr other = picture(3, 1);
    EXPECT_FALSE(paste_into_area(*other, dib.get(), io::bits_of(dib.get()), {5, 0, 3, 1}));
    EXPECT_FALSE(other->flags & kDocModified);
}

TEST(ViewArea, ClearFillsTheAreaUnderTheModes) {
    struct Case {
        const char* what;
        std::uint32_t flags;
        bool m_held;
        const char* image;
        const char* mask;
    };
    const Case cases[] = {
        {"plain", 0, false, "000\n077\n077\n", "0..\n...\n...\n"},
        {"mask protects", kDocMaskOn, false, "000\n070\n077\n", "0..\n..0\n...\n"},
        {"M protects too", 0, true, "000\n070\n077\n", "0..\n..0\n...\n"},
        {"move with mask frees the mask", kDocMaskOn | kDocMoveWithMask, false, "000\n077\n077\n",
         "0..\n...\n...\n"},
        {"mask view frees the mask only", kDocMaskView, false, "000\n000\n000\n",
         "0..\n...\n...\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DocumentPtr doc = picture(3, 3, 0);
        Layer& layer = *current_layer(*doc);
        layer.background_colour = 7;
        at(*layer.mask, 0, 0) = 0;
        at(*layer.mask, 2, 1) = 0;
        doc->flags |= c.flags;
        ASSERT_TRUE(clear_area(*doc, {1, 1, 5, 5}, c.m_held));
        EXPECT_EQ(grid(*layer.image), c.image);
        if (c.flags & (kDocMaskView | kDocMoveWithMask)) {
            EXPECT_EQ(grid(*layer.mask), c.mask);
        }
        EXPECT_EQ(grid(*layer.undo_copy), "000\n000\n000\n");
    }
}

TEST(ViewArea, MirrorAndFlipStayInsideTheArea) {
    DocumentPtr doc = picture(4, 3, 0);
    Surface& s = *current_layer(*doc)->image;
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            at(s, x, y) = BYTE(y * 4 + x);
    ASSERT_TRUE(reverse_area(*doc, ReverseAxis::LeftRight, {1, 0, 2, 2}));
    EXPECT_EQ(grid(s), "0213\n4657\n89ab\n");
    ASSERT_TRUE(reverse_area(*doc, ReverseAxis::TopBottom, {0, 1, 9, 9}));
    EXPECT_EQ(grid(s), "0213\n89ab\n4657\n");
    EXPECT_FALSE(reverse_area(*doc, ReverseAxis::TopBottom, {4, 0, 2, 2}));
}

} // namespace
