#include "engine/rasko.h"
#include "tests/support/test_dib.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

using test_dib::at;
using test_dib::bits;
using test_dib::DibPtr;
using test_dib::table;

class Clipboard : public ::testing::Test {
  protected:
    void SetUp() override { native::reset_clipboard(); }
    void TearDown() override { native::reset_clipboard(); }

    // Puts raw bytes on the clipboard as CF_DIB.
    static void put(const std::vector<BYTE>& block) {
        HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, block.size());
        std::memcpy(GlobalLock(h), block.data(), block.size());
        GlobalUnlock(h);
        ASSERT_TRUE(OpenClipboard(nullptr));
        EmptyClipboard();
        SetClipboardData(CF_DIB, h);
        CloseClipboard();
    }
};

// A packed DIB as other programs put it on the clipboard: header of
// header_size bytes (extra bytes zero), `colours` table entries with entry i
// = (i, 2i, 3i), then the rows as given, each already padded.
struct Packed {
    int width = 1, height = 1, bit_count = 8;
    DWORD header_size = 40, clr_used = 0, compression = 0;
    int colours = 0;
    std::vector<BYTE> rows;

    std::vector<BYTE> bytes() const {
        std::vector<BYTE> out(header_size + 4 * colours);
        BITMAPINFOHEADER h{};
        h.biSize = header_size;
        h.biWidth = width;
        h.biHeight = height;
        h.biPlanes = 1;
        h.biBitCount = WORD(bit_count);
        h.biCompression = compression;
        h.biClrUsed = clr_used;
        std::memcpy(out.data(), &h, sizeof h);
        for (int i = 0; i < colours; ++i) {
            out[header_size + 4 * i] = BYTE(i);
            out[header_size + 4 * i + 1] = BYTE(2 * i);
            out[header_size + 4 * i + 2] = BYTE(3 * i);
        }
        out.insert(out.end(), rows.begin(), rows.end());
        return out;
    }
};

TEST_F(Clipboard, CopyThenPasteGivesTheRectangleAndColours) {
    std::mt19937 rng(1);
    for (int width : {1, 4, 7, 8, 9, 15, 33}) {
        DibPtr src = test_dib::random_dib(40, 6, rng);
        table(src.get())[77] = RGBQUAD{7, 8, 9, 0};
        ASSERT_EQ(RaskoCopyDIB(nullptr, src.get(), bits(src.get()), 3, 1, width, 4), 1);
        ASSERT_TRUE(IsClipboardFormatAvailable(CF_DIB));
        DibPtr pasted(RaskoPasteDIB(nullptr));
        ASSERT_TRUE(pasted) << width;
        EXPECT_EQ(pasted->biWidth, width);
        EXPECT_EQ(pasted->biHeight, 4);
        EXPECT_EQ(pasted->biClrUsed, 256u);
        EXPECT_EQ(std::memcmp(table(pasted.get()), table(src.get()), 1024), 0);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < width; ++x)
                ASSERT_EQ(at(pasted.get(), x, y), at(src.get(), 3 + x, 1 + y)) << width;
    }
}

TEST_F(Clipboard, CopyWritesTheHeaderOtherProgramsRead) {
    DibPtr src(RaskoCreateDIB(5, 5));
    ASSERT_EQ(RaskoCopyDIB(nullptr, src.get(), bits(src.get()), 0, 0, 5, 2), 1);
    ASSERT_TRUE(OpenClipboard(nullptr));
    HANDLE h = GetClipboardData(CF_DIB);
    ASSERT_NE(h, nullptr);
    BITMAPINFOHEADER header;
    std::memcpy(&header, GlobalLock(h), sizeof header);
    EXPECT_GE(GlobalSize(h), SIZE_T(1064 + 8 * 2));
    GlobalUnlock(h);
    CloseClipboard();
    EXPECT_EQ(header.biSize, 40u);
    EXPECT_EQ(header.biWidth, 5);
    EXPECT_EQ(header.biHeight, 2);
    EXPECT_EQ(header.biPlanes, 1);
    EXPECT_EQ(header.biBitCount, 8);
    EXPECT_EQ(header.biClrUsed, 0u);
}

