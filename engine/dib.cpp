#include "engine/rasko.h"
#include "engine/dib_layout.h"

#include <cstring>

namespace {

// The twenty static system colours as red, green, blue: entries 0-9, then
// entries 246-255.
constexpr BYTE kLowSystemColours[10][3] = {
    {0, 0, 0},     {128, 0, 0},   {0, 128, 0},   {128, 128, 0},   {0, 0, 128},
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

} // namespace

extern "C" BITMAPINFOHEADER* RaskoCreateDIB(int width, int height) {
    const std::size_t bytes = rasko::dib_block_size(width, height);
    if (bytes == 0) return nullptr;
    auto* dib = static_cast<BITMAPINFOHEADER*>(GlobalAlloc(GPTR, bytes));
    if (!dib) {
        MessageBoxA(nullptr, "Can't create Bitmap", "Allocate Error", MB_ICONEXCLAMATION);
        return nullptr;
    }
    dib->biSize = sizeof(BITMAPINFOHEADER);
    dib->biWidth = width;
    dib->biHeight = height;
    dib->biPlanes = 1;
    dib->biBitCount = 8;
    dib->biClrUsed = 256;
    RGBQUAD* table = rasko::colour_table(dib);
    for (int i = 0; i < 10; ++i) {
        set_entry(table[i], kLowSystemColours[i]);
        set_entry(table[246 + i], kHighSystemColours[i]);
    }
    return dib;
}

extern "C" HGLOBAL RaskoDestroyDIB(BITMAPINFOHEADER* dib) { return GlobalFree(dib); }
