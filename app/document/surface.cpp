#include "app/document/picture.h"
#include "engine/rasko.h"

#include <cstring>

namespace {

using io::kPaletteBytes;
constexpr std::size_t kLogicalPaletteBytes = 4 + 256 * sizeof(PALETTEENTRY);

} // namespace

bool Surface::create(int width, int height) {
    if (info) destroy();
    if (width < 1 || height < 1) return false;
    // The header block carries no pixels of its own (they live in the DIB
    // section); a 0 x 0 DIB is just the header fields and the default colour
    // table, and the size is then set to the section's.
    info = RaskoCreateDIB(0, 0);
    if (!info) return false;
    info->biWidth = width;
    info->biHeight = height;

    HDC screen = GetDC(nullptr);
    void* section_bits = nullptr;
    bitmap = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(info), DIB_RGB_COLORS,
                              &section_bits, nullptr, 0);
    ReleaseDC(nullptr, screen);
    if (!bitmap || !section_bits) {
        destroy();
        return false;
    }
    bits = static_cast<BYTE*>(section_bits);
    screen = GetDC(nullptr);
    dc = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    if (dc) previous_bitmap = static_cast<HBITMAP>(SelectObject(dc, bitmap));
    logical_palette = static_cast<LOGPALETTE*>(GlobalAlloc(GPTR, kLogicalPaletteBytes));
    if (!dc || !previous_bitmap || !logical_palette) {
        destroy();
        return false;
    }
    RaskoCopyPaletteFromDIB(logical_palette, info);
    return true;
}

void Surface::destroy() {
    if (bitmap) {
        if (dc) {
            if (previous_bitmap) SelectObject(dc, previous_bitmap);
            DeleteDC(dc);
        }
        DeleteObject(bitmap);
    } else if (dc) {
        DeleteDC(dc);
    }
    if (info) RaskoDestroyDIB(info);
    if (logical_palette) GlobalFree(logical_palette);
    info = nullptr;
    bits = nullptr;
    bitmap = nullptr;
    previous_bitmap = nullptr;
    dc = nullptr;
    logical_palette = nullptr;
}

void Surface::refresh_palette() {
    if (!info || !logical_palette) return;
    RaskoCopyPaletteFromDIB(logical_palette, info);
    if (dc) SetDIBColorTable(dc, 0, 256, colour_table());
}

void Surface::set_palette(const RGBQUAD* table) {
    if (!info) return;
    std::memcpy(colour_table(), table, kPaletteBytes);
    refresh_palette();
}

void Surface::copy_to(Surface& other) const {
    // A header copied onto a surface of another size would misdescribe its
    // section, so only equal sizes are copied.
    if (!info || !other.info || &other == this) return;
    if (other.width() != width() || other.height() != height()) return;
    std::memcpy(other.info, info, sizeof(BITMAPINFOHEADER) + kPaletteBytes);
    other.refresh_palette();
    if (bits && other.bits) std::memcpy(other.bits, bits, pixel_bytes());
}

Surface* create_surface(int width, int height) {
    auto* surface = new Surface;
    if (!surface->create(width, height)) {
        delete surface;
        return nullptr;
    }
    return surface;
}
