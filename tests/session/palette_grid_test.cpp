#include "app/session/palette_grid.h"

#include <gtest/gtest.h>

namespace {

TEST(PaletteGrid, PointsPickEntriesOnlyInsideTheGrid) {
    struct Case {
        int x, y, first_row, rows, entry;
    };
    const Case cases[] = {
        {35, 25, 2, 16, 66},
        {0, 0, 0, 16, 0},
        {255, 191, 0, 16, 255},
        {255, 47, 12, 4, 255},
        {256, 5, 0, 16, kPaletteNoEntry},
        {-1, 5, 0, 16, kPaletteNoEntry},
        {5, -1, 0, 16, kPaletteNoEntry},
        {5, 48, 0, 4, kPaletteNoEntry}, // below the visible rows
        {5, 192, 0, 16, kPaletteNoEntry},
    };
    for (const Case& c : cases)
        EXPECT_EQ(palette_entry_at(c.x, c.y, c.first_row, c.rows), c.entry) << c.x << "," << c.y;
}

TEST(PaletteGrid, RowsFitTheRoomAndScrollWithinTheGrid) {
    EXPECT_EQ(visible_rows_for(90 + 192), 16);
    EXPECT_EQ(visible_rows_for(1000), 16);
    EXPECT_EQ(visible_rows_for(0), 2);
    EXPECT_EQ(visible_rows_for(90 + 48), 4);
    EXPECT_EQ(first_row_within(14, 4), 12);
    int row = 0;
    for (int i = 0; i < 20; ++i)
        row = scrolled_first_row(kScrollLineOn, 0, row, 4);
    EXPECT_EQ(row, 12);
    EXPECT_EQ(scrolled_first_row(kScrollPageBack, 0, 12, 4), 11);
    EXPECT_EQ(scrolled_first_row(kScrollLineBack, 0, 0, 4), 0);
    EXPECT_EQ(scrolled_first_row(kScrollThumbTrack, 40, 0, 4), 12);
    EXPECT_EQ(scrolled_first_row(kScrollLineOn, 0, 0, 16), 0);
}

TEST(PaletteGrid, ToneAndColourSteps) {
    EXPECT_EQ(stepped_tone(kScrollLineBack, 0), 0);
    EXPECT_EQ(stepped_tone(kScrollLineBack, 5), 4);
    EXPECT_EQ(stepped_tone(kScrollPageOn, 16), 16);
    EXPECT_EQ(stepped_tone(kScrollLineOn, 15), 16);
    EXPECT_EQ(stepped_tone(kScrollThumbTrack, 7), 7);
    EXPECT_EQ(tone_at_strip(-5), 0);
    EXPECT_EQ(tone_at_strip(16 * 16 + 15), 16);
    EXPECT_EQ(tone_at_strip(300), 16);
    EXPECT_EQ(stepped_colour(255, 1), 0);
    EXPECT_EQ(stepped_colour(250, 16), 10);
    EXPECT_EQ(stepped_colour(0, -1), 255);
    EXPECT_EQ(stepped_colour(3, -16), 243);
}

} // namespace
