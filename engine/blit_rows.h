// Row kernels of the rectangle blits (not exported). One template covers
// every keyed, matched, masked, screened and recolouring member: each pixel
// builds a byte-wide selection mask from the member's conditions and blends
// d = d ^ ((d ^ v) & sel), so the loops never branch on pixel values. The
// SSE2 form does sixteen pixels a step, four steps a turn; the scalar form is
// the reference the tests compare it with, and finishes each row's last 0-15
// pixels.
#pragma once

#include "platform/win.h"

#include <cstdint>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace rasko {

// What a row operation tests and writes. The key argument of the kernels is
// the key colour (kSkipKey) or the colour to match (kOnlyMatch).
enum RowFlags : unsigned {
    kSkipKey = 1,   // leave pixels whose source equals the key
    kOnlyMatch = 2, // touch only pixels whose source equals the key
    kMasked = 4,    // touch only pixels whose mask byte is non-zero
    kScreened = 8,  // touch only pixels whose tone mask byte is set
    kConstant = 16, // write the value instead of the source pixel
};

constexpr bool reads_source(unsigned flags) {
    return (flags & (kSkipKey | kOnlyMatch)) || !(flags & kConstant);
}

// Pixels from..n of a row. tone holds the row's pattern as four mask bytes,
// byte k for the row's columns k, k + 4, ... (see tone_row_mask).
template <unsigned F>
inline void blend_row_scalar_from(int from, BYTE* d, const BYTE* s, const BYTE* m, int n, BYTE key,
                                  BYTE value, std::uint32_t tone) {
    for (int i = from; i < n; ++i) {
        unsigned sel = 0xFF;
        const unsigned sp = reads_source(F) ? s[i] : 0u;
        if (F & kSkipKey) sel &= 0u - unsigned(sp != key);
        if (F & kOnlyMatch) sel &= 0u - unsigned(sp == key);
        if (F & kMasked) sel &= 0u - unsigned(m[i] != 0);
        if (F & kScreened) sel &= tone >> ((i & 3) * 8);
        const unsigned v = (F & kConstant) ? value : sp;
        d[i] = BYTE(d[i] ^ ((d[i] ^ v) & sel));
    }
}

template <unsigned F>
inline void blend_row_scalar(BYTE* d, const BYTE* s, const BYTE* m, int n, BYTE key, BYTE value,
                             std::uint32_t tone) {
    blend_row_scalar_from<F>(0, d, s, m, n, key, value, tone);
}

#ifdef __SSE2__
// Keeps a loaded vector in its register. Without it GCC loads the source a
// second time for the blend rather than copy the register that the
// two-operand compare overwrites, and that extra load costs a fifth of the
// keyed loops' speed.
inline __m128i kept(__m128i v) {
#if defined(__GNUC__)
    asm("" : "+x"(v));
#endif
    return v;
}

// Pixels i to i + 15 of blend_row; the caller keeps the constants in
// registers. Pointers a member does not use are never offset (they may be
// null).
template <unsigned F>
inline void blend_16(BYTE* d, const BYTE* s, const BYTE* m, int i, __m128i vkey, __m128i vvalue,
                     __m128i vtone) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i dv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
    __m128i sv = zero;
    if (reads_source(F)) sv = kept(_mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i)));
    __m128i sel = (F & kScreened) ? vtone : _mm_cmpeq_epi8(zero, zero);
    if (F & kMasked) {
        const __m128i mv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(m + i));
        sel = _mm_andnot_si128(_mm_cmpeq_epi8(mv, zero), sel);
    }
    if (F & kSkipKey) sel = _mm_andnot_si128(_mm_cmpeq_epi8(sv, vkey), sel);
    if (F & kOnlyMatch) sel = _mm_and_si128(_mm_cmpeq_epi8(sv, vkey), sel);
    const __m128i v = (F & kConstant) ? vvalue : sv;
    const __m128i out = _mm_xor_si128(dv, _mm_and_si128(_mm_xor_si128(dv, v), sel));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), out);
}
#endif

template <unsigned F>
inline void blend_row(BYTE* d, const BYTE* s, const BYTE* m, int n, BYTE key, BYTE value,
                      std::uint32_t tone) {
    int i = 0;
#ifdef __SSE2__
    const __m128i vkey = _mm_set1_epi8(char(key));
    const __m128i vvalue = _mm_set1_epi8(char(value));
    // Sixteen is a multiple of the pattern's period, so one tone vector
    // serves every step and the tail continues at the same phase.
    const __m128i vtone = _mm_set1_epi32(int(tone));
    for (; i + 64 <= n; i += 64) {
        blend_16<F>(d, s, m, i, vkey, vvalue, vtone);
        blend_16<F>(d, s, m, i + 16, vkey, vvalue, vtone);
        blend_16<F>(d, s, m, i + 32, vkey, vvalue, vtone);
        blend_16<F>(d, s, m, i + 48, vkey, vvalue, vtone);
    }
    for (; i + 16 <= n; i += 16)
        blend_16<F>(d, s, m, i, vkey, vvalue, vtone);
#endif
    blend_row_scalar_from<F>(i, d, s, m, n, key, value, tone);
}

} // namespace rasko
