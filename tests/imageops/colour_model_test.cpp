#include "app/imageops/colour_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace {

struct Shown {
    Rgb rgb;
    ColourModel model;
    ModelColour shown;
};

TEST(ColourModel, ShowsPaletteColoursInEachModel) {
    const Shown cases[] = {
        {{255, 0, 0}, ColourModel::Hsv, {{0, 100, 100}}},
        {{0, 255, 0}, ColourModel::Hsv, {{120, 100, 100}}},
        {{0, 0, 255}, ColourModel::Hsv, {{240, 100, 100}}},
        {{128, 128, 128}, ColourModel::Hsv, {{0, 0, 50}}},
        {{255, 0, 128}, ColourModel::Hsv, {{330, 100, 100}}}, // negative hue turned round
        {{10, 20, 30}, ColourModel::Ymc, {{225, 235, 245}}},
        {{10, 20, 30}, ColourModel::Rgb, {{10, 20, 30}}},
    };
    for (const Shown& c : cases) {
        SCOPED_TRACE(testing::Message() << c.rgb.red << "," << c.rgb.green << "," << c.rgb.blue);
        EXPECT_EQ(to_model(c.model, c.rgb), c.shown);
    }
}

TEST(ColourModel, AppliesHsvAsRgb) {
    const Shown cases[] = {
        {{255, 0, 0}, ColourModel::Hsv, {{0, 100, 100}}},
        {{255, 255, 0}, ColourModel::Hsv, {{60, 100, 100}}},
        {{255, 0, 0}, ColourModel::Hsv, {{360, 100, 100}}},
        {{0, 255, 255}, ColourModel::Hsv, {{180, 100, 100}}},
        {{255, 0, 255}, ColourModel::Hsv, {{300, 100, 100}}},
    };
    for (const Shown& c : cases)
        EXPECT_EQ(from_model(c.model, c.shown), c.rgb) << c.shown.c[0];
    for (int h = 0; h <= 360; ++h) {
        EXPECT_EQ(from_model(ColourModel::Hsv, {{h, 0, 100}}), (Rgb{255, 255, 255})) << h;
        for (int s = 0; s <= 100; s += 25)
            EXPECT_EQ(from_model(ColourModel::Hsv, {{h, s, 0}}), (Rgb{0, 0, 0})) << h;
    }
}

TEST(ColourModel, HueOf360IsHueOf0) {
    for (int s = 0; s <= 100; ++s)
        for (int v = 0; v <= 100; ++v)
            ASSERT_EQ(from_model(ColourModel::Hsv, {{360, s, v}}),
                      from_model(ColourModel::Hsv, {{0, s, v}}))
                << s << "," << v;
}

// YMC holds every RGB exactly. HSV keeps value in hundredths and hue in
// whole degrees: the brightest component comes back within one unit, the
// others within one degree of hue at full saturation (255 / 60 units) plus
// rounding; a full-strength hue comes back within one degree.
TEST(ColourModel, RoundTripsEveryRgb) {
    constexpr int kHueDegreeInRgb = 5;
    for (int r = 0; r < 256; ++r)
        for (int g = 0; g < 256; ++g)
            for (int b = 0; b < 256; ++b) {
                const Rgb rgb{r, g, b};
                ASSERT_EQ(from_model(ColourModel::Ymc, to_model(ColourModel::Ymc, rgb)), rgb);
                const ModelColour hsv = to_model(ColourModel::Hsv, rgb);
                ASSERT_TRUE(in_model_range(ColourModel::Hsv, hsv));
                const Rgb back = from_model(ColourModel::Hsv, hsv);
                ASSERT_LE(
                    std::abs(std::max({back.red, back.green, back.blue}) - std::max({r, g, b})), 1)
                    << r << "," << g << "," << b;
                ASSERT_LE(std::max({std::abs(back.red - r), std::abs(back.green - g),
                                    std::abs(back.blue - b)}),
                          kHueDegreeInRgb)
                    << r << "," << g << "," << b;
            }
    for (int h = 0; h < 360; ++h) {
        const ModelColour back =
            to_model(ColourModel::Hsv, from_model(ColourModel::Hsv, {{h, 100, 100}}));
        const int turn = std::abs(back.c[0] - h);
        EXPECT_LE(std::min(turn, 360 - turn), 1) << h;
        EXPECT_EQ(back.c[1], 100);
        EXPECT_EQ(back.c[2], 100);
    }
}

TEST(ColourModel, RangesFollowTheModel) {
    EXPECT_TRUE(in_model_range(ColourModel::Hsv, {{360, 100, 100}}));
    EXPECT_FALSE(in_model_range(ColourModel::Hsv, {{361, 0, 0}}));
    EXPECT_FALSE(in_model_range(ColourModel::Hsv, {{0, 101, 0}}));
    EXPECT_TRUE(in_model_range(ColourModel::Rgb, {{255, 255, 255}}));
    EXPECT_FALSE(in_model_range(ColourModel::Rgb, {{300, 0, 0}}));
    EXPECT_FALSE(in_model_range(ColourModel::Ymc, {{0, -1, 0}}));
    EXPECT_EQ(colour_model_from_setting(2), ColourModel::Hsv);
    EXPECT_EQ(colour_model_from_setting(9), ColourModel::Rgb);
}

} // namespace
