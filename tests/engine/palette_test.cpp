#include "engine/nearest_colour.h"
#include "engine/rasko.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <vector>

namespace {

struct DibDeleter {
    void operator()(BITMAPINFOHEADER* dib) const { RaskoDestroyDIB(dib); }
};
using DibPtr = std::unique_ptr<BITMAPINFOHEADER, DibDeleter>;

RGBQUAD* table(BITMAPINFOHEADER* dib) {
    return reinterpret_cast<RGBQUAD*>(reinterpret_cast<BYTE*>(dib) + dib->biSize);
}
BYTE* bits(BITMAPINFOHEADER* dib) {
    return reinterpret_cast<BYTE*>(table(dib) + 256);
}

// Pixel (x, y) of a bottom-up DIB, y = 0 the top row.
BYTE& pixel(BITMAPINFOHEADER* dib, int x, int y) {
    const int stride = (dib->biWidth + 3) & ~3;
    return bits(dib)[(dib->biHeight - 1 - y) * stride + x];
}

void set(RGBQUAD& q, int red, int green, int blue) {
    q.rgbRed = BYTE(red);
    q.rgbGreen = BYTE(green);
    q.rgbBlue = BYTE(blue);
}

// A logical palette with room for 256 entries.
struct Palette256 {
    WORD version = 0;
    WORD count = 0;
    PALETTEENTRY entries[256] = {};
    LOGPALETTE* get() { return reinterpret_cast<LOGPALETTE*>(this); }
};

TEST(GetNearestColor, DefaultTableAndLowBytes) {
    DibPtr dib(RaskoCreateDIB(1, 1));
    EXPECT_EQ(RaskoGetNearestColor(dib.get(), 255, 255, 255), 255);
    EXPECT_EQ(RaskoGetNearestColor(dib.get(), 0, 0, 0), 0);
    EXPECT_EQ(RaskoGetNearestColor(dib.get(), 0x1FF, 0x3FF, 0x2FF), 255);
    EXPECT_EQ(RaskoGetNearestColor(dib.get(), 250, 5, 5), 249);
    // Reserved bytes do not count.
    for (int i = 0; i < 256; ++i)
        table(dib.get())[i].rgbReserved = BYTE(i);
    EXPECT_EQ(RaskoGetNearestColor(dib.get(), 160, 160, 164), 247);
}

// The vector search against the plain scan: random tables with many equal
// distances (few distinct components), every table length.
TEST(GetNearestColor, VectorSearchEqualsTheScan) {
    std::mt19937 random(31337);
    std::uniform_int_distribution<int> byte(0, 255);
    const int levels[] = {0, 1, 127, 128, 254, 255};
    RGBQUAD colours[256];
    for (int round = 0; round < 4000; ++round) {
        const bool coarse = round % 2 == 0;
        auto component = [&] { return coarse ? levels[byte(random) % 6] : byte(random); };
        for (auto& q : colours)
            q = RGBQUAD{BYTE(component()), BYTE(component()), BYTE(component()),
                        BYTE(byte(random))};
        const int count = 1 + round % 256;
        const BYTE r = BYTE(component()), g = BYTE(component()), b = BYTE(component());
        ASSERT_EQ(rasko::nearest_entry(colours, count, r, g, b),
                  rasko::nearest_entry_scalar(colours, count, r, g, b))
            << round;
    }
}

TEST(ExtGetNearestColor, DithersEvenPositionsThroughTheToneTable) {
    DibPtr dib(RaskoCreateDIB(1, 1));
    RGBQUAD* t = table(dib.get());
    for (int i = 0; i < 256; ++i)
        set(t[i], 255, 0, 0);
    set(t[0], 0, 0, 0);
    set(t[1], 100, 100, 100);
    // (40, 40, 40): nearest 0 at 120, reflection (80, 80, 80) nearest 1 at 60,
    // level 16 * 120 / (60 + 240) = 6, pattern 0x8525.
    const struct {
        int x, y, index;
    } cases[] = {{0, 0, 1}, {2, 0, 1}, {1, 1, 1}, {3, 1, 0}, {0, 2, 1},
                 {1, 3, 0}, {3, 3, 1}, {1, 0, 0}, {4, 7, 0}, {-4, 0, 1}};
    for (const auto& c : cases)
        EXPECT_EQ(RaskoExtGetNearestColor(dib.get(), c.x, c.y, 40, 40, 40), c.index)
            << c.x << "," << c.y;
    EXPECT_EQ(RaskoExtGetNearestColor(dib.get(), 0, 0, 100, 100, 100), 1);
    // Components beyond 0-255 are taken whole.
    EXPECT_EQ(RaskoExtGetNearestColor(dib.get(), 1, 0, 1000, -50, -50), 2);
    // The scan's best distance starts at 1024: nothing nearer gives entry 0.
    EXPECT_EQ(RaskoExtGetNearestColor(dib.get(), 1, 0, 3000, 0, 0), 0);
}

// A reflection can lie beyond 255 and 1024 or more from every entry; the
// partner is then entry 0 at distance 1024, which also sets the level.
TEST(ExtGetNearestColor, FarReflectionsTakeEntryZeroAtDistance1024) {
    DibPtr dib(RaskoCreateDIB(1, 1));
    RGBQUAD* t = table(dib.get());
    for (int i = 0; i < 256; ++i)
        set(t[i], 0, 0, 0);
    set(t[1], 0, 0, 255);
    set(t[2], 10, 10, 10);
    // (255, 255, 200): nearest 1 at 565; reflection (510, 510, 145) is 1130
    // from entry 1 and farther from the rest. Level 16 * 565 / (1024 + 1130)
    // = 4, pattern 0x0505: the partner at (0, 0) and (2, 2), entry 1 at
    // (1, 1) where the pattern is clear.
    EXPECT_EQ(RaskoExtGetNearestColor(dib.get(), 0, 0, 255, 255, 200), 0);
    EXPECT_EQ(RaskoExtGetNearestColor(dib.get(), 2, 2, 255, 255, 200), 0);
    EXPECT_EQ(RaskoExtGetNearestColor(dib.get(), 1, 1, 255, 255, 200), 1);
    EXPECT_EQ(RaskoExtGetNearestColor(dib.get(), 1, 0, 255, 255, 200), 1);
}

TEST(ChangeDIBPalette, OwnPaletteIsTheIdentityEvenWithRepeatedColours) {
    std::mt19937 random(5);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int round = 0; round < 50; ++round) {
        DibPtr dib(RaskoCreateDIB(13, 7));
        RGBQUAD* t = table(dib.get());
        // Few distinct colours, so most appear at several indexes.
        for (int i = 0; i < 256; ++i) {
            const int c = byte(random) % 6;
            set(t[i], c * 40, 255 - c * 40, c & 1 ? 255 : 0);
        }
        std::vector<BYTE> before(((13 + 3) & ~3) * 7);
        for (auto& b : before)
            b = BYTE(byte(random));
        std::memcpy(bits(dib.get()), before.data(), before.size());
        Palette256 own;
        RaskoCopyPaletteFromDIB(own.get(), dib.get());
        RaskoChangeDIBPalette(dib.get(), bits(dib.get()), own.get());
        for (int y = 0; y < 7; ++y)
            for (int x = 0; x < 13; ++x)
                ASSERT_EQ(bits(dib.get())[y * 16 + x], before[y * 16 + x]) << round;
    }
}

