#include "app/imageops/palette_edits.h"
#include "tests/support/drawing_fixture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

using namespace drawing_test;

namespace {

constexpr int kWidth = 9; // crosses the 4-byte row padding
constexpr int kHeight = 5;

// Three layers of random pixels over a palette of distinct colours, each
// layer with its own key and background colour.
DocumentPtr layered(std::mt19937& rng) {
    DocumentPtr doc = picture(kWidth, kHeight);
    RGBQUAD* table = bottom_layer(*doc)->image->colour_table();
    for (int i = 0; i < 256; ++i)
        table[i] = RGBQUAD{BYTE(i), BYTE(255 - i), BYTE(i * 7), 0};
    update_palette(*doc);
    add_layer_above(*doc);
    add_layer_above(*doc);
    std::uniform_int_distribution<int> pick(0, 15);
    const int keys[] = {3, 7, 255};
    int k = 0;
    for (LayerNode* n = doc->layers->next; n != doc->layers; n = n->next, ++k) {
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                at(*n->layer->image, x, y) = BYTE(pick(rng));
        n->layer->key_colour = keys[k];
        n->layer->background_colour = 7 - k;
        take_undo_copy(*n->layer);
    }
    return doc;
}

// What a layer shows: each pixel's colour, or "transparent" for its key,
// and its background colour.
struct Look {
    std::vector<std::uint32_t> pixels;
    std::uint32_t background;
    bool operator==(const Look&) const = default;
};

constexpr std::uint32_t kTransparent = 0xFF000000;

std::uint32_t rgb_of(const RGBQUAD& q) {
    return std::uint32_t(q.rgbRed) << 16 | std::uint32_t(q.rgbGreen) << 8 | q.rgbBlue;
}

std::vector<Look> look_of(PictureDocument& doc) {
    std::vector<Look> looks;
    for (LayerNode* n = doc.layers->next; n != doc.layers; n = n->next) {
        Layer& layer = *n->layer;
        const RGBQUAD* table = layer.image->colour_table();
        Look look{{}, rgb_of(table[layer.background_colour])};
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                const BYTE p = at(*layer.image, x, y);
                look.pixels.push_back(p == layer.key_colour ? kTransparent : rgb_of(table[p]));
            }
        looks.push_back(look);
    }
    return looks;
}

