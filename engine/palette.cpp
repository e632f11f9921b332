// Palette services: colour tables, logical palettes, nearest colours,
// remapping and colour reduction. Colour distance is |dr| + |dg| + |db|.
#include "platform/io/dib_layout.h"
#include "engine/nearest_colour.h"
#include "engine/rasko.h"
#include "engine/tone.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

using io::kPaletteEntries;

const RGBQUAD* table_of(const BITMAPINFOHEADER* dib) {
    return reinterpret_cast<const RGBQUAD*>(reinterpret_cast<const BYTE*>(dib) + dib->biSize);
}

RGBQUAD* table_of(BITMAPINFOHEADER* dib) {
    return io::colour_table(dib);
}

bool same_rgb(const RGBQUAD& a, const RGBQUAD& b) {
    return a.rgbRed == b.rgbRed && a.rgbGreen == b.rgbGreen && a.rgbBlue == b.rgbBlue;
}

int distance(const RGBQUAD& a, const RGBQUAD& b) {
    return std::abs(int(a.rgbRed) - b.rgbRed) + std::abs(int(a.rgbGreen) - b.rgbGreen) +
           std::abs(int(a.rgbBlue) - b.rgbBlue);
}

int nearest_in(const RGBQUAD* table, int count, const RGBQUAD& colour) {
    return rasko::nearest_entry(table, count, colour.rgbRed, colour.rgbGreen, colour.rgbBlue);
}

void set_rgb(RGBQUAD& q, BYTE red, BYTE green, BYTE blue) {
    q.rgbRed = red;
    q.rgbGreen = green;
    q.rgbBlue = blue;
}

// The twenty static system colours (red, green, blue) of entries 0-9 and
// 246-255 that every new DIB starts with.
constexpr BYTE kStaticColours[20][3] = {
    {0, 0, 0},       {128, 0, 0},     {0, 128, 0},     {128, 128, 0},   {0, 0, 128},
    {128, 0, 128},   {0, 128, 128},   {192, 192, 192}, {192, 220, 192}, {166, 202, 240},
    {255, 251, 240}, {160, 160, 164}, {128, 128, 128}, {255, 0, 0},     {0, 255, 0},
    {255, 255, 0},   {0, 0, 255},     {255, 0, 255},   {0, 255, 255},   {255, 255, 255},
};

// The pixel rows of a DIB, |biHeight| of them, for whole-picture passes.
struct Rows {
    BYTE* bits;
    std::size_t stride;
    int width;
    int height;
    bool top_down;

    Rows(const BITMAPINFOHEADER* dib, BYTE* b)
        : bits(b), stride(std::size_t(io::stride_of(dib->biWidth))), width(dib->biWidth),
          height(dib->biHeight < 0 ? -dib->biHeight : dib->biHeight), top_down(dib->biHeight < 0) {}

    // Stored row s holds image row y (y = 0 the top row).
    BYTE* stored(int s) const { return bits + std::size_t(s) * stride; }
    int image_row(int s) const { return top_down ? s : height - 1 - s; }
};

void remap(const Rows& rows, const BYTE map[kPaletteEntries]) {
    if (rows.width < 1) return;
    for (int s = 0; s < rows.height; ++s) {
        BYTE* d = rows.stored(s);
        for (int x = 0; x < rows.width; ++x)
            d[x] = map[d[x]];
    }
}

// Extended-range colour distance for the dithered search, whose reflected
// targets leave 0-255.
std::int64_t wide_distance(const RGBQUAD& q, std::int64_t red, std::int64_t green,
                           std::int64_t blue) {
    return std::llabs(q.rgbRed - red) + std::llabs(q.rgbGreen - green) +
           std::llabs(q.rgbBlue - blue);
}

// The nearest-colour scan over full-range components. Its best distance
// starts at 1024, as for in-range colours (which are never that far): when
// every entry is at least that far, entry 0 is taken at distance 1024.
int wide_nearest(const RGBQUAD* table, std::int64_t red, std::int64_t green, std::int64_t blue,
                 std::int64_t* best_distance) {
    int best = 0;
    *best_distance = 1024;
    for (int i = 0; i < kPaletteEntries; ++i) {
        const std::int64_t d = wide_distance(table[i], red, green, blue);
        if (d < *best_distance) {
            best = i;
            *best_distance = d;
            if (d == 0) break;
        }
    }
    return best;
}

