#include "engine/blit_rows.h"
#include "engine/rasko.h"
#include "engine/tone.h"
#include "tests/support/test_dib.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <vector>

namespace {

using test_dib::at;
using test_dib::bits;
using test_dib::DibPtr;
using test_dib::pixels_of;
using test_dib::random_dib;

// The rule every rectangle member follows: destination pixel (x, y) inside
// both the rectangle and the destination takes its value from source pixel
// (sx + x - dx, sy + y - dy).
template <class F>
void for_each_covered(const BITMAPINFOHEADER* dst, int dx, int dy, int w, int h, int sx, int sy,
                      F f) {
    for (int y = dy; y < dy + h; ++y)
        for (int x = dx; x < dx + w; ++x)
            if (x >= 0 && y >= 0 && x < dst->biWidth && y < dst->biHeight)
                f(x, y, sx + x - dx, sy + y - dy);
}

TEST(CopyDIBBits, MatchesTheModelAcrossRowPadding) {
    std::mt19937 rng(1);
    for (int width : {1, 4, 7, 8, 9, 15, 33}) {
        DibPtr src = random_dib(width + 5, 6, rng);
        DibPtr dst = random_dib(width, 5, rng);
        DibPtr expected(RaskoCreateDIB(width, 5));
        std::memcpy(bits(expected.get()), bits(dst.get()), pixels_of(dst.get()).size());
        for_each_covered(dst.get(), 0, 1, width, 4, 3, 2, [&](int x, int y, int sx, int sy) {
            at(expected.get(), x, y) = at(src.get(), sx, sy);
        });
        RaskoCopyDIBBits(dst.get(), bits(dst.get()), 0, 1, width, 4, src.get(), bits(src.get()), 3,
                         2);
        EXPECT_EQ(pixels_of(dst.get()), pixels_of(expected.get())) << width;
    }
}

TEST(CopyDIBBits, ClipsAtTheLeftAndMovesTheSource) {
    std::mt19937 rng(2);
    DibPtr src = random_dib(20, 3, rng);
    DibPtr dst(RaskoCreateDIB(12, 3));
    RaskoCopyDIBBits(dst.get(), bits(dst.get()), -3, 0, 10, 1, src.get(), bits(src.get()), 5, 0);
    for (int x = 0; x <= 6; ++x)
        EXPECT_EQ(at(dst.get(), x, 0), at(src.get(), 5 + 3 + x, 0)) << x;
    for (int x = 7; x < 12; ++x)
        EXPECT_EQ(at(dst.get(), x, 0), 0) << x;
}

TEST(CopyDIBBits, EmptyOrOutsideRectanglesWriteNothing) {
    std::mt19937 rng(3);
    DibPtr src = random_dib(8, 8, rng);
    DibPtr dst = random_dib(8, 8, rng);
    const auto before = pixels_of(dst.get());
    const struct {
        int dx, dy, w, h;
    } cases[] = {{0, 8, 4, 4},
                 {0, 0, 0, 4},
                 {0, 0, 4, 0},
                 {8, 0, 4, 4},
                 {-4, 0, 4, 4},
                 {0, -4, 4, 4},
                 {-9, -9, 4, 4},
                 {0, 0, -3, 4},
                 {0, 0, 4, -3},
                 {0, 0x7FFFFFF0, 4, 0x7FFFFFF0},
                 {0x7FFFFFF0, 0, 0x7FFFFFF0, 4}};
    for (const auto& c : cases) {
        RaskoCopyDIBBits(dst.get(), bits(dst.get()), c.dx, c.dy, c.w, c.h, src.get(),
                         bits(src.get()), 0, 0);
        RaskoFillRect(dst.get(), bits(dst.get()), c.dx, c.dy, c.w, c.h, 9);
        ASSERT_EQ(pixels_of(dst.get()), before) << c.dx << "," << c.dy << " " << c.w << "x" << c.h;
    }
}

TEST(CopyDIBBits, RefusesSourceAreasOutsideTheSource) {
    std::mt19937 rng(4);
    DibPtr src = random_dib(8, 8, rng);
    DibPtr dst = random_dib(16, 16, rng);
    const auto before = pixels_of(dst.get());
    // The left-to-right mirror reads columns width - 1 - sx - i, which a
    // negative sx can keep inside.
    const struct {
        int sx, sy, w, h;
        bool outside_mirrored;
    } cases[] = {{-1, 0, 4, 4, false}, {0, -1, 4, 4, true}, {5, 0, 4, 4, true},
                 {0, 5, 4, 4, true},   {0, 0, 9, 1, true},  {-6, 0, 4, 4, true}};
    for (const auto& c : cases) {
        RaskoCopyDIBBits(dst.get(), bits(dst.get()), 0, 0, c.w, c.h, src.get(), bits(src.get()),
                         c.sx, c.sy);
        if (c.outside_mirrored)
            RaskoTransparentDIBBitsLRInvert(dst.get(), bits(dst.get()), 0, 0, c.w, c.h, src.get(),
                                            bits(src.get()), c.sx, c.sy, 0);
        RaskoTransparentDIBBitsUDInvert(dst.get(), bits(dst.get()), 0, 0, c.w, c.h, src.get(),
                                        bits(src.get()), c.sx, c.sy, 0);
        ASSERT_EQ(pixels_of(dst.get()), before) << c.sx << "," << c.sy;
    }
}

// Every tone-screened member against the member it screens.
struct ScreenedCase {
    BITMAPINFOHEADER* dst;
    int dx, dy, w, h;
};

struct ScreenedFamily {
    const char* name;
    std::function<void(const ScreenedCase&)> plain;
    std::function<void(const ScreenedCase&, int level)> ex;
    std::function<void(const ScreenedCase&, WORD pattern)> ex_asm;
};

class ScreenedMembers : public ::testing::Test {
  protected:
    static constexpr int kKey = 3, kSx = 7, kSy = 9;
    std::mt19937 rng{5};
    DibPtr src = random_dib(48, 40, rng, 8);
    DibPtr mask = random_dib(37, 29, rng, 3); // 0, 1 and 2: 0 protects
    DibPtr original = random_dib(37, 29, rng);

