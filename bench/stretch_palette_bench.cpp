// Stretch blits and palette services on 1024 x 1024 pictures, in Mpixel/s,
// each beside memcpy of the same rows where a whole-picture pass compares
// (counter "memcpy_ratio": memcpy time / our time, 1 = memcpy speed), and the
// nearest-colour search beside the plain scan it replaces.
#include "engine/nearest_colour.h"
#include "engine/rasko.h"
#include "platform/io/dib_layout.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

namespace {

constexpr int kSide = 1024;

struct DibDeleter {
    void operator()(BITMAPINFOHEADER* dib) const { RaskoDestroyDIB(dib); }
};
using DibPtr = std::unique_ptr<BITMAPINFOHEADER, DibDeleter>;

using io::bits_of;
using io::colour_table;

std::size_t pixel_bytes(const BITMAPINFOHEADER* dib) {
    return std::size_t(io::stride_of(dib->biWidth)) * std::size_t(dib->biHeight);
}

// A picture of random pixels over a random 256-colour table.
DibPtr random_picture(int width, int height, unsigned seed) {
    DibPtr dib(RaskoCreateDIB(width, height));
    std::mt19937 random(seed);
    for (int i = 0; i < 256; ++i)
        colour_table(dib.get())[i] = RGBQUAD{BYTE(random()), BYTE(random()), BYTE(random()), 0};
    BYTE* b = bits_of(dib.get());
    for (std::size_t i = 0; i < pixel_bytes(dib.get()); ++i)
        b[i] = BYTE(random());
    return dib;
}

// Thread CPU time: the machine is shared, and wall time would count the
// other programs' turns against ours and memcpy's unevenly.
struct Clock {
    using time_point = double;
    static double now() {
        timespec t{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
    }
};

double seconds_since(double start) {
    return Clock::now() - start;
}

// Best time of memcpy copying `rows` rows of `width` bytes between two
// pictures of that size: the physical limit of a pass over those rows.
double memcpy_seconds(int width, int rows) {
    DibPtr from = random_picture(width, rows, 1);
    DibPtr to(RaskoCreateDIB(width, rows));
    const std::size_t stride = std::size_t(io::stride_of(width));
    double best = 1e9;
    for (int round = 0; round < 50; ++round) {
        const Clock::time_point start = Clock::now();
        for (int y = 0; y < rows; ++y)
            std::memcpy(bits_of(to.get()) + y * stride, bits_of(from.get()) + y * stride,
                        std::size_t(width));
        benchmark::ClobberMemory();
        best = std::min(best, seconds_since(start));
    }
    return best;
}

void report(benchmark::State& state, double pixels_per_iteration, double total_seconds,
            double memcpy_time) {
    state.counters["Mpixel/s"] = benchmark::Counter(pixels_per_iteration * 1e-6 *
                                                    double(state.iterations()) / total_seconds);
    if (memcpy_time > 0)
        state.counters["memcpy_ratio"] =
            benchmark::Counter(memcpy_time * double(state.iterations()) / total_seconds);
}

void stretch(benchmark::State& state, int src_side, int dst_side) {
    DibPtr src = random_picture(src_side, src_side, 2);
    DibPtr dst(RaskoCreateDIB(dst_side, dst_side));
    const double limit = memcpy_seconds(dst_side, dst_side);
    double total = 0;
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        RaskoStretchDIBBits(dst.get(), bits_of(dst.get()), 0, 0, dst_side, dst_side, src.get(),
                            bits_of(src.get()), 0, 0, src_side, src_side);
        benchmark::ClobberMemory();
        const double seconds = seconds_since(start);
        state.SetIterationTime(seconds);
        total += seconds;
    }
    report(state, double(dst_side) * dst_side, total, limit);
}

void BM_StretchDIBBits_Double(benchmark::State& state) {
    stretch(state, kSide / 2, kSide);
}
BENCHMARK(BM_StretchDIBBits_Double)->UseManualTime();

void BM_StretchDIBBits_Half(benchmark::State& state) {
    stretch(state, kSide, kSide / 2);
}
BENCHMARK(BM_StretchDIBBits_Half)->UseManualTime();

void BM_StretchTransparentDIBBits_Double(benchmark::State& state) {
    DibPtr src = random_picture(kSide / 2, kSide / 2, 3);
    DibPtr dst(RaskoCreateDIB(kSide, kSide));
    const double limit = memcpy_seconds(kSide, kSide);
    double total = 0;
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        RaskoStretchTransparentDIBBits(dst.get(), bits_of(dst.get()), 0, 0, kSide, kSide, src.get(),
                                       bits_of(src.get()), 0, 0, kSide / 2, kSide / 2, 0);
        benchmark::ClobberMemory();
        const double seconds = seconds_since(start);
        state.SetIterationTime(seconds);
        total += seconds;
    }
    report(state, double(kSide) * kSide, total, limit);
}
BENCHMARK(BM_StretchTransparentDIBBits_Double)->UseManualTime();

