// Rectangle blits on 1024 x 1024 DIBs against memcpy of the same rows, in one
// run: each benchmark reports Mpixel/s and memcpy_ratio (memcpy's time for
// the frame over its own; 1 means as fast as copying the rows), both from the
// best frame.
#include "engine/blit_rows.h"
#include "engine/rasko.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <random>

namespace {

constexpr int kSide = 1024;
constexpr double kPixels = double(kSide) * kSide;

struct Frames {
    BITMAPINFOHEADER* src = RaskoCreateDIB(kSide, kSide);
    BITMAPINFOHEADER* dst = RaskoCreateDIB(kSide, kSide);
    BITMAPINFOHEADER* mask = RaskoCreateDIB(kSide, kSide);

    Frames() {
        // Keys and mask holes at random, so that no branch could predict them.
        std::mt19937 rng(1);
        for (int i = 0; i < kSide * kSide; ++i) {
            bits(src)[i] = BYTE(rng() % 4 == 0 ? 255 : rng());
            bits(mask)[i] = BYTE(rng() % 2 ? 255 : 0);
            bits(dst)[i] = BYTE(rng());
        }
    }
    ~Frames() {
        RaskoDestroyDIB(src);
        RaskoDestroyDIB(dst);
        RaskoDestroyDIB(mask);
    }
    static BYTE* bits(BITMAPINFOHEADER* dib) { return reinterpret_cast<BYTE*>(dib) + 1064; }
};

Frames& frames() {
    static Frames f;
    return f;
}

using Clock = std::chrono::steady_clock;

void copy_rows_with_memcpy() {
    Frames& f = frames();
    for (int row = 0; row < kSide; ++row)
        std::memcpy(Frames::bits(f.dst) + row * kSide, Frames::bits(f.src) + row * kSide, kSide);
    benchmark::ClobberMemory();
}

// memcpy's best time for one frame, measured once per run.
double memcpy_seconds() {
    static const double best = [] {
        double t = 1e9;
        for (int i = 0; i < 200; ++i) {
            const auto start = Clock::now();
            copy_rows_with_memcpy();
            t = std::min(t, std::chrono::duration<double>(Clock::now() - start).count());
        }
        return t;
    }();
    return best;
}

template <class Body> void run(benchmark::State& state, Body body) {
    const double reference = memcpy_seconds();
    double best = 1e9;
    for (auto _ : state) {
        const auto start = Clock::now();
        body(frames());
        benchmark::ClobberMemory();
        best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
    }
    // From the best frame, like the ratio: on a shared machine the mean is
    // mostly other people's work.
    state.counters["Mpixel/s"] = kPixels / best / 1e6;
    state.counters["memcpy_ratio"] = reference / best;
}

void BM_MemcpyRows(benchmark::State& state) {
    run(state, [](Frames&) { copy_rows_with_memcpy(); });
}
BENCHMARK(BM_MemcpyRows);

void BM_RaskoCopyDIBBits(benchmark::State& state) {
    run(state, [](Frames& f) {
        RaskoCopyDIBBits(f.dst, Frames::bits(f.dst), 0, 0, kSide, kSide, f.src, Frames::bits(f.src),
                         0, 0);
    });
}
BENCHMARK(BM_RaskoCopyDIBBits);

void BM_RaskoTransparentDIBBits(benchmark::State& state) {
    run(state, [](Frames& f) {
        RaskoTransparentDIBBits(f.dst, Frames::bits(f.dst), 0, 0, kSide, kSide, f.src,
                                Frames::bits(f.src), 0, 0, 255);
    });
}
BENCHMARK(BM_RaskoTransparentDIBBits);

// The same keyed copy through the scalar reference kernel, to show what the
// vector loop buys.
void BM_TransparentScalarKernel(benchmark::State& state) {
    run(state, [](Frames& f) {
        for (int row = 0; row < kSide; ++row)
            rasko::blend_row_scalar<rasko::kSkipKey>(Frames::bits(f.dst) + row * kSide,
                                                     Frames::bits(f.src) + row * kSide, nullptr,
                                                     kSide, 255, 0, 0);
    });
}
BENCHMARK(BM_TransparentScalarKernel);

#ifdef __SSE2__
// The limit of the masked members: read source, mask and destination and
// write the destination, with no work between. memcpy's stores do not read
// the destination first, so even this stays well below memcpy.
void BM_ThreeStreamLimit(benchmark::State& state) {
    run(state, [](Frames& f) {
        const BYTE* s = Frames::bits(f.src);
        const BYTE* m = Frames::bits(f.mask);
        BYTE* d = Frames::bits(f.dst);
        for (int i = 0; i < kSide * kSide; i += 16) {
            const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
            const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(m + i));
            const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i),
                             _mm_xor_si128(_mm_xor_si128(a, b), c));
        }
    });
}
BENCHMARK(BM_ThreeStreamLimit);
#endif

void BM_RaskoMaskTransparentDIBBitsEx(benchmark::State& state) {
    run(state, [](Frames& f) {
        RaskoMaskTransparentDIBBitsEx(f.dst, Frames::bits(f.dst), 0, 0, kSide, kSide, f.src,
                                      Frames::bits(f.src), 0, 0, 255, 9, Frames::bits(f.mask));
    });
}
BENCHMARK(BM_RaskoMaskTransparentDIBBitsEx);

void BM_RaskoFillRectEx(benchmark::State& state) {
    run(state,
        [](Frames& f) { RaskoFillRectEx(f.dst, Frames::bits(f.dst), 0, 0, kSide, kSide, 7, 9); });
}
BENCHMARK(BM_RaskoFillRectEx);

void BM_RaskoMaskFillRectEx(benchmark::State& state) {
    run(state, [](Frames& f) {
        RaskoMaskFillRectEx(f.dst, Frames::bits(f.dst), 0, 0, kSide, kSide, 7, 9,
                            Frames::bits(f.mask));
    });
}
BENCHMARK(BM_RaskoMaskFillRectEx);

void BM_RaskoTransparentDIBBitsExColor(benchmark::State& state) {
    run(state, [](Frames& f) {
        RaskoTransparentDIBBitsExColor(f.dst, Frames::bits(f.dst), 0, 0, kSide, kSide, f.src,
                                       Frames::bits(f.src), 0, 0, 255, 3, 9);
    });
}
BENCHMARK(BM_RaskoTransparentDIBBitsExColor);

} // namespace
