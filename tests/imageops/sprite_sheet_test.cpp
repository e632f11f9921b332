#include "app/imageops/sprite_sheet.h"
#include "tests/support/drawing_fixture.h"

#include <gtest/gtest.h>

namespace {

using drawing_test::at;
using drawing_test::DocumentPtr;
using drawing_test::fill;
using drawing_test::grid;

TEST(SpriteSheetTest, LayoutForCells) {
    struct Case {
        int cells, cell_width, cell_height, columns, padding;
        bool ok;
        int want_columns, want_rows, want_width, want_height;
    };
    const Case cases[] = {
        {1, 8, 8, 0, 0, true, 1, 1, 8, 8},
        {3, 2, 2, 2, 1, true, 2, 2, 5, 5},
        {5, 4, 3, 0, 2, true, 3, 2, 16, 8}, // square grid: 3 columns
        {64, 256, 256, 0, 0, true, 8, 8, 2048, 2048},
        {4, 10, 10, 9, 0, true, 4, 1, 40, 10}, // more columns than cells
        {2, 1, 1, 1, 3, true, 1, 2, 1, 5},
        {0, 8, 8, 0, 0, false, 0, 0, 0, 0},
        {2, 0, 8, 0, 0, false, 0, 0, 0, 0},
        {2, 8, 8, 0, -1, false, 0, 0, 0, 0},
        {2, 20000, 8, 2, 0, false, 0, 0, 0, 0}, // wider than a picture can be
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.cells << " cells of " << c.cell_width << "x"
                                        << c.cell_height << " in " << c.columns);
        SheetLayout layout;
        ASSERT_EQ(
            layout_for_cells(c.cells, c.cell_width, c.cell_height, c.columns, c.padding, layout),
            c.ok);
        if (!c.ok) continue;
        EXPECT_EQ(layout.columns, c.want_columns);
        EXPECT_EQ(layout.rows, c.want_rows);
        EXPECT_EQ(layout.width(), c.want_width);
        EXPECT_EQ(layout.height(), c.want_height);
    }
}

TEST(SpriteSheetTest, LayoutOfSheetCountsWholeCellsOnly) {
    SheetLayout layout;
    ASSERT_TRUE(layout_of_sheet(5, 5, 2, 2, 1, layout));
    EXPECT_EQ(layout.cells(), 4);
    const AreaRect last = layout.cell(3);
    EXPECT_EQ(last.left, 3);
    EXPECT_EQ(last.top, 3);
    ASSERT_TRUE(layout_of_sheet(10, 3, 3, 3, 0, layout)); // a 1-pixel strip is left over
    EXPECT_EQ(layout.columns, 3);
    EXPECT_EQ(layout.rows, 1);
    EXPECT_FALSE(layout_of_sheet(2, 2, 3, 1, 0, layout));
}

TEST(SpriteSheetTest, LayersGoIntoCellsRowByRowWithKeyColourBetween) {
    DocumentPtr doc = drawing_test::picture(2, 2, 1);
    ASSERT_TRUE(doc);
    for (BYTE value : {2, 3}) {
        Layer* layer = add_layer_above(*doc);
        ASSERT_TRUE(layer);
        fill(*layer->image, value);
    }
    at(*bottom_layer(*doc)->image, 1, 0) = 7;
    bottom_layer(*doc)->key_colour = 9;
    SheetLayout layout;
    ASSERT_TRUE(layout_for_cells(doc->layer_count, 2, 2, 2, 1, layout));
    DocumentPtr sheet(create_document());
    ASSERT_TRUE(build_sprite_sheet(*doc, layout, *sheet));
    EXPECT_EQ(sheet->layer_count, 1);
    Layer& result = *bottom_layer(*sheet);
    EXPECT_EQ(grid(*result.image), "17922\n11922\n99999\n33999\n33999\n");
    EXPECT_EQ(result.key_colour, 9);
    EXPECT_EQ(std::memcmp(result.undo_copy->bits, result.image->bits, result.image->pixel_bytes()),
              0);

    SheetLayout too_small;
    ASSERT_TRUE(layout_for_cells(2, 2, 2, 2, 0, too_small));
    DocumentPtr refused(create_document());
    EXPECT_FALSE(build_sprite_sheet(*doc, too_small, *refused));
}

TEST(SpriteSheetTest, PictureFromAreaKeepsPaletteAndStaysInside) {
    DocumentPtr doc = drawing_test::picture(4, 3, 0);
    ASSERT_TRUE(doc);
    Surface& image = *bottom_layer(*doc)->image;
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            at(image, x, y) = BYTE(y * 4 + x);
    image.colour_table()[5] = {1, 2, 3, 0};
    DocumentPtr part(create_document());
    ASSERT_TRUE(build_picture_from_area(image, {1, 1, 9, 9}, 6, *part));
    Layer& layer = *bottom_layer(*part);
    EXPECT_EQ(grid(*layer.image), "567\n9ab\n");
    EXPECT_EQ(layer.key_colour, 6);
    EXPECT_EQ(layer.image->colour_table()[5].rgbGreen, 2);
}

} // namespace
