// Palette edits and Decrease Colors natively, on the pictures their goals
// name. A swap through the palette window on 4096 x 4096 x 16 layers (undo
// copies, remap, one recomposite): goal under 400 ms. One Sync step of the
// colour editor on the same picture (a colour value changes: the tables are
// copied, nothing is recomposited): goal under 16 ms. Decrease Colors of
// 8 layers of 2048 x 2048 to 16 colours with dithering: goal under 80 ms.
// goal_ratio is the time over the goal; the peer is memcpy of every layer's
// pixels once (memcpy_ratio: its time over the operation's).
#include "app/document/composite.h"
#include "app/imageops/decrease_colours.h"
#include "app/imageops/palette_edits.h"
#include "bench_picture.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <random>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Picture {
    PictureDocument* doc;
    int layers;
    Picture(int side, int layer_count) : layers(layer_count) {
        doc = bench::layered_picture(side, layer_count);
        std::mt19937 rng(402);
        for (LayerNode* node = doc->layers->next; node != doc->layers; node = node->next) {
            Surface& image = *node->layer->image;
            for (std::size_t i = 0; i < image.pixel_bytes(); ++i)
                image.bits[i] = BYTE(rng() % 64);
        }
        RGBQUAD* table = current_layer(*doc)->image->colour_table();
        for (int i = 0; i < 256; ++i)
            table[i] = RGBQUAD{BYTE(rng()), BYTE(rng()), BYTE(rng()), 0};
        update_palette(*doc);
    }
    ~Picture() { free_document(doc); }
};

double memcpy_seconds(PictureDocument& doc) {
    const std::size_t bytes = current_layer(doc)->image->pixel_bytes();
    std::vector<BYTE> target(bytes);
    const auto start = Clock::now();
    for (LayerNode* node = doc.layers->next; node != doc.layers; node = node->next) {
        std::memcpy(target.data(), node->layer->image->bits, bytes);
        benchmark::ClobberMemory();
    }
    return std::chrono::duration<double>(Clock::now() - start).count();
}

template <typename Operation>
void run(benchmark::State& state, Picture& picture, double goal_ms, Operation operation) {
    const double peer = memcpy_seconds(*picture.doc);
    double total = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        operation(*picture.doc);
        benchmark::ClobberMemory();
        total += std::chrono::duration<double>(Clock::now() - start).count();
    }
    const double each = total / double(state.iterations());
    state.counters["ms"] = each * 1e3;
    state.counters["goal_ratio"] = each * 1e3 / goal_ms;
    state.counters["memcpy_ratio"] = peer / each;
}

void full_recomposite(PictureDocument& doc) {
    doc.update_rect = {0, 0, picture_width(doc), picture_height(doc)};
    recomposite(doc);
}

void BM_SwapColours16Layers4096(benchmark::State& state) {
    Picture picture(4096, 16);
    run(state, picture, 400, [](PictureDocument& doc) {
        swap_palette_colours(doc, 3, 7);
        full_recomposite(doc);
    });
}
BENCHMARK(BM_SwapColours16Layers4096)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_SyncStep16Layers4096(benchmark::State& state) {
    Picture picture(4096, 16);
    int step = 0;
    run(state, picture, 16, [&step](PictureDocument& doc) {
        ++step;
        set_palette_colour(doc, 5, BYTE(step), BYTE(step * 3), BYTE(step * 7));
    });
}
BENCHMARK(BM_SyncStep16Layers4096)->Unit(benchmark::kMillisecond)->Iterations(50);

void BM_DecreaseDithered8Layers2048(benchmark::State& state) {
    Picture picture(2048, 8);
    run(state, picture, 80, [](PictureDocument& doc) {
        decrease_colours(doc, {16, true, nullptr});
    });
}
BENCHMARK(BM_DecreaseDithered8Layers2048)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
