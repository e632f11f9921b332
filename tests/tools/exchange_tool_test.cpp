#include "app/tools/exchange_tool.h"

#include "tests/support/drawing_fixture.h"

#include <gtest/gtest.h>

using namespace drawing_test;

namespace {

// A 5 x 3 picture: left colour 1 and other colours alternating.
DocumentPtr striped(std::uint32_t flags, int left, int right, int tone) {
    DocumentPtr doc = picture(5, 3);
    Surface& image = *current_layer(*doc)->image;
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            at(image, x, y) = BYTE((x + y) % 3 == 0 ? 2 : 1);
    doc->flags |= flags;
    doc->left_colour = left;
    doc->right_colour = right;
    doc->tone_level = tone;
    draw_colour_swatch(*doc);
    // The stroke covers x 0..3 of every row; x 4 lies outside its shape.
    fill(*doc->stroke_surface, 255);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            at(*doc->stroke_surface, x, y) = 0;
    doc->stroke_rect = {0, 0, 5, 3};
    return doc;
}

struct Case {
    const char* what;
    std::uint32_t flags;
    int left, right, tone;
    const char* expected;
};

TEST(ColourExchange, ReplacesTheLeftColourOnThePatternInsideTheStroke) {
    // Before: "21121\n11211\n12112\n"
    const Case cases[] = {
        {"level 16: every left pixel in the stroke", 0, 1, 7, 16, "27721\n77271\n72772\n"},
        {"level 0: none", 0, 1, 7, 0, "21121\n11211\n12112\n"},
        {"level 8: x + y even only", 0, 1, 7, 8, "21721\n17271\n72712\n"},
        {"left equal to right: nothing", 0, 1, 1, 16, "21121\n11211\n12112\n"},
        {"mask protects (3, 1)", kDocMaskOn, 1, 7, 16, "27721\n77211\n72772\n"},
        {"keying does not hold back the key colour", kDocKeyColourEnabled, 1, 9, 16,
         "29921\n99291\n92992\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DocumentPtr doc = striped(c.flags, c.left, c.right, c.tone);
        Layer& layer = *current_layer(*doc);
        layer.key_colour = 9;
        at(*layer.mask, 3, 1) = 0;
        colour_exchange_paint(*doc, false, true);
        EXPECT_EQ(grid(*layer.image), c.expected);
        EXPECT_EQ(grid(*doc->composite), c.expected) << "recomposited";
        EXPECT_EQ(doc->update_rect.right, 5);
        EXPECT_EQ(doc->flags & kNotifyBits, kNotifyPresent | kNotifyZoomWindow);
    }
}

TEST(ColourExchange, StrokeBytesCombineBitByBit) {
    DocumentPtr doc = striped(0, 1, 0xF6, 16);
    at(*doc->stroke_surface, 1, 0) = 0x0F;
    exchange_through_stroke(*current_layer(*doc)->image, doc->stroke_rect, *doc->colour_swatch,
                            doc->stroke_surface->bits, 1, 0xF6, nullptr);
    // Low four bits from the destination (1), high ones from 0xF6.
    EXPECT_EQ(at(*current_layer(*doc)->image, 1, 0), 0xF1);
}

} // namespace
