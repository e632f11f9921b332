#include "engine/rasko.h"
#include "engine/tone.h"
#include "tests/support/test_dib.h"

#include <gtest/gtest.h>

#include <bitset>

namespace {

using rasko::kStandardTones;
using rasko::tone_bit;
using rasko::working_tone;

constexpr int kBayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};

// Every test leaves the process-wide table as it found it.
class ToneTable : public ::testing::Test {
  protected:
    void TearDown() override { RaskoOffsetPattern(0, 0); }
};

TEST_F(ToneTable, StandardLevelsFollowTheBayerMatrix) {
    for (int level = 0; level <= 16; ++level) {
        EXPECT_EQ(std::bitset<16>(kStandardTones[level]).count(), std::size_t(level));
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x)
                ASSERT_EQ(tone_bit(kStandardTones[level], x, y), kBayer[y][x] < level)
                    << level << " " << x << "," << y;
        EXPECT_EQ(working_tone(level), kStandardTones[level]);
    }
}

TEST_F(ToneTable, UpsideDownLevelIsTheComplementOfItsMirrorLevel) {
    RaskoOffsetPattern(0, -4);
    for (int n = 0; n <= 16; ++n)
        EXPECT_EQ(working_tone(16 - n), WORD(~kStandardTones[n])) << n;
    // Level 1 moves from (0, 0) to the bottom row of each cell.
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(tone_bit(working_tone(1), x, y), x == 0 && y == 3);
    RaskoOffsetPattern(0, 0);
    for (int n = 0; n <= 16; ++n)
        EXPECT_EQ(working_tone(n), kStandardTones[n]);
}

TEST_F(ToneTable, OffsetsMoveRowsAndColumnsWithoutAccumulating) {
    for (int xo : {0, 1, 2, 3, 5, -1, -2, -4, -7})
        for (int yo : {0, 1, 3, 6, -1, -3, -4, -5}) {
            RaskoOffsetPattern(xo, yo);
            RaskoOffsetPattern(xo, yo);
            for (int level = 0; level <= 16; ++level)
                for (int r = 0; r < 4; ++r)
                    for (int c = 0; c < 4; ++c) {
                        // Where standard (c, r) must land.
                        const int m = ((xo % 4) + 4) % 4, ym = ((yo % 4) + 4) % 4;
                        const int new_c = xo >= 0 ? (c - m + 4) % 4 : (3 - c + (-xo % 4)) % 4;
                        const int new_r = yo >= 0 ? (r + ym) % 4 : (3 - r + (-yo % 4)) % 4;
                        ASSERT_EQ(tone_bit(working_tone(level), new_c, new_r),
                                  tone_bit(kStandardTones[level], c, r))
                            << xo << "," << yo << " level " << level;
                    }
        }
}

TEST_F(ToneTable, NegativeXMirrorsLeftToRight) {
    RaskoOffsetPattern(-4, 0);
    for (int level = 0; level <= 16; ++level)
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x)
                ASSERT_EQ(tone_bit(working_tone(level), x, y),
                          tone_bit(kStandardTones[level], 3 - x, y));
}

TEST_F(ToneTable, ExtremeOffsetsStayInRange) {
    RaskoOffsetPattern(INT32_MIN, INT32_MIN); // |INT32_MIN| mod 4 = 0: a plain flip
    RaskoOffsetPattern(INT32_MIN + 1, INT32_MAX);
    for (int n = 0; n <= 16; ++n)
        EXPECT_EQ(std::bitset<16>(working_tone(n)).count(), std::size_t(n));
}

TEST_F(ToneTable, PutPixelExReadsTheWorkingTable) {
    test_dib::DibPtr dib(RaskoCreateDIB(8, 8));
    BYTE* b = test_dib::bits(dib.get());
    RaskoOffsetPattern(0, -4);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            RaskoPutPixelEx(dib.get(), b, x, y, 0, 1, 1);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(test_dib::at(dib.get(), x, y), (x & 3) == 0 && (y & 3) == 3 ? 1 : 0);
}

TEST_F(ToneTable, ScreenedBlitsReadTheWorkingTable) {
    test_dib::DibPtr a(RaskoCreateDIB(9, 9)), b(RaskoCreateDIB(9, 9));
    RaskoOffsetPattern(1, 2);
    RaskoFillRectEx(a.get(), test_dib::bits(a.get()), 0, 0, 9, 9, 5, 7);
    RaskoFillRectExAsm(b.get(), test_dib::bits(b.get()), 0, 0, 9, 9, 5, working_tone(7));
    EXPECT_EQ(test_dib::pixels_of(a.get()), test_dib::pixels_of(b.get()));
    EXPECT_NE(working_tone(7), kStandardTones[7]);
}

} // namespace