TEST_F(Clipboard, CopyReportsFailureWhenTheClipboardIsBusyOrMemoryRunsOut) {
    DibPtr src(RaskoCreateDIB(5, 5));
    native::set_clipboard_open_failure(true);
    EXPECT_EQ(RaskoCopyDIB(nullptr, src.get(), bits(src.get()), 0, 0, 5, 5), 0);
    native::set_clipboard_open_failure(false);
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_DIB));

    native::set_global_alloc_failure(true);
    EXPECT_EQ(RaskoCopyDIB(nullptr, src.get(), bits(src.get()), 0, 0, 5, 5), 0);
    native::set_global_alloc_failure(false);
    EXPECT_EQ(RaskoCopyDIB(nullptr, src.get(), bits(src.get()), 0, 0, 0, 5), 0);
    EXPECT_EQ(RaskoCopyDIB(nullptr, src.get(), bits(src.get()), 0, 0, 0x7FFFFFFF, 0x7FFFFFFF), 0);
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_DIB));
}

TEST_F(Clipboard, PasteWithoutDibDataOrAccessGivesNull) {
    EXPECT_EQ(RaskoPasteDIB(nullptr), nullptr);
    // The clipboard is closed again afterwards.
    EXPECT_TRUE(OpenClipboard(nullptr));
    CloseClipboard();

    DibPtr src(RaskoCreateDIB(2, 2));
    ASSERT_EQ(RaskoCopyDIB(nullptr, src.get(), bits(src.get()), 0, 0, 2, 2), 1);
    native::set_clipboard_open_failure(true);
    EXPECT_EQ(RaskoPasteDIB(nullptr), nullptr);
}

TEST_F(Clipboard, OneBitPixelsAndTheirTwoColours) {
    Packed p;
    p.width = 10;
    p.height = 2;
    p.bit_count = 1;
    p.colours = 2;
    // Stored bottom row first: 1000000001 then 0100000010.
    p.rows = {0x80, 0x40, 0, 0, 0x40, 0x80, 0, 0};
    put(p.bytes());
    DibPtr dib(RaskoPasteDIB(nullptr));
    ASSERT_TRUE(dib);
    const int top[10] = {0, 1, 0, 0, 0, 0, 0, 0, 1, 0};
    const int bottom[10] = {1, 0, 0, 0, 0, 0, 0, 0, 0, 1};
    for (int x = 0; x < 10; ++x) {
        EXPECT_EQ(at(dib.get(), x, 0), top[x]) << x;
        EXPECT_EQ(at(dib.get(), x, 1), bottom[x]) << x;
    }
    EXPECT_EQ(table(dib.get())[1].rgbGreen, 2);
    for (int i = 2; i < 256; ++i) {
        const RGBQUAD q = table(dib.get())[i];
        ASSERT_EQ(q.rgbRed | q.rgbGreen | q.rgbBlue | q.rgbReserved, 0) << i;
    }
}

TEST_F(Clipboard, TwoAndFourBitPixelsAreUnpackedHighBitsFirst) {
    Packed four;
    four.width = 3;
    four.bit_count = 4;
    four.colours = 16;
    four.rows = {0x5A, 0xC0, 0, 0};
    put(four.bytes());
    DibPtr dib(RaskoPasteDIB(nullptr));
    ASSERT_TRUE(dib);
    EXPECT_EQ(at(dib.get(), 0, 0), 5);
    EXPECT_EQ(at(dib.get(), 1, 0), 10);
    EXPECT_EQ(at(dib.get(), 2, 0), 12);

    Packed two;
    two.width = 5;
    two.bit_count = 2;
    two.colours = 4;
    two.rows = {0x1B, 0x80, 0, 0}; // 00 01 10 11 | 10
    put(two.bytes());
    dib.reset(RaskoPasteDIB(nullptr));
    ASSERT_TRUE(dib);
    for (int x = 0; x < 5; ++x)
        EXPECT_EQ(at(dib.get(), x, 0), x < 4 ? x : 2) << x;
    EXPECT_EQ(table(dib.get())[3].rgbRed, 9);
}

