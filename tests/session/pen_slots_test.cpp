#include "app/session/pen_slots.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

// A 512 x 32 1-bit strip, all background (index 1), as the resource holds it.
std::vector<BYTE> blank_strip() {
    const std::size_t stride = 64;
    std::vector<BYTE> block(40 + 8 + stride * 32, 0xFF);
    BITMAPINFOHEADER h{};
    h.biSize = 40;
    h.biWidth = 512;
    h.biHeight = 32;
    h.biPlanes = 1;
    h.biBitCount = 1;
    h.biClrUsed = 2;
    std::memcpy(block.data(), &h, sizeof h);
    const BYTE table[8] = {0, 0, 0, 0, 255, 255, 255, 0};
    std::memcpy(block.data() + 40, table, 8);
    return block;
}

// Marks strip pixel (x, y), y counted from the top, as part of a pen.
void mark(std::vector<BYTE>& strip, int x, int y) {
    BYTE& b = strip[48 + 64 * std::size_t(31 - y) + std::size_t(x / 8)];
    b = BYTE(b & ~(0x80 >> (x % 8)));
}

BYTE pen_pixel(const Surface& pen, int x, int y) {
    return pen.bits[std::size_t(pen.stride()) * std::size_t(31 - y) + std::size_t(x)];
}

TEST(PenSlots, ShapesAreZeroOnAWhiteBackgroundOfTwoFiftyFive) {
    std::vector<BYTE> strip = blank_strip();
    mark(strip, 15, 15);        // pen 0, its centre
    mark(strip, 32 * 3 + 0, 0); // pen 3, top-left corner
    mark(strip, 511, 31);       // pen 15, bottom-right corner
    PenSlots pens;
    ASSERT_TRUE(build_pen_slots(pens, strip.data(), strip.size()));
    for (Surface* pen : pens.slot) {
        ASSERT_NE(pen, nullptr);
        EXPECT_EQ(pen->width(), 32);
        EXPECT_EQ(pen->height(), 32);
        RGBQUAD* table = pen->colour_table();
        EXPECT_EQ(table[0].rgbRed + table[0].rgbGreen + table[0].rgbBlue, 0);
        EXPECT_EQ(table[254].rgbRed, 0);
        EXPECT_EQ(table[255].rgbRed, 255);
        EXPECT_EQ(table[255].rgbBlue, 255);
    }
    EXPECT_EQ(pen_pixel(*pens.slot[0], 15, 15), 0);
    EXPECT_EQ(pen_pixel(*pens.slot[0], 16, 15), 255);
    EXPECT_EQ(pen_pixel(*pens.slot[3], 0, 0), 0);
    EXPECT_EQ(pen_pixel(*pens.slot[2], 31, 0), 255);
    EXPECT_EQ(pen_pixel(*pens.slot[15], 31, 31), 0);
    EXPECT_EQ(pen_pixel(*pens.slot[14], 31, 31), 255);
    free_pen_slots(pens);
    for (Surface* pen : pens.slot)
        EXPECT_EQ(pen, nullptr);
}

TEST(PenSlots, StripsOfAnotherShapeOrCutShortAreRefused) {
    std::vector<BYTE> strip = blank_strip();
    PenSlots pens;
    EXPECT_FALSE(build_pen_slots(pens, strip.data(), strip.size() - 1));
    EXPECT_FALSE(build_pen_slots(pens, strip.data(), 20));
    EXPECT_FALSE(build_pen_slots(pens, nullptr, 0));
    reinterpret_cast<BITMAPINFOHEADER*>(strip.data())->biBitCount = 8;
    EXPECT_FALSE(build_pen_slots(pens, strip.data(), strip.size()));
    for (Surface* pen : pens.slot)
        EXPECT_EQ(pen, nullptr);
}

TEST(PenSlots, RoundPensGrowTwoPixelsASlotAndAreSymmetric) {
    PenSlots pens;
    ASSERT_TRUE(build_round_pen_slots(pens));
    for (int i = 0; i < kPenSlotCount; ++i) {
        const Surface& pen = *pens.slot[i];
        ASSERT_EQ(pen.width(), 32);
        EXPECT_EQ(pen.colour_table()[255].rgbGreen, 255);
        const int diameter = 2 * i + 2;
        int across = 0, down = 0;
        for (int k = 0; k < 32; ++k) {
            across += pen_pixel(pen, k, 15) == 0;
            down += pen_pixel(pen, 16, k) == 0;
        }
        EXPECT_EQ(across, diameter) << i;
        EXPECT_EQ(down, diameter) << i;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                const BYTE p = pen_pixel(pen, x, y);
                ASSERT_TRUE(p == 0 || p == 255);
                ASSERT_EQ(p, pen_pixel(pen, 31 - x, y)) << i << ": " << x << "," << y;
                ASSERT_EQ(p, pen_pixel(pen, y, x)) << i << ": " << x << "," << y;
            }
        // Round, not square: the corners of its bounding square stay out
        // (the two-pixel pen is a 2 x 2 block).
        EXPECT_EQ(pen_pixel(pen, 15 - i, 15 - i), i == 0 ? 0 : 255) << i;
    }
    free_pen_slots(pens);
}

TEST(PenSlots, RoundPensWithoutMemoryLeaveNoSlotHalfBuilt) {
    PenSlots pens;
    native::set_global_alloc_failure(true);
    EXPECT_FALSE(build_round_pen_slots(pens));
    native::set_global_alloc_failure(false);
    for (Surface* pen : pens.slot)
        EXPECT_EQ(pen, nullptr);
}

} // namespace
