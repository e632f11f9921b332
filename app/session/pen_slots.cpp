#include "app/session/pen_slots.h"

#include <cstring>

namespace {

constexpr int kStripWidth = kPenSize * kPenSlotCount;

Surface* create_pen_surface() {
    Surface* pen = create_surface(kPenSize, kPenSize);
    if (!pen) return nullptr;
    RGBQUAD table[256] = {};
    table[kPenBackground] = {255, 255, 255, 0};
    pen->set_palette(table);
    return pen;
}

// Where the strip's rows start, or null when the block is not a bottom-up
// 1-bit 512 x 32 DIB that fits in size bytes.
const BYTE* strip_rows(const BYTE* strip, std::size_t size) {
    BITMAPINFOHEADER h;
    if (!strip || size < sizeof h) return nullptr;
    std::memcpy(&h, strip, sizeof h);
    if (h.biSize < sizeof h || h.biWidth != kStripWidth || h.biHeight != kPenSize ||
        h.biBitCount != 1 || h.biCompression != BI_RGB || h.biClrUsed > 2)
        return nullptr;
    std::size_t table = 4 * std::size_t(h.biClrUsed ? h.biClrUsed : 2);
    std::size_t stride = ((kStripWidth + 31) / 32) * 4;
    std::size_t offset = std::size_t(h.biSize) + table;
    if (size < offset || size - offset < stride * kPenSize) return nullptr;
    return strip + offset;
}

} // namespace

PenSlots& pen_slots() {
    static PenSlots instance;
    return instance;
}

bool build_pen_slots(PenSlots& pens, const BYTE* strip, std::size_t size) {
    free_pen_slots(pens);
    const BYTE* rows = strip_rows(strip, size);
    if (!rows) return false;
    const std::size_t strip_stride = ((kStripWidth + 31) / 32) * 4;
    for (int i = 0; i < kPenSlotCount; ++i) {
        Surface* pen = create_pen_surface();
        if (!pen) {
            free_pen_slots(pens);
            return false;
        }
        // Both the strip and the surface are bottom-up, so row y maps to row y.
        for (int y = 0; y < kPenSize; ++y) {
            const BYTE* src = rows + strip_stride * std::size_t(y);
            BYTE* dst = pen->bits + std::size_t(pen->stride()) * std::size_t(y);
            for (int x = 0; x < kPenSize; ++x) {
                int sx = i * kPenSize + x;
                bool background = (src[sx >> 3] >> (7 - (sx & 7))) & 1;
                dst[x] = background ? kPenBackground : kPenShape;
            }
        }
        pens.slot[i] = pen;
    }
    return true;
}

bool build_round_pen_slots(PenSlots& pens) {
    free_pen_slots(pens);
    // Centred on the middle of the square, so that every disc is symmetric;
    // compared in quarter pixels to stay in integers.
    constexpr int kCentre2 = kPenSize - 1; // twice the centre coordinate
    for (int i = 0; i < kPenSlotCount; ++i) {
        Surface* pen = create_pen_surface();
        if (!pen) {
            free_pen_slots(pens);
            return false;
        }
        const int diameter = 2 * i + 2;
        for (int y = 0; y < kPenSize; ++y) {
            BYTE* row = pen->bits + std::size_t(pen->stride()) * std::size_t(y);
            for (int x = 0; x < kPenSize; ++x) {
                const int dx = 2 * x - kCentre2, dy = 2 * y - kCentre2;
                row[x] = dx * dx + dy * dy <= diameter * diameter ? kPenShape : kPenBackground;
            }
        }
        pens.slot[i] = pen;
    }
    return true;
}

void free_pen_slots(PenSlots& pens) {
    for (Surface*& pen : pens.slot) {
        delete pen;
        pen = nullptr;
    }
}
