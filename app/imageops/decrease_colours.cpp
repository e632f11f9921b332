#include "app/imageops/decrease_colours.h"

#include "app/imageops/tone_pattern.h"

#include <cstdlib>
#include <cstring>

namespace {

constexpr int kEntries = 256;
constexpr int kLastEntry = kEntries - 1;
constexpr int kScreen = 4; // the ordered pattern's side
constexpr int kNoEntry = -1;

int distance(const RGBQUAD& a, const RGBQUAD& b) {
    return std::abs(a.rgbRed - b.rgbRed) + std::abs(a.rgbGreen - b.rgbGreen) +
           std::abs(a.rgbBlue - b.rgbBlue);
}

// The kept colours and the one a layer may not use for its opaque pixels.
struct Targets {
    const RGBQUAD* colours;
    int count;
    int excluded; // the layer's key colour when it is a kept entry, else kNoEntry
};

// The nearest kept colour, the lowest index on a tie.
int nearest(const Targets& t, const RGBQUAD& colour) {
    int best = kNoEntry, best_distance = 0;
    for (int j = 0; j < t.count; ++j) {
        if (j == t.excluded) continue;
        const int d = distance(colour, t.colours[j]);
        if (best == kNoEntry || d < best_distance) best = j, best_distance = d;
        if (d == 0) break;
    }
    return best;
}

// What each old index becomes at each of the 16 screen positions: the
// nearest kept colour, or where the old colour lies between two kept ones,
// a mix of the nearest and the one nearest to the old colour's reflection
// about it, in the share of their distances. The screen is read as the
// engine's colour reduction reads it, column-major: bit (x & 3) * 4 + (y & 3).
struct ChoiceTable {
    BYTE at[kScreen][kScreen][kEntries]; // [y & 3][x & 3][old index]
};

void build_choices(const RGBQUAD* old_colours, const Targets& t, bool dither, int key,
                   ChoiceTable& table) {
    for (int i = 0; i < kEntries; ++i) {
        const int n = nearest(t, old_colours[i]);
        int partner = n;
        WORD pattern = 0;
        const RGBQUAD& closest = t.colours[n];
        const int h = distance(old_colours[i], closest);
        if (dither && h != 0) {
            RGBQUAD reflected{};
            reflected.rgbRed = BYTE(2 * old_colours[i].rgbRed - closest.rgbRed);
            reflected.rgbGreen = BYTE(2 * old_colours[i].rgbGreen - closest.rgbGreen);
            reflected.rgbBlue = BYTE(2 * old_colours[i].rgbBlue - closest.rgbBlue);
            partner = nearest(t, reflected);
            pattern = standard_tone_pattern(kToneLevelMax * h /
                                            (h + distance(t.colours[partner], closest)));
        }
        for (int y = 0; y < kScreen; ++y)
            for (int x = 0; x < kScreen; ++x) {
                const bool second = (pattern >> (x * kScreen + y)) & 1;
                table.at[y][x][i] = BYTE(i == key ? key : second ? partner : n);
            }
    }
}

void apply(Surface& image, const ChoiceTable& table) {
    const int width = image.width(), height = image.height();
    for (int s = 0; s < height; ++s) {
        BYTE* row = image.bits + std::size_t(s) * std::size_t(image.stride());
        const auto& choice = table.at[(height - 1 - s) & (kScreen - 1)];
        int x = 0;
        for (; x + kScreen <= width; x += kScreen) {
            row[x] = choice[0][row[x]];
            row[x + 1] = choice[1][row[x + 1]];
            row[x + 2] = choice[2][row[x + 2]];
            row[x + 3] = choice[3][row[x + 3]];
        }
        for (; x < width; ++x)
            row[x] = choice[x & (kScreen - 1)][row[x]];
    }
}

} // namespace

bool decrease_colours(PictureDocument& doc, const DecreaseRequest& request) {
    Layer* current = current_layer(doc);
    const int count = request.colours;
    if (!current || count < kDecreaseMinColours || count > kDecreaseMaxColours) return false;
    RGBQUAD old_colours[kEntries];
    std::memcpy(old_colours, current->image->colour_table(), sizeof old_colours);
    RGBQUAD kept[kDecreaseMaxColours];
    std::memcpy(kept, request.palette ? request.palette : old_colours,
                std::size_t(count) * sizeof(RGBQUAD));
    bool is_key[kEntries] = {};
    ChoiceTable table;
    doc.flags |= kDocModified;
    for (LayerNode* node = doc.layers->next; node != doc.layers; node = node->next) {
        Layer& layer = *node->layer;
        const int key = layer.key_colour & kLastEntry;
        is_key[key] = true;
        const Targets targets{kept, count, key < count ? key : kNoEntry};
        build_choices(old_colours, targets, request.dither, key, table);
        take_undo_copy(layer);
        apply(*layer.image, table);
    }
    RGBQUAD* table_out = current->image->colour_table();
    for (int i = 0; i < kEntries; ++i) {
        RGBQUAD& q = table_out[i];
        const RGBQUAD colour = i < count ? kept[i] : is_key[i] ? old_colours[i] : RGBQUAD{};
        q.rgbRed = colour.rgbRed;
        q.rgbGreen = colour.rgbGreen;
        q.rgbBlue = colour.rgbBlue;
    }
    update_palette(doc);
    return true;
}
