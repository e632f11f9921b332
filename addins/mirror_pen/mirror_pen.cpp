#include "addins/mirror_pen/mirror_pen.h"

#include "engine/rasko.h"
#include "platform/io/dib_layout.h"

#include <algorithm>
#include <cstdlib>

namespace {

// The drawing colours as the program mixes them: a 4 x 4 DIB drawn by the
// engine with the tone level, read as tile[y & 3][x & 3].
struct ToneTile {
    BYTE colour[4][4];
};

ToneTile tone_tile(const PenCallBlock& b) {
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD table[256];
        BYTE bits[16];
    } dib{};
    dib.header.biSize = sizeof(BITMAPINFOHEADER);
    dib.header.biWidth = 4;
    dib.header.biHeight = 4;
    dib.header.biPlanes = 1;
    dib.header.biBitCount = 8;
    RaskoDrawRectangleEx(&dib.header, dib.bits, 0, 0, 4, 4, int(b.left_colour & 0xFF),
                         int(b.right_colour & 0xFF), std::clamp(int(b.tone_level), 0, 16));
    ToneTile tile;
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            tile.colour[y][x] = dib.bits[(3 - y) * 4 + x];
    return tile;
}

struct Plane {
    BYTE* bits;
    const BYTE* mask; // null: nothing protected
    int width, height, stride;
    int transparent; // colour never written, or -1

    void paint(int x, int y, BYTE s, BYTE colour) const {
        if (colour == transparent) return;
        const std::size_t at = std::size_t(height - 1 - y) * std::size_t(stride) + std::size_t(x);
        const BYTE keep = mask ? BYTE(~mask[at] | s) : s;
        bits[at] = BYTE((bits[at] & keep) | (~keep & colour));
    }
};

} // namespace

RECT mirror_pen_paint(const PenCallBlock& b, bool m_held) {
    RECT none{0, 0, 0, 0};
    if (!b.target || !b.target_bits || !b.stroke_bits || b.target->biBitCount != 8) return none;
    const bool mask_view = b.flags & kPenMaskView;
    Plane plane;
    plane.bits = b.target_bits;
    plane.width = b.target->biWidth;
    plane.height = std::abs(b.target->biHeight);
    plane.stride = io::stride_of(plane.width);
    plane.mask = !mask_view && ((b.flags & kPenMaskOn) || m_held) ? b.mask_bits : nullptr;
    plane.transparent = !mask_view && (b.flags & kPenKeying) ? int(b.key_colour & 0xFF) : -1;

    const long long left = std::max<long long>(b.stroke_x, 0);
    const long long top = std::max<long long>(b.stroke_y, 0);
    const long long right =
        std::min<long long>((long long)b.stroke_x + b.stroke_width, plane.width);
    const long long bottom =
        std::min<long long>((long long)b.stroke_y + b.stroke_height, plane.height);
    if (right <= left || bottom <= top) return none;

    const ToneTile tile = tone_tile(b);
    for (int y = int(top); y < int(bottom); ++y) {
        const BYTE* s =
            b.stroke_bits + std::size_t(plane.height - 1 - y) * std::size_t(plane.stride);
        for (int x = int(left); x < int(right); ++x)
            if (s[x] != 255) plane.paint(x, y, s[x], tile.colour[y & 3][x & 3]);
        for (int x = int(left); x < int(right); ++x) {
            const int m = plane.width - 1 - x;
            if (s[x] != 255) plane.paint(m, y, s[x], tile.colour[y & 3][m & 3]);
        }
    }
    const LONG mirrored_left = LONG(plane.width - right), mirrored_right = LONG(plane.width - left);
    return {std::min(LONG(left), mirrored_left), LONG(top), std::max(LONG(right), mirrored_right),
            LONG(bottom)};
}
