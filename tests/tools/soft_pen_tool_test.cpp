#include "app/tools/soft_pen_tool.h"

#include "tests/support/drawing_fixture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

using namespace drawing_test;

namespace {

// ---- The reference: the rules written out plainly ----

int scan(const RGBQUAD* p, int r, int g, int b, int* distance) {
    int best = -1, index = 0;
    for (int i = 0; i < 256; ++i) {
        const int d =
            std::abs(p[i].rgbRed - r) + std::abs(p[i].rgbGreen - g) + std::abs(p[i].rgbBlue - b);
        if (best < 0 || d < best) best = d, index = i;
        if (d == 0) break;
    }
    *distance = best;
    return index;
}

const int kTones[17] = {0x0000, 0x0001, 0x0401, 0x0405, 0x0505, 0x0525, 0x8525, 0x85A5, 0xA5A5,
                        0xA5A7, 0xADA7, 0xADAF, 0xAFAF, 0xAFBF, 0xEFBF, 0xEFFF, 0xFFFF};

BYTE reference_pixel(Surface& src, const RGBQUAD* p, Surface* mask, int x, int y, SoftMode mode,
                     int k, int value) {
    const int w = src.width(), h = src.height();
    long R = 100 * p[at(src, x, y)].rgbRed, G = 100 * p[at(src, x, y)].rgbGreen,
         B = 100 * p[at(src, x, y)].rgbBlue, W = 100;
    const int nx[] = {x - 1, x + 1, x, x}, ny[] = {y, y, y - 1, y + 1};
    for (int i = 0; i < 4; ++i) {
        if (nx[i] < 0 || nx[i] >= w || ny[i] < 0 || ny[i] >= h) continue;
        if (mask && at(*mask, nx[i], ny[i]) == 0) continue;
        const RGBQUAD& c = p[at(src, nx[i], ny[i])];
        R += k * c.rgbRed, G += k * c.rgbGreen, B += k * c.rgbBlue, W += k;
    }
    if (mode == SoftMode::darken) {
        const long M = std::max({R, G, B});
        R -= M * value / 100, G -= M * value / 100, B -= M * value / 100;
    } else if (mode == SoftMode::lighten) {
        const long M = W * 255 - std::min({R, G, B});
        R += M * value / 100, G += M * value / 100, B += M * value / 100;
    }
    const int r = int(R / W), g = int(G / W), b = int(B / W);
    int d1, d2;
    const int c1 = scan(p, r, g, b, &d1);
    if (d1 == 0 || (x + y) % 2) return BYTE(c1);
    const int c2 =
        scan(p, 2 * r - p[c1].rgbRed, 2 * g - p[c1].rgbGreen, 2 * b - p[c1].rgbBlue, &d2);
    const int level = 16 * d1 / (d2 + 2 * d1);
    return BYTE((kTones[level] >> ((y & 3) * 4 + (x & 3))) & 1 ? c2 : c1);
}

// A palette of few distinct colours, each repeated, so ties are common.
void random_palette(RGBQUAD* p, std::mt19937& random, int distinct) {
    RGBQUAD base[64];
    for (int i = 0; i < distinct; ++i)
        base[i] = {BYTE(random()), BYTE(random()), BYTE(random()), 0};
    for (int i = 0; i < 256; ++i)
        p[i] = base[random() % distinct];
}

TEST(PaletteSearch, FindsWhatThePlainScanFindsTiesIncluded) {
    std::mt19937 random(11);
    RGBQUAD p[256];
    for (int round = 0; round < 50; ++round) {
        random_palette(p, random, 1 + int(random() % 40));
        PaletteSearch search(p);
        for (int i = 0; i < 200; ++i) {
            const int r = int(random() % 1786) - 765, g = int(random() % 1786) - 765,
                      b = int(random() % 1786) - 765;
            int d;
            const int want = scan(p, r, g, b, &d);
            const Nearest got = search.nearest(r, g, b);
            ASSERT_EQ(got.index, want) << r << "," << g << "," << b;
            ASSERT_EQ(got.distance, d);
            ASSERT_EQ(search.nearest(r, g, b).index, want) << "remembered";
            EXPECT_EQ(nearest_by_scan(p, r, g, b).index, want);
        }
        // An exact colour finds its lowest index.
        const int i = int(random() % 256);
        int d;
        EXPECT_EQ(search.nearest(p[i].rgbRed, p[i].rgbGreen, p[i].rgbBlue).index,
                  scan(p, p[i].rgbRed, p[i].rgbGreen, p[i].rgbBlue, &d));
    }
}

TEST(SoftPens, AgreeWithThePlainRulesOnRandomPictures) {
    std::mt19937 random(3);
    // One search for every round: a changed palette must not answer from
    // what the last one remembered.
    PaletteSearch search;
    for (int round = 0; round < 60; ++round) {
        const int w = 3 + int(random() % 9), h = 3 + int(random() % 7);
        const SoftMode mode = SoftMode(round % 3);
        const SoftPenValues values{int(random() % 101), int(random() % 101)};
        const bool masked = round % 4 == 0;
        SCOPED_TRACE(round);
        DocumentPtr doc = picture(w, h);
        Layer& layer = *current_layer(*doc);
        RGBQUAD table[256];
        random_palette(table, random, 2 + int(random() % 30));
        layer.image->set_palette(table);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                at(*layer.undo_copy, x, y) = BYTE(random() % 256);
                at(*layer.image, x, y) = BYTE(random() % 256); // painted since the press
                at(*layer.mask, x, y) = random() % 3 ? 255 : 0;
                at(*doc->stroke_surface, x, y) = random() % 4 ? 0 : 255;
            }
        if (masked) doc->flags |= kDocMaskOn;
        doc->stroke_rect = {0, 0, w, h};
        doc->current_point = {1, 1};
        Surface before;
        ASSERT_TRUE(before.create(w, h));
        layer.image->copy_to(before);
        ASSERT_TRUE(soft_pen_filter(*doc, mode, values, false, search));
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const bool filtered =
                    at(*doc->stroke_surface, x, y) == 0 && (!masked || at(*layer.mask, x, y) != 0);
                const BYTE want = filtered ? reference_pixel(*layer.undo_copy, table,
                                                             masked ? layer.mask : nullptr, x, y,
                                                             mode, values.weight, values.value)
                                           : at(before, x, y);
                ASSERT_EQ(at(*layer.image, x, y), want) << x << "," << y;
            }
        EXPECT_EQ(grid(*doc->composite), grid(*layer.image));
        EXPECT_EQ(doc->flags & kNotifyBits, kNotifyPresent | kNotifyZoomWindow);
    }
}

