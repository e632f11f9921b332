// Stretch blits: scale by picking source pixels with 16.16 fixed-point steps.
// The selection along each axis is kept exactly reproducible (documents and
// other programs depend on the exact pixels), so it is computed with integer
// accumulators that equal the closed forms given in rasko.h.
#include "engine/blit_rows.h"
#include "platform/io/dib_layout.h"
#include "engine/rasko.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

using std::int64_t;
using std::uint32_t;

// Destination rows or columns that remain after clipping one axis of the
// destination rectangle, as the rectangle blits clip: `skipped` pixels of the
// full rectangle lie before the first drawn one at `start`.
struct Span {
    int start = 0;
    int count = 0;
    int skipped = 0;
};

Span clip_axis(int pos, int size, int limit) {
    int64_t count = size;
    if (int64_t(pos) + count > limit) count = int64_t(limit) - pos;
    if (count <= 0) return {};
    if (pos < 0) {
        const int64_t skip = -int64_t(pos);
        if (count <= skip) return {};
        return {0, int(count - skip), int(skip)};
    }
    return {pos, int(count), 0};
}

// Walks the source indexes that successive destination pixels of one axis
// pick. Enlarging (or equal sizes) with step = src * 65536 / dst, pixel i
// picks floor(i * step / 65536): a 16-bit accumulator that carries into the
// index. Shrinking with step = dst * 65536 / src, the unclipped pixel i picks
// ceil(i * 65536 / step): the index advances, adding the step each time,
// until the accumulator carries once. That count is tracked here as
// floor((m * 65536 + step - 1) / step) with a remainder, which is the same
// number without the inner loop. Indexes are held at src - 1: rounding of
// the step can otherwise make the last pixels of a shrink pick one past the
// source rectangle.
class AxisWalk {
  public:
    AxisWalk(int dst_size, int src_size, int skipped) : last_(uint32_t(src_size - 1)) {
        shrinking_ = src_size > dst_size;
        if (shrinking_) {
            // A step below 1 (shrinking by more than 65536 times) would never
            // carry; 1 keeps the walk finite and the index held at the end.
            step_ = uint32_t(std::max<int64_t>(1, (int64_t(dst_size) << 16) / src_size));
            whole_ = 65536u / step_;
            part_ = 65536u % step_;
            remainder_ = step_ - 1;
            const int64_t first = (int64_t(skipped) << 16) / step_;
            index_ = uint32_t(std::min<int64_t>(first, last_));
        } else {
            step_ = uint32_t((int64_t(src_size) << 16) / dst_size);
            const int64_t travelled = int64_t(skipped) * step_;
            index_ = uint32_t(travelled >> 16);
            remainder_ = uint32_t(travelled & 0xFFFF);
        }
    }

    uint32_t index() const { return index_; }

    void advance() {
        if (shrinking_) {
            uint32_t next = index_ + whole_;
            remainder_ += part_;
            if (remainder_ >= step_) {
                remainder_ -= step_;
                ++next;
            }
            index_ = std::min(next, last_);
        } else {
            remainder_ += step_;
            index_ += remainder_ >> 16;
            remainder_ &= 0xFFFF;
        }
    }

    // Equal sizes: every pixel takes the next source pixel.
    bool identity() const { return !shrinking_ && step_ == 65536u; }

  private:
    uint32_t last_;
    bool shrinking_;
    uint32_t step_;
    uint32_t whole_ = 0;
    uint32_t part_ = 0;
    uint32_t remainder_;
    uint32_t index_;
};

// Columns are picked through a table of source offsets built once per call
// (per chunk of this many columns), so the per-row work is one load and one
// store a pixel, free of the walk's carried dependency. On the stack: blits
// never allocate.
constexpr int kColumnChunk = 1024;

// Gathers one destination row's picks from a source row.
void pick_row(BYTE* d, const BYTE* s, const uint32_t* offsets, int count) {
    for (int i = 0; i < count; ++i)
        d[i] = s[offsets[i]];
}

