#include "platform/win.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <unordered_map>
#include <vector>

struct HBITMAP__ {
    int width = 1;
    int height = 1;
    BYTE* pixels = nullptr; // owned (calloc); null for the stock bitmap
    RGBQUAD colours[256] = {};
    int selections = 0; // memory DCs holding it
};

struct HPALETTE__ {
    std::vector<PALETTEENTRY> entries;
    int selections = 0;
};

struct HDC__ {
    bool memory = false;
    HBITMAP bitmap = nullptr;
    HPALETTE palette = nullptr;
};

namespace {

// A 32-bit process cannot map more than this for one section.
constexpr std::uint64_t kMaxSectionBytes = 0x7FFF0000u;

enum class Kind { bitmap, palette, dc };

// Every live object by address, so that stale or foreign handles are refused
// as GDI refuses them instead of being dereferenced.
std::unordered_map<const void*, Kind>& live() {
    static std::unordered_map<const void*, Kind> objects;
    return objects;
}

bool is(const void* object, Kind kind) {
    auto it = live().find(object);
    return it != live().end() && it->second == kind;
}

// What a fresh memory DC holds: a 1 x 1 bitmap and the default palette.
HBITMAP__ stock_bitmap;
HPALETTE__ stock_palette{std::vector<PALETTEENTRY>(20), 0};
HDC__ screen_dc;

int sections_until_failure = -1;

void select_bitmap(HDC dc, HBITMAP bitmap) {
    if (dc->bitmap) --dc->bitmap->selections;
    dc->bitmap = bitmap;
    ++bitmap->selections;
}

void select_palette(HDC dc, HPALETTE palette) {
    if (dc->palette) --dc->palette->selections;
    dc->palette = palette;
    ++palette->selections;
}

bool is_dc(HDC dc) {
    return dc == &screen_dc || is(dc, Kind::dc);
}

HBITMAP selected_section(HDC dc) {
    if (!is(dc, Kind::dc) || dc->bitmap == &stock_bitmap) return nullptr;
    return dc->bitmap;
}

} // namespace

HDC GetDC(HWND) {
    return &screen_dc;
}

int ReleaseDC(HWND, HDC dc) {
    return dc == &screen_dc ? 1 : 0;
}

HDC CreateCompatibleDC(HDC dc) {
    if (dc && !is_dc(dc)) return nullptr;
    HDC memory_dc = new HDC__{true, nullptr, nullptr};
    select_bitmap(memory_dc, &stock_bitmap);
    select_palette(memory_dc, &stock_palette);
    live()[memory_dc] = Kind::dc;
    return memory_dc;
}

BOOL DeleteDC(HDC dc) {
    if (!is(dc, Kind::dc)) return FALSE;
    --dc->bitmap->selections;
    --dc->palette->selections;
    live().erase(dc);
    delete dc;
    return TRUE;
}

HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section,
                         DWORD) {
    if (bits) *bits = nullptr;
    if (!is_dc(dc) || !info || usage != DIB_RGB_COLORS || section) return nullptr;
    const BITMAPINFOHEADER& h = info->bmiHeader;
    if (h.biBitCount != 8 || h.biCompression != BI_RGB || h.biWidth < 1 || h.biHeight < 1)
        return nullptr;
    const std::uint64_t bytes = std::uint64_t((h.biWidth + 3) & ~3) * std::uint64_t(h.biHeight);
    if (bytes > kMaxSectionBytes) return nullptr;
    if (sections_until_failure == 0) return nullptr;
    if (sections_until_failure > 0) --sections_until_failure;
    auto* pixels = static_cast<BYTE*>(std::calloc(std::size_t(bytes), 1));
    if (!pixels) return nullptr;
    auto* bitmap = new HBITMAP__;
    bitmap->width = h.biWidth;
    bitmap->height = h.biHeight;
    bitmap->pixels = pixels;
    const DWORD count = h.biClrUsed && h.biClrUsed < 256 ? h.biClrUsed : 256;
    const auto* table =
        reinterpret_cast<const RGBQUAD*>(reinterpret_cast<const BYTE*>(info) + h.biSize);
    std::memcpy(bitmap->colours, table, count * sizeof(RGBQUAD));
    live()[bitmap] = Kind::bitmap;
    if (bits) *bits = pixels;
    return bitmap;
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
    if (!is(dc, Kind::dc)) return nullptr;
    auto* bitmap = static_cast<HBITMAP>(object);
    if (bitmap != &stock_bitmap && !is(object, Kind::bitmap)) return nullptr;
    // A bitmap can be selected into one memory DC at a time.
    if (bitmap != &stock_bitmap && bitmap->selections > 0 && dc->bitmap != bitmap) return nullptr;
    HBITMAP previous = dc->bitmap;
    select_bitmap(dc, bitmap);
    return previous;
}