// The K target colours of a colour reduction: the colours (from `source`) of
// the K most frequent pixel values, most frequent first, ties and unused
// values lowest value first.
void pick_by_frequency(const Rows& rows, const RGBQUAD* source, int count, RGBQUAD* target) {
    std::uint32_t frequency[kPaletteEntries] = {};
    for (int s = 0; s < rows.height; ++s) {
        const BYTE* row = rows.stored(s);
        for (int x = 0; x < rows.width; ++x)
            ++frequency[row[x]];
    }
    bool taken[kPaletteEntries] = {};
    for (int k = 0; k < count; ++k) {
        int pick = -1;
        for (int v = 0; v < kPaletteEntries; ++v)
            if (!taken[v] && (pick < 0 || frequency[v] > frequency[pick])) pick = v;
        taken[pick] = true;
        target[k] = source[pick];
    }
}

// Ordered dithering between each old index's nearest target colour and the
// target nearest to its reflection about the old colour. The screen is the
// transpose of the blits' one: pixel (x, y) tests bit (x & 3) * 4 + (y & 3).
void dither(const Rows& rows, const RGBQUAD* colours, const RGBQUAD* target, int count,
            const BYTE nearest[kPaletteEntries]) {
    BYTE partner[kPaletteEntries];
    WORD pattern[kPaletteEntries];
    for (int i = 0; i < kPaletteEntries; ++i) {
        const RGBQUAD& closest = target[nearest[i]];
        if (same_rgb(closest, colours[i])) {
            partner[i] = nearest[i];
            pattern[i] = rasko::working_tone(0);
            continue;
        }
        RGBQUAD reflected{};
        reflected.rgbRed = BYTE(2 * colours[i].rgbRed - closest.rgbRed);
        reflected.rgbGreen = BYTE(2 * colours[i].rgbGreen - closest.rgbGreen);
        reflected.rgbBlue = BYTE(2 * colours[i].rgbBlue - closest.rgbBlue);
        partner[i] = BYTE(nearest_in(target, count, reflected));
        const int h = distance(colours[i], closest);
        pattern[i] = rasko::working_tone(16 * h / (h + distance(target[partner[i]], closest)));
    }
    // The pixel's choice for each (x & 3, y & 3), so the row loop is one
    // table look-up a pixel.
    BYTE choice[4][4][kPaletteEntries];
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            for (int i = 0; i < kPaletteEntries; ++i)
                choice[y][x][i] = rasko::tone_bit(pattern[i], y, x) ? partner[i] : nearest[i];
    for (int s = 0; s < rows.height; ++s) {
        BYTE* d = rows.stored(s);
        const int y = rows.image_row(s) & 3;
        for (int x = 0; x < rows.width; ++x)
            d[x] = choice[y][x & 3][d[x]];
    }
}

} // namespace

extern "C" void RaskoChangePalette(BITMAPINFOHEADER* dib, int index, int red, int green, int blue) {
    set_rgb(table_of(dib)[index & 0xFF], BYTE(red), BYTE(green), BYTE(blue));
}

extern "C" void RaskoCopyPaletteToDIB(BITMAPINFOHEADER* dib, const LOGPALETTE* palette) {
    RGBQUAD* table = table_of(dib);
    const PALETTEENTRY* entries = palette->palPalEntry;
    for (int i = 0; i < kPaletteEntries; ++i)
        set_rgb(table[i], entries[i].peRed, entries[i].peGreen, entries[i].peBlue);
}

extern "C" void RaskoCopyPaletteFromDIB(LOGPALETTE* palette, const BITMAPINFOHEADER* dib) {
    const RGBQUAD* table = table_of(dib);
    palette->palVersion = 0x300;
    palette->palNumEntries = kPaletteEntries;
    PALETTEENTRY* entries = palette->palPalEntry;
    for (int i = 0; i < kPaletteEntries; ++i)
        entries[i] = PALETTEENTRY{table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue, 0};
}

extern "C" void RaskoCopyPalette(BITMAPINFOHEADER* dst, const BITMAPINFOHEADER* src) {
    std::memmove(table_of(dst), table_of(src), io::kPaletteBytes);
}

extern "C" int RaskoIsSamePalette(const BITMAPINFOHEADER* a, const BITMAPINFOHEADER* b) {
    const RGBQUAD* ta = table_of(a);
    const RGBQUAD* tb = table_of(b);
    for (int i = 0; i < kPaletteEntries; ++i)
        if (!same_rgb(ta[i], tb[i])) return 0;
    return 1;
}

extern "C" int RaskoCheckDIBSystemPalette(const BITMAPINFOHEADER* dib) {
    const RGBQUAD* table = table_of(dib);
    for (int k = 0; k < 20; ++k) {
        const RGBQUAD& q = table[k < 10 ? k : 236 + k];
        const BYTE* rgb = kStaticColours[k];
        if (q.rgbRed != rgb[0] || q.rgbGreen != rgb[1] || q.rgbBlue != rgb[2]) return 0;
    }
    return 1;
}

