#include "app/session/filter_run.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

// What the filter saw, and what it does: adds 1 to every pixel of the
// target; optionally rewrites palette entry 5 and reports it.
std::vector<FilterRequest> g_calls;
std::vector<BYTE> g_copy_first_pixel;
bool g_change_palette = false;

int VL_CDECL add_one(FilterRequest* r) {
    g_calls.push_back(*r);
    g_copy_first_pixel.push_back(r->copy_bits[0]);
    const int w = r->target->biWidth, h = r->target->biHeight, stride = (w + 3) & ~3;
    for (int i = 0; i < stride * h; ++i)
        r->target_bits[i] = BYTE(r->target_bits[i] + 1);
    if (g_change_palette) {
        auto* table =
            reinterpret_cast<RGBQUAD*>(reinterpret_cast<BYTE*>(r->target) + r->target->biSize);
        table[5] = RGBQUAD{1, 2, 3, 0};
        r->flags |= kFilterPaletteChanged;
    }
    return 1;
}

const FilterEntry kAddOne{"Add One", add_one, nullptr};
HWND canvas() {
    return reinterpret_cast<HWND>(std::intptr_t(0x1234));
}

BYTE pixel(const Surface* s, int x, int y) {
    return s->bits[std::size_t(s->height() - 1 - y) * s->stride() + x];
}
void fill(Surface* s, BYTE value) {
    std::memset(s->bits, value, s->pixel_bytes());
}

class FilterRun : public ::testing::Test {
  protected:
    void SetUp() override {
        g_calls.clear();
        g_copy_first_pixel.clear();
        g_change_palette = false;
        doc = new_picture(6, 5, nullptr, nullptr);
        ASSERT_NE(doc, nullptr);
        ASSERT_NE(add_layer_above(*doc), nullptr);
        ASSERT_NE(add_layer_above(*doc), nullptr);
        for (int i = 1; i <= 3; ++i)
            fill(layer(i)->image, BYTE(10 * i));
        doc->current = layer_node_at(*doc, 2);
        doc->flags &= ~kDocModified;
    }
    void TearDown() override { free_document(doc); }
    Layer* layer(int position) { return layer_node_at(*doc, position)->layer; }

    PictureDocument* doc = nullptr;
};

} // namespace

TEST_F(FilterRun, CurrentLayerOnlyGetsTheCallWithItsUndoCopy) {
    doc->left_colour = 4;
    doc->right_colour = 9;
    doc->tone_level = 8;
    doc->flags |= kDocMaskOn | kDocKeyColourEnabled;
    layer(2)->key_colour = 17;
    layer(2)->background_colour = 18;

    const FilterResult result = apply_filter(*doc, kAddOne, canvas());
    ASSERT_TRUE(result.ran);
    EXPECT_FALSE(result.palette_changed);
    ASSERT_EQ(g_calls.size(), 1u);
    const FilterRequest& r = g_calls[0];
    EXPECT_EQ(r.size, sizeof(FilterRequest));
    EXPECT_EQ(r.flags, kFilterCurrentLayer | kFilterPictureView | kFilterMaskOn | kFilterKeying);
    EXPECT_EQ(r.target, layer(2)->image->info);
    EXPECT_EQ(r.mask_bits, layer(2)->mask->bits);
    EXPECT_EQ(r.copy, layer(2)->undo_copy->info);
    EXPECT_EQ(g_copy_first_pixel[0], 20); // taken before the call
    EXPECT_EQ(r.window, canvas());
    EXPECT_EQ(r.left_colour, 4u);
    EXPECT_EQ(r.right_colour, 9u);
    EXPECT_EQ(r.key_colour, 17u);
    EXPECT_EQ(r.background_colour, 18u);
    EXPECT_EQ(r.tone_level, 8u);

    EXPECT_EQ(pixel(layer(2)->image, 0, 0), 21);
    EXPECT_EQ(pixel(layer(2)->undo_copy, 0, 0), 20);
    EXPECT_EQ(pixel(layer(1)->image, 0, 0), 10);
    EXPECT_EQ(pixel(layer(3)->image, 0, 0), 30);
    EXPECT_TRUE(doc->flags & kDocModified);
}

TEST_F(FilterRun, MoveAllLayersCallsEveryLayerBottomUpAgainstTheComposite) {
    doc->flags |= kDocMoveAllLayers;
    ASSERT_TRUE(apply_filter(*doc, kAddOne, canvas()).ran);
    ASSERT_EQ(g_calls.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(g_calls[i].target, layer(i + 1)->image->info);
        EXPECT_EQ(g_calls[i].copy, doc->composite->info);
        EXPECT_EQ(g_calls[i].flags & kFilterCurrentLayer, i == 1 ? kFilterCurrentLayer : 0u);
        EXPECT_EQ(pixel(layer(i + 1)->image, 5, 4), 10 * (i + 1) + 1);
    }
}

