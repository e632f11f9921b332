// The engine's clipboard pair on the real clipboard: DIBs that other programs
// put there as CF_DIB, pasted through rasko32.dll's exports.
#include "platform/module.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

using PasteDIB = BITMAPINFOHEADER*(__cdecl*)(HWND);
using CopyDIB = int(__cdecl*)(HWND, const BITMAPINFOHEADER*, const BYTE*, int, int, int, int);
using CreateDIB = BITMAPINFOHEADER*(__cdecl*)(int, int);
using DestroyDIB = HGLOBAL(__cdecl*)(BITMAPINFOHEADER*);
using GetPixel8 = int(__cdecl*)(const BITMAPINFOHEADER*, const BYTE*, int, int);

class RealClipboard : public ::testing::Test {
  protected:
    HMODULE dll = nullptr;
    HWND owner = nullptr;
    PasteDIB paste = nullptr;
    CopyDIB copy = nullptr;
    CreateDIB create = nullptr;
    DestroyDIB destroy = nullptr;
    GetPixel8 get_pixel = nullptr;

    void SetUp() override {
        dll = LoadLibraryA("rasko32.dll");
        ASSERT_NE(dll, nullptr);
        paste = proc_address<PasteDIB>(dll, "_RaskoPasteDIB");
        copy = proc_address<CopyDIB>(dll, "_RaskoCopyDIB");
        create = proc_address<CreateDIB>(dll, "_RaskoCreateDIB");
        destroy = proc_address<DestroyDIB>(dll, "_RaskoDestroyDIB");
        get_pixel = proc_address<GetPixel8>(dll, "_RaskoGetPixel");
        ASSERT_TRUE(paste && copy && create && destroy && get_pixel);
        // SetClipboardData needs an owner window after EmptyClipboard.
        owner = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                                nullptr);
        ASSERT_NE(owner, nullptr);
    }
    void TearDown() override {
        if (owner) DestroyWindow(owner);
        if (dll) FreeLibrary(dll);
    }

    // Puts a packed DIB on the clipboard: a 40-byte header, `colours` entries
    // with entry i = (red 3i, green 2i, blue i), then the padded rows.
    void put(int width, int height, int bit_count, int colours, const std::vector<BYTE>& rows) {
        BITMAPINFOHEADER h{};
        h.biSize = sizeof h;
        h.biWidth = width;
        h.biHeight = height;
        h.biPlanes = 1;
        h.biBitCount = WORD(bit_count);
        std::vector<BYTE> bytes(sizeof h + 4 * colours);
        std::memcpy(bytes.data(), &h, sizeof h);
        for (int i = 0; i < colours; ++i) {
            bytes[sizeof h + 4 * i] = BYTE(i);
            bytes[sizeof h + 4 * i + 1] = BYTE(2 * i);
            bytes[sizeof h + 4 * i + 2] = BYTE(3 * i);
        }
        bytes.insert(bytes.end(), rows.begin(), rows.end());
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
        ASSERT_NE(block, nullptr);
        std::memcpy(GlobalLock(block), bytes.data(), bytes.size());
        GlobalUnlock(block);
        ASSERT_TRUE(OpenClipboard(owner));
        EmptyClipboard();
        ASSERT_NE(SetClipboardData(CF_DIB, block), nullptr);
        CloseClipboard();
    }

    int pixel(BITMAPINFOHEADER* dib, int x, int y) {
        const BYTE* bits = reinterpret_cast<const BYTE*>(dib) + dib->biSize + 1024;
        return get_pixel(dib, bits, x, y);
    }
    static const RGBQUAD* table(const BITMAPINFOHEADER* dib) {
        return reinterpret_cast<const RGBQUAD*>(reinterpret_cast<const BYTE*>(dib) + dib->biSize);
    }
};