TEST(PaletteEdits, SwapAndArrangeKeepEveryLayersLook) {
    std::mt19937 rng(16);
    struct Case {
        const char* what;
        void (*edit)(PictureDocument&);
    };
    const Case cases[] = {
        {"swap a key with a plain colour",
         [](PictureDocument& d) { swap_palette_colours(d, 3, 5); }},
        {"swap two keys", [](PictureDocument& d) { swap_palette_colours(d, 7, 255); }},
        {"swap an index with itself", [](PictureDocument& d) { swap_palette_colours(d, 4, 4); }},
        {"arrange a reversed palette",
         [](PictureDocument& d) {
             const RGBQUAD* old = current_layer(d)->image->colour_table();
             RGBQUAD reversed[256];
             for (int i = 0; i < 256; ++i)
                 reversed[i] = old[255 - i];
             install_palette(d, reversed, true);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DocumentPtr doc = layered(rng);
        const std::vector<Look> before = look_of(*doc);
        c.edit(*doc);
        EXPECT_EQ(look_of(*doc), before);
        EXPECT_TRUE(doc->flags & kDocModified);
        // Every layer shares the edited palette.
        for (LayerNode* n = doc->layers->next; n != doc->layers; n = n->next)
            EXPECT_EQ(
                std::memcmp(n->layer->image->colour_table(), doc->composite->colour_table(), 1024),
                0);
    }
}

TEST(PaletteEdits, SwapMovesEntriesPixelsAndIndexes) {
    std::mt19937 rng(3);
    DocumentPtr doc = layered(rng);
    Layer& bottom = *bottom_layer(*doc);
    fill(*bottom.image, 3);
    at(*bottom.image, 0, 0) = 5;
    const RGBQUAD three = bottom.image->colour_table()[3];
    swap_palette_colours(*doc, 3, 5);
    EXPECT_EQ(at(*bottom.image, 0, 0), 3);
    EXPECT_EQ(at(*bottom.image, 1, 0), 5);
    EXPECT_EQ(rgb_of(bottom.image->colour_table()[5]), rgb_of(three));
    EXPECT_EQ(bottom.key_colour, 5);
    // The undo copy holds the picture as it was, colour table included.
    EXPECT_EQ(at(*bottom.undo_copy, 1, 0), 3);
    EXPECT_EQ(rgb_of(bottom.undo_copy->colour_table()[3]), rgb_of(three));
}

TEST(PaletteEdits, ArrangeMovesToNearestAndPlainPasteKeepsIndexes) {
    DocumentPtr doc = picture(kWidth, kHeight, 1);
    Layer& layer = *bottom_layer(*doc);
    layer.key_colour = 1;
    RGBQUAD* table = layer.image->colour_table();
    table[1] = RGBQUAD{100, 100, 100, 0};
    RGBQUAD incoming[256];
    std::memcpy(incoming, table, sizeof incoming);
    incoming[1] = RGBQUAD{0, 0, 0, 0};
    incoming[200] = RGBQUAD{101, 100, 100, 0};
    BYTE map[256];
    arrange_map(table, incoming, map);
    EXPECT_EQ(map[1], 200);
    EXPECT_EQ(map[2], 2); // unchanged colours keep their index

    install_palette(*doc, incoming, false);
    EXPECT_EQ(at(*layer.image, 0, 0), 1);
    EXPECT_EQ(layer.key_colour, 1);
    install_palette(*doc, incoming, true); // the same table: nothing moves
    EXPECT_EQ(at(*layer.image, 0, 0), 1);
}

TEST(PaletteEdits, PastedRangeStopsAtTheLastEntry) {
    RGBQUAD current[256] = {}, source[256], result[256];
    for (int i = 0; i < 256; ++i)
        source[i] = RGBQUAD{BYTE(i), 1, 2, 3};
    pasted_table(current, source, {0, 19, 250}, result);
    for (int i = 0; i < 256; ++i)
        EXPECT_EQ(result[i].rgbBlue, i >= 250 ? i - 250 : 0) << i;
    EXPECT_TRUE(valid_paste_range({0, 255, 255}));
    const PasteRange bad[] = {{5, 4, 0}, {-1, 4, 0}, {0, 256, 0}, {0, 4, 256}, {0, 4, -1}};
    for (const PasteRange& r : bad)
        EXPECT_FALSE(valid_paste_range(r));
}

TEST(PaletteEdits, GradationStepsBetweenTheEnds) {
    DocumentPtr doc = picture(kWidth, kHeight);
    RGBQUAD* table = bottom_layer(*doc)->image->colour_table();
    table[10] = RGBQUAD{0, 100, 200, 0};
    table[14] = RGBQUAD{200, 0, 201, 0};
    EXPECT_FALSE(grade_palette(*doc, 10, 11));
    EXPECT_FALSE(doc->flags & kDocModified);
    ASSERT_TRUE(grade_palette(*doc, 14, 10));
    table = bottom_layer(*doc)->image->colour_table();
    const BYTE blue[] = {0, 50, 100, 150, 200}, green[] = {100, 75, 50, 25, 0},
               red[] = {200, 200, 200, 200, 201};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(table[10 + i].rgbBlue, blue[i]) << i;
        EXPECT_EQ(table[10 + i].rgbGreen, green[i]) << i;
        EXPECT_EQ(table[10 + i].rgbRed, red[i]) << i;
    }
}

TEST(PaletteEdits, CopyAndSetReachEveryLayer) {
    std::mt19937 rng(5);
    DocumentPtr doc = layered(rng);
    RGBQUAD* table = current_layer(*doc)->image->colour_table();
    table[3] = RGBQUAD{1, 2, 3, 4};
    copy_palette_colour(*doc, 7, 3);
    set_palette_colour(*doc, 9, 10, 20, 30);
    for (LayerNode* n = doc->layers->next; n != doc->layers; n = n->next) {
        const RGBQUAD* t = n->layer->image->colour_table();
        EXPECT_EQ(std::memcmp(&t[7], &t[3], sizeof(RGBQUAD)), 0);
        EXPECT_EQ(rgb_of(t[9]), 0x0A141Eu);
    }
    EXPECT_EQ(rgb_of(doc->composite->colour_table()[9]), 0x0A141Eu);
}

} // namespace