TEST(SoftPens, EdgeCases) {
    DocumentPtr doc = picture(3, 1, 1);
    PaletteSearch search;
    Layer& layer = *current_layer(*doc);
    RGBQUAD* table = layer.image->colour_table();
    table[0] = {0, 0, 0, 0};
    table[1] = {0, 0, 255, 0}; // pure red
    table[2] = {0, 0, 255, 0}; // the same red again
    fill(*layer.undo_copy, 2);
    fill(*doc->stroke_surface, 0);
    doc->stroke_rect = {0, 0, 3, 1};
    doc->current_point = {1, 0};

    ASSERT_TRUE(soft_pen_filter(*doc, SoftMode::soften, {0, 0}, false, search));
    EXPECT_EQ(grid(*layer.image), "111\n") << "value 0: the lowest index of the own colour";

    ASSERT_TRUE(soft_pen_filter(*doc, SoftMode::darken, {100, 100}, false, search));
    EXPECT_EQ(grid(*layer.image), "000\n") << "red darkened fully is black";
    const Rgb t = soft_target(*layer.undo_copy, table, nullptr, 0, 0, SoftMode::darken, {100, 100});
    EXPECT_EQ(t.red, 0);
    EXPECT_EQ(t.green, -255);
    const Rgb light =
        soft_target(*layer.undo_copy, table, nullptr, 0, 0, SoftMode::lighten, {100, 100});
    EXPECT_EQ(std::min({light.red, light.green, light.blue}), 255);

    fill(*layer.image, 7);
    doc->previous_point = doc->current_point;
    EXPECT_FALSE(soft_pen_filter(*doc, SoftMode::soften, {100, 0}, false, search)) << "no movement";
    doc->current_point = {0, 0};
    doc->flags |= kDocMaskView;
    EXPECT_FALSE(soft_pen_filter(*doc, SoftMode::soften, {100, 0}, false, search)) << "mask view";
    EXPECT_EQ(grid(*layer.image), "777\n");
}

} // namespace
