// Resize Picture from 2048 x 2048 to 4096 x 4096 over 8 layers, stretched
// and cropped, against making and clearing the same new surfaces (goal: at
// most twice that).
#include "app/imageops/resize.h"
#include "bench_picture.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <vector>

namespace {

constexpr int kLayers = 8;
constexpr int kFrom = 2048;
constexpr int kTo = 4096;
// Image, undo copy and mask of every layer, the composite and the stroke.
constexpr int kSurfaces = 3 * kLayers + 2;

void resize(benchmark::State& state, ResizeMode mode) {
    for (auto _ : state) {
        state.PauseTiming();
        PictureDocument* doc = bench::layered_picture(kFrom, kLayers);
        state.ResumeTiming();
        if (!resize_picture(*doc, kTo, kTo, mode)) std::abort();
        state.PauseTiming();
        free_document(doc);
        state.ResumeTiming();
    }
}

void BM_ResizePictureStretched(benchmark::State& state) {
    resize(state, ResizeMode::Stretch);
}
BENCHMARK(BM_ResizePictureStretched)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_ResizePictureCropped(benchmark::State& state) {
    resize(state, ResizeMode::Crop);
}
BENCHMARK(BM_ResizePictureCropped)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_MakeAndClearPeer(benchmark::State& state) {
    for (auto _ : state) {
        std::vector<std::unique_ptr<Surface>> made;
        for (int i = 0; i < kSurfaces; ++i) {
            made.emplace_back(create_surface(kTo, kTo));
            if (!made.back()) std::abort();
            std::memset(made.back()->bits, 255, made.back()->pixel_bytes());
        }
        benchmark::DoNotOptimize(made.back()->bits);
        state.PauseTiming();
        made.clear();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_MakeAndClearPeer)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
