#include "app/files/run_length.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

using Bytes = std::vector<BYTE>;

// The pixel code, or an empty vector when the plane stays raw.
Bytes pixel_code(const Bytes& plane) {
    Bytes out(plane.size());
    out.resize(encode_byte_runs(plane.data(), plane.size(), out.data()));
    return out;
}

Bytes decode_pixels(const Bytes& code, std::size_t n) {
    Bytes out(n, 0xEE);
    EXPECT_EQ(decode_byte_runs(code.data(), code.size(), out.data(), n), n);
    return out;
}

Bytes mask_code(const Bytes& mask) {
    Bytes out(mask_code_capacity(mask.size()));
    out.resize(encode_mask_nibbles(mask.data(), mask.size(), out.data()));
    return out;
}

TEST(ByteRuns, ExamplesOfTheFormat) {
    EXPECT_EQ(pixel_code(Bytes(8, 3)), (Bytes{3, 3, 8}));
    EXPECT_EQ(pixel_code({1, 1, 1, 2, 3, 3, 3, 3, 3, 3, 3, 3}), (Bytes{1, 1, 3, 2, 3, 3, 8}));
    // The code would reach 8 bytes: stored raw.
    EXPECT_TRUE(pixel_code({5, 5, 5, 5, 7, 7, 9, 9}).empty());
    // Exactly 255 equal bytes is one run; 256 adds one literal.
    Bytes plane(255 + 45, 4);
    for (int i = 255; i < 300; ++i)
        plane[i] = BYTE(i);
    Bytes code = pixel_code(plane);
    ASSERT_GE(code.size(), 3u);
    EXPECT_EQ(code[0], 4);
    EXPECT_EQ(code[1], 4);
    EXPECT_EQ(code[2], 255);
    EXPECT_TRUE(pixel_code(Bytes(256, 6)) == (Bytes{6, 6, 255, 6}));
    EXPECT_EQ(decode_pixels({6, 6, 255, 6}, 256), Bytes(256, 6));
}

TEST(ByteRuns, SingleColourPlanesAreRunsOf255AndReadBack) {
    const Bytes plane(4 * 1000, 9);
    const Bytes code = pixel_code(plane);
    ASSERT_FALSE(code.empty());
    for (std::size_t i = 0; i + 3 <= code.size(); i += 3) {
        ASSERT_EQ(code[i], 9);
        ASSERT_EQ(code[i + 1], 9);
        if (i + 3 < code.size()) {
            ASSERT_EQ(code[i + 2], 255);
        }
    }
    EXPECT_EQ(decode_pixels(code, plane.size()), plane);
}

TEST(ByteRuns, RoundTripsWhateverTheContent) {
    std::mt19937 rng(5);
    for (int round = 0; round < 200; ++round) {
        const std::size_t n = 4 * (1 + rng() % 300);
        Bytes plane(n);
        const int colours = 1 + int(rng() % 4);
        for (auto& b : plane)
            b = BYTE(rng() % colours * 85);
        const Bytes code = pixel_code(plane);
        if (code.empty()) continue;
        EXPECT_LT(code.size(), n);
        EXPECT_EQ(decode_pixels(code, n), plane) << round;
    }
}

TEST(ByteRuns, DecoderStaysInsideItsPlaneAndItsCode) {
    // A count that would pass the end of the plane is cut at n.
    Bytes out(6, 0);
    EXPECT_EQ(decode_byte_runs(Bytes{1, 1, 200}.data(), 3, out.data(), 4), 4u);
    EXPECT_EQ(out, (Bytes{1, 1, 1, 1, 0, 0}));
    // A code that ends before the plane is full reports how far it got.
    EXPECT_EQ(decode_byte_runs(Bytes{1, 2, 2}.data(), 3, out.data(), 4), 2u);
}

TEST(MaskNibbles, ExamplesOfTheFormat) {
    EXPECT_EQ(mask_code({255, 255, 0, 0, 255, 255, 0, 0}), (Bytes{0x33, 0x02}));
    EXPECT_EQ(mask_code({255, 1, 255, 7}), (Bytes{0x0F}));
    Bytes out(8, 0x77);
    EXPECT_EQ(decode_mask_nibbles(Bytes{0x33, 0x02}.data(), 2, out.data(), 8), 8u);
    EXPECT_EQ(out, (Bytes{255, 255, 0, 0, 255, 255, 0, 0}));
}

TEST(MaskNibbles, LongRunsSplitTheirCountIntoTwoUnits) {
    // 300 groups of 0xF: F F count(255 = F,F) then F F count(45 = D,2).
    const Bytes mask(4 * 300, 255);
    const Bytes code = mask_code(mask);
    EXPECT_EQ(code, (Bytes{0xFF, 0xFF, 0xFF, 0x2D}));
    Bytes out(mask.size());
    EXPECT_EQ(decode_mask_nibbles(code.data(), code.size(), out.data(), out.size()), out.size());
    EXPECT_EQ(out, mask);
}

TEST(MaskNibbles, RoundTripsToZeroAnd255) {
    std::mt19937 rng(11);
    for (int round = 0; round < 200; ++round) {
        const std::size_t n = 4 * (1 + rng() % 200);
        Bytes mask(n);
        for (auto& b : mask)
            b = rng() % 3 ? BYTE(rng() % 2 * (1 + rng() % 255)) : 0;
        const Bytes code = mask_code(mask);
        ASSERT_LE(code.size(), mask_code_capacity(n));
        Bytes out(n);
        ASSERT_EQ(decode_mask_nibbles(code.data(), code.size(), out.data(), n), n);
        for (std::size_t i = 0; i < n; ++i)
            ASSERT_EQ(out[i], mask[i] ? 255 : 0) << i;
    }
}

} // namespace