    std::vector<ScreenedFamily> families() {
        BITMAPINFOHEADER* s = src.get();
        const BYTE* m = bits(mask.get());
        auto sb = [s] { return bits(s); };
        return {
            {"CopyDIBBits",
             [=](const ScreenedCase& c) {
                 RaskoCopyDIBBits(c.dst, bits(c.dst), c.dx, c.dy, c.w, c.h, s, sb(), kSx, kSy);
             },
             [=](const ScreenedCase& c, int level) {
                 RaskoCopyDIBBitsEx(c.dst, bits(c.dst), c.dx, c.dy, c.w, c.h, s, sb(), kSx, kSy,
                                    level);
             },
             [=](const ScreenedCase& c, WORD p) {
                 RaskoCopyDIBBitsExAsm(c.dst, bits(c.dst), c.dx, c.dy, c.w, c.h, s, sb(), kSx, kSy,
                                       p);
             }},
            {"TransparentDIBBits",
             [=](const ScreenedCase& c) {
                 RaskoTransparentDIBBits(c.dst, bits(c.dst), c.dx, c.dy, c.w, c.h, s, sb(), kSx,
                                         kSy, kKey);
             },
             [=](const ScreenedCase& c, int level) {
                 RaskoTransparentDIBBitsEx(c.dst, bits(c.dst), c.dx, c.dy, c.w, c.h, s, sb(), kSx,
                                           kSy, kKey, level);
             },
             [=](const ScreenedCase& c, WORD p) {
                 RaskoTransparentDIBBitsExAsm(c.dst, bits(c.dst), c.dx, c.dy, c.w, c.h, s, sb(),
                                              kSx, kSy, kKey, p);
             }},
            // No unscreened colour member exists; its full pattern is the plain form.
            {"TransparentDIBBitsExColor",
             [=](const ScreenedCase& c) {
                 RaskoTransparentDIBBitsExColorAsm(c.dst, bits(c.dst), c.dx, c.dy, c.w, c.h, s,
                                                   sb(), kSx, kSy, kKey, 0xFFFF, 200);
             },
             [=](const ScreenedCase& c, int level) {
                 RaskoTransparentDIBBitsExColor(c.dst, bits(c.dst), c.dx, c.dy, c.w, c.h, s, sb(),
                                                kSx, kSy, kKey, 200, level);
             },
             [=](const ScreenedCase& c, WORD p) {
                 RaskoTransparentDIBBitsExColorAsm(c.dst, bits(c.dst), c.dx, c.dy, c.w, c.h, s,
                                                   sb(), kSx, kSy, kKey, p, 200);
             }},
            {"MaskTransparentDIBBits",
             [=](const ScreenedCase& c) {
                 RaskoMaskTransparentDIBBits(c.dst, bits(c.dst), c.dx, c.dy, c.w, c.h, s, sb(), kSx,
                                             kSy, kKey, m);
             },
             [=](const ScreenedCase& c, int level) {
                 RaskoMaskTransparentDIBBitsEx(c.dst, bits(c.dst), c.dx, c.dy, c.w, c.h, s, sb(),
                                               kSx, kSy, kKey, level, m);
             },
             [=](const ScreenedCase& c, WORD p) {
                 RaskoMaskTransparentDIBBitsExAsm(c.dst, bits(c.dst), c.dx, c.dy, c.w, c.h, s, sb(),
                                                  kSx, kSy, kKey, p, m);
             }},
            {"FillRect",
             [=](const ScreenedCase& c) {
                 RaskoFillRect(c.dst, bits(c.dst), c.dx, c.dy, c.w, c.h, 77);
             },
             [=](const ScreenedCase& c, int level) {
                 RaskoFillRectEx(c.dst, bits(c.dst), c.dx, c.dy, c.w, c.h, 77, level);
             },
             [=](const ScreenedCase& c, WORD p) {
                 RaskoFillRectExAsm(c.dst, bits(c.dst), c.dx, c.dy, c.w, c.h, 77, p);
             }},
            {"MaskFillRect",
             [=](const ScreenedCase& c) {
                 RaskoMaskFillRect(c.dst, bits(c.dst), c.dx, c.dy, c.w, c.h, 77, m);
             },
             [=](const ScreenedCase& c, int level) {
                 RaskoMaskFillRectEx(c.dst, bits(c.dst), c.dx, c.dy, c.w, c.h, 77, level, m);
             },
             [=](const ScreenedCase& c, WORD p) {
                 RaskoMaskFillRectExAsm(c.dst, bits(c.dst), c.dx, c.dy, c.w, c.h, 77, p, m);
             }},
        };
    }

