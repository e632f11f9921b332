#include "app/imageops/decrease_colours.h"
#include "engine/rasko.h"
#include "tests/support/drawing_fixture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

using namespace drawing_test;

namespace {

void random_palette(RGBQUAD* table, std::mt19937& rng) {
    std::uniform_int_distribution<int> byte(0, 255);
    for (int i = 0; i < 256; ++i)
        table[i] = RGBQUAD{BYTE(byte(rng)), BYTE(byte(rng)), BYTE(byte(rng)), 0};
}

// A picture of random pixels 0..254 and a random palette: the default key
// colour 255 is outside every kept range and no pixel holds it.
DocumentPtr random_picture(int width, int height, std::mt19937& rng) {
    DocumentPtr doc = picture(width, height);
    Layer& layer = *bottom_layer(*doc);
    random_palette(layer.image->colour_table(), rng);
    update_palette(*doc);
    std::uniform_int_distribution<int> pixel(0, 254);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            at(*layer.image, x, y) = BYTE(pixel(rng));
    take_undo_copy(layer);
    return doc;
}

// The pixels without the row padding.
std::vector<BYTE> rows_of(Surface& s) {
    std::vector<BYTE> pixels;
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x)
            pixels.push_back(at(s, x, y));
    return pixels;
}

// Where no key colour is in play, a layer decreases exactly as the engine's
// own colour reduction decreases a DIB, dithered or not.
TEST(DecreaseColours, MatchesTheEngineWhereNoKeyIsInvolved) {
    std::mt19937 rng(163);
    for (int width : {1, 4, 7, 9, 33})
        for (int bits = 1; bits <= 7; ++bits)
            for (bool dither : {false, true}) {
                SCOPED_TRACE(testing::Message()
                             << width << " wide, " << (1 << bits) << " colours, dither " << dither);
                DocumentPtr doc = random_picture(width, 6, rng);
                Surface& image = *bottom_layer(*doc)->image;
                Surface model;
                ASSERT_TRUE(model.create(width, 6));
                image.copy_to(model);
                ASSERT_EQ(RaskoDecreaseColorDepth(model.info, model.bits, bits, nullptr, dither, 0),
                          1);
                ASSERT_TRUE(decrease_colours(*doc, {1 << bits, dither, nullptr}));
                EXPECT_EQ(rows_of(image), rows_of(model));
                // Entries past the kept ones are black, except the key's.
                EXPECT_EQ(
                    std::memcmp(image.colour_table(), model.colour_table(), 255 * sizeof(RGBQUAD)),
                    0);
            }
}

TEST(DecreaseColours, KeyColourStaysTransparent) {
    std::mt19937 rng(7);
    DocumentPtr doc = random_picture(8, 4, rng);
    Layer& top = *add_layer_above(*doc);
    RGBQUAD* table = bottom_layer(*doc)->image->colour_table();
    table[200] = RGBQUAD{40, 50, 60, 0};
    table[3] = table[200];
    update_palette(*doc);
    // The top layer: its key 255 around one opaque pixel of entry 200.
    at(*top.image, 2, 1) = 200;
    // The bottom layer's key is a kept entry: its key pixels stay and no
    // other pixel, not even one of the key's own colour, joins them.
    Layer& bottom = *bottom_layer(*doc);
    bottom.key_colour = 3;
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x)
            if (at(*bottom.image, x, y) == 3) at(*bottom.image, x, y) = 4;
    at(*bottom.image, 0, 0) = 3;
    at(*bottom.image, 1, 0) = 200;
    ASSERT_TRUE(decrease_colours(*doc, {16, true, nullptr}));
    const RGBQUAD* after = top.image->colour_table();
    EXPECT_EQ(after[255].rgbRed, table[255].rgbRed);
    EXPECT_EQ(after[255].rgbBlue, table[255].rgbBlue);
    EXPECT_EQ(after[200].rgbBlue + after[200].rgbGreen + after[200].rgbRed, 0);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x) {
            EXPECT_EQ(at(*top.image, x, y) == 255, !(x == 2 && y == 1)) << x << "," << y;
            EXPECT_EQ(at(*bottom.image, x, y) == 3, x == 0 && y == 0) << x << "," << y;
            EXPECT_LT(at(*bottom.image, x, y), 16);
        }
    EXPECT_LT(at(*top.image, 2, 1), 16);
}

TEST(DecreaseColours, GivenPaletteUndoCopiesAndRefusals) {
    std::mt19937 rng(11);
    DocumentPtr doc = random_picture(5, 3, rng);
    Layer& layer = *bottom_layer(*doc);
    const std::vector<BYTE> before = rows_of(*layer.image);
    for (int colours : {1, 129, 256}) {
        EXPECT_FALSE(decrease_colours(*doc, {colours, false, nullptr}));
        EXPECT_EQ(rows_of(*layer.image), before);
    }
    EXPECT_FALSE(doc->flags & kDocModified);
    RGBQUAD given[4] = {{0, 0, 0, 0}, {255, 255, 255, 0}, {0, 0, 255, 0}, {0, 255, 0, 0}};
    ASSERT_TRUE(decrease_colours(*doc, {4, false, given}));
    EXPECT_TRUE(doc->flags & kDocModified);
    EXPECT_EQ(rows_of(*layer.undo_copy), before);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(std::memcmp(&layer.image->colour_table()[i], &given[i], 3), 0) << i;
    for (BYTE p : rows_of(*layer.image))
        EXPECT_LT(p, 4);
    EXPECT_EQ(std::memcmp(doc->composite->colour_table(), layer.image->colour_table(), 1024), 0);
}

} // namespace