BOOL DeleteObject(HGDIOBJ object) {
    if (object == &stock_bitmap || object == &stock_palette) return TRUE;
    if (is(object, Kind::bitmap)) {
        auto* bitmap = static_cast<HBITMAP>(object);
        if (bitmap->selections > 0) return FALSE;
        live().erase(object);
        std::free(bitmap->pixels);
        delete bitmap;
        return TRUE;
    }
    if (is(object, Kind::palette)) {
        auto* palette = static_cast<HPALETTE>(object);
        if (palette->selections > 0) return FALSE;
        live().erase(object);
        delete palette;
        return TRUE;
    }
    return FALSE;
}

UINT SetDIBColorTable(HDC dc, UINT start, UINT count, const RGBQUAD* colours) {
    HBITMAP bitmap = selected_section(dc);
    if (!bitmap || !colours || start >= 256) return 0;
    if (count > 256 - start) count = 256 - start;
    std::memcpy(bitmap->colours + start, colours, count * sizeof(RGBQUAD));
    return count;
}

UINT GetDIBColorTable(HDC dc, UINT start, UINT count, RGBQUAD* colours) {
    HBITMAP bitmap = selected_section(dc);
    if (!bitmap || !colours || start >= 256) return 0;
    if (count > 256 - start) count = 256 - start;
    std::memcpy(colours, bitmap->colours + start, count * sizeof(RGBQUAD));
    return count;
}

HPALETTE CreatePalette(const LOGPALETTE* palette) {
    if (!palette || palette->palNumEntries == 0) return nullptr;
    auto* made = new HPALETTE__;
    made->entries.assign(palette->palPalEntry, palette->palPalEntry + palette->palNumEntries);
    live()[made] = Kind::palette;
    return made;
}

HPALETTE SelectPalette(HDC dc, HPALETTE palette, BOOL) {
    if (!is_dc(dc) || (palette != &stock_palette && !is(palette, Kind::palette))) return nullptr;
    HPALETTE previous = dc->palette ? dc->palette : &stock_palette;
    select_palette(dc, palette);
    return previous;
}

UINT RealizePalette(HDC dc) {
    if (!is_dc(dc) || !dc->palette) return 0;
    return UINT(dc->palette->entries.size());
}

BOOL UnrealizeObject(HGDIOBJ object) {
    return object == &stock_palette || is(object, Kind::palette) ? TRUE : FALSE;
}

UINT GetPaletteEntries(HPALETTE palette, UINT start, UINT count, PALETTEENTRY* entries) {
    if (palette != &stock_palette && !is(palette, Kind::palette)) return 0;
    const UINT size = UINT(palette->entries.size());
    if (!entries) return size;
    if (start >= size) return 0;
    if (count > size - start) count = size - start;
    std::memcpy(entries, palette->entries.data() + start, count * sizeof(PALETTEENTRY));
    return count;
}

namespace native {
void fail_dib_sections_after(int successes) {
    sections_until_failure = successes;
}
int live_gdi_objects() {
    return int(live().size());
}
} // namespace native
