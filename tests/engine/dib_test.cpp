#include "engine/rasko.h"
#include "platform/io/dib_layout.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>

namespace {

struct DibDeleter {
    void operator()(BITMAPINFOHEADER* dib) const { RaskoDestroyDIB(dib); }
};
using DibPtr = std::unique_ptr<BITMAPINFOHEADER, DibDeleter>;

const BYTE* bits(const BITMAPINFOHEADER* dib) {
    return io::bits_of(dib);
}

const RGBQUAD* table(const BITMAPINFOHEADER* dib) {
    return io::colour_table(dib);
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
        for (int i = 0; i < c.stride * c.height; ++i)
            ASSERT_EQ(bits(dib.get())[i], 0) << i;
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
    for (int i = 0; i < 256; ++i)
        ASSERT_EQ(t[i].rgbReserved, 0) << i;
}

// A zero size is how callers get a header and the default colour table
// alone (the program's surfaces keep their pixels in a DIB section).
TEST(CreateDIB, ZeroSizesGiveTheHeaderAndColourTableAlone) {
    DibPtr reference(RaskoCreateDIB(1, 1));
    ASSERT_TRUE(reference);
    const struct {
        int width, height;
        SIZE_T bytes;
    } cases[] = {{0, 0, 1064}, {0, 5, 1064}, {5, 0, 1064}};
    for (const auto& c : cases) {
        native::reset_message_boxes();
        DibPtr dib(RaskoCreateDIB(c.width, c.height));
        ASSERT_TRUE(dib) << c.width << " x " << c.height;
        EXPECT_EQ(native::last_message_box().count, 0);
        EXPECT_EQ(GlobalSize(dib.get()), c.bytes);
        EXPECT_EQ(dib->biWidth, c.width);
        EXPECT_EQ(dib->biHeight, c.height);
        EXPECT_EQ(dib->biClrUsed, 256u);
        EXPECT_EQ(std::memcmp(table(dib.get()), table(reference.get()), io::kPaletteBytes), 0);
    }
    DibPtr part(RaskoCreateDIBPart(reference.get(), bits(reference.get()), 0, 0, 0, 0));
    ASSERT_TRUE(part);
    EXPECT_EQ(GlobalSize(part.get()), SIZE_T(1064));
    DibPtr vram(RaskoCreateVirtualVRAM(0, 0));
    ASSERT_TRUE(vram);
    EXPECT_EQ(reinterpret_cast<const WORD*>(table(vram.get()))[255], 255);
}

TEST(CreateDIB, RefusesNegativeAndOverflowingSizes) {
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

TEST(PixelAccess, FollowsTheRowOrderAndRefusesOutsidePixels) {
    DibPtr dib(RaskoCreateDIB(5, 3));
    BYTE* b = const_cast<BYTE*>(bits(dib.get()));
    b[2 * 8] = 7; // first byte of the last stored row: the top-left pixel
    EXPECT_EQ(RaskoGetPixel(dib.get(), b, 0, 0), 7);
    EXPECT_EQ(RaskoPutPixel(dib.get(), b, 4, 2, 9), 1);
    EXPECT_EQ(b[4], 9);
    for (auto [x, y] : {std::pair{5, 0}, {0, 3}, {-1, 0}, {0, -1}, {INT32_MIN, INT32_MAX}}) {
        EXPECT_EQ(RaskoGetPixel(dib.get(), b, x, y), 0) << x << "," << y;
        EXPECT_EQ(RaskoPutPixel(dib.get(), b, x, y, 1), 0) << x << "," << y;
        EXPECT_EQ(RaskoPutPixelEx(dib.get(), b, x, y, 1, 1, 16), 0) << x << "," << y;
    }
    dib->biHeight = -3; // top-down: (0, 0) is the first byte
    EXPECT_EQ(RaskoGetPixel(dib.get(), b, 0, 0), 0);
    EXPECT_EQ(RaskoPutPixel(dib.get(), b, 1, 0, 3), 1);
    EXPECT_EQ(b[1], 3);
    EXPECT_EQ(RaskoGetPixel(dib.get(), b, 0, 2), 7);
    EXPECT_EQ(RaskoGetPixel(dib.get(), b, 0, 3), 0);
}

TEST(PixelAccess, PutPixelExWritesColourOrBackground) {
    DibPtr dib(RaskoCreateDIB(8, 8));
    BYTE* b = const_cast<BYTE*>(bits(dib.get()));
    const struct {
        int level;
        bool (*on)(int x, int y);
    } cases[] = {{0, [](int, int) { return false; }},
                 {16, [](int, int) { return true; }},
                 {8, [](int x, int y) { return (x + y) % 2 == 0; }},
                 {200, [](int, int) { return true; }}};
    for (const auto& c : cases)
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) {
                ASSERT_EQ(RaskoPutPixelEx(dib.get(), b, x, y, 4, 5, c.level), 1);
                ASSERT_EQ(RaskoGetPixel(dib.get(), b, x, y), c.on(x, y) ? 5 : 4)
                    << c.level << " " << x << "," << y;
            }
}

TEST(CreateDIBPart, CopiesTheRectangleAndTheWholeColourTable) {
    DibPtr src(RaskoCreateDIB(9, 7));
    BYTE* sb = const_cast<BYTE*>(bits(src.get()));
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 9; ++x)
            RaskoPutPixel(src.get(), sb, x, y, 10 * y + x);
    RGBQUAD* st = const_cast<RGBQUAD*>(table(src.get()));
    st[100] = RGBQUAD{1, 2, 3, 4};
    DibPtr part(RaskoCreateDIBPart(src.get(), sb, 2, 3, 5, 4));
    ASSERT_TRUE(part);
    EXPECT_EQ(part->biWidth, 5);
    EXPECT_EQ(part->biHeight, 4);
    EXPECT_EQ(std::memcmp(table(part.get()), st, 1024), 0);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x)
            ASSERT_EQ(RaskoGetPixel(part.get(), bits(part.get()), x, y), 10 * (y + 3) + x + 2);
    EXPECT_EQ(RaskoCreateDIBPart(src.get(), sb, 0, 0, -1, 4), nullptr);
    EXPECT_EQ(RaskoCreateDIBPart(src.get(), sb, 0, 0, 4, -1), nullptr);
}

