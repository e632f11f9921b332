// The stroke path of a free-hand drag without presentation: one mouse move
// of the 32 x 32 round pen on a 2048 x 2048 picture of 8 visible layers, as
// the canvas runs it (recomposite the last segment's box, build the
// segment, paint it in the tone mix, recomposite its box). The goal is
// under 200 microseconds a move: goal_ratio is the time over that (below 1
// meets it). The peer is memcpy of the bytes recompositing the box reads
// (one copy of the box per layer), measured in the same run: memcpy_ratio
// is memcpy's time over the move's.
#include "app/tools/canvas_steps.h"
#include "app/document/composite.h"
#include "app/tools/pen_tool.h"
#include "app/tools/stroke_shape.h"
#include "bench_picture.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>

namespace {

constexpr int kSide = 2048;
constexpr int kLayers = 8;
constexpr double kGoalMicroseconds = 200;

struct Picture {
    PictureDocument* doc = nullptr;
    Surface pen;
    Picture() {
        doc = bench::layered_picture(kSide, kLayers);
        std::mt19937 rng(7);
        for (LayerNode* node = doc->layers->next; node != doc->layers; node = node->next) {
            Layer& layer = *node->layer;
            layer.key_colour = 255;
            // A quarter of every layer shows the layers below.
            for (std::size_t i = 0; i < layer.image->pixel_bytes(); ++i)
                layer.image->bits[i] = BYTE(rng() % 4 == 0 ? 255 : rng() % 255);
        }
        bench::make_round_pen(pen);
        doc->current_pen = &pen;
        doc->left_colour = 12;
        doc->right_colour = 200;
        doc->tone_level = 8;
        draw_colour_swatch(*doc);
        doc->update_rect = {0, 0, kSide - 1, kSide - 1};
        recomposite(*doc);
    }
    ~Picture() { free_document(doc); }
};

Picture& picture() {
    static Picture p;
    return p;
}

// The next point of a drag that sweeps the picture in rows, 3 pixels a move
// as a quick hand does at zoom 100.
POINT next_point(POINT p) {
    p.x += 3;
    if (p.x >= kSide - 40) {
        p.x = 40;
        p.y = p.y + 40 >= kSide - 40 ? 40 : p.y + 40;
    }
    return p;
}

void one_move(PictureDocument& doc) {
    doc.previous_point = doc.current_point;
    doc.current_point = next_point(doc.current_point);
    pen_type_move(doc, kShapeFreeHand, false);
    pen_paint(doc, false, false);
    doc.previous_point = doc.current_point;
}

using Clock = std::chrono::steady_clock;

// One copy per layer of the 35 x 33 box a 3-pixel segment recomposites.
double memcpy_seconds(PictureDocument& doc) {
    constexpr int w = 35, h = 33, runs = 20000;
    Surface& c = *doc.composite;
    const auto start = Clock::now();
    for (int i = 0; i < runs; ++i) {
        const int x = 40 + (i * 3) % (kSide - 80), y = 500;
        for (LayerNode* node = doc.layers->next; node != doc.layers; node = node->next) {
            const Surface& image = *node->layer->image;
            for (int row = y; row < y + h; ++row) {
                const std::size_t at = std::size_t(kSide - 1 - row) * std::size_t(kSide) + x;
                std::memcpy(c.bits + at, image.bits + at, w);
            }
        }
        benchmark::ClobberMemory();
    }
    return std::chrono::duration<double>(Clock::now() - start).count() / runs;
}

void BM_StrokeMove32x32Pen8Layers2048(benchmark::State& state) {
    PictureDocument& doc = *picture().doc;
    doc.current_point = {40, 40};
    doc.previous_point = doc.current_point;
    const double peer = memcpy_seconds(doc);
    double total = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        one_move(doc);
        benchmark::ClobberMemory();
        total += std::chrono::duration<double>(Clock::now() - start).count();
    }
    const double per_move = total / double(state.iterations());
    state.counters["us_per_move"] = per_move * 1e6;
    state.counters["goal_ratio"] = per_move * 1e6 / kGoalMicroseconds;
    state.counters["memcpy_ratio"] = peer / per_move;
}
BENCHMARK(BM_StrokeMove32x32Pen8Layers2048)->Unit(benchmark::kMicrosecond);

} // namespace
