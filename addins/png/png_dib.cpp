#include "addins/png/png_picture.h"

#include "platform/io/dib_layout.h"

#include <cstring>

BITMAPINFOHEADER* png_to_dib(const PngPicture& picture) {
    const int w = picture.width, h = picture.height;
    if (w < 1 || h < 1 || picture.pixels.size() != std::size_t(w) * std::size_t(h)) return nullptr;
    const std::size_t stride = std::size_t(io::stride_of(w));
    auto* dib = static_cast<BITMAPINFOHEADER*>(
        GlobalAlloc(GPTR, io::kHeaderAndPalette + stride * std::size_t(h)));
    if (!dib) return nullptr;
    dib->biSize = sizeof(BITMAPINFOHEADER);
    dib->biWidth = w;
    dib->biHeight = h;
    dib->biPlanes = 1;
    dib->biBitCount = 8;
    dib->biCompression = BI_RGB;
    dib->biSizeImage = DWORD(stride * std::size_t(h));
    dib->biClrUsed = 256;
    std::memcpy(io::colour_table(dib), picture.palette, sizeof picture.palette);
    BYTE* bits = io::bits_of(dib);
    for (int y = 0; y < h; ++y)
        std::memcpy(bits + std::size_t(h - 1 - y) * stride,
                    picture.pixels.data() + std::size_t(y) * w, std::size_t(w));
    return dib;
}

bool png_from_dib(const BITMAPINFOHEADER* dib, const BYTE* bits, int transparent_index,
                  PngPicture& out) {
    if (!dib || !bits || dib->biBitCount != 8 || dib->biSize < sizeof(BITMAPINFOHEADER))
        return false;
    const int w = dib->biWidth;
    const bool top_down = dib->biHeight < 0;
    const LONG h = top_down ? -dib->biHeight : dib->biHeight;
    if (w < 1 || h < 1 || w > kPngMaxSide || h > kPngMaxSide) return false;
    out = PngPicture{};
    out.width = w;
    out.height = int(h);
    out.transparent_index =
        transparent_index >= 0 && transparent_index <= 255 ? transparent_index : -1;
    std::memcpy(out.palette, io::colour_table(dib), sizeof out.palette);
    for (RGBQUAD& entry : out.palette)
        entry.rgbReserved = 0;
    out.pixels.resize(std::size_t(w) * std::size_t(h));
    const std::size_t stride = std::size_t(io::stride_of(w));
    for (int y = 0; y < h; ++y) {
        const std::size_t source_row = top_down ? std::size_t(y) : std::size_t(h - 1 - y);
        std::memcpy(out.pixels.data() + std::size_t(y) * w, bits + source_row * stride,
                    std::size_t(w));
    }
    return true;
}
