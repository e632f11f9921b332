#include "addins/mirror_pen/mirror_pen.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A plane of w x h bottom-up rows with padding, written and read as text:
// '.' is 255, digits and letters their value (see value()).
struct Plane {
    BITMAPINFOHEADER header{};
    int stride;
    std::vector<BYTE> bits;

    explicit Plane(const std::vector<std::string>& rows) {
        header.biSize = sizeof header;
        header.biWidth = LONG(rows[0].size());
        header.biHeight = LONG(rows.size());
        header.biPlanes = 1;
        header.biBitCount = 8;
        stride = (header.biWidth + 3) & ~3;
        bits.assign(std::size_t(stride) * rows.size(), 0xEE);
        for (int y = 0; y < header.biHeight; ++y)
            for (int x = 0; x < header.biWidth; ++x)
                at(x, y) = value(rows[y][x]);
    }
    static BYTE value(char c) {
        return c == '.' ? 255 : c <= '9' ? BYTE(c - '0') : BYTE(c - 'a' + 10);
    }
    BYTE& at(int x, int y) { return bits[std::size_t(header.biHeight - 1 - y) * stride + x]; }
    std::vector<std::string> text() {
        std::vector<std::string> rows;
        for (int y = 0; y < header.biHeight; ++y) {
            std::string row;
            for (int x = 0; x < header.biWidth; ++x) {
                const int v = at(x, y);
                row += v == 255 ? '.' : v < 10 ? char('0' + v) : v < 36 ? char('a' + v - 10) : '?';
            }
            rows.push_back(row);
        }
        return rows;
    }
};

using Rows = std::vector<std::string>;

// A 9 x 3 picture of 9s (odd width: the centre column mirrors onto itself),
// colours 1 and 2 at level 8, and the stroke given as rows of the same size.
struct MirrorCase {
    Plane target{Rows(3, "999999999")};
    Plane mask{Rows(3, ".........")};
    Plane stroke;
    PenCallBlock block{};

    explicit MirrorCase(const Rows& stroke_rows) : stroke(stroke_rows) {
        block.size = sizeof block;
        block.target = &target.header;
        block.target_bits = target.bits.data();
        block.mask_bits = mask.bits.data();
        block.stroke_bits = stroke.bits.data();
        block.left_colour = 1;
        block.right_colour = 2;
        block.tone_level = 8;
        block.key_colour = 2;
        block.stroke_x = 0;
        block.stroke_y = 0;
        block.stroke_width = 9;
        block.stroke_height = 3;
    }
};

TEST(MirrorPen, PaintsTheStrokeAndItsMirrorInTheToneMixOfEachPlace) {
    MirrorCase c({".........", ".00......", "........."});
    const RECT r = mirror_pen_paint(c.block, false);
    // Level 8 puts the right colour where x + y is even.
    EXPECT_EQ(c.target.text(), (Rows{"999999999", "921999129", "999999999"}));
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.right, 9);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.bottom, 3);

    // A stroke rectangle cut to the left columns gives the box of both.
    MirrorCase cut({"0........", ".........", "........."});
    cut.block.stroke_width = 2;
    cut.block.stroke_y = 0;
    cut.block.stroke_height = 1;
    const RECT both = mirror_pen_paint(cut.block, false);
    EXPECT_EQ(cut.target.text(), (Rows{"299999992", "999999999", "999999999"}));
    EXPECT_EQ(both.left, 0);
    EXPECT_EQ(both.right, 9);
    EXPECT_EQ(both.bottom, 1);
}

TEST(MirrorPen, PartialStrokeBytesAndTheCentreColumn) {
    MirrorCase c({"....0....", ".........", "........."});
    c.stroke.at(4, 0) = 0x0F;
    c.target.at(4, 0) = 0x35;
    c.block.tone_level = 16;
    c.block.right_colour = 0xC7;
    mirror_pen_paint(c.block, false);
    // Painted twice onto itself: the rule is idempotent.
    EXPECT_EQ(c.target.at(4, 0), 0xC5);
}

TEST(MirrorPen, KeyColourAndMaskAreHonouredOnBothSides) {
    MirrorCase keyed({".........", "000000000", "........."});
    keyed.block.flags = kPenKeying;
    mirror_pen_paint(keyed.block, false);
    EXPECT_EQ(keyed.target.text()[1], "191919191") << "the key colour 2 is left out";

    for (bool m_held : {false, true}) {
        MirrorCase masked({".........", "000000000", "........."});
        masked.mask.at(1, 1) = 0;
        masked.block.flags = m_held ? 0 : kPenMaskOn;
        masked.block.tone_level = 0;
        mirror_pen_paint(masked.block, m_held);
        EXPECT_EQ(masked.target.text()[1], "191111111");
    }
}

TEST(MirrorPen, MaskViewPaintsTheMaskPlaneWhateverTheKey) {
    MirrorCase c({".........", "00.......", "........."});
    c.mask = Plane(Rows(3, "000000000"));
    c.block.target_bits = c.mask.bits.data();
    c.block.mask_bits = c.mask.bits.data();
    c.block.flags = kPenMaskView | kPenKeying | kPenMaskOn;
    c.block.key_colour = 255;
    c.block.left_colour = 255;
    c.block.right_colour = 255;
    mirror_pen_paint(c.block, true);
    EXPECT_EQ(c.mask.text()[1], "..00000..");
}

TEST(MirrorPen, StrokeOutsideThePictureOrNoTargetPaintsNothing) {
    MirrorCase c({"000000000", "000000000", "000000000"});
    c.block.stroke_x = 9;
    RECT r = mirror_pen_paint(c.block, false);
    EXPECT_EQ(r.right, r.left);
    c.block.stroke_x = -40;
    c.block.stroke_width = 40;
    r = mirror_pen_paint(c.block, false);
    EXPECT_EQ(r.right, r.left);
    c.block.stroke_x = 0;
    c.block.stroke_width = 9;
    c.block.target = nullptr;
    r = mirror_pen_paint(c.block, false);
    EXPECT_EQ(r.right, r.left);
    EXPECT_EQ(c.target.text(), (Rows(3, "999999999")));
}

} // namespace
