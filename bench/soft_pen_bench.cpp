// The soft pens natively. One free-hand move of the 32 x 32 round pen on a
// 2048 x 2048 picture of 8 layers of noise, as the canvas runs it (the
// segment's shape, the filter, the recomposite of its box): goal under
// 150 microseconds. A filled rectangle of 1024 x 1024 filtered on the
// release: goal under 300 ms. goal_ratio is the time over the goal; the peer
// is the plain palette scan the search replaces, timed for the same number
// of pixels in the same run (scan_ratio: its time over the filter's).
#include "app/document/composite.h"
#include "app/tools/canvas_steps.h"
#include "app/tools/soft_pen_tool.h"
#include "app/tools/stroke_shape.h"
#include "bench_picture.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <random>

namespace {

constexpr int kSide = 2048;
constexpr int kLayers = 8;
constexpr int kRectangle = 1024;

struct Picture {
    PictureDocument* doc = nullptr;
    Surface pen;
    Picture() {
        doc = bench::layered_picture(kSide, kLayers);
        std::mt19937 rng(7);
        RGBQUAD table[256];
        for (RGBQUAD& c : table)
            c = {BYTE(rng()), BYTE(rng()), BYTE(rng()), 0};
        current_layer(*doc)->image->set_palette(table);
        update_palette(*doc);
        for (LayerNode* node = doc->layers->next; node != doc->layers; node = node->next)
            for (std::size_t i = 0; i < node->layer->image->pixel_bytes(); ++i)
                node->layer->image->bits[i] = BYTE(rng());
        current_layer(*doc)->image->copy_to(*current_layer(*doc)->undo_copy);
        bench::make_round_pen(pen);
        doc->current_pen = &pen;
        doc->update_rect = {0, 0, kSide - 1, kSide - 1};
        recomposite(*doc);
    }
    ~Picture() { free_document(doc); }
};

Picture& picture() {
    static Picture p;
    return p;
}

using Clock = std::chrono::steady_clock;

double scan_seconds(const RGBQUAD* table, int pixels) {
    const auto start = Clock::now();
    int sum = 0;
    for (int i = 0; i < pixels; ++i)
        sum += nearest_by_scan(table, i & 255, (i >> 3) & 255, 77).index;
    benchmark::DoNotOptimize(sum);
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void BM_SoftenMove32x32Pen8Layers2048(benchmark::State& state) {
    PictureDocument& doc = *picture().doc;
    const SoftMode mode = SoftMode(state.range(0));
    POINT p{40, 40};
    PaletteSearch search;
    double total = 0;
    for (auto _ : state) {
        doc.previous_point = p;
        p.x = p.x + 3 >= kSide - 40 ? 40 : p.x + 3;
        doc.current_point = p;
        const auto start = Clock::now();
        pen_type_move(doc, kShapeFreeHand, false);
        soft_pen_filter(doc, mode, {100, 10}, false, search);
        benchmark::ClobberMemory();
        total += std::chrono::duration<double>(Clock::now() - start).count();
        doc.flags = 0;
    }
    const double per_move = total / double(state.iterations());
    state.counters["us_per_move"] = per_move * 1e6;
    state.counters["goal_ratio"] = per_move * 1e6 / 150;
    state.counters["scan_ratio"] =
        scan_seconds(current_layer(doc)->image->colour_table(), 709) / per_move;
}
BENCHMARK(BM_SoftenMove32x32Pen8Layers2048)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

void BM_SoftenFilledRectangle1024(benchmark::State& state) {
    PictureDocument& doc = *picture().doc;
    PaletteSearch search;
    double total = 0;
    for (auto _ : state) {
        doc.anchor_point = {100, 100};
        doc.previous_point = {100, 100};
        doc.current_point = {100 + kRectangle - 1, 100 + kRectangle - 1};
        const auto start = Clock::now();
        pen_type_release(doc, kShapeFilledRectangle, false);
        soft_pen_filter(doc, SoftMode::soften, {100, 0}, false, search);
        benchmark::ClobberMemory();
        total += std::chrono::duration<double>(Clock::now() - start).count();
        doc.flags = 0;
    }
    const double per_release = total / double(state.iterations());
    state.counters["ms_per_release"] = per_release * 1e3;
    state.counters["goal_ratio"] = per_release * 1e3 / 300;
}
BENCHMARK(BM_SoftenFilledRectangle1024)->Unit(benchmark::kMillisecond);

} // namespace
