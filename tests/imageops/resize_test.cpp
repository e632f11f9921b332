#include "app/imageops/resize.h"
#include "tests/support/drawing_fixture.h"

#include <gtest/gtest.h>

using namespace drawing_test;

namespace {

// A 4 x 2 picture of two layers: the bottom one 1234 over 5678 with a
// protected (2, 1), the top one (background 9) a..b. over .c.d.
struct TwoLayers {
    DocumentPtr doc = picture(4, 2);
    Layer* top = nullptr;
    TwoLayers() {
        Layer& bottom = *bottom_layer(*doc);
        paint(*bottom.image, "1234\n5678\n");
        paint(*bottom.mask, "....\n..0.\n");
        top = add_layer_above(*doc);
        paint(*top->image, "a..b\n.c.d\n");
        top->background_colour = 9;
    }
};

TEST(Resize, EveryLayerAndMaskTakesTheNewSize) {
    struct Case {
        const char* what;
        int width, height;
        ResizeMode mode;
        const char* bottom;
        const char* bottom_mask;
        const char* top;
    };
    const Case cases[] = {
        {"crop", 2, 1, ResizeMode::Crop, "12\n", "..\n", "a.\n"},
        {"extend with the background and open masks", 5, 3, ResizeMode::Crop,
         "1234.\n5678.\n.....\n", ".....\n..0..\n.....\n", "a..b9\n.c.d9\n99999\n"},
        {"stretch larger", 8, 2, ResizeMode::Stretch, "11223344\n55667788\n",
         "........\n....00..\n", "aa....bb\n..cc..dd\n"},
        {"stretch smaller", 2, 1, ResizeMode::Stretch, "13\n", "..\n", "a.\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TwoLayers p;
        Layer& bottom = *bottom_layer(*p.doc);
        bottom.background_colour = 255;
        ASSERT_TRUE(resize_picture(*p.doc, c.width, c.height, c.mode));
        EXPECT_EQ(picture_width(*p.doc), c.width);
        EXPECT_EQ(picture_height(*p.doc), c.height);
        EXPECT_EQ(grid(*bottom.image), c.bottom);
        EXPECT_EQ(grid(*bottom.mask), c.bottom_mask);
        EXPECT_EQ(grid(*p.top->image), c.top);
        EXPECT_EQ(grid(*p.top->undo_copy), c.top);
        EXPECT_EQ(p.top->area.width, c.width);
        EXPECT_EQ(p.doc->composite->width(), c.width);
        EXPECT_EQ(p.doc->stroke_surface->height(), c.height);
        EXPECT_LE(p.doc->zoom_window_area.left + p.doc->zoom_window_area.width,
                  std::max(c.width, int(p.doc->zoom_window_area.width)));
    }
}

TEST(Resize, AFailureLeavesThePictureAsItWas) {
    TwoLayers p;
    const Surface* image = p.top->image;
    native::set_global_alloc_failure(true);
    EXPECT_FALSE(resize_picture(*p.doc, 40, 40, ResizeMode::Stretch));
    native::set_global_alloc_failure(false);
    EXPECT_FALSE(resize_picture(*p.doc, kMaxResizeSide + 1, 4, ResizeMode::Crop));
    EXPECT_FALSE(resize_picture(*p.doc, 4, 0, ResizeMode::Crop));
    EXPECT_EQ(p.top->image, image);
    EXPECT_EQ(picture_width(*p.doc), 4);
    EXPECT_EQ(grid(*p.top->image), "a..b\n.c.d\n");
}

TEST(Resize, AreaIsStretchedInPlaceAndFloats) {
    DocumentPtr doc = picture(6, 4, 7);
    Layer& layer = *bottom_layer(*doc);
    paint(*layer.image, "123456\n789abc\n777777\n777777\n");
    RECT source{1, 0, 4, 1};
    ASSERT_TRUE(clip_to_picture(*doc, source));
    // Shrinking 4 x 2 to 2 x 1 leaves the rest of the layer alone.
    ASSERT_TRUE(resize_area(*doc, source, 2, 1));
    EXPECT_EQ(grid(*layer.image), "124456\n789abc\n777777\n777777\n");
    EXPECT_EQ(grid(*layer.undo_copy), "123456\n789abc\n777777\n777777\n");
    ASSERT_NE(doc->floating, nullptr);
    EXPECT_EQ(grid(*doc->floating), "24\n");
    EXPECT_EQ(doc->floating_rect.right, 2);
    EXPECT_TRUE(doc->flags & kDocPasted);
    EXPECT_TRUE(doc->flags & kDocModified);

    RECT outside{7, 0, 9, 2};
    EXPECT_FALSE(clip_to_picture(*doc, outside));
    RECT part{-3, 2, 9, 8};
    ASSERT_TRUE(clip_to_picture(*doc, part));
    EXPECT_EQ(part.left, 0);
    EXPECT_EQ(part.right, 5);
    EXPECT_EQ(part.bottom, 3);
}

TEST(Resize, AreaWithAllLayersFloatsAsASelection) {
    TwoLayers p;
    p.doc->flags |= kDocMoveAllLayers;
    ASSERT_TRUE(resize_area(*p.doc, {0, 0, 1, 0}, 4, 1));
    EXPECT_EQ(grid(*bottom_layer(*p.doc)->image), "1122\n5678\n");
    EXPECT_EQ(grid(*p.top->image), "aa..\n.c.d\n");
    EXPECT_FALSE(p.doc->flags & kDocPasted);
    EXPECT_EQ(p.doc->anchor_point.x, 0);
}

} // namespace

namespace {

TEST(Resize, DialogFieldsFollowEachOther) {
    const ResizeFields w = fields_for_width(32, 16, 64);
    EXPECT_EQ(w.height, 32);
    EXPECT_EQ(w.rate, 200);
    const ResizeFields r = fields_for_rate(32, 16, 50);
    EXPECT_EQ(r.width, 16);
    EXPECT_EQ(r.height, 8);
    EXPECT_EQ(fields_for_rate(32, 16, 0).rate, 1);
    const ResizeFields h = fields_for_height(3, 7, 14);
    EXPECT_EQ(h.width, 6);
    // Products beyond 32 bits stay exact, and sizes stay within the limit.
    EXPECT_EQ(fields_for_width(30000, 30000, 32767).height, 32767);
    EXPECT_EQ(fields_for_rate(30000, 2, 30000).width, kMaxResizeSide);
    EXPECT_EQ(fields_for_rate(30000, 2, 30000).height, 600);
}

} // namespace
