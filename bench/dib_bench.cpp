// Creating a 1024 x 1024 DIB against the physical limit of allocating and
// zeroing the same block.
#include "engine/rasko.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>

namespace {

constexpr int kSide = 1024;
constexpr std::size_t kBlock = 1064 + std::size_t(kSide) * kSide;

void BM_RaskoCreateDIB(benchmark::State& state) {
    for (auto _ : state) {
        BITMAPINFOHEADER* dib = RaskoCreateDIB(kSide, kSide);
        benchmark::DoNotOptimize(dib);
        RaskoDestroyDIB(dib);
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(kBlock));
}
BENCHMARK(BM_RaskoCreateDIB);

void BM_CallocPeer(benchmark::State& state) {
    for (auto _ : state) {
        void* block = std::calloc(1, kBlock);
        benchmark::DoNotOptimize(block);
        std::free(block);
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(kBlock));
}
BENCHMARK(BM_CallocPeer);

} // namespace
