#include "app/tools/drawing.h"

#include "tests/support/drawing_fixture.h"

#include <gtest/gtest.h>

using namespace drawing_test;

namespace {

TEST(ColourPicking, ReadsTheImageTheCompositeOrTheMaskAndRaisesTheColourViews) {
    DocumentPtr doc = picture(4, 3, 9);
    Layer& layer = *current_layer(*doc);
    at(*layer.image, 1, 2) = 17;
    at(*doc->composite, 1, 2) = 23;
    at(*layer.mask, 1, 2) = 0;

    pick_colour(*doc, 1, 2, false);
    EXPECT_EQ(doc->left_colour, 17);
    EXPECT_EQ(doc->flags & kNotifyColourViews, kNotifyColourViews);
    pick_colour(*doc, 1, 2, true);
    EXPECT_EQ(doc->right_colour, 17) << "Shift picks into the right colour";

    doc->flags = kDocMoveAllLayers;
    pick_colour(*doc, 1, 2, false);
    EXPECT_EQ(doc->left_colour, 23);

    // In mask view the mask value is read and both colours become black (0)
    // or white (255) by their palette entries' brightness.
    doc->flags = kDocMaskView;
    RGBQUAD* table = layer.image->colour_table();
    table[0] = {0, 0, 0, 0};
    table[17] = {200, 100, 90, 0}; // 390: light
    pick_colour(*doc, 1, 2, false);
    EXPECT_EQ(doc->left_colour, 0);
    EXPECT_EQ(doc->right_colour, 255);
    EXPECT_EQ(at(*doc->colour_swatch, 0, 0), 0) << "swatch redrawn (level 0: left colour)";

    EXPECT_EQ(colour_under(*doc, 9, 9), 0) << "outside the picture";
}

// A point of the canvas at zoom 300 with the view scrolled to (2, 1): each
// picture pixel covers 3 x 3 canvas pixels.
TEST(ColourPicking, ACanvasPointIsMappedThroughZoomAndOriginToThePixelShown) {
    DocumentPtr doc = picture(6, 5, 9);
    Layer& layer = *current_layer(*doc);
    at(*layer.image, 3, 2) = 40;
    at(*layer.image, 5, 4) = 41;
    at(*doc->composite, 3, 2) = 42;
    at(*layer.mask, 3, 2) = 0;
    doc->zoom = 300;
    doc->view_origin_x = 2;
    doc->view_origin_y = 1;
    // A canvas a little wider than the rest of the picture, so that its last
    // columns show none of it.
    doc->canvas_width = 15;
    doc->canvas_height = 12;
    const struct {
        std::uint32_t flags;
        int cx, cy;
        int colour;
    } cases[] = {
        {0, 3, 3, 40},                 // (1, 1) + origin
        {0, 5, 5, 40},                 // the pixel's last canvas column and row
        {0, 6, 3, 9},                  // the next picture column
        {0, 9, 9, 41},                 // the picture's corner pixel
        {kDocMoveAllLayers, 4, 4, 42}, // the composite
        {kDocMaskView, 4, 4, 0},       // the mask plane
        {0, -1, 3, kNoColour},         // left of the canvas
        {0, 3, 12, kNoColour},         // below the canvas
        {0, 11, 3, 9},                 // the picture's last column (3 + 2)
        {0, 12, 3, kNoColour},         // canvas, but right of the picture (4 + 2)
    };
    for (const auto& c : cases) {
        doc->flags = c.flags;
        EXPECT_EQ(colour_at_canvas_point(*doc, c.cx, c.cy), c.colour) << c.cx << "," << c.cy;
    }
}

TEST(ToneTile, IsTheStandardPatternOfTheLevel) {
    const ToneTile half = tone_tile(1, 2, 8);
    const ToneTile none = tone_tile(1, 2, -3);
    const ToneTile all = tone_tile(1, 2, 40);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            EXPECT_EQ(half.colour[y][x], (x + y) % 2 ? 1 : 2);
            EXPECT_EQ(none.colour[y][x], 1);
            EXPECT_EQ(all.colour[y][x], 2);
        }
    // Level 1 sets only the top-left pixel of each tile.
    EXPECT_EQ(standard_tone(1), 0x0001);
}

} // namespace
