#include "engine/rasko.h"
#include "engine/codecs.h"
#include "platform/io/dib_layout.h"
#include "engine/tone.h"

#include <cstdint>
#include <cstring>

namespace {

// The twenty static system colours as red, green, blue: entries 0-9, then
// entries 246-255.
constexpr BYTE kLowSystemColours[10][3] = {
    {0, 0, 0},     {128, 0, 0},   {0, 128, 0},     {128, 128, 0},   {0, 0, 128},
    {128, 0, 128}, {0, 128, 128}, {192, 192, 192}, {192, 220, 192}, {166, 202, 240},
};
constexpr BYTE kHighSystemColours[10][3] = {
    {255, 251, 240}, {160, 160, 164}, {128, 128, 128}, {255, 0, 0},   {0, 255, 0},
    {255, 255, 0},   {0, 0, 255},     {255, 0, 255},   {0, 255, 255}, {255, 255, 255},
};

void set_entry(RGBQUAD& q, const BYTE rgb[3]) {
    q.rgbRed = rgb[0];
    q.rgbGreen = rgb[1];
    q.rgbBlue = rgb[2];
    q.rgbReserved = 0;
}

BITMAPINFOHEADER* create_dib(int width, int height, bool zero_pixels) {
    const std::size_t bytes = io::dib_block_size(width, height);
    if (bytes == 0) return nullptr;
    auto* dib = static_cast<BITMAPINFOHEADER*>(GlobalAlloc(zero_pixels ? GPTR : GMEM_FIXED, bytes));
    if (!dib) {
        MessageBoxA(nullptr, "Can't create Bitmap", "Allocate Error", MB_ICONEXCLAMATION);
        return nullptr;
    }
    if (!zero_pixels) std::memset(dib, 0, io::kHeaderAndPalette);
    dib->biSize = sizeof(BITMAPINFOHEADER);
    dib->biWidth = width;
    dib->biHeight = height;
    dib->biPlanes = 1;
    dib->biBitCount = 8;
    dib->biClrUsed = 256;
    RGBQUAD* table = io::colour_table(dib);
    for (int i = 0; i < 10; ++i) {
        set_entry(table[i], kLowSystemColours[i]);
        set_entry(table[246 + i], kHighSystemColours[i]);
    }
    return dib;
}

} // namespace

extern "C" BITMAPINFOHEADER* RaskoCreateDIB(int width, int height) {
    return create_dib(width, height, true);
}

BITMAPINFOHEADER* rasko::create_dib_to_overwrite(int width, int height) {
    return create_dib(width, height, false);
}

extern "C" HGLOBAL RaskoDestroyDIB(BITMAPINFOHEADER* dib) {
    return GlobalFree(dib);
}

namespace {

// Address of pixel (x, y), y = 0 the top row, honouring a negative biHeight
// as top-down storage; null outside the bitmap.
BYTE* pixel_address(const BITMAPINFOHEADER* dib, const BYTE* bits, int x, int y) {
    const std::int64_t rows = dib->biHeight < 0 ? -std::int64_t(dib->biHeight) : dib->biHeight;
    if (x < 0 || y < 0 || x >= dib->biWidth || y >= rows) return nullptr;
    const std::ptrdiff_t stride = io::stride_of(dib->biWidth);
    const std::ptrdiff_t row = dib->biHeight < 0 ? y : std::ptrdiff_t(dib->biHeight) - 1 - y;
    return const_cast<BYTE*>(bits) + row * stride + x;
}

} // namespace

extern "C" BITMAPINFOHEADER* RaskoCreateDIBPart(const BITMAPINFOHEADER* src, const BYTE* src_bits,
                                                int x, int y, int width, int height) {
    BITMAPINFOHEADER* part = RaskoCreateDIB(width, height);
    if (!part) return nullptr;
    std::memcpy(io::colour_table(part), io::colour_table(src), io::kPaletteBytes);
    RaskoCopyDIBBits(part, io::bits_of(part), 0, 0, width, height, src, src_bits, x, y);
    return part;
}

extern "C" int RaskoGetPixel(const BITMAPINFOHEADER* dib, const BYTE* bits, int x, int y) {
    const BYTE* p = pixel_address(dib, bits, x, y);
    return p ? *p : 0;
}

extern "C" int RaskoPutPixel(const BITMAPINFOHEADER* dib, BYTE* bits, int x, int y, int colour) {
    BYTE* p = pixel_address(dib, bits, x, y);
    if (!p) return 0;
    *p = BYTE(colour);
    return 1;
}

extern "C" int RaskoPutPixelEx(const BITMAPINFOHEADER* dib, BYTE* bits, int x, int y,
                               int background, int colour, int level) {
    BYTE* p = pixel_address(dib, bits, x, y);
    if (!p) return 0;
    *p = BYTE(rasko::tone_bit(rasko::working_tone(level), x, y) ? colour : background);
    return 1;
}

extern "C" BITMAPINFOHEADER* RaskoCreateVirtualVRAM(int width, int height) {
    BITMAPINFOHEADER* dib = RaskoCreateDIB(width, height);
    if (!dib) return nullptr;
    // DIB_PAL_COLORS reads the table as 16-bit indexes into the DC's palette.
    auto* indexes = reinterpret_cast<WORD*>(io::colour_table(dib));
    for (int i = 0; i < io::kPaletteEntries; ++i)
        indexes[i] = WORD(i);
    return dib;
}

extern "C" int RaskoCopyVRAMtoDisplay(HDC dc, int x, int y, int width, int height,
                                      const BITMAPINFOHEADER* dib, int src_x, int src_y) {
    return StretchDIBits(dc, x, y, width, height, src_x, src_y, width, height, io::bits_of(dib),
                         reinterpret_cast<const BITMAPINFO*>(dib), DIB_PAL_COLORS, SRCCOPY);
}