    DibPtr copy_of_original() {
        DibPtr dib(RaskoCreateDIB(37, 29));
        std::memcpy(bits(dib.get()), bits(original.get()), pixels_of(original.get()).size());
        return dib;
    }

    // The plain member's result where the pattern is set, the original
    // elsewhere.
    std::vector<BYTE> screened_model(const ScreenedFamily& f, ScreenedCase c, WORD pattern) {
        DibPtr plain = copy_of_original();
        c.dst = plain.get();
        f.plain(c);
        DibPtr model = copy_of_original();
        for (int y = 0; y < 29; ++y)
            for (int x = 0; x < 37; ++x)
                if (rasko::tone_bit(pattern, x, y)) at(model.get(), x, y) = at(plain.get(), x, y);
        return pixels_of(model.get());
    }
};

TEST_F(ScreenedMembers, EqualThePlainMemberMaskedByThePattern) {
    // Inside, clipped at the top left, clipped at the bottom right.
    const int origins[][2] = {{4, 4}, {-5, -6}, {24, 20}};
    for (const ScreenedFamily& f : families()) {
        for (const auto& origin : origins) {
            for (int ay = 0; ay < 4; ++ay) {
                for (int ax = 0; ax < 4; ++ax) {
                    ScreenedCase c{nullptr, origin[0] + ax, origin[1] + ay, 21, 13};
                    for (int level = 0; level <= 16; ++level) {
                        const WORD pattern = rasko::kStandardTones[level];
                        const auto expected = screened_model(f, c, pattern);
                        DibPtr ex = copy_of_original(), ex_asm = copy_of_original();
                        c.dst = ex.get();
                        f.ex(c, level);
                        c.dst = ex_asm.get();
                        f.ex_asm(c, pattern);
                        ASSERT_EQ(pixels_of(ex.get()), expected)
                            << f.name << " Ex level " << level << " at " << c.dx << "," << c.dy;
                        ASSERT_EQ(pixels_of(ex_asm.get()), expected)
                            << f.name << " ExAsm level " << level << " at " << c.dx << "," << c.dy;
                    }
                }
            }
        }
    }
}

TEST_F(ScreenedMembers, LevelsAreTakenModulo32AndClampedAt16) {
    for (const ScreenedFamily& f : families()) {
        ScreenedCase c{nullptr, 1, 2, 30, 20};
        for (auto [level, same_as] : {std::pair{33, 1}, {20, 16}, {31, 16}, {-31, 1}, {32, 0}}) {
            DibPtr a = copy_of_original(), b = copy_of_original();
            c.dst = a.get();
            f.ex(c, level);
            c.dst = b.get();
            f.ex(c, same_as);
            ASSERT_EQ(pixels_of(a.get()), pixels_of(b.get())) << f.name << " " << level;
        }
    }
}

// Rows run from the top of the rectangle down. That only shows when the
// destination shares memory with what is read, and there it must hold: a
// keyed copy of a bitmap onto itself one row lower repeats the first source
// row all the way down (each row reads the one just written), and a mask
// that is the destination itself sees each row as the row above left it.
TEST(BlitRowOrder, TopRowFirstWhenReadingTheDestination) {
    std::mt19937 rng(21);
    DibPtr dib = random_dib(70, 9, rng, 200); // no pixel is the key 250
    std::vector<BYTE> first_row(70);
    for (int x = 0; x < 70; ++x)
        first_row[std::size_t(x)] = at(dib.get(), x, 2);
    RaskoTransparentDIBBits(dib.get(), bits(dib.get()), 0, 3, 70, 6, dib.get(), bits(dib.get()), 0,
                            2, 250);
    for (int y = 3; y < 9; ++y)
        for (int x = 0; x < 70; ++x)
            ASSERT_EQ(at(dib.get(), x, y), first_row[std::size_t(x)]) << x << "," << y;

    // The mask is the destination's own bytes one row up: row 1 is
    // protected by the zero row 0, row 2 is filled with 0, and that zero
    // then protects row 3 only because row 2 was done before it.
    DibPtr plane(RaskoCreateDIB(70, 4));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 70; ++x)
            at(plane.get(), x, y) = BYTE(y == 0 ? 0 : 1 + x % 5);
    const BYTE* mask = bits(plane.get()) + test_dib::stride(plane.get());
    RaskoMaskFillRect(plane.get(), bits(plane.get()), 0, 1, 70, 3, 0, mask);
    for (int x = 0; x < 70; ++x) {
        ASSERT_EQ(at(plane.get(), x, 1), 1 + x % 5) << x;
        ASSERT_EQ(at(plane.get(), x, 2), 0) << x;
        ASSERT_EQ(at(plane.get(), x, 3), 1 + x % 5) << x;
    }
}

