#include "app/imageops/mask_ops.h"
#include "tests/support/drawing_fixture.h"

#include <gtest/gtest.h>

#include <vector>

using namespace drawing_test;

namespace {

// A 4 x 2 picture whose bottom layer holds `image` and `mask`, plus a second
// layer (the target) holding `target` with the mask `target_mask`.
struct Picture {
    DocumentPtr doc;
    Layer* target;
};

Picture two_layers(const char* image, const char* mask, const char* target, const char* target_mask,
                   std::uint32_t flags) {
    Picture p{picture(4, 2), nullptr};
    Layer& bottom = *bottom_layer(*p.doc);
    paint(*bottom.image, image);
    paint(*bottom.mask, mask);
    p.target = add_layer_above(*p.doc);
    paint(*p.target->image, target);
    paint(*p.target->mask, target_mask);
    p.doc->current = layer_node_at(*p.doc, 1);
    p.doc->flags |= flags;
    return p;
}

TEST(MaskOps, ClearAndInvert) {
    Picture p = two_layers("0000\n0000\n", "0.7.\n0..0\n", "....\n....\n", "....\n....\n", 0);
    Layer& layer = *bottom_layer(*p.doc);
    invert_mask(layer);
    EXPECT_EQ(grid(*layer.mask), ".070\n.00.\n");
    invert_mask(layer);
    EXPECT_EQ(grid(*layer.mask), "0.7.\n0..0\n");
    clear_mask(layer);
    EXPECT_EQ(grid(*layer.mask), "....\n....\n");
}

TEST(MaskOps, InvertSwapsOnlyZeroAndFullOnEveryWidth) {
    for (int width : {1, 7, 8, 9, 15, 33}) {
        SCOPED_TRACE(width);
        DocumentPtr doc = picture(width, 9);
        Surface& mask = *bottom_layer(*doc)->mask;
        // Every byte value appears, and the row padding holds a marker.
        for (std::size_t i = 0; i < mask.pixel_bytes(); ++i)
            mask.bits[i] = BYTE(i * 7);
        std::vector<BYTE> before(mask.bits, mask.bits + mask.pixel_bytes());
        invert_mask(*bottom_layer(*doc));
        for (std::size_t i = 0; i < before.size(); ++i) {
            const bool pixel = int(i % std::size_t(mask.stride())) < width;
            const BYTE v = before[i];
            const BYTE expected = pixel && v == 0 ? 255 : pixel && v == 255 ? 0 : v;
            ASSERT_EQ(mask.bits[i], expected) << "byte " << i;
        }
    }
}

TEST(MaskOps, ColourMasksProtectByColour) {
    struct Case {
        const char* what;
        ColourMatch match;
        MaskStart start;
        std::uint32_t flags;
        const char* mask_before;
        const char* expected;
    };
    // The layer holds 3 and 5; the layer above holds 3 where the layer holds
    // 5, so the composite differs from the layer.
    const Case cases[] = {
        {"create with 3", ColourMatch::Selected, MaskStart::Clear, 0, "0000\n0000\n",
         "00..\n..00\n"},
        {"add 3 keeps zeros", ColourMatch::Selected, MaskStart::Keep, 0, "...0\n0...\n",
         "00.0\n0.00\n"},
        {"create with not 3", ColourMatch::NotSelected, MaskStart::Clear, 0, "0000\n0000\n",
         "..00\n00..\n"},
        {"add not 3", ColourMatch::NotSelected, MaskStart::Keep, 0, "0...\n....\n", "0.00\n00..\n"},
        {"composite with all layers", ColourMatch::Selected, MaskStart::Clear, kDocMoveAllLayers,
         "....\n....\n", "0000\n..00\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Picture p =
            two_layers("3355\n5533\n", c.mask_before, "..33\n....\n", "....\n....\n", c.flags);
        p.target->key_colour = 255;
        mask_from_colour(*p.doc, 3, c.match, c.start);
        EXPECT_EQ(grid(*bottom_layer(*p.doc)->mask), c.expected);
    }
}

TEST(MaskOps, ColourToLayerCopiesThatColourOnly) {
    struct Case {
        const char* what;
        std::uint32_t flags;
        std::uint32_t target_flags;
        const char* expected;
    };
    const Case cases[] = {
        {"mask off", 0, 0, "55.5\n5.55\n"},
        {"target mask limits", kDocMaskOn, 0, "55..\n5.55\n"},
        {"mask as opacity ignores it", kDocMaskOn, kLayerUseMaskAsOpacity, "55.5\n5.55\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Picture p =
            two_layers("5535\n5355\n", "....\n....\n", "....\n....\n", "...0\n....\n", c.flags);
        p.target->flags |= c.target_flags;
        copy_colour_to_layer(*p.doc, *p.target, 5);
        EXPECT_EQ(grid(*p.target->image), c.expected);
        EXPECT_EQ(grid(*bottom_layer(*p.doc)->image), "5535\n5355\n"); // copied, not moved
    }
}

TEST(MaskOps, AreaToLayerReadsWhereTheAreaCameFrom) {
    struct Case {
        const char* what;
        std::uint32_t flags;
        bool floating, pasted;
        const char* image;
        const char* mask;
    };
    // A selected 2 x 1 area taken at (0, 0) now lies at (2, 1); a pasted one
    // at the same place holds 7 and 8.
    const Case cases[] = {
        {"whole layer", 0, false, false, "1234\n5678\n", "....\n...0\n"},
        {"selected area", 0, true, false, "....\n..12\n", "....\n...0\n"},
        {"pasted area", 0, true, true, "....\n..78\n", "....\n...0\n"},
        {"key colour left out", kDocKeyColourEnabled, true, true, "....\n..7.\n", "....\n...0\n"},
        {"target mask protects", kDocMaskOn, true, false, "....\n..1.\n", "....\n...0\n"},
        {"mask view copies the mask", kDocMaskView, true, false, "....\n....\n", "....\n..0.\n"},
        // A mask plane holds only 0 and 255: values other than 255 protect.
        {"pasted in mask view", kDocMaskView, true, true, "....\n....\n", "....\n..00\n"},
        {"with mask plane both", kDocMoveWithMask | kDocMaskOn, true, false, "....\n..12\n",
         "....\n..0.\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Picture p =
            two_layers("1234\n5678\n", "0...\n....\n", "....\n....\n", "....\n...0\n", c.flags);
        p.target->key_colour = 8;
        std::unique_ptr<Surface> floating;
        if (c.floating) {
            floating.reset(create_surface(2, 1));
            paint(*floating, "78\n");
            p.doc->floating = floating.get();
            p.doc->floating_rect = {2, 1, 3, 1};
            p.doc->anchor_point = {0, 0};
            if (c.pasted) p.doc->flags |= kDocPasted;
        }
        EXPECT_TRUE(copy_area_to_layer(*p.doc, *p.target));
        p.doc->floating = nullptr;
        EXPECT_EQ(grid(*p.target->image), c.image);
        EXPECT_EQ(grid(*p.target->mask), c.mask);
    }
}

TEST(MaskOps, AreaOntoItsOwnLayerDoesNotReadItsOwnWrites) {
    DocumentPtr doc = picture(4, 1);
    Layer& layer = *bottom_layer(*doc);
    paint(*layer.image, "1234\n");
    std::unique_ptr<Surface> floating(create_surface(3, 1));
    doc->floating = floating.get();
    doc->floating_rect = {1, 0, 3, 0};
    doc->anchor_point = {0, 0};
    EXPECT_TRUE(copy_area_to_layer(*doc, layer));
    doc->floating = nullptr;
    EXPECT_EQ(grid(*layer.image), "1123\n");
}

TEST(MaskOps, AnimationAreaFollowsTheFloatingFrame) {
    DocumentPtr doc = picture(10, 8);
    AreaRect a = selected_animation_area(*doc);
    EXPECT_EQ(a.left, 0);
    EXPECT_EQ(a.width, 10);
    EXPECT_EQ(a.height, 8);
    doc->flags |= kDocFloatingFrame;
    doc->floating_rect = {6, 2, 12, 4};
    a = selected_animation_area(*doc);
    EXPECT_EQ(a.left, 6);
    EXPECT_EQ(a.top, 2);
    EXPECT_EQ(a.width, 4);
    EXPECT_EQ(a.height, 3);
}

} // namespace
