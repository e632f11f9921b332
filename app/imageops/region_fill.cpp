#include "app/imageops/region_fill.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

// A pending span start: a fillable pixel at (x, y) found beside the span
// [parent_left, parent_right] of row y - dir, which is already marked.
struct Seed {
    int x, y;
    int parent_left, parent_right;
    int dir;
};

// First in, first out, growing by doubling; one contiguous block, so a
// push and a pop are a store and an index step.
class SeedQueue {
  public:
    bool empty() const { return count_ == 0; }
    void push(const Seed& s) {
        if (count_ == slots_.size()) grow();
        slots_[(head_ + count_) & wrap_] = s;
        ++count_;
    }
    Seed pop() {
        const Seed s = slots_[head_];
        head_ = (head_ + 1) & wrap_;
        --count_;
        return s;
    }

  private:
    void grow() {
        std::vector<Seed> bigger(slots_.empty() ? kFirstSlots : slots_.size() * 2);
        for (std::size_t i = 0; i < count_; ++i)
            bigger[i] = slots_[(head_ + i) & (slots_.size() - 1)];
        slots_.swap(bigger);
        head_ = 0;
        wrap_ = slots_.size() - 1;
    }
    static constexpr std::size_t kFirstSlots = 256; // a power of two, as every size after it
    std::vector<Seed> slots_;
    std::size_t head_ = 0, count_ = 0, wrap_ = 0;
};

// Eight bytes at a time: the word with every byte b.
constexpr std::uint64_t kOnes = 0x0101010101010101ull;
constexpr std::uint64_t kHighs = 0x8080808080808080ull;
inline std::uint64_t load8(const BYTE* p) {
    std::uint64_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}
inline bool has_zero_byte(std::uint64_t v) {
    return ((v - kOnes) & ~v & kHighs) != 0;
}

// Rows of a bottom-up plane, addressed top-down.
struct Rows {
    BYTE* bits;
    std::size_t stride;
    int height;
    BYTE* row(int y) const { return bits + std::size_t(height - 1 - y) * stride; }
};

// Seeds are taken first in, first out, so the fill sweeps the picture row
// by row (a comb of long columns would otherwise be walked column by
// column, a cache miss a pixel) and the pending seeds stay about one row's
// worth.
class Filler {
  public:
    Filler(Rows region, Rows source, const RECT& b, BYTE colour, BYTE mark)
        : region_(region), source_(source), b_(b), colour_(colour),
          mark_(mark), box_{b.right, b.bottom, b.left, b.top} {}

    void run(int x, int y) {
        seeds_.push({x, y, 1, 0, 1}); // no parent: both neighbour rows are scanned
        while (!seeds_.empty())
            span(seeds_.pop());
    }
    const RECT& box() const { return box_; }

  private:
    bool fillable(const BYTE* src, const BYTE* reg, int x) const {
        return src[x] == colour_ && reg[x] != mark_;
    }

    // The fillable run through x, which is fillable, reaches right to the
    // returned pixel (at most limit); whole words are checked while they
    // match, the rest byte by byte.
    int fillable_end(const BYTE* src, const BYTE* reg, int x, int limit) const {
        if (x >= limit || !fillable(src, reg, x + 1)) return x; // most runs of a comb end here
        while (x + 8 <= limit && whole_word(src, reg, x + 1))
            x += 8;
        while (x < limit && fillable(src, reg, x + 1))
            ++x;
        return x;
    }
    int fillable_start(const BYTE* src, const BYTE* reg, int x, int limit) const {
        if (x <= limit || !fillable(src, reg, x - 1)) return x;
        while (x - 8 >= limit && whole_word(src, reg, x - 8))
            x -= 8;
        while (x > limit && fillable(src, reg, x - 1))
            --x;
        return x;
    }
    // Eight pixels from x all have the region's colour and none is marked.
    bool whole_word(const BYTE* src, const BYTE* reg, int x) const {
        return load8(src + x) == colour8_ && !has_zero_byte(load8(reg + x) ^ mark8_);
    }

    // Marks the span through the seed and queues one seed for each run of
    // fillable pixels beside it: across the whole span ahead, and behind
    // only where the span reaches past its parent.
    void span(const Seed& s) {
        const int y = s.y;
        const BYTE* src = source_.row(y);
        BYTE* reg = region_.row(y);
        if (!fillable(src, reg, s.x)) return; // reached meanwhile from another seed
        int left, right;
        left = fillable_start(src, reg, s.x, b_.left);
        right = fillable_end(src, reg, s.x, b_.right);
        if (right - left < kShortSpan)
            for (int x = left; x <= right; ++x)
                reg[x] = mark_;
        else
            std::memset(reg + left, mark_, std::size_t(right - left + 1));
        box_.left = std::min<LONG>(box_.left, left);
        box_.right = std::max<LONG>(box_.right, right);
        box_.top = std::min<LONG>(box_.top, y);
        box_.bottom = std::max<LONG>(box_.bottom, y);
        seed_runs(left, right, y, s.dir);
        if (s.parent_left > s.parent_right) {
            seed_runs(left, right, y, -s.dir);
        } else {
            seed_runs(left, s.parent_left - 1, y, -s.dir);
            seed_runs(s.parent_right + 1, right, y, -s.dir);
        }
    }

    void seed_runs(int left, int right, int y, int dir) {
        const int next = y + dir;
        if (next < b_.top || next > b_.bottom || left > right) return;
        const BYTE* src = source_.row(next);
        const BYTE* reg = region_.row(next);
        int x = left;
        while (x <= right) {
            while (x <= right && !fillable(src, reg, x))
                ++x;
            if (x > right) break;
            seeds_.push({x, next, left, right, dir});
            x = fillable_end(src, reg, x, right) + 1;
        }
    }

    Rows region_, source_;
    RECT b_;
    BYTE colour_, mark_;
    std::uint64_t colour8_ = colour_ * kOnes, mark8_ = mark_ * kOnes;
    RECT box_;
    SeedQueue seeds_;
    // Spans shorter than this are marked in a loop rather than a call.
    static constexpr int kShortSpan = 32;
};

} // namespace

bool region_fill(Surface& region, const Surface& source, int x, int y, BYTE mark,
                 const RECT* bounds, RECT* marked) {
    if (!region.info || !source.info || region.width() != source.width() ||
        region.height() != source.height())
        return false;
    RECT b{0, 0, source.width() - 1, source.height() - 1};
    if (bounds) {
        b.left = std::max(b.left, bounds->left);
        b.top = std::max(b.top, bounds->top);
        b.right = std::min(b.right, bounds->right);
        b.bottom = std::min(b.bottom, bounds->bottom);
    }
    if (x < b.left || x > b.right || y < b.top || y > b.bottom) return false;
    const Rows src{source.bits, std::size_t(source.stride()), source.height()};
    const Rows reg{region.bits, std::size_t(region.stride()), region.height()};
    Filler filler(reg, src, b, src.row(y)[x], mark);
    filler.run(x, y);
    if (marked) *marked = filler.box();
    return true;
}
