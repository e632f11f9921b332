// Rectangle blits: copies, fills and recolourings of one axis-aligned
// rectangle, clipped against the destination.
#include "engine/blit_rows.h"
#include "platform/io/dib_layout.h"
#include "engine/rasko.h"
#include "engine/tone.h"

#include <cstdint>
#include <cstring>

namespace {

using io::stride_of;

// One bitmap as the blits see it: H rows from the top, bottom-up storage.
struct Plane {
    BYTE* bits;
    int width, height;
    std::ptrdiff_t stride;

    // Address of image row `row` (0 = top), column `col`.
    BYTE* at(int col, int row) const {
        return bits + (std::ptrdiff_t(height) - 1 - row) * stride + col;
    }
    // The same with top-down storage, for destinations of negative height.
    BYTE* at_top_down(int col, int row) const { return bits + std::ptrdiff_t(row) * stride + col; }
};

Plane plane_of(const BITMAPINFOHEADER* dib, const BYTE* bits) {
    return {const_cast<BYTE*>(bits), dib->biWidth, dib->biHeight, stride_of(dib->biWidth)};
}

// The rectangle after clipping: destination position, size and the source
// pixel that lands on its first pixel.
struct Rect {
    int dx, dy, width, height, sx, sy;
};

// Clips one axis against [0, limit): the rectangle's near edge moves inside
// and the source origin moves with it. False when nothing is left.
bool clip_axis(std::int64_t& d, std::int64_t& size, std::int64_t& s, std::int64_t limit) {
    if (size < 0) return false;
    if (d + size > limit) size = limit - d;
    if (size < 0) return false;
    if (d < 0) {
        if (size <= -d) return false;
        size += d;
        s -= d;
        d = 0;
    }
    return size > 0;
}

// True when the columns [first, first + count) and image rows
// [row, row + rows) lie inside the source, which must be bottom-up. The
// blits only promise to clip the destination; reading outside the source
// would be reading someone else's memory, so such calls are refused.
bool source_holds(const Plane& src, std::int64_t first, std::int64_t count, std::int64_t row,
                  std::int64_t rows) {
    return src.height > 0 && first >= 0 && first + count <= src.width && row >= 0 &&
           row + rows <= src.height;
}

// Destination clipping shared by every rectangle member; with a source, the
// rectangle's source area must also lie inside it.
bool clip(const Plane& dst, int dx, int dy, int width, int height, int sx, int sy, Rect& out) {
    std::int64_t x = dx, y = dy, w = width, h = height, s_x = sx, s_y = sy;
    if (!clip_axis(y, h, s_y, dst.height) || !clip_axis(x, w, s_x, dst.width)) return false;
    out = {int(x), int(y), int(w), int(h), 0, 0};
    if (s_x < INT32_MIN || s_x > INT32_MAX || s_y < INT32_MIN || s_y > INT32_MAX) return false;
    out.sx = int(s_x);
    out.sy = int(s_y);
    return true;
}

bool clip_with_source(const Plane& dst, const Plane& src, int dx, int dy, int width, int height,
                      int sx, int sy, Rect& out) {
    return clip(dst, dx, dy, width, height, sx, sy, out) &&
           source_holds(src, out.sx, out.width, out.sy, out.height);
}

// The bytes from the first to the last pixel of a rectangle's rows.
struct Extent {
    std::uintptr_t first, last;
};

Extent extent_of(const Plane& p, int x, int row, int width, int rows) {
    return {reinterpret_cast<std::uintptr_t>(p.at(x, row + rows - 1)),
            reinterpret_cast<std::uintptr_t>(p.at(x, row)) + std::uintptr_t(width) - 1};
}

bool overlap(Extent a, Extent b) {
    return a.first <= b.last && b.first <= a.last;
}

// Runs a row kernel over a clipped rectangle. Rows are defined to go from
// the top row down, which only shows when the destination shares memory
// with the source or mask; otherwise they go in storage order, bottom row
// first, because the processor's prefetching follows ascending addresses
// far better (the keyed loops run about a quarter faster).
template <unsigned F>
void blend_rect(const Plane& dst, const Plane* src, const BYTE* mask, const Rect& r, BYTE key,
                BYTE value, WORD pattern) {
    const Extent written = extent_of(dst, r.dx, r.dy, r.width, r.height);
    bool shared = src && overlap(written, extent_of(*src, r.sx, r.sy, r.width, r.height));
    if (mask) {
        const std::uintptr_t shift =
            reinterpret_cast<std::uintptr_t>(mask) - reinterpret_cast<std::uintptr_t>(dst.bits);
        shared = shared || overlap(written, {written.first + shift, written.last + shift});
    }
    const int first = shared ? 0 : r.height - 1;
    const int step = shared ? 1 : -1;
    for (int n = 0, j = first; n < r.height; ++n, j += step) {
        const int y = r.dy + j;
        BYTE* d = dst.at(r.dx, y);
        const BYTE* s = src ? src->at(r.sx, r.sy + j) : nullptr;
        const BYTE* m = mask ? d - dst.bits + mask : nullptr;
        const std::uint32_t tone =
            (F & rasko::kScreened) ? rasko::tone_row_mask(pattern, r.dx, y) : 0;
        rasko::blend_row<F>(d, s, m, r.width, key, value, tone);
    }
}

// A member with a source: clip, then blend.
template <unsigned F>
void source_blit(const BITMAPINFOHEADER* dst, BYTE* dst_bits, int dx, int dy, int width, int height,
                 const BITMAPINFOHEADER* src, const BYTE* src_bits, int sx, int sy,
                 const BYTE* mask, int key, int value, WORD pattern) {
    const Plane d = plane_of(dst, dst_bits), s = plane_of(src, src_bits);
    Rect r;
    if (!clip_with_source(d, s, dx, dy, width, height, sx, sy, r)) return;
    blend_rect<F>(d, &s, mask, r, BYTE(key), BYTE(value), pattern);
}

// A fill: clip, then blend a constant.
template <unsigned F>
void fill(const BITMAPINFOHEADER* dst, BYTE* dst_bits, int dx, int dy, int width, int height,
          const BYTE* mask, int colour, WORD pattern) {
    const Plane d = plane_of(dst, dst_bits);
    Rect r;
    if (!clip(d, dx, dy, width, height, 0, 0, r)) return;
    blend_rect<F | rasko::kConstant>(d, nullptr, mask, r, 0, BYTE(colour), pattern);
}

WORD level_pattern(int level) {
    return rasko::working_tone(level & 31);
}

// Selects the value to write: v where sel is 0xFF, d where it is 0.
inline BYTE pick(BYTE d, BYTE v, unsigned sel) {
    return BYTE(d ^ ((d ^ v) & sel));
}
inline unsigned differs(BYTE a, BYTE b) {
    return 0u - unsigned(a != b);
}

// The three mirrored transparent members read the source in their own order:
// rows from the stored position sy + j (the source origin counting from the
// bottom) and columns from width - 1 - sx - i (width as passed).
enum Mirror : unsigned { kUpDown = 1, kLeftRight = 2 };

template <unsigned M>
void mirrored_transparent(const BITMAPINFOHEADER* dst, BYTE* dst_bits, int dx, int dy, int width,
                          int height, const BITMAPINFOHEADER* src, const BYTE* src_bits, int sx,
                          int sy, int key) {
    const Plane d = plane_of(dst, dst_bits), s = plane_of(src, src_bits);
    Rect r;
    if (!clip(d, dx, dy, width, height, sx, sy, r)) return;
    // Image row of the first destination row, and how rows advance.
    const std::int64_t row0 = (M & kUpDown) ? std::int64_t(s.height) - 1 - r.sy : r.sy;
    const std::int64_t row_first = (M & kUpDown) ? row0 - (r.height - 1) : row0;
    // Source column of the first destination column.
    const std::int64_t col0 = (M & kLeftRight) ? std::int64_t(width) - 1 - r.sx : r.sx;
    const std::int64_t col_first = (M & kLeftRight) ? col0 - (r.width - 1) : col0;
    if (!source_holds(s, col_first, r.width, row_first, r.height)) return;
    const BYTE k = BYTE(key);
    for (int j = 0; j < r.height; ++j) {
        BYTE* out = d.at(r.dx, r.dy + j);
        const int row = int((M & kUpDown) ? row0 - j : row0 + j);
        const BYTE* in = s.at(int(col0), row);
        for (int i = 0; i < r.width; ++i) {
            const BYTE p = (M & kLeftRight) ? in[-i] : in[i];
            out[i] = pick(out[i], p, differs(p, k));
        }
    }
}

} // namespace

