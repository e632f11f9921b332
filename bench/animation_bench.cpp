// One frame step of the animation view on a 1024 x 1024 picture of three
// layers (goal: under 3 ms), plainly and with the heaviest settings
// (Previous disposal and a transparent copy), against copying the same
// bytes with memcpy.
#include "app/imageops/animation_frames.h"
#include "bench_picture.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

namespace {

constexpr int kSide = 1024;
constexpr int kLayers = 3;
constexpr std::int32_t kDisposalPrevious = 3;

void step(benchmark::State& state, bool heavy) {
    PictureDocument* doc = bench::layered_picture(kSide, kLayers);
    for (int position = 1; position <= kLayers; ++position) {
        Layer& layer = *layer_node_at(*doc, position)->layer;
        std::memset(layer.image->bits, position, layer.image->pixel_bytes());
        if (heavy) {
            layer.disposal = kDisposalPrevious;
            layer.flags |= kLayerAnimTransparent;
        }
    }
    Surface frame;
    if (!start_animation_frame(*doc, frame)) std::abort();
    int counter = 0;
    for (auto _ : state) {
        counter = draw_animation_frame(*doc, counter, frame).next_counter;
        benchmark::DoNotOptimize(frame.bits);
    }
    free_document(doc);
}

void BM_AnimationFramePlain(benchmark::State& state) {
    step(state, false);
}
BENCHMARK(BM_AnimationFramePlain)->Unit(benchmark::kMillisecond);

void BM_AnimationFramePreviousTransparent(benchmark::State& state) {
    step(state, true);
}
BENCHMARK(BM_AnimationFramePreviousTransparent)->Unit(benchmark::kMillisecond);

void BM_MemcpyFramePeer(benchmark::State& state) {
    std::vector<unsigned char> from(std::size_t(kSide) * kSide, 1), to(from.size());
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), from.size());
        benchmark::DoNotOptimize(to.data());
    }
}
BENCHMARK(BM_MemcpyFramePeer)->Unit(benchmark::kMillisecond);

} // namespace
