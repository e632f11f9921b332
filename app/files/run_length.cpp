#include "app/files/run_length.h"

#include <cstring>

namespace {

// Applies the run rules to a sequence of units, handing each code unit to
// emit (which returns false to give up) and each count to emit_count.
template <typename Unit, typename Emit, typename EmitCount>
bool encode_runs(std::size_t count, Unit unit, Emit emit, EmitCount emit_count) {
    int run = 0;
    bool have_previous = false;
    unsigned previous = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const unsigned b = unit(i);
        if (run == 0) {
            if (!emit(b)) return false;
            if (have_previous && b == previous) {
                run = 2;
                have_previous = false;
            } else {
                have_previous = true;
            }
        } else if (b == previous) {
            if (++run == 255) {
                if (!emit_count(255)) return false;
                run = 0;
                have_previous = false;
            }
        } else {
            if (!emit_count(unsigned(run)) || !emit(b)) return false;
            run = 0;
            have_previous = true;
        }
        previous = b;
    }
    return run == 0 || emit_count(unsigned(run));
}

} // namespace

std::size_t encode_byte_runs(const BYTE* plane, std::size_t n, BYTE* out) {
    std::size_t length = 0;
    // The code is only worth keeping while it stays below n bytes.
    auto emit = [&](unsigned b) {
        if (length + 1 >= n) return false;
        out[length++] = BYTE(b);
        return true;
    };
    if (!encode_runs(
            n, [&](std::size_t i) { return unsigned(plane[i]); }, emit, emit))
        return 0;
    return length;
}

std::size_t decode_byte_runs(const BYTE* code, std::size_t length, BYTE* out, std::size_t n) {
    std::size_t produced = 0, i = 0;
    bool have_previous = false;
    BYTE previous = 0;
    while (produced < n && i < length) {
        const BYTE b = code[i++];
        if (have_previous && b == previous) {
            if (i >= length) break;
            const std::size_t more = code[i++];
            std::size_t repeat = more > 0 ? more - 1 : 0;
            if (repeat > n - produced) repeat = n - produced;
            std::memset(out + produced, b, repeat);
            produced += repeat;
            have_previous = false;
        } else {
            out[produced++] = b;
            have_previous = true;
        }
        previous = b;
    }
    return produced;
}

std::size_t encode_mask_nibbles(const BYTE* mask, std::size_t n, BYTE* out) {
    std::size_t units = 0;
    auto emit = [&](unsigned unit) {
        if (units % 2 == 0)
            out[units / 2] = BYTE(unit);
        else
            out[units / 2] |= BYTE(unit << 4);
        ++units;
        return true;
    };
    auto emit_count = [&](unsigned count) { return emit(count & 0xF) && emit(count >> 4); };
    auto group = [&](std::size_t j) {
        const BYTE* g = mask + 4 * j;
        return unsigned((g[0] ? 1 : 0) | (g[1] ? 2 : 0) | (g[2] ? 4 : 0) | (g[3] ? 8 : 0));
    };
    encode_runs(n / 4, group, emit, emit_count);
    return (units + 1) / 2;
}

std::size_t decode_mask_nibbles(const BYTE* code, std::size_t length, BYTE* out, std::size_t n) {
    // The mask bytes of each group value repeated as often as one run can
    // repeat it, so that a run is a single copy.
    static const auto kRuns = [] {
        struct {
            BYTE bytes[16][4 * 255];
        } runs{};
        for (int g = 0; g < 16; ++g)
            for (int i = 0; i < 4 * 255; ++i)
                runs.bytes[g][i] = (g >> (i % 4)) & 1 ? 255 : 0;
        return runs;
    }();
    const std::size_t units = length * 2;
    std::size_t produced = 0, k = 0;
    auto unit = [&](std::size_t index) {
        return unsigned(code[index / 2] >> (index % 2 * 4)) & 0xF;
    };
    auto put_groups = [&](unsigned g, unsigned times) {
        std::size_t bytes = std::size_t(times) * 4;
        if (bytes > n - produced) bytes = n - produced;
        std::memcpy(out + produced, kRuns.bytes[g], bytes);
        produced += bytes;
    };
    bool have_previous = false;
    unsigned previous = 0;
    while (produced < n && k < units) {
        const unsigned g = unit(k++);
        if (have_previous && g == previous) {
            if (k + 2 > units) break;
            const unsigned count = unit(k) | unit(k + 1) << 4;
            k += 2;
            if (count > 1) put_groups(g, count - 1);
            have_previous = false;
        } else {
            put_groups(g, 1);
            have_previous = true;
        }
        previous = g;
    }
    return produced;
}
