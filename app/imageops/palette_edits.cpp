#include "app/imageops/palette_edits.h"

#include "engine/rasko.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace {

constexpr int kEntries = 256;
constexpr int kLastEntry = kEntries - 1;
constexpr int kGradationMinGap = 2;

template <typename Step> void for_each_layer(PictureDocument& doc, Step step) {
    if (!doc.layers) return;
    for (LayerNode* node = doc.layers->next; node != doc.layers; node = node->next)
        if (node->layer->image && node->layer->image->info) step(*node->layer);
}

RGBQUAD* table_of(Layer& layer) {
    return layer.image->colour_table();
}

// Every layer's table is the current one's after an edit of the current
// table alone; update_palette spreads it and refreshes everything else.
void finish(PictureDocument& doc) {
    doc.flags |= kDocModified;
    update_palette(doc);
}

int distance(const RGBQUAD& a, const RGBQUAD& b) {
    return std::abs(a.rgbRed - b.rgbRed) + std::abs(a.rgbGreen - b.rgbGreen) +
           std::abs(a.rgbBlue - b.rgbBlue);
}

bool same_rgb(const RGBQUAD& a, const RGBQUAD& b) {
    return distance(a, b) == 0;
}

std::int32_t mapped_index(std::int32_t index, const BYTE map[kEntries]) {
    return map[index & kLastEntry];
}

BYTE step_between(BYTE lo, BYTE hi, int i, int n) {
    return BYTE(lo + (int(hi) - int(lo)) * i / n);
}

} // namespace

void set_palette_colour(PictureDocument& doc, int index, BYTE red, BYTE green, BYTE blue) {
    Layer* current = current_layer(doc);
    if (!current) return;
    RaskoChangePalette(current->image->info, index, red, green, blue);
    finish(doc);
}

void swap_palette_colours(PictureDocument& doc, int a, int b) {
    if (!current_layer(doc)) return;
    a &= kLastEntry;
    b &= kLastEntry;
    BYTE map[kEntries];
    for (int i = 0; i < kEntries; ++i)
        map[i] = BYTE(i);
    std::swap(map[a], map[b]);
    for_each_layer(doc, [&](Layer& layer) {
        take_undo_copy(layer);
        RaskoSwapPalette(layer.image->info, layer.image->bits, a, b);
        layer.key_colour = mapped_index(layer.key_colour, map);
        layer.background_colour = mapped_index(layer.background_colour, map);
    });
    finish(doc);
}

void copy_palette_colour(PictureDocument& doc, int target, int source) {
    Layer* current = current_layer(doc);
    if (!current) return;
    for_each_layer(doc, [](Layer& layer) { take_undo_copy(layer); });
    RGBQUAD* table = table_of(*current);
    table[target & kLastEntry] = table[source & kLastEntry];
    finish(doc);
}

bool grade_palette(PictureDocument& doc, int a, int b) {
    Layer* current = current_layer(doc);
    const int lo = std::min(a, b) & kLastEntry, hi = std::max(a, b) & kLastEntry;
    if (!current || hi - lo < kGradationMinGap) return false;
    for_each_layer(doc, [](Layer& layer) { take_undo_copy(layer); });
    RGBQUAD* table = table_of(*current);
    const RGBQUAD from = table[lo], to = table[hi];
    const int n = hi - lo;
    for (int i = 1; i < n; ++i) {
        RGBQUAD& q = table[lo + i];
        q.rgbRed = step_between(from.rgbRed, to.rgbRed, i, n);
        q.rgbGreen = step_between(from.rgbGreen, to.rgbGreen, i, n);
        q.rgbBlue = step_between(from.rgbBlue, to.rgbBlue, i, n);
    }
    finish(doc);
    return true;
}

bool valid_paste_range(const PasteRange& r) {
    return r.from >= 0 && r.to <= kLastEntry && r.from <= r.to && r.position >= 0 &&
           r.position <= kLastEntry;
}

void pasted_table(const RGBQUAD* current, const RGBQUAD* source, const PasteRange& r,
                  RGBQUAD* result) {
    std::memmove(result, current, kEntries * sizeof(RGBQUAD));
    if (!valid_paste_range(r)) return;
    const int count = std::min(r.to - r.from + 1, kEntries - r.position);
    std::memmove(result + r.position, source + r.from, std::size_t(count) * sizeof(RGBQUAD));
}

void arrange_map(const RGBQUAD* old_table, const RGBQUAD* new_table, BYTE map[kEntries]) {
    for (int i = 0; i < kEntries; ++i) {
        if (same_rgb(old_table[i], new_table[i])) {
            map[i] = BYTE(i);
            continue;
        }
        int best = 0, best_distance = distance(old_table[i], new_table[0]);
        for (int j = 1; j < kEntries && best_distance > 0; ++j) {
            const int d = distance(old_table[i], new_table[j]);
            if (d < best_distance) best = j, best_distance = d;
        }
        map[i] = BYTE(best);
    }
}

void remap_pixels(Surface& surface, const BYTE map[kEntries]) {
    const int width = surface.width();
    for (int y = 0; y < surface.height(); ++y) {
        BYTE* row = surface.bits + std::size_t(y) * std::size_t(surface.stride());
        for (int x = 0; x < width; ++x)
            row[x] = map[row[x]];
    }
}

void install_palette(PictureDocument& doc, const RGBQUAD* table, bool arrange) {
    Layer* current = current_layer(doc);
    if (!current) return;
    BYTE map[kEntries];
    arrange_map(table_of(*current), table, map);
    for_each_layer(doc, [&](Layer& layer) {
        take_undo_copy(layer);
        if (!arrange) return;
        remap_pixels(*layer.image, map);
        layer.key_colour = mapped_index(layer.key_colour, map);
        layer.background_colour = mapped_index(layer.background_colour, map);
    });
    std::memmove(table_of(*current), table, kEntries * sizeof(RGBQUAD));
    finish(doc);
}
