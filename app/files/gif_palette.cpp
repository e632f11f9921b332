#include "app/files/gif_palette.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace {

constexpr int kColours = 256;
constexpr std::size_t kPaletteBytes = kColours * sizeof(RGBQUAD);

bool same_colour(const RGBQUAD& a, const RGBQUAD& b) {
    return a.rgbRed == b.rgbRed && a.rgbGreen == b.rgbGreen && a.rgbBlue == b.rgbBlue;
}

int distance(const RGBQUAD& a, const RGBQUAD& b) {
    const int r = a.rgbRed - b.rgbRed, g = a.rgbGreen - b.rgbGreen, bl = a.rgbBlue - b.rgbBlue;
    return r * r + g * g + bl * bl;
}

const RGBQUAD* table_of(const GifFrame& frame) {
    return reinterpret_cast<const RGBQUAD*>(reinterpret_cast<const BYTE*>(frame.dib) +
                                            frame.dib->biSize);
}

bool usable(const GifFrame* frame) {
    return frame && frame->dib && frame->bits;
}

template <typename Visit> void for_each_pixel_row(const GifFrame& frame, Visit visit) {
    const int width = frame.dib->biWidth, height = frame.dib->biHeight;
    const std::size_t stride = std::size_t((width + 3) & ~3);
    for (int y = 0; y < height; ++y)
        visit(frame.bits + stride * std::size_t(y), width);
}

// The palette being built: which entries something already relies on.
struct SharedPalette {
    RGBQUAD* colours;
    bool used[kColours] = {};

    int transparent_of(const GifFrame& frame) const {
        return frame.transparentIndex >= 0 && frame.transparentIndex < kColours
                   ? int(frame.transparentIndex)
                   : -1;
    }

    // The entry a frame colour goes to; `avoid` (the frame's transparent
    // index, never own_index) is never one. Sets merged when only a nearest colour was left.
    int place(const RGBQUAD& colour, int own_index, int avoid, bool& merged) {
        if (used[own_index] && same_colour(colours[own_index], colour)) return own_index;
        for (int i = 0; i < kColours; ++i)
            if (i != avoid && used[i] && same_colour(colours[i], colour)) return i;
        const int free_entry =
            !used[own_index] ? own_index : int(std::find(used, used + kColours, false) - used);
        if (free_entry < kColours) {
            colours[free_entry] = colour;
            used[free_entry] = true;
            return free_entry;
        }
        merged = true;
        int best = avoid == 0 ? 1 : 0, best_distance = INT_MAX;
        for (int i = 0; i < kColours; ++i) {
            if (i == avoid) continue;
            const int d = distance(colours[i], colour);
            if (d < best_distance) {
                best_distance = d;
                best = i;
            }
        }
        return best;
    }
};

// Frames without a table of their own carry a copy of the global one.
bool has_own_table(const GifAnimation& gif, const GifFrame& frame) {
    return !gif.globalPalette ||
           std::memcmp(table_of(frame), gif.globalPalette, kPaletteBytes) != 0;
}

void mark_pixels(const GifFrame& frame, bool* marks) {
    for_each_pixel_row(frame, [&](const BYTE* row, int width) {
        for (int x = 0; x < width; ++x)
            marks[row[x]] = true;
    });
}

} // namespace

bool merge_gif_palettes(const GifAnimation& gif, RGBQUAD* palette) {
    SharedPalette shared{palette};
    if (gif.globalPalette) {
        std::memcpy(palette, gif.globalPalette, kPaletteBytes);
        const int global_entries = 1 << std::clamp<int>(int(gif.bitsPerPixel), 1, 8);
        std::fill(shared.used, shared.used + global_entries, true);
    } else {
        std::memset(palette, 0, kPaletteBytes);
    }
    shared.used[gif.backgroundIndex & 0xFF] = true;
    const DWORD count = gif.frames ? gif.frameCount : 0;

    // What the frames in the global colours and every transparent index
    // hold on to comes first, so that no frame colour is put over it.
    for (DWORD f = 0; f < count; ++f) {
        const GifFrame* frame = gif.frames[f];
        if (!usable(frame)) continue;
        const int transparent = shared.transparent_of(*frame);
        if (transparent >= 0) shared.used[transparent] = true;
        if (!has_own_table(gif, *frame)) mark_pixels(*frame, shared.used);
    }
    bool merged = false;
    for (DWORD f = 0; f < count; ++f) {
        GifFrame* frame = gif.frames[f];
        if (!usable(frame) || !has_own_table(gif, *frame)) continue;
        bool present[kColours] = {};
        mark_pixels(*frame, present);
        const int transparent = shared.transparent_of(*frame);
        const RGBQUAD* table = table_of(*frame);
        BYTE map[kColours];
        for (int c = 0; c < kColours; ++c)
            map[c] =
                BYTE(present[c] && c != transparent ? shared.place(table[c], c, transparent, merged)
                                                    : c);
        for_each_pixel_row(*frame, [&](BYTE* row, int width) {
            for (int x = 0; x < width; ++x)
                row[x] = map[row[x]];
        });
    }
    return !merged;
}