TEST_F(Clipboard, LongerHeadersAndShortTablesAreReadAtTheirOffsets) {
    Packed p;
    p.width = 2;
    p.header_size = 124;
    p.clr_used = 3;
    p.colours = 3;
    p.rows = {2, 1, 0, 0};
    put(p.bytes());
    DibPtr dib(RaskoPasteDIB(nullptr));
    ASSERT_TRUE(dib);
    EXPECT_EQ(at(dib.get(), 0, 0), 2);
    EXPECT_EQ(at(dib.get(), 1, 0), 1);
    EXPECT_EQ(table(dib.get())[2].rgbRed, 6);
    EXPECT_EQ(table(dib.get())[3].rgbRed, 0);
}

TEST_F(Clipboard, TopDownDataBecomesABottomUpDib) {
    Packed p;
    p.width = 1;
    p.height = -3;
    p.colours = 256;
    p.rows = {1, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0}; // stored top row first
    put(p.bytes());
    DibPtr dib(RaskoPasteDIB(nullptr));
    ASSERT_TRUE(dib);
    EXPECT_EQ(dib->biHeight, 3);
    for (int y = 0; y < 3; ++y)
        EXPECT_EQ(at(dib.get(), 0, y), y + 1);
}

TEST_F(Clipboard, HugeColourCountsTakeAtMost256Entries) {
    Packed p;
    p.width = 1;
    p.clr_used = 300;
    p.colours = 300;
    p.rows = {250, 0, 0, 0};
    put(p.bytes());
    DibPtr dib(RaskoPasteDIB(nullptr));
    ASSERT_TRUE(dib);
    EXPECT_EQ(at(dib.get(), 0, 0), 250);
    EXPECT_EQ(table(dib.get())[255].rgbBlue, 255);
}

TEST_F(Clipboard, RefusesWhatItCannotReadSafely) {
    auto refused = [&](const std::vector<BYTE>& block) {
        put(block);
        BITMAPINFOHEADER* dib = RaskoPasteDIB(nullptr);
        RaskoDestroyDIB(dib);
        return dib == nullptr;
    };
    Packed base;
    base.width = 4;
    base.height = 2;
    base.colours = 256;
    base.rows.assign(8, 1);
    ASSERT_FALSE(refused(base.bytes()));

    Packed p = base;
    p.bit_count = 24;
    EXPECT_TRUE(refused(p.bytes())) << "24-bit";
    p = base;
    p.compression = BI_RLE8;
    EXPECT_TRUE(refused(p.bytes())) << "compressed";
    p = base;
    p.bit_count = 3;
    EXPECT_TRUE(refused(p.bytes())) << "3-bit";
    p = base;
    p.header_size = 12;
    EXPECT_TRUE(refused(p.bytes())) << "short header";
    p = base;
    p.width = 0;
    EXPECT_TRUE(refused(p.bytes())) << "zero width";
    p = base;
    p.height = INT32_MIN;
    EXPECT_TRUE(refused(p.bytes())) << "height INT32_MIN";
    p = base;
    p.clr_used = 0xFFFFFFFF;
    EXPECT_TRUE(refused(p.bytes())) << "table past the block";
    p = base;
    p.width = 0x7FFFFFFF;
    EXPECT_TRUE(refused(p.bytes())) << "rows past the block";

    auto truncated = base.bytes();
    truncated.pop_back();
    EXPECT_TRUE(refused(truncated)) << "one byte short";
    EXPECT_TRUE(refused(std::vector<BYTE>(39, 0))) << "shorter than a header";
    auto huge_header = base.bytes();
    const DWORD big = 0x10000;
    std::memcpy(huge_header.data(), &big, 4);
    EXPECT_TRUE(refused(huge_header)) << "header past the block";
}

} // namespace
