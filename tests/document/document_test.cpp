#include "app/document/picture.h"
#include "engine/rasko.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

struct DocumentDeleter {
    void operator()(PictureDocument* doc) const { free_document(doc); }
};
using DocPtr = std::unique_ptr<PictureDocument, DocumentDeleter>;

// Every test starts with the failure switches off and checks that it gave
// back every GDI object it made.
class DocumentTest : public ::testing::Test {
  protected:
    void SetUp() override {
        native::fail_dib_sections_after(-1);
        native::set_global_alloc_failure(false);
        native::reset_message_boxes();
        gdi_objects_ = native::live_gdi_objects();
    }
    void TearDown() override {
        native::fail_dib_sections_after(-1);
        native::set_global_alloc_failure(false);
        EXPECT_EQ(native::live_gdi_objects(), gdi_objects_);
    }

  private:
    int gdi_objects_ = 0;
};

BYTE& pixel(Surface& s, int x, int y) {
    return s.bits[(s.height() - 1 - y) * s.stride() + x];
}

bool same_table(const Surface& a, const Surface& b) {
    return std::memcmp(a.colour_table(), b.colour_table(), 1024) == 0;
}

bool all_bytes(const Surface& s, BYTE value) {
    for (std::size_t i = 0; i < s.pixel_bytes(); ++i)
        if (s.bits[i] != value) return false;
    return true;
}

bool same_pixels(const Surface& a, const Surface& b) {
    return a.pixel_bytes() == b.pixel_bytes() && std::memcmp(a.bits, b.bits, a.pixel_bytes()) == 0;
}

// The logical palette and the DIB section's colour table both follow the
// header's colour table.
void expect_palette_in_step(const Surface& s) {
    const RGBQUAD* table = s.colour_table();
    RGBQUAD section[256];
    ASSERT_EQ(GetDIBColorTable(s.dc, 0, 256, section), 256u);
    EXPECT_EQ(std::memcmp(section, table, 1024), 0);
    ASSERT_EQ(s.logical_palette->palNumEntries, 256);
    for (int i = 0; i < 256; ++i) {
        const PALETTEENTRY& e = s.logical_palette->palPalEntry[i];
        ASSERT_EQ(e.peRed, table[i].rgbRed) << i;
        ASSERT_EQ(e.peGreen, table[i].rgbGreen) << i;
        ASSERT_EQ(e.peBlue, table[i].rgbBlue) << i;
    }
}

TEST_F(DocumentTest, SurfaceIsADibSectionWithItsPaletteInStep) {
    for (int width : {1, 4, 5, 7, 8, 9, 33}) {
        Surface s;
        ASSERT_TRUE(s.create(width, 3));
        EXPECT_EQ(s.info->biSize, 40u);
        EXPECT_EQ(s.info->biWidth, width);
        EXPECT_EQ(s.info->biHeight, 3);
        EXPECT_EQ(s.info->biBitCount, 8);
        EXPECT_EQ(s.stride(), (width + 3) & ~3);
        ASSERT_TRUE(s.bits && s.bitmap && s.dc && s.previous_bitmap);
        EXPECT_TRUE(all_bytes(s, 0));
        expect_palette_in_step(s);
    }
    Surface s;
    ASSERT_TRUE(s.create(2, 2));
    RGBQUAD table[256];
    for (int i = 0; i < 256; ++i)
        table[i] = {BYTE(i), BYTE(255 - i), BYTE(i * 7), 0};
    s.set_palette(table);
    EXPECT_EQ(std::memcmp(s.colour_table(), table, 1024), 0);
    expect_palette_in_step(s);
}