TEST(ChangeDIBPalette, RemapsToTheNearestNewColour) {
    DibPtr dib(RaskoCreateDIB(4, 1));
    RGBQUAD* t = table(dib.get());
    set(t[3], 10, 10, 10);
    set(t[4], 200, 0, 0);
    set(t[5], 7, 7, 7);
    pixel(dib.get(), 0, 0) = 3;
    pixel(dib.get(), 1, 0) = 4;
    pixel(dib.get(), 2, 0) = 5;
    pixel(dib.get(), 3, 0) = 255;
    Palette256 fresh;
    for (auto& e : fresh.entries)
        e = PALETTEENTRY{0, 0, 255, 0};
    fresh.entries[9] = PALETTEENTRY{12, 10, 10, 0};
    fresh.entries[20] = PALETTEENTRY{10, 10, 10, 0}; // exact match away from 3
    fresh.entries[30] = PALETTEENTRY{190, 0, 0, 0};
    fresh.entries[5] = PALETTEENTRY{7, 7, 7, 0}; // index 5 stays itself
    fresh.entries[2] = PALETTEENTRY{7, 7, 7, 0};
    fresh.entries[40] = PALETTEENTRY{255, 255, 250, 0};
    RaskoChangeDIBPalette(dib.get(), bits(dib.get()), fresh.get());
    EXPECT_EQ(pixel(dib.get(), 0, 0), 20);
    EXPECT_EQ(pixel(dib.get(), 1, 0), 30);
    EXPECT_EQ(pixel(dib.get(), 2, 0), 5);
    EXPECT_EQ(pixel(dib.get(), 3, 0), 40);
    EXPECT_EQ(t[30].rgbRed, 190);
    EXPECT_EQ(t[0].rgbBlue, 255);
}

