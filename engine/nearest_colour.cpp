#include "engine/nearest_colour.h"

#include <climits>
#include <cstdint>
#include <cstdlib>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace rasko {

namespace {

int distance(const RGBQUAD& q, BYTE red, BYTE green, BYTE blue) {
    return std::abs(int(q.rgbRed) - red) + std::abs(int(q.rgbGreen) - green) +
           std::abs(int(q.rgbBlue) - blue);
}

} // namespace

int nearest_entry_scalar(const RGBQUAD* table, int count, BYTE red, BYTE green, BYTE blue) {
    int best = 0;
    int best_distance = INT_MAX;
    for (int i = 0; i < count; ++i) {
        const int d = distance(table[i], red, green, blue);
        if (d == 0) return i;
        if (d < best_distance) {
            best = i;
            best_distance = d;
        }
    }
    return best;
}

#ifdef __SSE2__

// Four entries a step. Each lane keeps distance << 8 | index, so the smallest
// key is the nearest entry with the lowest index, and the lanes reduce to the
// scalar scan's answer without tracking indexes separately.
int nearest_entry(const RGBQUAD* table, int count, BYTE red, BYTE green, BYTE blue) {
    const __m128i target = _mm_set1_epi32(int(blue | green << 8 | red << 16));
    const __m128i rgb = _mm_set1_epi32(0x00FFFFFF);
    const __m128i low_bytes = _mm_set1_epi16(0x00FF);
    const __m128i ones = _mm_set1_epi16(1);
    const __m128i four = _mm_set1_epi32(4);
    __m128i best = _mm_set1_epi32(INT_MAX);
    __m128i index = _mm_setr_epi32(0, 1, 2, 3);
    int i = 0;
    for (; i + 4 <= count; i += 4) {
        const __m128i e =
            _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(table + i)), rgb);
        const __m128i diff = _mm_or_si128(_mm_subs_epu8(e, target), _mm_subs_epu8(target, e));
        // Per entry: 16-bit (|db| + |dg|) and (|dr| + 0), then their sum.
        const __m128i pairs =
            _mm_add_epi16(_mm_and_si128(diff, low_bytes), _mm_srli_epi16(diff, 8));
        const __m128i key = _mm_or_si128(_mm_slli_epi32(_mm_madd_epi16(pairs, ones), 8), index);
        const __m128i nearer = _mm_cmplt_epi32(key, best);
        best = _mm_or_si128(_mm_and_si128(nearer, key), _mm_andnot_si128(nearer, best));
        index = _mm_add_epi32(index, four);
    }
    alignas(16) std::int32_t lanes[4];
    _mm_store_si128(reinterpret_cast<__m128i*>(lanes), best);
    std::int32_t key = lanes[0];
    for (int k = 1; k < 4; ++k)
        if (lanes[k] < key) key = lanes[k];
    for (; i < count; ++i) {
        const std::int32_t tail = distance(table[i], red, green, blue) << 8 | i;
        if (tail < key) key = tail;
    }
    return key & 0xFF;
}

#else

int nearest_entry(const RGBQUAD* table, int count, BYTE red, BYTE green, BYTE blue) {
    return nearest_entry_scalar(table, count, red, green, blue);
}

#endif

} // namespace rasko