TEST_F(DocumentTest, SurfaceCopyToTakesHeaderTableAndEveryRowByte) {
    Surface a, b, other_size;
    ASSERT_TRUE(a.create(5, 2) && b.create(5, 2) && other_size.create(6, 2));
    for (std::size_t i = 0; i < a.pixel_bytes(); ++i)
        a.bits[i] = BYTE(i * 13 + 1);
    a.colour_table()[3] = {1, 2, 3, 0};
    a.refresh_palette();
    a.copy_to(b);
    EXPECT_TRUE(same_pixels(a, b)); // filler bytes included
    EXPECT_TRUE(same_table(a, b));
    expect_palette_in_step(b);
    // A surface of another size is left alone rather than misdescribed.
    a.copy_to(other_size);
    EXPECT_EQ(other_size.width(), 6);
    EXPECT_TRUE(all_bytes(other_size, 0));
}

TEST_F(DocumentTest, SurfaceCreationFailureLeavesNothing) {
    Surface s;
    native::fail_dib_sections_after(0);
    EXPECT_FALSE(s.create(4, 4));
    EXPECT_TRUE(!s.info && !s.bits && !s.bitmap && !s.dc && !s.logical_palette);
    native::fail_dib_sections_after(-1);
    native::set_global_alloc_failure(true);
    EXPECT_FALSE(s.create(4, 4));
    EXPECT_TRUE(!s.info && !s.bits && !s.bitmap && !s.dc && !s.logical_palette);
    native::set_global_alloc_failure(false);
    EXPECT_FALSE(s.create(0, 4));
    EXPECT_EQ(create_surface(4, 0), nullptr);
    // A surface that is created again gives back what it held.
    ASSERT_TRUE(s.create(3, 3));
    ASSERT_TRUE(s.create(9, 2));
    EXPECT_EQ(s.width(), 9);
}

TEST_F(DocumentTest, NewPictureHasOneFilledLayerAndTheInitialFields) {
    Surface pen;
    ASSERT_TRUE(pen.create(32, 32));
    DocPtr doc(new_picture(20, 10, &pen, nullptr));
    ASSERT_TRUE(doc);
    EXPECT_EQ(doc->layer_count, 1);
    EXPECT_EQ(doc->next_layer_number, 2);
    Layer* layer = bottom_layer(*doc);
    ASSERT_TRUE(layer);
    EXPECT_EQ(doc->current, layer_node_at(*doc, 1));
    EXPECT_EQ(doc->layers->previous, doc->current);
    EXPECT_STREQ(layer->name, "Layer:01");
    EXPECT_EQ(layer->flags, kLayerVisible);
    EXPECT_EQ(layer->key_colour, 255);
    EXPECT_EQ(layer->background_colour, 255);
    EXPECT_EQ(layer->opacity, 16);
    EXPECT_EQ(layer->interval, 50);
    EXPECT_EQ(layer->disposal, 0);
    EXPECT_EQ(layer->area.width, 20);
    EXPECT_EQ(layer->area.height, 10);
    EXPECT_TRUE(all_bytes(*layer->image, 255)); // row filler too
    EXPECT_TRUE(all_bytes(*layer->mask, 255));
    EXPECT_TRUE(same_pixels(*layer->image, *layer->undo_copy));
    EXPECT_EQ(picture_width(*doc), 20);
    EXPECT_EQ(picture_height(*doc), 10);
    EXPECT_EQ(doc->composite->width(), 20);
    EXPECT_EQ(doc->stroke_surface->height(), 10);
    EXPECT_EQ(doc->colour_swatch->width(), 16);
    EXPECT_EQ(doc->zoom_window_area.width, 20);
    EXPECT_EQ(doc->zoom_window_area.height, 10);
    EXPECT_EQ(doc->update_rect.right, 20);
    EXPECT_EQ(doc->update_rect.bottom, 10);
    EXPECT_EQ(doc->current_pen, &pen);
    EXPECT_STREQ(doc->file_name, "untitled.vlx");
    EXPECT_EQ(doc->white_index, 255);
    EXPECT_EQ(doc->black_index, 0);
    EXPECT_EQ(doc->flags, 0u);
    ASSERT_TRUE(doc->palette);
    PALETTEENTRY entry[256];
    ASSERT_EQ(GetPaletteEntries(doc->palette, 0, 256, entry), 256u);
    EXPECT_EQ(entry[9].peRed, 166);
    EXPECT_TRUE(same_table(*layer->image, *doc->composite));
    EXPECT_TRUE(same_table(*layer->image, *doc->colour_swatch));

    DocPtr tiny(new_picture(1, 1, &pen, nullptr));
    ASSERT_TRUE(tiny);
    EXPECT_EQ(bottom_layer(*tiny)->image->stride(), 4);
    EXPECT_EQ(tiny->zoom_window_area.width, 1);
}