using rasko::kConstant;
using rasko::kMasked;
using rasko::kOnlyMatch;
using rasko::kScreened;
using rasko::kSkipKey;

extern "C" {

void RaskoCopyDIBBits(const BITMAPINFOHEADER* dst, BYTE* dst_bits, int dx, int dy, int width,
                      int height, const BITMAPINFOHEADER* src, const BYTE* src_bits, int sx,
                      int sy) {
    const Plane d = plane_of(dst, dst_bits), s = plane_of(src, src_bits);
    Rect r;
    if (!clip_with_source(d, s, dx, dy, width, height, sx, sy, r)) return;
    for (int j = 0; j < r.height; ++j)
        std::memmove(d.at(r.dx, r.dy + j), s.at(r.sx, r.sy + j), std::size_t(r.width));
}

void RaskoCopyDIBBitsEx(const BITMAPINFOHEADER* dst, BYTE* dst_bits, int dx, int dy, int width,
                        int height, const BITMAPINFOHEADER* src, const BYTE* src_bits, int sx,
                        int sy, int level) {
    RaskoCopyDIBBitsExAsm(dst, dst_bits, dx, dy, width, height, src, src_bits, sx, sy,
                          level_pattern(level));
}

void RaskoCopyDIBBitsExAsm(const BITMAPINFOHEADER* dst, BYTE* dst_bits, int dx, int dy, int width,
                           int height, const BITMAPINFOHEADER* src, const BYTE* src_bits, int sx,
                           int sy, WORD pattern) {
    source_blit<kScreened>(dst, dst_bits, dx, dy, width, height, src, src_bits, sx, sy, nullptr, 0,
                           0, pattern);
}

void RaskoCopyDIBBitsUDInvert(const BITMAPINFOHEADER* dst, BYTE* dst_bits, int dx, int dy,
                              int width, int height, const BITMAPINFOHEADER* src,
                              const BYTE* src_bits, int sx, int sy) {
    const Plane d = plane_of(dst, dst_bits), s = plane_of(src, src_bits);
    Rect r;
    if (!clip_with_source(d, s, dx, dy, width, height, sx, sy, r)) return;
    for (int j = 0; j < r.height; ++j)
        std::memmove(d.at(r.dx, r.dy + r.height - 1 - j), s.at(r.sx, r.sy + j),
                     std::size_t(r.width));
}

void RaskoCopyDIBBitsLRInvert(const BITMAPINFOHEADER* dst, BYTE* dst_bits, int dx, int dy,
                              int width, int height, const BITMAPINFOHEADER* src,
                              const BYTE* src_bits, int sx, int sy) {
    const Plane d = plane_of(dst, dst_bits), s = plane_of(src, src_bits);
    Rect r;
    if (!clip_with_source(d, s, dx, dy, width, height, sx, sy, r)) return;
    for (int j = 0; j < r.height; ++j) {
        BYTE* out = d.at(r.dx, r.dy + j);
        const BYTE* in = s.at(r.sx, r.sy + j);
        for (int i = 0; i < r.width; ++i)
            out[r.width - 1 - i] = in[i];
    }
}

void RaskoTransparentDIBBits(const BITMAPINFOHEADER* dst, BYTE* dst_bits, int dx, int dy, int width,
                             int height, const BITMAPINFOHEADER* src, const BYTE* src_bits, int sx,
                             int sy, int key) {
    source_blit<kSkipKey>(dst, dst_bits, dx, dy, width, height, src, src_bits, sx, sy, nullptr, key,
                          0, 0);
}

void RaskoTransparentDIBBitsEx(const BITMAPINFOHEADER* dst, BYTE* dst_bits, int dx, int dy,
                               int width, int height, const BITMAPINFOHEADER* src,
                               const BYTE* src_bits, int sx, int sy, int key, int level) {
    RaskoTransparentDIBBitsExAsm(dst, dst_bits, dx, dy, width, height, src, src_bits, sx, sy, key,
                                 level_pattern(level));
}

void RaskoTransparentDIBBitsExAsm(const BITMAPINFOHEADER* dst, BYTE* dst_bits, int dx, int dy,
                                  int width, int height, const BITMAPINFOHEADER* src,
                                  const BYTE* src_bits, int sx, int sy, int key, WORD pattern) {
    source_blit<kSkipKey | kScreened>(dst, dst_bits, dx, dy, width, height, src, src_bits, sx, sy,
                                      nullptr, key, 0, pattern);
}

void RaskoTransparentDIBBitsExColor(const BITMAPINFOHEADER* dst, BYTE* dst_bits, int dx, int dy,
                                    int width, int height, const BITMAPINFOHEADER* src,
                                    const BYTE* src_bits, int sx, int sy, int key, int colour,
                                    int level) {
    RaskoTransparentDIBBitsExColorAsm(dst, dst_bits, dx, dy, width, height, src, src_bits, sx, sy,
                                      key, level_pattern(level), colour);
}

void RaskoTransparentDIBBitsExColorAsm(const BITMAPINFOHEADER* dst, BYTE* dst_bits, int dx, int dy,
                                       int width, int height, const BITMAPINFOHEADER* src,
                                       const BYTE* src_bits, int sx, int sy, int key, WORD pattern,
                                       int colour) {
    source_blit<kSkipKey | kScreened | kConstant>(dst, dst_bits, dx, dy, width, height, src,
                                                  src_bits, sx, sy, nullptr, key, colour, pattern);
}

void RaskoTransparentDIBBitsUDInvert(const BITMAPINFOHEADER* dst, BYTE* dst_bits, int dx, int dy,
                                     int width, int height, const BITMAPINFOHEADER* src,
                                     const BYTE* src_bits, int sx, int sy, int key) {
    mirrored_transparent<kUpDown>(dst, dst_bits, dx, dy, width, height, src, src_bits, sx, sy, key);
}

void RaskoTransparentDIBBitsLRInvert(const BITMAPINFOHEADER* dst, BYTE* dst_bits, int dx, int dy,
                                     int width, int height, const BITMAPINFOHEADER* src,
                                     const BYTE* src_bits, int sx, int sy, int key) {
    mirrored_transparent<kLeftRight>(dst, dst_bits, dx, dy, width, height, src, src_bits, sx, sy,
                                     key);
}

void RaskoTransparentDIBBitsLRUDInvert(const BITMAPINFOHEADER* dst, BYTE* dst_bits, int dx, int dy,
                                       int width, int height, const BITMAPINFOHEADER* src,
                                       const BYTE* src_bits, int sx, int sy, int key) {
    mirrored_transparent<kUpDown | kLeftRight>(dst, dst_bits, dx, dy, width, height, src, src_bits,
                                               sx, sy, key);
}

void RaskoMaskCopyDIBBits(const BITMAPINFOHEADER* dst, BYTE* dst_bits, int dx, int dy, int width,
                          int height, const BITMAPINFOHEADER* src, const BYTE* src_bits, int sx,
                          int sy, const BYTE* mask) {
    source_blit<kMasked>(dst, dst_bits, dx, dy, width, height, src, src_bits, sx, sy, mask, 0, 0,
                         0);
}

void RaskoMaskTransparentDIBBits(const BITMAPINFOHEADER* dst, BYTE* dst_bits, int dx, int dy,
                                 int width, int height, const BITMAPINFOHEADER* src,
                                 const BYTE* src_bits, int sx, int sy, int key, const BYTE* mask) {
    source_blit<kSkipKey | kMasked>(dst, dst_bits, dx, dy, width, height, src, src_bits, sx, sy,
                                    mask, key, 0, 0);
}

void RaskoMaskTransparentDIBBitsEx(const BITMAPINFOHEADER* dst, BYTE* dst_bits, int dx, int dy,
                                   int width, int height, const BITMAPINFOHEADER* src,
                                   const BYTE* src_bits, int sx, int sy, int key, int level,
                                   const BYTE* mask) {
    RaskoMaskTransparentDIBBitsExAsm(dst, dst_bits, dx, dy, width, height, src, src_bits, sx, sy,
                                     key, level_pattern(level), mask);
}

void RaskoMaskTransparentDIBBitsExAsm(const BITMAPINFOHEADER* dst, BYTE* dst_bits, int dx, int dy,
                                      int width, int height, const BITMAPINFOHEADER* src,
                                      const BYTE* src_bits, int sx, int sy, int key, WORD pattern,
                                      const BYTE* mask) {
    source_blit<kSkipKey | kMasked | kScreened>(dst, dst_bits, dx, dy, width, height, src, src_bits,
                                                sx, sy, mask, key, 0, pattern);
}

void RaskoExchangeCopyDIBBits(const BITMAPINFOHEADER* dst, BYTE* dst_bits, int dx, int dy,
                              int width, int height, const BITMAPINFOHEADER* src,
                              const BYTE* src_bits, int sx, int sy, int new_colour,
                              int match_colour) {
    source_blit<kOnlyMatch | kConstant>(dst, dst_bits, dx, dy, width, height, src, src_bits, sx, sy,
                                        nullptr, match_colour, new_colour, 0);
}

void RaskoMaskExchangeCopyDIBBits(const BITMAPINFOHEADER* dst, BYTE* dst_bits, int dx, int dy,
                                  int width, int height, const BITMAPINFOHEADER* src,
                                  const BYTE* src_bits, int sx, int sy, int new_colour,
                                  int match_colour, const BYTE* mask) {
    source_blit<kOnlyMatch | kConstant | kMasked>(dst, dst_bits, dx, dy, width, height, src,
                                                  src_bits, sx, sy, mask, match_colour, new_colour,
                                                  0);
}

void RaskoFillRect(const BITMAPINFOHEADER* dst, BYTE* dst_bits, int dx, int dy, int width,
                   int height, int colour) {
    const Plane d = plane_of(dst, dst_bits);
    Rect r;
    if (!clip(d, dx, dy, width, height, 0, 0, r)) return;
    for (int j = 0; j < r.height; ++j)
        std::memset(d.at(r.dx, r.dy + j), BYTE(colour), std::size_t(r.width));
}

void RaskoFillRectEx(const BITMAPINFOHEADER* dst, BYTE* dst_bits, int dx, int dy, int width,
                     int height, int colour, int level) {
    RaskoFillRectExAsm(dst, dst_bits, dx, dy, width, height, colour, level_pattern(level));
}

void RaskoFillRectExAsm(const BITMAPINFOHEADER* dst, BYTE* dst_bits, int dx, int dy, int width,
                        int height, int colour, WORD pattern) {
    fill<kScreened>(dst, dst_bits, dx, dy, width, height, nullptr, colour, pattern);
}

void RaskoMaskFillRect(const BITMAPINFOHEADER* dst, BYTE* dst_bits, int dx, int dy, int width,
                       int height, int colour, const BYTE* mask) {
    fill<kMasked>(dst, dst_bits, dx, dy, width, height, mask, colour, 0);
}

void RaskoMaskFillRectEx(const BITMAPINFOHEADER* dst, BYTE* dst_bits, int dx, int dy, int width,
                         int height, int colour, int level, const BYTE* mask) {
    RaskoMaskFillRectExAsm(dst, dst_bits, dx, dy, width, height, colour, level_pattern(level),
                           mask);
}

void RaskoMaskFillRectExAsm(const BITMAPINFOHEADER* dst, BYTE* dst_bits, int dx, int dy, int width,
                            int height, int colour, WORD pattern, const BYTE* mask) {
    fill<kMasked | kScreened>(dst, dst_bits, dx, dy, width, height, mask, colour, pattern);
}

void RaskoFillDIB(const BITMAPINFOHEADER* dst, BYTE* dst_bits, int colour) {
    const std::ptrdiff_t stride = stride_of(dst->biWidth);
    const std::int64_t rows = dst->biHeight < 0 ? -std::int64_t(dst->biHeight) : dst->biHeight;
    if (dst->biWidth <= 0) return;
    for (std::int64_t j = 0; j < rows; ++j)
        std::memset(dst_bits + j * stride, BYTE(colour), std::size_t(dst->biWidth));
}

} // extern "C"