TEST(SwapPalette, SwapsEntriesAndPixels) {
    DibPtr dib(RaskoCreateDIB(5, 2));
    RGBQUAD* t = table(dib.get());
    t[1].rgbReserved = 11;
    t[249].rgbReserved = 22;
    const BYTE values[] = {1, 249, 7, 1, 0};
    for (int x = 0; x < 5; ++x)
        pixel(dib.get(), x, 0) = pixel(dib.get(), x, 1) = values[x];
    RaskoSwapPalette(dib.get(), bits(dib.get()), 1, 249);
    EXPECT_EQ(t[1].rgbRed, 255);
    EXPECT_EQ(t[249].rgbRed, 128);
    EXPECT_EQ(t[1].rgbReserved, 11);
    EXPECT_EQ(t[249].rgbReserved, 22);
    const BYTE swapped[] = {249, 1, 7, 249, 0};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(pixel(dib.get(), x, y), swapped[x]);

    RaskoSwapPalette(dib.get(), bits(dib.get()), 7, 7);
    EXPECT_EQ(pixel(dib.get(), 2, 0), 7);
    EXPECT_EQ(t[7].rgbRed, 192);
}

TEST(PaletteCopies, LogicalPalettesAndTables) {
    DibPtr a(RaskoCreateDIB(1, 1));
    DibPtr b(RaskoCreateDIB(1, 1));
    EXPECT_EQ(RaskoCheckDIBSystemPalette(a.get()), 1);
    EXPECT_EQ(RaskoIsSamePalette(a.get(), b.get()), 1);

    RaskoChangePalette(a.get(), 0x105, 1, 2, 3);
    table(a.get())[5].rgbReserved = 9;
    RaskoChangePalette(a.get(), 5, 4, 5, 6);
    EXPECT_EQ(table(a.get())[5].rgbRed, 4);
    EXPECT_EQ(table(a.get())[5].rgbGreen, 5);
    EXPECT_EQ(table(a.get())[5].rgbBlue, 6);
    EXPECT_EQ(table(a.get())[5].rgbReserved, 9);
    EXPECT_EQ(RaskoCheckDIBSystemPalette(a.get()), 0);
    EXPECT_EQ(RaskoIsSamePalette(a.get(), b.get()), 0);

    Palette256 logical;
    RaskoCopyPaletteFromDIB(logical.get(), a.get());
    EXPECT_EQ(logical.version, 0x300);
    EXPECT_EQ(logical.count, 256);
    EXPECT_EQ(logical.entries[5].peRed, 4);
    EXPECT_EQ(logical.entries[5].peFlags, 0);
    EXPECT_EQ(logical.entries[255].peBlue, 255);

    table(b.get())[5].rgbReserved = 77;
    RaskoCopyPaletteToDIB(b.get(), logical.get());
    EXPECT_EQ(RaskoIsSamePalette(a.get(), b.get()), 1);
    EXPECT_EQ(table(b.get())[5].rgbReserved, 77);

    RaskoCopyPalette(b.get(), a.get());
    EXPECT_EQ(std::memcmp(table(a.get()), table(b.get()), 1024), 0);

    table(b.get())[246].rgbGreen = 250;
    EXPECT_EQ(RaskoIsSamePalette(a.get(), b.get()), 0);
    DibPtr c(RaskoCreateDIB(1, 1));
    table(c.get())[100].rgbReserved = 1;
    EXPECT_EQ(RaskoCheckDIBSystemPalette(c.get()), 1);
    table(c.get())[246].rgbGreen = 250;
    EXPECT_EQ(RaskoCheckDIBSystemPalette(c.get()), 0);
}

TEST(DecreaseColorDepth, RefusesBitCountsOutsideOneToSeven) {
    DibPtr dib(RaskoCreateDIB(3, 3));
    pixel(dib.get(), 1, 1) = 200;
    std::vector<BYTE> before(reinterpret_cast<BYTE*>(dib.get()),
                             reinterpret_cast<BYTE*>(dib.get()) + 1064 + 12);
    for (int n : {0, 8, -1})
        EXPECT_EQ(RaskoDecreaseColorDepth(dib.get(), bits(dib.get()), n, nullptr, 1, 1), 0);
    EXPECT_EQ(std::memcmp(before.data(), dib.get(), before.size()), 0);
}