int paint_entry_zero_red(RGBQUAD* table) {
    table[0] = {0, 0, 255, 0};
    table[1] = {255, 255, 255, 0};
    return 1;
}

TEST_F(DocumentTest, NewPictureSpreadsTheDefaultPaletteEverywhere) {
    DocPtr doc(new_picture(8, 8, nullptr, paint_entry_zero_red));
    ASSERT_TRUE(doc);
    Layer* layer = bottom_layer(*doc);
    EXPECT_EQ(layer->image->colour_table()[0].rgbRed, 255);
    expect_palette_in_step(*layer->image);
    EXPECT_TRUE(same_table(*layer->image, *layer->undo_copy));
    EXPECT_TRUE(same_table(*layer->image, *doc->composite));
    EXPECT_TRUE(same_table(*layer->image, *doc->colour_swatch));
    EXPECT_EQ(doc->white_index, 1); // the lowest index wins a tie
    EXPECT_NE(doc->black_index, 0);
    PALETTEENTRY entry;
    GetPaletteEntries(doc->palette, 0, 1, &entry);
    EXPECT_EQ(entry.peRed, 255);
}

TEST_F(DocumentTest, NewPictureFailsCleanlyWhereverAllocationStops) {
    // Every surface New Picture makes, failing in turn: no document and no
    // object left behind (LeakSanitizer checks the memory).
    int made = 0;
    for (int successes = 0;; ++successes) {
        native::fail_dib_sections_after(successes);
        DocPtr doc(new_picture(32, 16, nullptr, nullptr));
        if (doc) {
            made = successes;
            break;
        }
    }
    EXPECT_EQ(made, 6); // swatch, image, undo copy, mask, composite, stroke surface
    native::fail_dib_sections_after(-1);
    native::set_global_alloc_failure(true);
    EXPECT_EQ(new_picture(32, 16, nullptr, nullptr), nullptr);
    native::set_global_alloc_failure(false);
    // A picture too large for the address space yields no document.
    EXPECT_EQ(new_picture(32767, 32767 * 4, nullptr, nullptr), nullptr);
}

TEST_F(DocumentTest, AddLayerAboveFollowsTheBottomLayerAndTheCurrentPalette) {
    DocPtr doc(new_picture(7, 3, nullptr, nullptr));
    ASSERT_TRUE(doc);
    Layer* bottom = bottom_layer(*doc);
    bottom->key_colour = 9;
    bottom->background_colour = 4;
    bottom->image->colour_table()[5] = {9, 8, 7, 0};
    bottom->image->refresh_palette();
    Layer* second = add_layer_above(*doc);
    ASSERT_TRUE(second);
    EXPECT_STREQ(second->name, "Layer:02");
    EXPECT_EQ(second->flags, kLayerVisible | kLayerDeletable);
    EXPECT_EQ(second->key_colour, 9);
    EXPECT_EQ(second->background_colour, 4);
    EXPECT_TRUE(all_bytes(*second->image, 9));
    EXPECT_TRUE(same_pixels(*second->image, *second->undo_copy));
    EXPECT_TRUE(same_table(*second->image, *bottom->image));
    expect_palette_in_step(*second->image);
    EXPECT_EQ(doc->layer_count, 2);
    EXPECT_EQ(current_layer(*doc), second);

    Layer* third = add_layer_above(*doc);
    ASSERT_TRUE(third);
    EXPECT_STREQ(third->name, "Layer:03");
    EXPECT_EQ(layer_node_at(*doc, 1)->layer, bottom);
    EXPECT_EQ(layer_node_at(*doc, 2)->layer, second);
    EXPECT_EQ(layer_node_at(*doc, 3)->layer, third);
    EXPECT_EQ(layer_node_at(*doc, 4), doc->layers);
    EXPECT_EQ(doc->layers->previous->layer, third);
    EXPECT_EQ(doc->layers->previous->previous->layer, second);

    // A layer that cannot be made leaves the document as it was.
    native::fail_dib_sections_after(2);
    EXPECT_EQ(add_layer_above(*doc), nullptr);
    EXPECT_EQ(doc->layer_count, 3);
    EXPECT_EQ(doc->next_layer_number, 4);
    EXPECT_EQ(current_layer(*doc), third);
    EXPECT_EQ(layer_node_at(*doc, 4), doc->layers);
}