template <bool kKeyed>
void stretch(const BITMAPINFOHEADER* dst, BYTE* dst_bits, int dx, int dy, int dw, int dh,
             const BITMAPINFOHEADER* src, const BYTE* src_bits, int sx, int sy, int sw, int sh,
             BYTE key) {
    if (dw < 1 || dh < 1 || sw < 1 || sh < 1) return;
    // Every index of the source rectangle can be picked, so all of it must
    // lie inside the (bottom-up) source; beyond it is someone else's memory.
    if (src->biHeight < 1 || sx < 0 || sy < 0 || int64_t(sx) + sw > src->biWidth ||
        int64_t(sy) + sh > src->biHeight)
        return;
    const Span rows = clip_axis(dy, dh, dst->biHeight);
    const Span cols = clip_axis(dx, dw, dst->biWidth);
    if (rows.count == 0 || cols.count == 0) return;

    const std::size_t dst_stride = std::size_t(io::stride_of(dst->biWidth));
    const std::size_t src_stride = std::size_t(io::stride_of(src->biWidth));
    BYTE* const first_drow =
        dst_bits + std::size_t(dst->biHeight - 1 - rows.start) * dst_stride + cols.start;
    const int64_t src_top = int64_t(src->biHeight) - 1 - sy;
    AxisWalk columns(dw, sw, cols.skipped);
    const bool identity = columns.identity();

    uint32_t offsets[kColumnChunk];
    // The keyed form gathers each source row's picks here once and lays them
    // over the destination with the blits' branch-free keyed row kernel.
    BYTE picked[kColumnChunk];
    for (int done = 0; done < cols.count; done += kColumnChunk) {
        const int count = std::min(kColumnChunk, cols.count - done);
        const uint32_t first_column = columns.index();
        for (int i = 0; i < count; ++i) {
            offsets[i] = columns.index() - first_column;
            columns.advance();
        }
        const BYTE* src_origin = src_bits + sx + first_column;
        BYTE* drow = first_drow + done;
        const BYTE* previous_drow = nullptr;
        uint32_t previous_row = 0;
        AxisWalk row_walk(dh, sh, rows.skipped);
        for (int j = 0; j < rows.count; ++j, drow -= dst_stride) {
            const uint32_t row = row_walk.index();
            row_walk.advance();
            const BYTE* srow = src_origin + std::size_t(src_top - row) * src_stride;
            // Enlarging repeats source rows, and a repeated row picks the
            // same bytes again.
            const bool repeated = previous_drow && row == previous_row;
            if (kKeyed) {
                if (!identity && !repeated) pick_row(picked, srow, offsets, count);
                rasko::blend_row<rasko::kSkipKey>(drow, identity ? srow : picked, nullptr, count,
                                                  key, 0, 0);
            } else if (repeated) {
                std::memcpy(drow, previous_drow, std::size_t(count));
            } else if (identity) {
                std::memcpy(drow, srow, std::size_t(count));
            } else {
                pick_row(drow, srow, offsets, count);
            }
            previous_drow = drow;
            previous_row = row;
        }
    }
}

} // namespace

extern "C" void RaskoStretchDIBBits(const BITMAPINFOHEADER* dst, BYTE* dst_bits, int dx, int dy,
                                    int dw, int dh, const BITMAPINFOHEADER* src,
                                    const BYTE* src_bits, int sx, int sy, int sw, int sh) {
    stretch<false>(dst, dst_bits, dx, dy, dw, dh, src, src_bits, sx, sy, sw, sh, 0);
}

extern "C" void RaskoStretchTransparentDIBBits(const BITMAPINFOHEADER* dst, BYTE* dst_bits, int dx,
                                               int dy, int dw, int dh, const BITMAPINFOHEADER* src,
                                               const BYTE* src_bits, int sx, int sy, int sw, int sh,
                                               int key) {
    stretch<true>(dst, dst_bits, dx, dy, dw, dh, src, src_bits, sx, sy, sw, sh, BYTE(key));
}