// One call per pixel of a 1024-pixel row of colours, as a colour reduction
// over a true-colour picture would make.
std::vector<RGBQUAD> random_colours(int count) {
    std::mt19937 random(4);
    std::vector<RGBQUAD> colours(static_cast<std::size_t>(count));
    for (auto& q : colours)
        q = RGBQUAD{BYTE(random()), BYTE(random()), BYTE(random()), 0};
    return colours;
}

template <typename Search> void nearest_per_pixel(benchmark::State& state, Search search) {
    DibPtr dib = random_picture(1, 1, 5);
    const std::vector<RGBQUAD> colours = random_colours(kSide);
    double total = 0;
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        for (const RGBQUAD& q : colours)
            benchmark::DoNotOptimize(search(dib.get(), q));
        const double seconds = seconds_since(start);
        state.SetIterationTime(seconds);
        total += seconds;
    }
    report(state, kSide, total, 0);
}

void BM_GetNearestColor(benchmark::State& state) {
    nearest_per_pixel(state, [](BITMAPINFOHEADER* dib, const RGBQUAD& q) {
        return RaskoGetNearestColor(dib, q.rgbRed, q.rgbGreen, q.rgbBlue);
    });
}
BENCHMARK(BM_GetNearestColor)->UseManualTime();

void BM_NearestColourScalarPeer(benchmark::State& state) {
    nearest_per_pixel(state, [](BITMAPINFOHEADER* dib, const RGBQUAD& q) {
        return rasko::nearest_entry_scalar(colour_table(dib), 256, q.rgbRed, q.rgbGreen, q.rgbBlue);
    });
}
BENCHMARK(BM_NearestColourScalarPeer)->UseManualTime();

// Alternates between two unrelated palettes, so that every call searches
// all 256 entries (an unchanged entry keeps its index without a search).
void BM_ChangeDIBPalette(benchmark::State& state) {
    DibPtr dib = random_picture(kSide, kSide, 6);
    std::vector<BYTE> logical[2];
    for (unsigned k = 0; k < 2; ++k) {
        DibPtr other = random_picture(1, 1, 7 + k);
        logical[k].resize(4 + 256 * sizeof(PALETTEENTRY));
        RaskoCopyPaletteFromDIB(reinterpret_cast<LOGPALETTE*>(logical[k].data()), other.get());
    }
    const double limit = memcpy_seconds(kSide, kSide);
    double total = 0;
    unsigned turn = 0;
    for (auto _ : state) {
        const auto* palette = reinterpret_cast<const LOGPALETTE*>(logical[turn++ & 1].data());
        const Clock::time_point start = Clock::now();
        RaskoChangeDIBPalette(dib.get(), bits_of(dib.get()), palette);
        benchmark::ClobberMemory();
        const double seconds = seconds_since(start);
        state.SetIterationTime(seconds);
        total += seconds;
    }
    report(state, double(kSide) * kSide, total, limit);
}
BENCHMARK(BM_ChangeDIBPalette)->UseManualTime();

void BM_DecreaseColorDepth_Dither(benchmark::State& state) {
    const int bits_per_pixel = int(state.range(0));
    DibPtr original = random_picture(kSide, kSide, 8);
    DibPtr dib(RaskoCreateDIB(kSide, kSide));
    const std::size_t block = 1064 + pixel_bytes(original.get());
    const double limit = memcpy_seconds(kSide, kSide);
    double total = 0;
    for (auto _ : state) {
        std::memcpy(dib.get(), original.get(), block);
        const Clock::time_point start = Clock::now();
        RaskoDecreaseColorDepth(dib.get(), bits_of(dib.get()), bits_per_pixel, nullptr, 1, 1);
        benchmark::ClobberMemory();
        const double seconds = seconds_since(start);
        state.SetIterationTime(seconds);
        total += seconds;
    }
    report(state, double(kSide) * kSide, total, limit);
}
BENCHMARK(BM_DecreaseColorDepth_Dither)->Arg(4)->Arg(7)->UseManualTime();

} // namespace