TEST(FillRectEx, PatternIsAnchoredToTheDestination) {
    DibPtr dib(RaskoCreateDIB(8, 8));
    RaskoFillRectEx(dib.get(), bits(dib.get()), 1, 0, 4, 4, 1, 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            const bool inside = x >= 1 && x < 5 && y < 4;
            EXPECT_EQ(at(dib.get(), x, y), inside && (x + y) % 2 == 0 ? 1 : 0) << x << "," << y;
        }
}

TEST(MaskFillRect, ZeroMaskProtectsAndFullMaskFills) {
    std::mt19937 rng(6);
    DibPtr dib = random_dib(9, 5, rng), filled = random_dib(9, 5, rng);
    std::memcpy(bits(filled.get()), bits(dib.get()), pixels_of(dib.get()).size());
    const auto before = pixels_of(dib.get());
    std::vector<BYTE> zero(before.size(), 0), full(before.size(), 255);
    RaskoMaskFillRect(dib.get(), bits(dib.get()), 1, 1, 7, 3, 42, zero.data());
    EXPECT_EQ(pixels_of(dib.get()), before);
    RaskoMaskFillRect(dib.get(), bits(dib.get()), 1, 1, 7, 3, 42, full.data());
    RaskoFillRect(filled.get(), bits(filled.get()), 1, 1, 7, 3, 42);
    EXPECT_EQ(pixels_of(dib.get()), pixels_of(filled.get()));
}