namespace {

// The simpler clipping of the two DIBtoDIB copies; the destination may be
// top-down. Returns the clipped height, or 0 when nothing is to be copied
// because the width or the source does not allow it.
template <bool kSprite>
int copy_dib_to_dib(const BITMAPINFOHEADER* dst, BYTE* dst_bits, int dx, int dy, int width,
                    int height, const BITMAPINFOHEADER* src, const BYTE* src_bits, int sx, int sy,
                    int key) {
    const Plane d = plane_of(dst, dst_bits), s = plane_of(src, src_bits);
    std::int64_t x = dx, y = dy, w = width, h = height, s_x = sx, s_y = sy;
    if (x + w > d.width) w = std::int64_t(d.width) - x;
    if (x < 0) {
        w += x;
        s_x -= x;
        x = 0;
    }
    if (w < 0) return 0;
    const bool top_down = d.height < 0;
    const std::int64_t rows = top_down ? -std::int64_t(d.height) : d.height;
    if (y + h > rows) h = rows - y;
    if (y < 0) {
        h += y;
        s_y -= y;
        y = 0;
    }
    if (h < INT32_MIN) return INT32_MIN;
    if (h <= 0 || w == 0) return int(h);
    if (!source_holds(s, s_x, w, s_y, h)) return 0;
    const Plane out{d.bits, d.width, int(rows), d.stride};
    for (int j = 0; j < int(h); ++j) {
        const int row = int(y) + j;
        BYTE* o = top_down ? out.at_top_down(int(x), row) : out.at(int(x), row);
        const BYTE* in = s.at(int(s_x), int(s_y) + j);
        if (kSprite)
            rasko::blend_row<kSkipKey>(o, in, nullptr, int(w), BYTE(key), 0, 0);
        else
            std::memmove(o, in, std::size_t(w));
    }
    return int(h);
}

// The 16 x 16 members do not clip; blocks that do not lie wholly inside their
// bitmaps are refused rather than written past the bitmap.
constexpr int kBlock = 16;

bool block_inside(int x, int y, int width, int rows) {
    return x >= 0 && y >= 0 && std::int64_t(x) + kBlock <= width &&
           std::int64_t(y) + kBlock <= rows;
}

template <unsigned F>
void block_16x16(const BITMAPINFOHEADER* dst, BYTE* dst_bits, int dx, int dy,
                 const BITMAPINFOHEADER* src, const BYTE* src_bits, int sx, int sy, int key,
                 bool allow_top_down) {
    const Plane d = plane_of(dst, dst_bits), s = plane_of(src, src_bits);
    const bool top_down = d.height < 0;
    if (top_down && !allow_top_down) return;
    const int rows = top_down ? -d.height : d.height;
    if (!block_inside(dx, dy, d.width, rows) || s.height <= 0 ||
        !block_inside(sx, sy, s.width, s.height))
        return;
    const Plane out{d.bits, d.width, rows, d.stride};
    for (int j = 0; j < kBlock; ++j) {
        BYTE* o = top_down ? out.at_top_down(dx, dy + j) : out.at(dx, dy + j);
        const BYTE* in = s.at(sx, sy + j);
        if (F == 0)
            std::memcpy(o, in, kBlock);
        else
            rasko::blend_row<F>(o, in, nullptr, kBlock, BYTE(key), 0, 0);
    }
}

} // namespace