TEST_F(FilterRun, MaskViewFiltersTheMaskPlaneAgainstACopyOfIt) {
    doc->flags |= kDocMaskView;
    fill(layer(2)->mask, 200);
    ASSERT_TRUE(apply_filter(*doc, kAddOne, canvas()).ran);
    ASSERT_EQ(g_calls.size(), 1u);
    const FilterRequest& r = g_calls[0];
    EXPECT_EQ(r.flags, kFilterCurrentLayer | kFilterMaskView);
    EXPECT_EQ(r.target, layer(2)->mask->info);
    EXPECT_EQ(r.mask_bits, nullptr);
    EXPECT_NE(r.copy, layer(2)->mask->info);
    EXPECT_EQ(g_copy_first_pixel[0], 200);
    EXPECT_EQ(pixel(layer(2)->mask, 3, 3), 201);
    EXPECT_EQ(pixel(layer(2)->image, 3, 3), 20);
}

TEST_F(FilterRun, AChangedColourTableBecomesThePaletteOfEveryLayer) {
    g_change_palette = true;
    const FilterResult result = apply_filter(*doc, kAddOne, canvas());
    EXPECT_TRUE(result.palette_changed);
    for (int i = 1; i <= 3; ++i) {
        const RGBQUAD entry = layer(i)->image->colour_table()[5];
        EXPECT_EQ(entry.rgbBlue, 1) << i;
        EXPECT_EQ(entry.rgbRed, 3) << i;
    }
    EXPECT_EQ(doc->composite->colour_table()[5].rgbGreen, 2);
}

TEST_F(FilterRun, PaletteChangedOnAnotherLayerStillReachesTheCurrentOne) {
    doc->flags |= kDocMoveAllLayers;
    g_change_palette = true;
    EXPECT_TRUE(apply_filter(*doc, kAddOne, canvas()).palette_changed);
    EXPECT_EQ(layer(2)->image->colour_table()[5].rgbGreen, 2);
    EXPECT_EQ(layer(1)->image->colour_table()[5].rgbGreen, 2);
}

namespace {

// A 2 x 2 floating area lifted at (1, 1), holding the old pixels 20.
void lift_area(PictureDocument& doc) {
    doc.floating = create_surface(2, 2);
    std::memset(doc.floating->bits, 20, doc.floating->pixel_bytes());
    doc.floating_rect = RECT{1, 1, 2, 2};
    doc.anchor_point = POINT{1, 1};
    doc.flags |= kDocFloatingFrame;
}

} // namespace

TEST_F(FilterRun, UnmovedFloatingAreaTakesTheFilteredPixels) {
    lift_area(*doc);
    ASSERT_TRUE(apply_filter(*doc, kAddOne, canvas()).ran);
    const FilterRequest& r = g_calls[0];
    EXPECT_TRUE(r.flags & kFilterArea);
    EXPECT_EQ(r.area_left, 1);
    EXPECT_EQ(r.area_top, 1);
    EXPECT_EQ(r.area_width, 2);
    EXPECT_EQ(r.area_height, 2);
    EXPECT_EQ(pixel(doc->floating, 0, 0), 21);
    EXPECT_EQ(pixel(doc->floating, 1, 1), 21);
}

TEST_F(FilterRun, UnmovedFloatingAreaWithAllLayersReadsTheFlattenedLayers) {
    doc->flags |= kDocMoveAllLayers;
    lift_area(*doc);
    ASSERT_TRUE(apply_filter(*doc, kAddOne, canvas()).ran);
    // The top layer (31 after the filter) covers the others where it is not
    // its key colour 255; the old floating pixels (20) are gone.
    EXPECT_EQ(pixel(doc->floating, 0, 0), 31);
}

TEST_F(FilterRun, MovedOrPastedFloatingAreaKeepsItsPixels) {
    lift_area(*doc);
    doc->floating_rect = RECT{3, 1, 4, 2}; // dragged two pixels right
    apply_filter(*doc, kAddOne, canvas());
    EXPECT_EQ(pixel(doc->floating, 0, 0), 20);

    g_calls.clear();
    doc->floating_rect = RECT{1, 1, 2, 2};
    doc->flags |= kDocPasted;
    apply_filter(*doc, kAddOne, canvas());
    EXPECT_EQ(pixel(doc->floating, 0, 0), 20);
}
