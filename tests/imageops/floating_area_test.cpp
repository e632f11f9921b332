#include "app/imageops/floating_area.h"
#include "tests/support/drawing_fixture.h"

#include "engine/rasko.h"

#include <gtest/gtest.h>

using namespace drawing_test;

namespace {

// A 5 x 2 picture holding 12345 over 6789a with the 2 x 1 area at (0, 0)
// lifted; the area then moved to (3, 1) as a drag leaves it.
DocumentPtr lifted(std::uint32_t flags) {
    DocumentPtr doc = picture(5, 2);
    paint(*bottom_layer(*doc)->image, "12345\n6789a\n");
    doc->flags |= flags;
    EXPECT_TRUE(lift_area(*doc, {0, 0, 1, 0}));
    doc->floating_rect = {3, 1, 4, 1};
    return doc;
}

// A pasted 2 x 1 surface holding 7 and 8.
Surface* pasted_78() {
    Surface* s = create_surface(2, 1);
    paint(*s, "78\n");
    return s;
}

TEST(FloatingArea, CommitWritesWhereTheAreaLiesNow) {
    struct Case {
        const char* what;
        std::uint32_t flags;
        bool pasted;
        const char* image;
        const char* mask;
    };
    // The source place (0, 0)-(1, 0) holds 1 2 with the mask 255 0; the
    // mask protects (3, 1) at the new place.
    const Case cases[] = {
        {"selected: read again at the source, source kept", 0, false, "12345\n67812\n",
         ".0...\n...0.\n"},
        {"key colour left out", kDocKeyColourEnabled, false, "12345\n67892\n", ".0...\n...0.\n"},
        {"mask view moves the mask only", kDocMaskView, false, "12345\n6789a\n", ".0...\n....0\n"},
        {"with mask plane both move", kDocMoveWithMask | kDocMaskOn, false, "12345\n67812\n",
         ".0...\n....0\n"},
        {"pasted", 0, true, "12345\n67878\n", ".0...\n...0.\n"},
        {"pasted through the mask", kDocMaskOn, true, "12345\n67898\n", ".0...\n...0.\n"},
        {"pasted into the mask as 0 and 255", kDocMaskView, true, "12345\n6789a\n",
         ".0...\n...00\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DocumentPtr doc = lifted(c.flags);
        Layer& layer = *bottom_layer(*doc);
        layer.key_colour = 1;
        paint(*layer.mask, ".0...\n...0.\n");
        if (c.pasted) float_pasted(*doc, pasted_78(), {3, 1});
        commit_floating(*doc, false);
        EXPECT_EQ(doc->floating, nullptr);
        EXPECT_FALSE(doc->flags & (kDocFloatingFrame | kDocPasted));
        EXPECT_EQ(grid(*layer.image), c.image);
        EXPECT_EQ(grid(*layer.mask), c.mask);
    }
}

TEST(FloatingArea, CommitWithAllLayersReadsEachLayer) {
    DocumentPtr doc = picture(4, 1);
    Layer& bottom = *bottom_layer(*doc);
    paint(*bottom.image, "12..\n");
    Layer* top = add_layer_above(*doc);
    ASSERT_NE(top, nullptr);
    paint(*top->image, "34..\n");
    top->key_colour = 4;
    doc->flags |= kDocMoveAllLayers | kDocKeyColourEnabled;
    bottom.key_colour = 1;
    ASSERT_TRUE(lift_area(*doc, {0, 0, 1, 0}));
    doc->floating_rect = {2, 0, 3, 0};
    commit_floating(*doc, false);
    // Each layer's own pixels, each with its own key colour left out.
    EXPECT_EQ(grid(*bottom.image), "12.2\n");
    EXPECT_EQ(grid(*top->image), "343.\n");
    EXPECT_EQ(grid(*bottom.undo_copy), "12..\n");
    EXPECT_EQ(grid(*top->undo_copy), "34..\n");
}

TEST(FloatingArea, CommitWithMHeldProtectsMaskedPixels) {
    DocumentPtr doc = lifted(0);
    Layer& layer = *bottom_layer(*doc);
    paint(*layer.mask, ".....\n...0.\n");
    commit_floating(*doc, true);
    EXPECT_EQ(grid(*layer.image), "12345\n67892\n");
}

TEST(FloatingArea, DeleteFillsWhereASelectedAreaWasTaken) {
    struct Case {
        const char* what;
        std::uint32_t flags;
        bool pasted;
        const char* image;
        const char* mask;
    };
    // The area was taken at (0, 0) and now lies at (3, 1); the mask
    // protects (0, 0).
    const Case cases[] = {
        {"selected", 0, false, "00345\n6789a\n", "0....\n.....\n"},
        {"through the mask", kDocMaskOn, false, "10345\n6789a\n", "0....\n.....\n"},
        {"mask view opens the mask", kDocMaskView, false, "12345\n6789a\n", ".....\n.....\n"},
        {"pasted is only dropped", 0, true, "12345\n6789a\n", "0....\n.....\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DocumentPtr doc = lifted(c.flags);
        Layer& layer = *bottom_layer(*doc);
        layer.background_colour = 0;
        paint(*layer.mask, "0....\n.....\n");
        if (c.pasted) float_pasted(*doc, pasted_78(), {3, 1});
        EXPECT_TRUE(delete_floating(*doc));
        EXPECT_EQ(doc->floating, nullptr);
        EXPECT_FALSE(doc->flags & (kDocFloatingFrame | kDocPasted));
        EXPECT_TRUE(doc->flags & kDocModified);
        EXPECT_EQ(grid(*layer.image), c.image);
        EXPECT_EQ(grid(*layer.mask), c.mask);
    }
    DocumentPtr none = picture(2, 2);
    EXPECT_FALSE(delete_floating(*none));
}

TEST(FloatingArea, PastedAreaStaysWithinReachAndTakesThePalette) {
    DocumentPtr doc = picture(4, 4);
    Surface* s = create_surface(2, 2);
    ASSERT_NE(s, nullptr);
    RGBQUAD* table = s->colour_table();
    std::swap(table[3], table[9]);
    s->refresh_palette();
    paint(*s, "39\n..\n");
    float_pasted(*doc, s, {7, -3});
    EXPECT_EQ(doc->floating_rect.left, 3);
    EXPECT_EQ(doc->floating_rect.top, 0);
    EXPECT_EQ(doc->floating_rect.right, 4);
    EXPECT_EQ(doc->floating_rect.bottom, 1);
    EXPECT_TRUE(doc->flags & kDocPasted);
    // Remapped to the picture's palette: the colours stay, the indexes swap.
    EXPECT_EQ(grid(*doc->floating), "93\n..\n");
    drop_floating(*doc);
    EXPECT_EQ(doc->floating, nullptr);
    EXPECT_FALSE(doc->flags & (kDocFloatingFrame | kDocPasted));
    EXPECT_EQ(grid(*bottom_layer(*doc)->image), "....\n....\n....\n....\n");
}

} // namespace
