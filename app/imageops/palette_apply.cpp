#include "app/imageops/palette_apply.h"

#include "engine/rasko.h"

#include <cstring>

namespace {

constexpr int kColours = io::kPaletteEntries;
// The version every logical palette carries.
constexpr WORD kLogicalPaletteVersion = 0x300;

struct DibDeleter {
    void operator()(BITMAPINFOHEADER* dib) const { RaskoDestroyDIB(dib); }
};

// Where the engine's palette change sends each of the 256 indexes of
// `table`: it is run on a row that holds every index once.
bool remap_table(const RGBQUAD* table, const RGBQUAD* palette, BYTE* map) {
    BITMAPINFOHEADER* row = RaskoCreateDIB(kColours, 1);
    auto* logical = static_cast<LOGPALETTE*>(
        GlobalAlloc(GPTR, sizeof(LOGPALETTE) + (kColours - 1) * sizeof(PALETTEENTRY)));
    const bool ok = row && logical;
    if (ok) {
        std::memcpy(io::colour_table(row), table, io::kPaletteBytes);
        BYTE* bits = io::bits_of(row);
        for (int i = 0; i < kColours; ++i)
            bits[i] = BYTE(i);
        logical->palVersion = kLogicalPaletteVersion;
        logical->palNumEntries = kColours;
        for (int i = 0; i < kColours; ++i)
            logical->palPalEntry[i] = {palette[i].rgbRed, palette[i].rgbGreen, palette[i].rgbBlue,
                                       0};
        RaskoChangeDIBPalette(row, bits, logical);
        std::memcpy(map, bits, kColours);
    }
    GlobalFree(logical);
    if (row) RaskoDestroyDIB(row);
    return ok;
}

} // namespace

bool apply_palette(PictureDocument& doc, const RGBQUAD* palette, PaletteApply how) {
    Layer* current = current_layer(doc);
    if (!current) return false;
    BYTE map[kColours];
    if (how == PaletteApply::Remap) {
        if (!remap_table(current->image->colour_table(), palette, map)) return false;
        for (LayerNode* node = doc.layers->next; node != doc.layers; node = node->next) {
            Layer& layer = *node->layer;
            Surface& image = *layer.image;
            BYTE* row = image.bits;
            for (int y = 0; y < image.height(); ++y, row += image.stride())
                for (int x = 0; x < image.width(); ++x)
                    row[x] = map[row[x]];
            layer.key_colour = map[layer.key_colour & 0xFF];
            layer.background_colour = map[layer.background_colour & 0xFF];
        }
    }
    current->image->set_palette(palette);
    update_palette(doc);
    return true;
}
