// Color Exchange and the Layer Copy Pen natively: one free-hand move of the
// 32 x 32 round pen, as the canvas runs it (the segment's shape, the tool's
// rule through it, the recomposite of its box), on a 1024 x 1024 picture of
// noise. Color Exchange on one layer: goal under 30 microseconds. Layer
// Copy with move and edit all layers from the 16 layers below the current
// one: goal under 100 microseconds. goal_ratio is the time over the goal;
// the peer is memcpy of the segment box once per layer read, in the same
// run (memcpy_ratio: its time over the move's).
#include "app/document/composite.h"
#include "app/tools/canvas_steps.h"
#include "app/tools/exchange_tool.h"
#include "app/tools/layer_copy_tool.h"
#include "app/tools/stroke_shape.h"
#include "bench_picture.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <random>

namespace {

constexpr int kSide = 1024;
constexpr int kLayersBelow = 16;

struct Picture {
    PictureDocument* doc = nullptr;
    Surface pen;
    explicit Picture(int layers) {
        doc = bench::layered_picture(kSide, layers);
        std::mt19937 rng(5);
        for (LayerNode* node = doc->layers->next; node != doc->layers; node = node->next)
            for (std::size_t i = 0; i < node->layer->image->pixel_bytes(); ++i)
                node->layer->image->bits[i] = BYTE(rng() % 8);
        bench::make_round_pen(pen);
        doc->current_pen = &pen;
        doc->left_colour = 3;
        doc->right_colour = 6;
        doc->tone_level = 16;
        draw_colour_swatch(*doc);
        doc->update_rect = {0, 0, kSide - 1, kSide - 1};
        recomposite(*doc);
    }
    ~Picture() { free_document(doc); }
};

using Clock = std::chrono::steady_clock;

// One copy per layer of the 35 x 33 box a 3-pixel segment covers.
double memcpy_seconds(PictureDocument& doc, int layers) {
    constexpr int w = 35, h = 33, runs = 20000;
    Surface& c = *doc.composite;
    const Surface& image = *current_layer(doc)->image;
    const auto start = Clock::now();
    for (int i = 0; i < runs; ++i) {
        const int x = 40 + (i * 3) % (kSide - 80);
        for (int n = 0; n < layers; ++n)
            for (int row = 500; row < 500 + h; ++row) {
                const std::size_t at = std::size_t(kSide - 1 - row) * std::size_t(kSide) + x;
                std::memcpy(c.bits + at, image.bits + at, w);
            }
        benchmark::ClobberMemory();
    }
    return std::chrono::duration<double>(Clock::now() - start).count() / runs;
}

template <typename Paint>
void run(benchmark::State& state, PictureDocument& doc, int layers, double goal_us, Paint paint) {
    const double peer = memcpy_seconds(doc, layers);
    POINT p{40, 40};
    double total = 0;
    for (auto _ : state) {
        doc.previous_point = p;
        p.x = p.x + 3 >= kSide - 40 ? 40 : p.x + 3;
        doc.current_point = p;
        const auto start = Clock::now();
        pen_type_move(doc, kShapeFreeHand, false);
        paint(doc);
        benchmark::ClobberMemory();
        total += std::chrono::duration<double>(Clock::now() - start).count();
        doc.flags &= ~kNotifyBits;
    }
    const double per_move = total / double(state.iterations());
    state.counters["us_per_move"] = per_move * 1e6;
    state.counters["goal_ratio"] = per_move * 1e6 / goal_us;
    state.counters["memcpy_ratio"] = peer / per_move;
}

void BM_ColourExchangeMove(benchmark::State& state) {
    Picture picture(1);
    run(state, *picture.doc, 1, 30,
        [](PictureDocument& doc) { colour_exchange_paint(doc, false, false); });
}
BENCHMARK(BM_ColourExchangeMove)->Unit(benchmark::kMicrosecond);

void BM_LayerCopyMove16LayersBelow(benchmark::State& state) {
    Picture picture(kLayersBelow + 1);
    picture.doc->flags |= kDocMoveAllLayers;
    run(state, *picture.doc, kLayersBelow + 1, 100,
        [](PictureDocument& doc) { layer_copy_paint(doc, false); });
}
BENCHMARK(BM_LayerCopyMove16LayersBelow)->Unit(benchmark::kMicrosecond);

} // namespace
