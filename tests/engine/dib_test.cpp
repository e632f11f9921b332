#include "engine/rasko.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace {

struct DibDeleter {
    void operator()(BITMAPINFOHEADER* dib) const { RaskoDestroyDIB(dib); }
};
using DibPtr = std::unique_ptr<BITMAPINFOHEADER, DibDeleter>;

const BYTE* bits(const BITMAPINFOHEADER* dib) {
    return reinterpret_cast<const BYTE*>(dib) + dib->biSize + 1024;
}

const RGBQUAD* table(const BITMAPINFOHEADER* dib) {
    return reinterpret_cast<const RGBQUAD*>(reinterpret_cast<const BYTE*>(dib) + dib->biSize);
}

TEST(CreateDIB, HeaderAndBlockSizeFollowTheStride) {
    const struct {
        int width, height, stride;
    } cases[] = {{1, 1, 4}, {4, 2, 4}, {5, 3, 8}, {7, 1, 8}, {8, 1, 8}, {9, 2, 12}, {33, 5, 36}};
    for (const auto& c : cases) {
        DibPtr dib(RaskoCreateDIB(c.width, c.height));
        ASSERT_TRUE(dib) << c.width;
        EXPECT_EQ(dib->biSize, 40u);
        EXPECT_EQ(dib->biWidth, c.width);
        EXPECT_EQ(dib->biHeight, c.height);
        EXPECT_EQ(dib->biPlanes, 1);
        EXPECT_EQ(dib->biBitCount, 8);
        EXPECT_EQ(dib->biCompression, 0u);
        EXPECT_EQ(dib->biSizeImage, 0u);
        EXPECT_EQ(dib->biClrUsed, 256u);
        EXPECT_EQ(dib->biClrImportant, 0u);
        EXPECT_GE(GlobalSize(dib.get()), SIZE_T(1064 + c.stride * c.height)) << c.width;
        for (int i = 0; i < c.stride * c.height; ++i) ASSERT_EQ(bits(dib.get())[i], 0) << i;
    }
}

TEST(CreateDIB, DefaultColourTableHoldsTheSystemColours) {
    DibPtr dib(RaskoCreateDIB(2, 2));
    ASSERT_TRUE(dib);
    const RGBQUAD* t = table(dib.get());
    EXPECT_EQ(t[1].rgbRed, 128);
    EXPECT_EQ(t[1].rgbGreen, 0);
    EXPECT_EQ(t[9].rgbRed, 166);
    EXPECT_EQ(t[9].rgbGreen, 202);
    EXPECT_EQ(t[9].rgbBlue, 240);
    EXPECT_EQ(t[246].rgbBlue, 240);
    EXPECT_EQ(t[252].rgbBlue, 255);
    EXPECT_EQ(t[252].rgbRed, 0);
    for (int i = 10; i < 246; ++i) {
        RGBQUAD black{};
        ASSERT_EQ(std::memcmp(&t[i], &black, sizeof black), 0) << i;
    }
    for (int i = 0; i < 256; ++i) ASSERT_EQ(t[i].rgbReserved, 0) << i;
}

TEST(CreateDIB, RefusesEmptyNegativeAndOverflowingSizes) {
    EXPECT_EQ(RaskoCreateDIB(0, 5), nullptr);
    EXPECT_EQ(RaskoCreateDIB(5, 0), nullptr);
    EXPECT_EQ(RaskoCreateDIB(-1, 5), nullptr);
    EXPECT_EQ(RaskoCreateDIB(5, -1), nullptr);
    EXPECT_EQ(RaskoCreateDIB(0x7FFFFFFF, 0x7FFFFFFF), nullptr);
    EXPECT_EQ(RaskoCreateDIB(65536, 65536), nullptr);
}

TEST(CreateDIB, OutOfMemoryShowsTheAllocateMessage) {
    native::reset_message_boxes();
    native::set_global_alloc_failure(true);
    BITMAPINFOHEADER* dib = RaskoCreateDIB(16, 16);
    native::set_global_alloc_failure(false);
    EXPECT_EQ(dib, nullptr);
    EXPECT_EQ(native::last_message_box().count, 1);
    EXPECT_EQ(native::last_message_box().text, "Can't create Bitmap");
    EXPECT_EQ(native::last_message_box().caption, "Allocate Error");
    EXPECT_EQ(native::last_message_box().type, UINT(MB_ICONEXCLAMATION));
}

} // namespace