TEST(VirtualVRAM, TableStartsWithIndexesAndDrawsUnscaled) {
    DibPtr vram(RaskoCreateVirtualVRAM(6, 4));
    ASSERT_TRUE(vram);
    const auto* indexes = reinterpret_cast<const WORD*>(table(vram.get()));
    for (int i = 0; i < 256; ++i)
        ASSERT_EQ(indexes[i], i);
    EXPECT_EQ(table(vram.get())[255].rgbBlue, 255); // the second half keeps the defaults
    EXPECT_EQ(RaskoCreateVirtualVRAM(-6, 4), nullptr);

    native::reset_stretch_dibits();
    HDC dc = reinterpret_cast<HDC>(0x1234);
    EXPECT_EQ(RaskoCopyVRAMtoDisplay(dc, 10, 20, 3, 2, vram.get(), 1, 2), 2);
    const auto& call = native::last_stretch_dibits();
    EXPECT_EQ(call.count, 1);
    EXPECT_EQ(call.dc, dc);
    EXPECT_EQ(call.x, 10);
    EXPECT_EQ(call.y, 20);
    EXPECT_EQ(call.width, 3);
    EXPECT_EQ(call.height, 2);
    EXPECT_EQ(call.src_x, 1);
    EXPECT_EQ(call.src_y, 2);
    EXPECT_EQ(call.src_width, 3);
    EXPECT_EQ(call.src_height, 2);
    EXPECT_EQ(call.bits, bits(vram.get()));
    EXPECT_EQ(static_cast<const void*>(call.info), static_cast<const void*>(vram.get()));
    EXPECT_EQ(call.usage, UINT(DIB_PAL_COLORS));
    EXPECT_EQ(call.rop, DWORD(SRCCOPY));
}

} // namespace
