#include "app/imageops/layer_write.h"
#include "tests/support/drawing_fixture.h"

#include <gtest/gtest.h>

#include <memory>

using namespace drawing_test;

namespace {

// A 5 x 1 layer holding 11111 whose mask protects its second pixel, key
// colour 7, and a plane 7 2 3 . 4 written over its first four pixels.
struct OneLayer {
    DocumentPtr doc = picture(5, 1, 1);
    std::unique_ptr<Surface> plane{create_surface(4, 1)};
    Layer& layer() { return *bottom_layer(*doc); }
    OneLayer(std::uint32_t doc_flags, std::uint32_t layer_flags) {
        paint(*layer().mask, ".0...\n");
        layer().key_colour = 7;
        layer().flags |= layer_flags;
        paint(*plane, "723.\n");
        doc->flags |= doc_flags;
    }
};

TEST(LayerWrite, ImageRuleFollowsKeyingMaskAndOptions) {
    struct Case {
        const char* what;
        std::uint32_t doc_flags, layer_flags;
        unsigned options;
        const char* image;
    };
    const Case cases[] = {
        {"plain", 0, 0, 0, "723.1\n"},
        {"keyed", kDocKeyColourEnabled, 0, 0, "123.1\n"},
        {"masked", kDocMaskOn, 0, 0, "713.1\n"},
        {"masked and keyed", kDocMaskOn | kDocKeyColourEnabled, 0, 0, "113.1\n"},
        {"M held masks", 0, 0, kWriteMHeld, "713.1\n"},
        {"mask travelling with the pixels", kDocMaskOn | kDocMoveWithMask, 0, 0, "723.1\n"},
        {"mask as opacity", kDocMaskOn, kLayerUseMaskAsOpacity, 0, "723.1\n"},
        {"pasted: the mask protects all the same", kDocMaskOn | kDocMoveWithMask,
         kLayerUseMaskAsOpacity, kWritePasted, "713.1\n"},
        {"pasted, mask off", kDocMoveWithMask, 0, kWritePasted, "723.1\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        OneLayer s(c.doc_flags, c.layer_flags);
        write_area(*s.doc, s.layer(), LayerPlane::Image, {s.plane.get(), {0, 0}, 0}, {0, 0, 4, 1},
                   c.options);
        EXPECT_EQ(grid(*s.layer().image), c.image);
        EXPECT_EQ(grid(*s.layer().mask), ".0...\n");
    }
}

TEST(LayerWrite, FillsIgnoreTheKeyButNotTheMask) {
    struct Case {
        const char* what;
        std::uint32_t doc_flags;
        const char* image;
    };
    const Case cases[] = {
        {"plain", 0, "7771\n"},
        {"keying does not leave the key colour out", kDocKeyColourEnabled, "7771\n"},
        {"masked", kDocMaskOn, "7171\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DocumentPtr doc = picture(4, 1, 1);
        Layer& layer = *bottom_layer(*doc);
        paint(*layer.mask, ".0..\n");
        layer.key_colour = 7;
        doc->flags |= c.doc_flags;
        write_area(*doc, layer, LayerPlane::Image, {nullptr, {0, 0}, 7}, {0, 0, 3, 1});
        EXPECT_EQ(grid(*layer.image), c.image);
    }
}

TEST(LayerWrite, MaskTakesOnlyItsTwoValues) {
    OneLayer s(kDocMaskView, 0);
    paint(*s.plane, "0.97\n");
    // From the plane's second pixel on, into the mask from its third.
    write_area(*s.doc, s.layer(), LayerPlane::Mask, {s.plane.get(), {1, 0}, 0}, {2, 0, 3, 1});
    EXPECT_EQ(grid(*s.layer().mask), ".0.00\n");
    write_area(*s.doc, s.layer(), LayerPlane::Mask, {nullptr, {0, 0}, 255}, {0, 0, 2, 1});
    EXPECT_EQ(grid(*s.layer().mask), "...00\n");
    EXPECT_EQ(grid(*s.layer().image), "11111\n");
}

TEST(LayerWrite, PlanesAndLayersByMode) {
    struct Case {
        std::uint32_t flags;
        bool mask, image;
    };
    const Case cases[] = {
        {0, false, true},
        {kDocMaskView, true, false},
        {kDocMoveWithMask, true, true},
        {kDocMaskView | kDocMoveWithMask, true, true},
    };
    for (const Case& c : cases) {
        PictureDocument doc;
        doc.flags = c.flags;
        EXPECT_EQ(area_changes_mask(doc), c.mask) << c.flags;
        EXPECT_EQ(area_changes_image(doc), c.image) << c.flags;
    }
    DocumentPtr doc = picture(2, 1);
    Layer* top = add_layer_above(*doc);
    ASSERT_NE(top, nullptr);
    int visits = 0;
    for_each_area_layer(*doc, [&](Layer& l) {
        EXPECT_EQ(&l, top);
        ++visits;
    });
    doc->flags |= kDocMoveAllLayers;
    Layer* order[2] = {};
    for_each_area_layer(*doc, [&](Layer& l) { order[visits++ - 1] = &l; });
    EXPECT_EQ(visits, 3);
    EXPECT_EQ(order[0], bottom_layer(*doc));
    EXPECT_EQ(order[1], top);
}

} // namespace
