#include "addins/png/png_picture.h"

#include <cstring>

namespace {

constexpr std::size_t kHeaderBytes = sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD);

std::size_t stride_of(int width) { return (std::size_t(width) + 3) & ~std::size_t(3); }

} // namespace

BITMAPINFOHEADER* png_to_dib(const PngPicture& picture) {
    const int w = picture.width, h = picture.height;
    if (w < 1 || h < 1 || picture.pixels.size() != std::size_t(w) * std::size_t(h)) return nullptr;
    const std::size_t stride = stride_of(w);
    auto* dib =
        static_cast<BITMAPINFOHEADER*>(GlobalAlloc(GPTR, kHeaderBytes + stride * std::size_t(h)));
    if (!dib) return nullptr;
    dib->biSize = sizeof(BITMAPINFOHEADER);
    dib->biWidth = w;
    dib->biHeight = h;
    dib->biPlanes = 1;
    dib->biBitCount = 8;
    dib->biCompression = BI_RGB;
    dib->biSizeImage = DWORD(stride * std::size_t(h));
    dib->biClrUsed = 256;
    BYTE* base = reinterpret_cast<BYTE*>(dib);
    std::memcpy(base + sizeof(BITMAPINFOHEADER), picture.palette, sizeof picture.palette);
    BYTE* bits = base + kHeaderBytes;
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
    out.transparent_index = transparent_index >= 0 && transparent_index <= 255 ? transparent_index : -1;
    std::memcpy(out.palette, reinterpret_cast<const BYTE*>(dib) + dib->biSize, sizeof out.palette);
    for (RGBQUAD& entry : out.palette) entry.rgbReserved = 0;
    out.pixels.resize(std::size_t(w) * std::size_t(h));
    const std::size_t stride = stride_of(w);
    for (int y = 0; y < h; ++y) {
        const std::size_t source_row = top_down ? std::size_t(y) : std::size_t(h - 1 - y);
        std::memcpy(out.pixels.data() + std::size_t(y) * w, bits + source_row * stride,
                    std::size_t(w));
    }
    return true;
}
