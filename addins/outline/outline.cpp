#include "addins/outline/outline.h"
#include "platform/io/dib_layout.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace {

constexpr int kFour[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
constexpr int kEight[8][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}, {-1, -1}, {1, -1}, {-1, 1}, {1, 1}};

} // namespace

int draw_outline(BYTE* bits, int width, int height, const BYTE* mask, RECT clip, BYTE key,
                 BYTE colour, OutlineOptions options) {
    if (!bits || width < 1 || height < 1) return 0;
    const std::size_t stride = std::size_t(io::stride_of(width));
    // Work on a copy of the shape so that painted pixels do not grow it.
    std::vector<bool> shape(std::size_t(width) * height);
    for (int y = 0; y < height; ++y) {
        const BYTE* row = bits + std::size_t(height - 1 - y) * stride;
        for (int x = 0; x < width; ++x)
            shape[std::size_t(y) * width + x] = row[x] != key;
    }
    const auto in_shape = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < width && y < height && shape[std::size_t(y) * width + x];
    };
    const int(*neighbours)[2] = options.eight_connected ? kEight : kFour;
    const int neighbour_count = options.eight_connected ? 8 : 4;

    const int left = std::max<LONG>(clip.left, 0), top = std::max<LONG>(clip.top, 0);
    const int right = std::min<LONG>(clip.right, width),
              bottom = std::min<LONG>(clip.bottom, height);
    int painted = 0;
    for (int y = top; y < bottom; ++y) {
        const std::size_t row = std::size_t(height - 1 - y) * stride;
        for (int x = left; x < right; ++x) {
            if (mask && !mask[row + x]) continue;
            // Outside: key pixels touching the shape. Inside: shape pixels
            // touching the key colour (or the picture's edge).
            const bool self = in_shape(x, y);
            if (self == options.outside) continue;
            bool edge = false;
            for (int n = 0; n < neighbour_count && !edge; ++n)
                edge = in_shape(x + neighbours[n][0], y + neighbours[n][1]) != self;
            if (!edge) continue;
            bits[row + x] = colour;
            ++painted;
        }
    }
    return painted;
}