TEST(MaskCopyDIBBits, MaskIsReadAtTheDestinationPosition) {
    DibPtr src(RaskoCreateDIB(4, 4)), dst(RaskoCreateDIB(8, 8)), mask(RaskoCreateDIB(8, 8));
    RaskoFillDIB(src.get(), bits(src.get()), 5);
    at(mask.get(), 6, 7) = 255;
    at(mask.get(), 1, 1) = 255; // the source position: must not count
    RaskoMaskCopyDIBBits(dst.get(), bits(dst.get()), 4, 4, 4, 4, src.get(), bits(src.get()), 0, 0,
                         bits(mask.get()));
    int written = 0;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            written += at(dst.get(), x, y) != 0;
    EXPECT_EQ(written, 1);
    EXPECT_EQ(at(dst.get(), 6, 7), 5);
}

TEST(ExchangeCopyDIBBits, WritesTheNewColourOnlyOverMatches) {
    std::mt19937 rng(7);
    DibPtr src = random_dib(33, 9, rng, 4), dst = random_dib(33, 9, rng);
    for (int i = 0; i < 40; ++i)
        at(src.get(), i % 33, i % 9) = 255;
    DibPtr expected = random_dib(33, 9, rng);
    std::memcpy(bits(expected.get()), bits(dst.get()), pixels_of(dst.get()).size());
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 33; ++x)
            if (at(src.get(), x, y) == 255) at(expected.get(), x, y) = 255;
    RaskoExchangeCopyDIBBits(dst.get(), bits(dst.get()), 0, 0, 33, 9, src.get(), bits(src.get()), 0,
                             0, 255, 255);
    EXPECT_EQ(pixels_of(dst.get()), pixels_of(expected.get()));

    std::vector<BYTE> mask(pixels_of(dst.get()).size(), 0);
    const auto before = pixels_of(dst.get());
    RaskoMaskExchangeCopyDIBBits(dst.get(), bits(dst.get()), 0, 0, 33, 9, src.get(),
                                 bits(src.get()), 0, 0, 1, 255, mask.data());
    EXPECT_EQ(pixels_of(dst.get()), before);
}

TEST(TransparentDIBBitsExColor, FullLevelPaintsEveryNonKeyPosition) {
    std::mt19937 rng(8);
    DibPtr src = random_dib(15, 7, rng, 2), dst = random_dib(15, 7, rng);
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 15; ++x)
            at(src.get(), x, y) = at(src.get(), x, y) ? 255 : 9;
    DibPtr before = random_dib(15, 7, rng);
    std::memcpy(bits(before.get()), bits(dst.get()), pixels_of(dst.get()).size());
    RaskoTransparentDIBBitsExColor(dst.get(), bits(dst.get()), 0, 0, 15, 7, src.get(),
                                   bits(src.get()), 0, 0, 255, 0, 16);
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 15; ++x)
            EXPECT_EQ(at(dst.get(), x, y), at(src.get(), x, y) == 255 ? at(before.get(), x, y) : 0);
}