TEST_F(DocumentTest, MaskModeTurnsTheDrawingColoursBlackOrWhite) {
    DocPtr doc(create_document());
    ASSERT_TRUE(doc);
    doc->flags = kDocMaskOn;
    doc->left_colour = 7;  // 192, 192, 192: bright
    doc->right_colour = 1; // 128, 0, 0: dark
    doc->tone_level = 8;
    ASSERT_TRUE(create_bottom_layer(*doc, 4, 4));
    EXPECT_EQ(doc->left_colour, 255);
    EXPECT_EQ(doc->right_colour, 0);
    for (std::size_t i = 0; i < doc->colour_swatch->pixel_bytes(); ++i) {
        const BYTE v = doc->colour_swatch->bits[i];
        ASSERT_TRUE(v == 0 || v == 255) << i;
    }
    EXPECT_EQ(create_bottom_layer(*doc, 4, 4), false); // only into an empty list
}

TEST_F(DocumentTest, UpdatePaletteReselectsInTheWindowDcAndFreeingGivesItBack) {
    DocPtr doc(new_picture(4, 4, nullptr, nullptr));
    ASSERT_TRUE(doc);
    HDC window_dc = CreateCompatibleDC(nullptr);
    const HPALETTE original = SelectPalette(window_dc, doc->palette, FALSE);
    doc->window_dc = window_dc;
    doc->previous_palette = original;
    Layer* layer = current_layer(*doc);
    ASSERT_TRUE(add_layer_above(*doc));
    layer = current_layer(*doc);
    layer->image->colour_table()[200] = {1, 1, 1, 0};
    update_palette(*doc);
    Layer* bottom = bottom_layer(*doc);
    EXPECT_TRUE(same_table(*bottom->image, *layer->image));
    expect_palette_in_step(*bottom->image);
    const HPALETTE in_dc = SelectPalette(window_dc, original, FALSE);
    EXPECT_EQ(in_dc, doc->palette);
    SelectPalette(window_dc, in_dc, FALSE);
    PALETTEENTRY entry;
    GetPaletteEntries(doc->palette, 200, 1, &entry);
    EXPECT_EQ(entry.peRed, 1);
    EXPECT_EQ(doc->previous_palette, original);
    doc.reset();
    // The DC holds its own palette again, so the freed one was deletable.
    EXPECT_EQ(SelectPalette(window_dc, original, FALSE), original);
    DeleteDC(window_dc);
}

void draw(Layer& layer, int x, int y, BYTE colour) {
    take_undo_copy(layer);
    pixel(*layer.image, x, y) = colour;
}

TEST_F(DocumentTest, UndoExchangesAndASecondUndoRedoes) {
    DocPtr doc(new_picture(5, 5, nullptr, nullptr));
    ASSERT_TRUE(doc);
    // Undo right after creation changes nothing.
    undo_exchange(*doc);
    EXPECT_TRUE(all_bytes(*current_layer(*doc)->image, 255));
    draw(*current_layer(*doc), 2, 3, 7);
    doc->update_rect = {1, 1, 2, 2};
    undo_exchange(*doc);
    EXPECT_EQ(pixel(*current_layer(*doc)->image, 2, 3), 255);
    EXPECT_EQ(doc->update_rect.right, 5);
    EXPECT_EQ(doc->update_rect.bottom, 5);
    undo_exchange(*doc);
    EXPECT_EQ(pixel(*current_layer(*doc)->image, 2, 3), 7);
    expect_palette_in_step(*current_layer(*doc)->image);
}