extern "C" {

int RaskoCopyDIBtoDIB(const BITMAPINFOHEADER* dst, BYTE* dst_bits, int dx, int dy, int width,
                      int height, const BITMAPINFOHEADER* src, const BYTE* src_bits, int sx,
                      int sy) {
    return copy_dib_to_dib<false>(dst, dst_bits, dx, dy, width, height, src, src_bits, sx, sy, 0);
}

int RaskoSpriteCopyDIBtoDIB(const BITMAPINFOHEADER* dst, BYTE* dst_bits, int dx, int dy, int width,
                            int height, const BITMAPINFOHEADER* src, const BYTE* src_bits, int sx,
                            int sy, int key) {
    return copy_dib_to_dib<true>(dst, dst_bits, dx, dy, width, height, src, src_bits, sx, sy, key);
}

void RaskoCopy16x16DIBBits(const BITMAPINFOHEADER* dst, BYTE* dst_bits, int dx, int dy,
                           const BITMAPINFOHEADER* src, const BYTE* src_bits, int sx, int sy) {
    block_16x16<0>(dst, dst_bits, dx, dy, src, src_bits, sx, sy, 0, false);
}

void RaskoTransparent16x16DIBBits(const BITMAPINFOHEADER* dst, BYTE* dst_bits, int dx, int dy,
                                  const BITMAPINFOHEADER* src, const BYTE* src_bits, int sx, int sy,
                                  int colour) {
    block_16x16<kOnlyMatch>(dst, dst_bits, dx, dy, src, src_bits, sx, sy, colour, false);
}

void RaskoCopy16x16Pattern(const BITMAPINFOHEADER* dst, BYTE* dst_bits, int dx, int dy,
                           const BITMAPINFOHEADER* src, const BYTE* src_bits, int sx, int sy) {
    block_16x16<0>(dst, dst_bits, dx, dy, src, src_bits, sx, sy, 0, true);
}

void RaskoSpriteCopy16x16Pattern(const BITMAPINFOHEADER* dst, BYTE* dst_bits, int dx, int dy,
                                 const BITMAPINFOHEADER* src, const BYTE* src_bits, int sx, int sy,
                                 int key) {
    block_16x16<kSkipKey>(dst, dst_bits, dx, dy, src, src_bits, sx, sy, key, true);
}

} // extern "C"