extern "C" void RaskoSwapPalette(BITMAPINFOHEADER* dib, BYTE* bits, int a, int b) {
    const BYTE ia = BYTE(a);
    const BYTE ib = BYTE(b);
    if (ia == ib) return;
    RGBQUAD* table = table_of(dib);
    const RGBQUAD old_a = table[ia];
    set_rgb(table[ia], table[ib].rgbRed, table[ib].rgbGreen, table[ib].rgbBlue);
    set_rgb(table[ib], old_a.rgbRed, old_a.rgbGreen, old_a.rgbBlue);
    BYTE map[kPaletteEntries];
    for (int i = 0; i < kPaletteEntries; ++i)
        map[i] = BYTE(i);
    map[ia] = ib;
    map[ib] = ia;
    remap(Rows(dib, bits), map);
}

extern "C" void RaskoChangeDIBPalette(BITMAPINFOHEADER* dib, BYTE* bits,
                                      const LOGPALETTE* palette) {
    RGBQUAD incoming[kPaletteEntries];
    const PALETTEENTRY* entries = palette->palPalEntry;
    for (int j = 0; j < kPaletteEntries; ++j)
        incoming[j] = RGBQUAD{entries[j].peBlue, entries[j].peGreen, entries[j].peRed, 0};
    const RGBQUAD* old = table_of(dib);
    BYTE map[kPaletteEntries];
    for (int i = 0; i < kPaletteEntries; ++i)
        map[i] = same_rgb(incoming[i], old[i])
                     ? BYTE(i)
                     : BYTE(nearest_in(incoming, kPaletteEntries, old[i]));
    RaskoCopyPaletteToDIB(dib, palette);
    remap(Rows(dib, bits), map);
}

extern "C" int RaskoGetNearestColor(const BITMAPINFOHEADER* dib, int red, int green, int blue) {
    return rasko::nearest_entry(table_of(dib), kPaletteEntries, BYTE(red), BYTE(green), BYTE(blue));
}

extern "C" int RaskoExtGetNearestColor(const BITMAPINFOHEADER* dib, int x, int y, int red,
                                       int green, int blue) {
    const RGBQUAD* table = table_of(dib);
    std::int64_t d = 0;
    const int nearest = wide_nearest(table, red, green, blue, &d);
    if (d == 0 || ((x + y) & 1)) return nearest;
    const RGBQUAD& n = table[nearest];
    std::int64_t e = 0;
    const int partner =
        wide_nearest(table, 2 * std::int64_t(red) - n.rgbRed, 2 * std::int64_t(green) - n.rgbGreen,
                     2 * std::int64_t(blue) - n.rgbBlue, &e);
    const std::int64_t level = 16 * d / (e + 2 * d);
    return rasko::tone_bit(rasko::working_tone(int(level)), x, y) ? partner : nearest;
}

extern "C" int RaskoDecreaseColorDepth(BITMAPINFOHEADER* dib, BYTE* bits, int bits_per_pixel,
                                       const RGBQUAD* palette, int dither_flag,
                                       int frequency_flag) {
    if (bits_per_pixel < 1 || bits_per_pixel > 7) return 0;
    const int count = 1 << bits_per_pixel;
    RGBQUAD* colours = table_of(dib);
    const Rows rows(dib, bits);

    // At most 128 entries: the target palette lives on the stack, so the
    // reduction cannot run out of memory half-way. Frequent pixel values
    // take their colours from the DIB's own table: a given palette need only
    // hold K entries, and a pixel value can be any of 256.
    RGBQUAD target[128];
    if (frequency_flag)
        pick_by_frequency(rows, colours, count, target);
    else
        std::memcpy(target, palette ? palette : colours, std::size_t(count) * sizeof(RGBQUAD));

    BYTE nearest[kPaletteEntries];
    for (int i = 0; i < kPaletteEntries; ++i)
        nearest[i] = BYTE(nearest_in(target, count, colours[i]));
    if (rows.width > 0) {
        if (dither_flag)
            dither(rows, colours, target, count, nearest);
        else
            remap(rows, nearest);
    }

    if (palette || frequency_flag)
        for (int k = 0; k < count; ++k)
            set_rgb(colours[k], target[k].rgbRed, target[k].rgbGreen, target[k].rgbBlue);
    for (int k = count; k < kPaletteEntries; ++k)
        set_rgb(colours[k], 0, 0, 0);
    return 1;
}