TEST(MirroredCopies, FollowTheirReadingOrder) {
    DibPtr src(RaskoCreateDIB(3, 2)), dst(RaskoCreateDIB(5, 4));
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            at(src.get(), x, y) = BYTE(1 + x + 3 * y); // 1 2 3 / 4 5 6

    RaskoCopyDIBBitsLRInvert(dst.get(), bits(dst.get()), 1, 0, 3, 1, src.get(), bits(src.get()), 0,
                             0);
    EXPECT_EQ(at(dst.get(), 1, 0), 3);
    EXPECT_EQ(at(dst.get(), 2, 0), 2);
    EXPECT_EQ(at(dst.get(), 3, 0), 1);

    // Clipped at the bottom, the clipped rectangle itself is filled upside down.
    RaskoCopyDIBBitsUDInvert(dst.get(), bits(dst.get()), 0, 3, 3, 2, src.get(), bits(src.get()), 0,
                             0);
    EXPECT_EQ(at(dst.get(), 0, 3), 1);

    RaskoFillDIB(dst.get(), bits(dst.get()), 0);
    RaskoCopyDIBBitsUDInvert(dst.get(), bits(dst.get()), 0, 1, 3, 2, src.get(), bits(src.get()), 0,
                             0);
    EXPECT_EQ(at(dst.get(), 0, 1), 4);
    EXPECT_EQ(at(dst.get(), 2, 2), 3);

    // sx = 0 over the full width mirrors the source; the key stays out.
    RaskoFillDIB(dst.get(), bits(dst.get()), 0);
    RaskoTransparentDIBBitsLRInvert(dst.get(), bits(dst.get()), 0, 0, 3, 2, src.get(),
                                    bits(src.get()), 0, 0, 5);
    EXPECT_EQ(at(dst.get(), 0, 0), 3);
    EXPECT_EQ(at(dst.get(), 2, 0), 1);
    EXPECT_EQ(at(dst.get(), 0, 1), 6);
    EXPECT_EQ(at(dst.get(), 1, 1), 0);

    // sy counts from the bottom: sy = 0 reads the bottom row first.
    RaskoFillDIB(dst.get(), bits(dst.get()), 0);
    RaskoTransparentDIBBitsUDInvert(dst.get(), bits(dst.get()), 0, 0, 3, 2, src.get(),
                                    bits(src.get()), 0, 0, 5);
    EXPECT_EQ(at(dst.get(), 0, 0), 4);
    EXPECT_EQ(at(dst.get(), 1, 0), 0);
    EXPECT_EQ(at(dst.get(), 2, 1), 3);

    RaskoFillDIB(dst.get(), bits(dst.get()), 0);
    RaskoTransparentDIBBitsLRUDInvert(dst.get(), bits(dst.get()), 0, 0, 3, 2, src.get(),
                                      bits(src.get()), 0, 0, 2);
    EXPECT_EQ(at(dst.get(), 0, 0), 6);
    EXPECT_EQ(at(dst.get(), 1, 0), 5);
    EXPECT_EQ(at(dst.get(), 2, 1), 1);
    EXPECT_EQ(at(dst.get(), 1, 1), 0);
}

TEST(MirroredCopies, TransparentLRInvertUsesTheWidthAsPassedWhenClipped) {
    DibPtr src(RaskoCreateDIB(6, 1)), dst(RaskoCreateDIB(4, 1));
    for (int x = 0; x < 6; ++x)
        at(src.get(), x, 0) = BYTE(10 + x);
    // Two columns clipped at the left: destination column i reads source
    // column W - 1 - sx - s_x - i = 6 - 1 - 0 - 2 - i.
    RaskoTransparentDIBBitsLRInvert(dst.get(), bits(dst.get()), -2, 0, 6, 1, src.get(),
                                    bits(src.get()), 0, 0, 0);
    EXPECT_EQ(at(dst.get(), 0, 0), 13);
    EXPECT_EQ(at(dst.get(), 3, 0), 10);
}

