// Invert Mask and Create Mask with Selected Color on a 4096 x 4096 layer
// against the engine's fill of the same plane, the least a pass over it costs.
#include "app/imageops/mask_ops.h"
#include "engine/rasko.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>

namespace {

constexpr int kSide = 4096;
constexpr int kSelected = 3;

struct DocumentDeleter {
    void operator()(PictureDocument* doc) const { free_document(doc); }
};

// One layer holding colours 3 and 5 in alternate columns.
std::unique_ptr<PictureDocument, DocumentDeleter> two_colour_picture() {
    std::unique_ptr<PictureDocument, DocumentDeleter> doc(create_document());
    if (!doc || !create_bottom_layer(*doc, kSide, kSide)) return nullptr;
    Surface& image = *bottom_layer(*doc)->image;
    for (std::size_t i = 0; i < image.pixel_bytes(); ++i)
        image.bits[i] = i & 1 ? 5 : kSelected;
    return doc;
}

void set_bytes(benchmark::State& state) {
    state.SetBytesProcessed(std::int64_t(state.iterations()) * kSide * kSide);
}

void BM_InvertMask(benchmark::State& state) {
    auto doc = two_colour_picture();
    for (auto _ : state)
        invert_mask(*bottom_layer(*doc));
    set_bytes(state);
}
BENCHMARK(BM_InvertMask)->Unit(benchmark::kMillisecond);

void BM_CreateMaskWithSelectedColour(benchmark::State& state) {
    auto doc = two_colour_picture();
    for (auto _ : state)
        mask_from_colour(*doc, kSelected, ColourMatch::Selected, MaskStart::Clear);
    set_bytes(state);
}
BENCHMARK(BM_CreateMaskWithSelectedColour)->Unit(benchmark::kMillisecond);

void BM_FillPeer(benchmark::State& state) {
    auto doc = two_colour_picture();
    Surface& mask = *bottom_layer(*doc)->mask;
    for (auto _ : state)
        RaskoFillDIB(mask.info, mask.bits, 255);
    set_bytes(state);
}
BENCHMARK(BM_FillPeer)->Unit(benchmark::kMillisecond);

} // namespace