TEST(DecreaseColorDepth, OneBitMapsToTheNearerOfTheFirstTwoEntries) {
    DibPtr dib(RaskoCreateDIB(4, 1));
    const BYTE values[] = {0, 1, 249, 255};
    for (int x = 0; x < 4; ++x)
        pixel(dib.get(), x, 0) = values[x];
    EXPECT_EQ(RaskoDecreaseColorDepth(dib.get(), bits(dib.get()), 1, nullptr, 0, 0), 1);
    // Entries 0 (black) and 1 (128, 0, 0): red 249 is nearer 1, white too.
    const BYTE mapped[] = {0, 1, 1, 1};
    for (int x = 0; x < 4; ++x)
        EXPECT_EQ(pixel(dib.get(), x, 0), mapped[x]) << x;
    EXPECT_EQ(table(dib.get())[1].rgbRed, 128);
    for (int i = 2; i < 256; ++i) {
        const RGBQUAD& q = table(dib.get())[i];
        ASSERT_EQ(q.rgbRed | q.rgbGreen | q.rgbBlue, 0) << i;
    }
}

TEST(DecreaseColorDepth, FrequencyTakesTheMostUsedValuesThenTheLowestUnused) {
    DibPtr dib(RaskoCreateDIB(6, 1));
    RGBQUAD* t = table(dib.get());
    set(t[2], 2, 2, 2);
    set(t[9], 9, 90, 9);
    set(t[200], 200, 0, 0);
    set(t[201], 0, 201, 0);
    const BYTE values[] = {200, 9, 200, 201, 9, 200};
    for (int x = 0; x < 6; ++x)
        pixel(dib.get(), x, 0) = values[x];
    // A given palette is not read with the frequency flag: two entries only.
    const RGBQUAD short_palette[2] = {};
    EXPECT_EQ(RaskoDecreaseColorDepth(dib.get(), bits(dib.get()), 2, short_palette, 0, 1), 1);
    EXPECT_EQ(t[0].rgbRed, 200);
    EXPECT_EQ(t[1].rgbGreen, 90);
    EXPECT_EQ(t[2].rgbGreen, 201);
    EXPECT_EQ(t[3].rgbRed | t[3].rgbGreen | t[3].rgbBlue, 0); // value 0: black
    const BYTE mapped[] = {0, 1, 0, 2, 1, 0};
    for (int x = 0; x < 6; ++x)
        EXPECT_EQ(pixel(dib.get(), x, 0), mapped[x]) << x;
}

TEST(DecreaseColorDepth, GivenPaletteBecomesTheTable) {
    DibPtr dib(RaskoCreateDIB(2, 1));
    set(table(dib.get())[50], 250, 250, 250);
    pixel(dib.get(), 0, 0) = 50;
    pixel(dib.get(), 1, 0) = 4; // (0, 0, 128)
    RGBQUAD palette[2] = {};
    set(palette[0], 0, 0, 200);
    set(palette[1], 240, 240, 240);
    EXPECT_EQ(RaskoDecreaseColorDepth(dib.get(), bits(dib.get()), 1, palette, 0, 0), 1);
    EXPECT_EQ(pixel(dib.get(), 0, 0), 1);
    EXPECT_EQ(pixel(dib.get(), 1, 0), 0);
    EXPECT_EQ(table(dib.get())[0].rgbBlue, 200);
    EXPECT_EQ(table(dib.get())[1].rgbRed, 240);
    EXPECT_EQ(table(dib.get())[50].rgbRed, 0);
}

TEST(DecreaseColorDepth, DitherUsesTheTransposedScreen) {
    DibPtr dib(RaskoCreateDIB(4, 4));
    RGBQUAD* t = table(dib.get());
    set(t[0], 0, 0, 0);
    set(t[1], 255, 255, 255);
    set(t[5], 64, 64, 64);
    std::memset(bits(dib.get()), 5, 16);
    // Nearest 0 at 192, partner 1 (reflection 128 grey), level
    // 16 * 192 / (192 + 765) = 3: pattern 0x0405, bits 0, 2 and 10, read
    // as (x & 3) * 4 + (y & 3).
    EXPECT_EQ(RaskoDecreaseColorDepth(dib.get(), bits(dib.get()), 1, nullptr, 1, 0), 1);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            const bool partner = (x == 0 && y == 0) || (x == 0 && y == 2) || (x == 2 && y == 2);
            EXPECT_EQ(pixel(dib.get(), x, y), partner ? 1 : 0) << x << "," << y;
        }
    // Exactly representable colours are not dithered.
    DibPtr exact(RaskoCreateDIB(4, 4));
    std::memset(bits(exact.get()), 1, 16);
    EXPECT_EQ(RaskoDecreaseColorDepth(exact.get(), bits(exact.get()), 1, nullptr, 1, 0), 1);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(bits(exact.get())[i], 1);
}

} // namespace