TEST(CopyDIBtoDIB, ClipsItsOwnWayAndAcceptsTopDownDestinations) {
    std::mt19937 rng(9);
    DibPtr src = random_dib(8, 6, rng);
    DibPtr dst(RaskoCreateDIB(5, 4));
    dst->biHeight = -4;
    EXPECT_EQ(
        RaskoCopyDIBtoDIB(dst.get(), bits(dst.get()), 0, 0, 5, 4, src.get(), bits(src.get()), 1, 0),
        4);
    for (int x = 0; x < 5; ++x)
        EXPECT_EQ(bits(dst.get())[x], at(src.get(), 1 + x, 0));
    EXPECT_EQ(bits(dst.get())[3 * 8 + 2], at(src.get(), 3, 3));

    dst->biHeight = 4;
    EXPECT_EQ(RaskoCopyDIBtoDIB(dst.get(), bits(dst.get()), -2, -1, 6, 3, src.get(),
                                bits(src.get()), 2, 2),
              2);
    EXPECT_EQ(at(dst.get(), 0, 0), at(src.get(), 4, 3));
    EXPECT_EQ(at(dst.get(), 3, 1), at(src.get(), 7, 4));
    EXPECT_EQ(
        RaskoCopyDIBtoDIB(dst.get(), bits(dst.get()), 7, 0, 2, 2, src.get(), bits(src.get()), 0, 0),
        0);
    EXPECT_LE(
        RaskoCopyDIBtoDIB(dst.get(), bits(dst.get()), 0, 6, 2, 2, src.get(), bits(src.get()), 0, 0),
        0);
    // A source area outside the source is refused.
    EXPECT_EQ(
        RaskoCopyDIBtoDIB(dst.get(), bits(dst.get()), 0, 0, 4, 4, src.get(), bits(src.get()), 6, 0),
        0);
}

TEST(SpriteCopyDIBtoDIB, LeavesTheKeyOut) {
    DibPtr src(RaskoCreateDIB(4, 1)), dst(RaskoCreateDIB(4, 1));
    const BYTE row[4] = {1, 7, 2, 7};
    std::memcpy(bits(src.get()), row, 4);
    RaskoFillDIB(dst.get(), bits(dst.get()), 9);
    EXPECT_EQ(RaskoSpriteCopyDIBtoDIB(dst.get(), bits(dst.get()), 0, 0, 4, 1, src.get(),
                                      bits(src.get()), 0, 0, 7),
              1);
    const BYTE expected[4] = {1, 9, 2, 9};
    EXPECT_EQ(std::memcmp(bits(dst.get()), expected, 4), 0);
}