TEST_F(RealClipboard, PastesOneBitDibs) {
    put(10, 2, 1, 2, {0x80, 0x40, 0, 0, 0x40, 0x80, 0, 0});
    BITMAPINFOHEADER* dib = paste(owner);
    ASSERT_NE(dib, nullptr);
    EXPECT_EQ(dib->biWidth, 10);
    EXPECT_EQ(dib->biHeight, 2);
    EXPECT_EQ(pixel(dib, 1, 0), 1);
    EXPECT_EQ(pixel(dib, 0, 0), 0);
    EXPECT_EQ(pixel(dib, 0, 1), 1);
    EXPECT_EQ(pixel(dib, 9, 1), 1);
    EXPECT_EQ(table(dib)[1].rgbRed, 3);
    EXPECT_EQ(table(dib)[2].rgbRed, 0);
    destroy(dib);
}

TEST_F(RealClipboard, PastesFourBitDibs) {
    put(3, 1, 4, 16, {0x5A, 0xC0, 0, 0});
    BITMAPINFOHEADER* dib = paste(owner);
    ASSERT_NE(dib, nullptr);
    EXPECT_EQ(pixel(dib, 0, 0), 5);
    EXPECT_EQ(pixel(dib, 1, 0), 10);
    EXPECT_EQ(pixel(dib, 2, 0), 12);
    EXPECT_EQ(table(dib)[15].rgbRed, 45);
    destroy(dib);
}

TEST_F(RealClipboard, PastesEightBitDibs) {
    put(5, 2, 8, 256, {1, 2, 3, 4, 5, 0, 0, 0, 6, 7, 8, 9, 10, 0, 0, 0});
    BITMAPINFOHEADER* dib = paste(owner);
    ASSERT_NE(dib, nullptr);
    EXPECT_EQ(pixel(dib, 0, 1), 1); // the first stored row is the bottom one
    EXPECT_EQ(pixel(dib, 4, 0), 10);
    EXPECT_EQ(table(dib)[200].rgbGreen, 144);
    destroy(dib);
}

TEST_F(RealClipboard, RefusesTwentyFourBitDibs) {
    put(2, 2, 24, 0, std::vector<BYTE>(16, 0x7F));
    EXPECT_EQ(paste(owner), nullptr);
}

TEST_F(RealClipboard, CopiedRectanglesPasteBack) {
    BITMAPINFOHEADER* src = create(9, 4);
    ASSERT_NE(src, nullptr);
    BYTE* bits = reinterpret_cast<BYTE*>(src) + 40 + 1024;
    for (int i = 0; i < 12 * 4; ++i)
        bits[i] = BYTE(i);
    ASSERT_EQ(copy(owner, src, bits, 2, 1, 7, 3), 1);
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_DIB));
    BITMAPINFOHEADER* pasted = paste(owner);
    ASSERT_NE(pasted, nullptr);
    EXPECT_EQ(pasted->biWidth, 7);
    EXPECT_EQ(pasted->biHeight, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 7; ++x)
            ASSERT_EQ(pixel(pasted, x, y), pixel(src, x + 2, y + 1)) << x << "," << y;
    destroy(pasted);
    destroy(src);
}

TEST_F(RealClipboard, CopyReportsAClipboardHeldByAnotherWindow) {
    put(3, 1, 8, 256, {7, 8, 9, 0});
    HWND holder =
        CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(holder, nullptr);
    BITMAPINFOHEADER* src = create(4, 4);
    ASSERT_NE(src, nullptr);
    ASSERT_TRUE(OpenClipboard(holder));
    const BYTE* bits = reinterpret_cast<const BYTE*>(src) + 40 + 1024;
    EXPECT_EQ(copy(owner, src, bits, 0, 0, 4, 4), 0);
    CloseClipboard();
    DestroyWindow(holder);
    destroy(src);
    // What was on the clipboard is still there.
    BITMAPINFOHEADER* dib = paste(owner);
    ASSERT_NE(dib, nullptr);
    EXPECT_EQ(dib->biWidth, 3);
    EXPECT_EQ(pixel(dib, 2, 0), 9);
    destroy(dib);
}

} // namespace