TEST_F(DocumentTest, SettlingKeepsUndoToTheLayerDrawnOnSince) {
    DocPtr doc(new_picture(5, 5, nullptr, nullptr));
    ASSERT_TRUE(doc);
    Layer* first = bottom_layer(*doc);
    Layer* second = add_layer_above(*doc);
    ASSERT_TRUE(second);
    doc->current = layer_node_at(*doc, 1);
    draw(*first, 0, 0, 1);
    // Switching the current layer settles the others.
    doc->current = layer_node_at(*doc, 2);
    settle_undo_copies(*doc);
    draw(*second, 1, 1, 2);
    undo_exchange(*doc);
    EXPECT_EQ(pixel(*first->image, 0, 0), 1);
    EXPECT_EQ(pixel(*current_layer(*doc)->image, 1, 1), 255);
    // Without the settle point the first layer is reverted as well.
    first = bottom_layer(*doc);
    doc->current = layer_node_at(*doc, 1);
    draw(*first, 4, 4, 3);
    doc->current = layer_node_at(*doc, 2);
    undo_exchange(*doc);
    EXPECT_EQ(pixel(*bottom_layer(*doc)->image, 4, 4), 255);
    EXPECT_EQ(pixel(*bottom_layer(*doc)->image, 0, 0), 1);
}

TEST_F(DocumentTest, UndoBringsBackTheColourTableOfEveryLayer) {
    DocPtr doc(new_picture(6, 2, nullptr, nullptr));
    ASSERT_TRUE(doc);
    ASSERT_TRUE(add_layer_above(*doc));
    std::vector<RGBQUAD> before(current_layer(*doc)->image->colour_table(),
                                current_layer(*doc)->image->colour_table() + 256);
    // A palette swap of 0 and 255 on every layer, after taking undo copies.
    for (LayerNode* node = doc->layers->next; node != doc->layers; node = node->next) {
        take_undo_copy(*node->layer);
        RaskoSwapPalette(node->layer->image->info, node->layer->image->bits, 0, 255);
    }
    update_palette(*doc);
    EXPECT_EQ(bottom_layer(*doc)->image->colour_table()[0].rgbRed, 255);
    EXPECT_EQ(bottom_layer(*doc)->image->bits[0], 0);
    undo_exchange(*doc);
    for (LayerNode* node = doc->layers->next; node != doc->layers; node = node->next) {
        EXPECT_EQ(std::memcmp(node->layer->image->colour_table(), before.data(), 1024), 0);
        expect_palette_in_step(*node->layer->image);
    }
    EXPECT_EQ(bottom_layer(*doc)->image->bits[0], 255);
    EXPECT_TRUE(same_table(*current_layer(*doc)->image, *doc->composite));
    EXPECT_EQ(doc->white_index, 255);
}

TEST_F(DocumentTest, AfterUndoEveryLayerCarriesTheCurrentLayersTable) {
    DocPtr doc(new_picture(4, 1, nullptr, nullptr));
    ASSERT_TRUE(doc);
    Layer* top = add_layer_above(*doc);
    ASSERT_TRUE(top);
    // Only the current layer's undo copy holds an older table.
    take_undo_copy(*top);
    for (LayerNode* node = doc->layers->next; node != doc->layers; node = node->next)
        node->layer->image->colour_table()[3] = {50, 60, 70, 0};
    update_palette(*doc);
    undo_exchange(*doc);
    EXPECT_EQ(current_layer(*doc)->image->colour_table()[3].rgbRed, 128);
    EXPECT_TRUE(same_table(*bottom_layer(*doc)->image, *current_layer(*doc)->image));
    expect_palette_in_step(*bottom_layer(*doc)->image);
}

} // namespace