TEST(Blocks16x16, CopyStampAndRefuseBlocksOutsideTheBitmaps) {
    std::mt19937 rng(10);
    DibPtr src = random_dib(20, 20, rng, 4);
    DibPtr dst(RaskoCreateDIB(18, 17));
    RaskoCopy16x16DIBBits(dst.get(), bits(dst.get()), 1, 1, src.get(), bits(src.get()), 3, 2);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            ASSERT_EQ(at(dst.get(), 1 + x, 1 + y), at(src.get(), 3 + x, 2 + y));
    EXPECT_EQ(at(dst.get(), 0, 0), 0);
    EXPECT_EQ(at(dst.get(), 17, 16), 0);

    RaskoFillDIB(dst.get(), bits(dst.get()), 9);
    RaskoTransparent16x16DIBBits(dst.get(), bits(dst.get()), 0, 0, src.get(), bits(src.get()), 0, 0,
                                 2);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            ASSERT_EQ(at(dst.get(), x, y), at(src.get(), x, y) == 2 ? 2 : 9);

    DibPtr top_down(RaskoCreateDIB(16, 16));
    top_down->biHeight = -16;
    RaskoSpriteCopy16x16Pattern(top_down.get(), bits(top_down.get()), 0, 0, src.get(),
                                bits(src.get()), 0, 0, 1);
    for (int x = 0; x < 16; ++x) {
        const BYTE s = at(src.get(), x, 0);
        ASSERT_EQ(bits(top_down.get())[x], s == 1 ? 0 : s);
    }
    RaskoCopy16x16Pattern(top_down.get(), bits(top_down.get()), 0, 0, src.get(), bits(src.get()), 4,
                          4);
    EXPECT_EQ(bits(top_down.get())[16 * 15 + 15], at(src.get(), 19, 19));

    const auto before = pixels_of(dst.get());
    RaskoCopy16x16DIBBits(dst.get(), bits(dst.get()), 3, 0, src.get(), bits(src.get()), 0, 0);
    RaskoCopy16x16DIBBits(dst.get(), bits(dst.get()), 0, 0, src.get(), bits(src.get()), 5, 0);
    RaskoCopy16x16DIBBits(dst.get(), bits(dst.get()), -1, 0, src.get(), bits(src.get()), 0, 0);
    RaskoCopy16x16DIBBits(top_down.get(), bits(top_down.get()), 0, 0, src.get(), bits(src.get()), 0,
                          0);
    EXPECT_EQ(pixels_of(dst.get()), before);
}

TEST(FillDIB, FillsEveryRowButNotThePadding) {
    for (int width : {1, 4, 7, 9}) {
        DibPtr dib(RaskoCreateDIB(width, 3));
        const int stride = test_dib::stride(dib.get());
        RaskoFillDIB(dib.get(), bits(dib.get()), 200);
        for (int i = 0; i < stride * 3; ++i)
            ASSERT_EQ(bits(dib.get())[i], i % stride < width ? 200 : 0) << width << " " << i;
    }
}

// The SSE2 kernels against the scalar reference, for every flag combination
// the blits use, every tone phase and row lengths around the vector width.
template <unsigned F> void expect_kernels_agree(std::mt19937& rng) {
    std::uniform_int_distribution<int> byte(0, 255), small(0, 3);
    for (int n = 0; n <= 70; ++n) {
        std::vector<BYTE> s(n + 1), m(n + 1), d(n + 1);
        for (int i = 0; i < n; ++i) {
            s[i] = BYTE(small(rng));
            m[i] = BYTE(small(rng) == 0 ? 0 : byte(rng));
            d[i] = BYTE(byte(rng));
        }
        const std::uint32_t tone = rasko::tone_row_mask(WORD(byte(rng) * 257), n & 3, n >> 2);
        std::vector<BYTE> fast = d, reference = d;
        rasko::blend_row<F>(fast.data(), s.data(), m.data(), n, 2, 99, tone);
        rasko::blend_row_scalar<F>(reference.data(), s.data(), m.data(), n, 2, 99, tone);
        ASSERT_EQ(fast, reference) << "flags " << F << " length " << n;
    }
}

TEST(RowKernels, VectorAndScalarFormsAgree) {
    using namespace rasko;
    std::mt19937 rng(11);
    expect_kernels_agree<kScreened>(rng);
    expect_kernels_agree<kSkipKey>(rng);
    expect_kernels_agree<kSkipKey | kScreened>(rng);
    expect_kernels_agree<kSkipKey | kScreened | kConstant>(rng);
    expect_kernels_agree<kMasked>(rng);
    expect_kernels_agree<kSkipKey | kMasked>(rng);
    expect_kernels_agree<kSkipKey | kMasked | kScreened>(rng);
    expect_kernels_agree<kOnlyMatch>(rng);
    expect_kernels_agree<kOnlyMatch | kConstant>(rng);
    expect_kernels_agree<kOnlyMatch | kConstant | kMasked>(rng);
    expect_kernels_agree<kConstant | kScreened>(rng);
    expect_kernels_agree<kConstant | kMasked>(rng);
    expect_kernels_agree<kConstant | kMasked | kScreened>(rng);
}

} // namespace
