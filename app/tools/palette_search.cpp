#include "app/tools/palette_search.h"

#include <cstdlib>
#include <cstring>

namespace {

// Eight 16-bit lanes; the compiler maps them onto the vector unit where the
// target has one and onto plain code elsewhere. Distances stay below
// 3 * 765, well inside 16 bits.
using Lanes = short __attribute__((vector_size(16)));
constexpr int kLanes = 8;

Lanes load(const short* p) {
    Lanes v;
    __builtin_memcpy(&v, p, sizeof v);
    return v;
}
Lanes absolute(Lanes v) {
    const Lanes sign = v >> 15;
    return (v ^ sign) - sign;
}
Lanes smaller(Lanes a, Lanes b) {
    const Lanes a_less = a < b; // all ones where a < b
    return (a & a_less) | (b & ~a_less);
}

} // namespace

// Targets take 11 bits a channel, offset to stay positive; 2^14 slots.
constexpr int kChannelOffset = 1024;
constexpr int kChannelBits = 11;
constexpr int kSlotBits = 14;

void PaletteSearch::use(const RGBQUAD* table) {
    if (!remembered_.empty() && std::memcmp(table, table_, sizeof table_) == 0) return;
    std::memcpy(table_, table, sizeof table_);
    remembered_.assign(std::size_t(1) << kSlotBits, Remembered{0, 0, 0});
    for (int i = 0; i < kEntries; ++i) {
        red_[i] = table[i].rgbRed;
        green_[i] = table[i].rgbGreen;
        blue_[i] = table[i].rgbBlue;
    }
}

Nearest PaletteSearch::nearest(int red, int green, int blue) {
    const std::uint64_t key = (std::uint64_t(red + kChannelOffset) << (2 * kChannelBits)) |
                              (std::uint64_t(green + kChannelOffset) << kChannelBits) |
                              std::uint64_t(blue + kChannelOffset);
    Remembered& slot = remembered_[(key * 0x9E3779B97F4A7C15ull) >> (64 - kSlotBits)];
    if (slot.key == key) return {slot.index, slot.distance};
    const Nearest n = search(red, green, blue);
    slot = {key, short(n.index), short(n.distance)};
    return n;
}

Nearest PaletteSearch::search(int red, int green, int blue) const {
    const Lanes r = Lanes{} + short(red), g = Lanes{} + short(green), b = Lanes{} + short(blue);
    alignas(32) short distance[kEntries];
    Lanes least = Lanes{} + short(0x7FFF);
    for (int i = 0; i < kEntries; i += kLanes) {
        const Lanes d = absolute(load(red_ + i) - r) + absolute(load(green_ + i) - g) +
                        absolute(load(blue_ + i) - b);
        __builtin_memcpy(distance + i, &d, sizeof d);
        least = smaller(d, least);
    }
    short best = least[0];
    for (int lane = 1; lane < kLanes; ++lane)
        if (least[lane] < best) best = least[lane];
    int index = 0;
    while (distance[index] != best)
        ++index;
    return {index, best};
}

Nearest nearest_by_scan(const RGBQUAD* table, int red, int green, int blue) {
    Nearest n{0, -1};
    for (int i = 0; i < 256; ++i) {
        const int d = std::abs(table[i].rgbRed - red) + std::abs(table[i].rgbGreen - green) +
                      std::abs(table[i].rgbBlue - blue);
        if (n.distance < 0 || d < n.distance) n = {i, d};
        if (d == 0) break;
    }
    return n;
}
