#include "addins/outline/outline.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A plane drawn as text, top row first: '.' key colour (0), '#' shape (7),
// 'o' outline colour (3). Rows are stored bottom-up with padding, as in a DIB.
struct Plane {
    int width, height, stride;
    std::vector<BYTE> bits;

    explicit Plane(const std::vector<std::string>& rows)
        : width(int(rows[0].size())), height(int(rows.size())), stride((width + 3) & ~3),
          bits(std::size_t(stride) * height, 0xEE) {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                at(x, y) = rows[y][x] == '#' ? 7 : rows[y][x] == 'o' ? 3 : 0;
    }
    BYTE& at(int x, int y) { return bits[std::size_t(height - 1 - y) * stride + x]; }
    std::vector<std::string> text() {
        std::vector<std::string> rows;
        for (int y = 0; y < height; ++y) {
            std::string row;
            for (int x = 0; x < width; ++x)
                row += at(x, y) == 7 ? '#' : at(x, y) == 3 ? 'o' : '.';
            rows.push_back(row);
        }
        return rows;
    }
    int outline(OutlineOptions options, const BYTE* mask = nullptr) {
        return outline_in(RECT{0, 0, width, height}, options, mask);
    }
    int outline_in(RECT clip, OutlineOptions options, const BYTE* mask = nullptr) {
        return draw_outline(bits.data(), width, height, mask, clip, 0, 3, options);
    }
};

using Rows = std::vector<std::string>;

} // namespace

TEST(Outline, OutsideFourAndEightConnected) {
    Plane four({".....", ".....", "..#..", ".....", "....."});
    EXPECT_EQ(four.outline({.outside = true, .eight_connected = false}), 4);
    EXPECT_EQ(four.text(), (Rows{".....", "..o..", ".o#o.", "..o..", "....."}));

    Plane eight({".....", ".....", "..#..", ".....", "....."});
    EXPECT_EQ(eight.outline({.outside = true, .eight_connected = true}), 8);
    EXPECT_EQ(eight.text(), (Rows{".....", ".ooo.", ".o#o.", ".ooo.", "....."}));
}

TEST(Outline, InsideKeepsTheShapeSizeAndCountsThePictureEdge) {
    Plane p({"#####.", "#####.", "#####.", "#####."});
    EXPECT_EQ(p.outline({.outside = false, .eight_connected = false}), 14);
    EXPECT_EQ(p.text(), (Rows{"ooooo.", "o###o.", "o###o.", "ooooo."}));

    // 8-connected inside also marks pixels touching the key only diagonally.
    Plane notch({"###", "##.", "###"});
    notch.outline({.outside = false, .eight_connected = false});
    EXPECT_EQ(notch.text(), (Rows{"ooo", "oo.", "ooo"}));
    Plane square({".....", ".###.", ".###.", ".###.", "....."});
    square.at(3, 3) = 0; // a hole touching the centre only diagonally
    square.outline({.outside = false, .eight_connected = true});
    EXPECT_EQ(square.at(2, 2), 3);
    Plane square4({".....", ".###.", ".###.", ".###.", "....."});
    square4.at(3, 3) = 0;
    square4.outline({.outside = false, .eight_connected = false});
    EXPECT_EQ(square4.at(2, 2), 7);
}

TEST(Outline, PaintedPixelsDoNotGrowTheShape) {
    Plane p({"........", "...##...", "........"});
    p.outline({.outside = true, .eight_connected = false});
    EXPECT_EQ(p.text(), (Rows{"...oo...", "..o##o..", "...oo..."}));
}

TEST(Outline, MaskAndClipLimitWhatChanges) {
    Plane p({".....", "..#..", "....."});
    std::vector<BYTE> mask(p.bits.size(), 255);
    mask[std::size_t(p.height - 1 - 1) * p.stride + 1] = 0; // protect (1, 1)
    p.outline({.outside = true, .eight_connected = false}, mask.data());
    EXPECT_EQ(p.text(), (Rows{"..o..", "..#o.", "..o.."}));

    Plane q({".....", "..#..", "....."});
    EXPECT_EQ(q.outline_in(RECT{2, 0, 5, 2}, {.outside = true, .eight_connected = false}), 2);
    EXPECT_EQ(q.text(), (Rows{"..o..", "..#o.", "....."}));
    // A clip beyond the picture is cut to it.
    Plane r({"#"});
    EXPECT_EQ(r.outline_in(RECT{-5, -5, 50, 50}, {.outside = false, .eight_connected = false}), 1);
}

TEST(Outline, PaddingBytesAreNeverTouched) {
    for (int width : {1, 3, 5, 7}) {
        Plane p({std::string(std::size_t(width), '#')});
        p.outline({.outside = false, .eight_connected = true});
        for (int x = width; x < p.stride; ++x)
            EXPECT_EQ(p.bits[std::size_t(x)], 0xEE) << width;
    }
}
