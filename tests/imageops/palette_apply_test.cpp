#include "app/imageops/palette_apply.h"
#include "tests/support/drawing_fixture.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using drawing_test::at;
using drawing_test::DocumentPtr;
using drawing_test::grid;

// A two-layer picture whose colours are a grey ramp, index i = (i, i, i).
DocumentPtr ramp_picture() {
    DocumentPtr doc = drawing_test::picture(3, 1, 0);
    if (!doc || !add_layer_above(*doc)) return nullptr;
    RGBQUAD ramp[256];
    for (int i = 0; i < 256; ++i)
        ramp[i] = {BYTE(i), BYTE(i), BYTE(i), 0};
    current_layer(*doc)->image->set_palette(ramp);
    update_palette(*doc);
    Surface& bottom = *bottom_layer(*doc)->image;
    at(bottom, 0, 0) = 5;
    at(bottom, 1, 0) = 9;
    at(bottom, 2, 0) = 200;
    bottom_layer(*doc)->key_colour = 200;
    return doc;
}

TEST(PaletteApplyTest, RemapMovesPixelsAndKeysToTheNearestColour) {
    DocumentPtr doc = ramp_picture();
    ASSERT_TRUE(doc);
    RGBQUAD palette[256] = {};       // all black but three entries
    palette[1] = {5, 5, 5, 0};       // index 5's grey moves to 1
    palette[9] = {9, 9, 9, 0};       // index 9's stays where it is
    palette[2] = {198, 198, 198, 0}; // 200 goes to the nearest, 2
    ASSERT_TRUE(apply_palette(*doc, palette, PaletteApply::Remap));
    Layer& bottom = *bottom_layer(*doc);
    EXPECT_EQ(at(*bottom.image, 0, 0), 1);
    EXPECT_EQ(at(*bottom.image, 1, 0), 9);
    EXPECT_EQ(at(*bottom.image, 2, 0), 2);
    EXPECT_EQ(bottom.key_colour, 2);
    EXPECT_EQ(bottom.image->colour_table()[1].rgbRed, 5);
    // Every layer holds the new palette.
    EXPECT_EQ(std::memcmp(current_layer(*doc)->image->colour_table(), palette, sizeof palette), 0);
}

TEST(PaletteApplyTest, KeepIndexesChangesOnlyColours) {
    DocumentPtr doc = ramp_picture();
    ASSERT_TRUE(doc);
    const std::string before = grid(*bottom_layer(*doc)->image);
    RGBQUAD palette[256] = {};
    palette[5] = {0, 0, 255, 0};
    ASSERT_TRUE(apply_palette(*doc, palette, PaletteApply::KeepIndexes));
    Layer& bottom = *bottom_layer(*doc);
    EXPECT_EQ(grid(*bottom.image), before);
    EXPECT_EQ(bottom.key_colour, 200);
    EXPECT_EQ(bottom.image->colour_table()[5].rgbRed, 255);
}

} // namespace
