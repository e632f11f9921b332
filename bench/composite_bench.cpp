// Recompositing a 1024 x 1024 picture of 16 visible layers (key colours
// everywhere, 4 translucent, 4 with the mask plane as opacity), in full and
// in a 32 x 32 rectangle, against memcpy of the same bytes (one plain copy
// of the rectangle per layer) measured in the same run: Mpixel*layers/s and
// memcpy_ratio (memcpy's time over recompositing's; 1 means as fast as
// copying). And opening a 64-frame GIF into a document, against the
// engine's decoding of the same file alone.
#include "app/document/composite.h"
#include "app/files/open.h"
#include "engine/rasko.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kSide = 1024;
constexpr int kLayers = 16;

BYTE& pixel(Surface& s, int x, int y) {
    return s.bits[std::size_t(s.height() - 1 - y) * s.stride() + x];
}

PictureDocument* make_picture() {
    PictureDocument* doc = create_document();
    if (!doc || !create_bottom_layer(*doc, kSide, kSide)) std::abort();
    for (int i = 1; i < kLayers; ++i)
        if (!add_layer_above(*doc)) std::abort();
    std::mt19937 rng(5);
    int position = 0;
    for (LayerNode* node = doc->layers->next; node != doc->layers; node = node->next, ++position) {
        Layer& layer = *node->layer;
        layer.key_colour = 255;
        // A quarter of every layer is its key colour, at random.
        BYTE* bits = layer.image->bits;
        for (std::size_t i = 0; i < layer.image->pixel_bytes(); ++i)
            bits[i] = BYTE(rng() % 4 == 0 ? 255 : rng() % 255);
        if (position >= 4 && position < 8) {
            layer.flags |= kLayerTranslucent;
            layer.opacity = 8;
        } else if (position >= 8 && position < 12) {
            layer.flags |= kLayerUseMaskAsOpacity;
            for (std::size_t i = 0; i < layer.mask->pixel_bytes(); ++i)
                layer.mask->bits[i] = BYTE(rng() % 2 ? 255 : 0);
        }
    }
    return doc;
}

PictureDocument& picture() {
    static PictureDocument* doc = make_picture();
    return *doc;
}

using Clock = std::chrono::steady_clock;

// The same bytes as recompositing (x, y, w, h) reads: one row-by-row copy
// of the rectangle per layer into the composite.
void memcpy_layers(PictureDocument& doc, int x, int y, int w, int h) {
    Surface& c = *doc.composite;
    for (LayerNode* node = doc.layers->next; node != doc.layers; node = node->next) {
        const Surface& image = *node->layer->image;
        for (int row = y; row < y + h; ++row)
            std::memcpy(&pixel(c, x, row), &image.bits[std::size_t(kSide - 1 - row) * kSide + x],
                        std::size_t(w));
    }
    benchmark::ClobberMemory();
}

template <class Body> double best_seconds(int runs, Body body) {
    double best = 1e9;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        body();
        best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
    }
    return best;
}

void run_recomposite(benchmark::State& state, int x, int y, int w, int h) {
    PictureDocument& doc = picture();
    const double reference =
        best_seconds(w == kSide ? 50 : 5000, [&] { memcpy_layers(doc, x, y, w, h); });
    double best = 1e9;
    for (auto _ : state) {
        const auto start = Clock::now();
        doc.update_rect = {x, y, x + w - 1, y + h - 1};
        recomposite(doc);
        benchmark::ClobberMemory();
        best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
    }
    const double work = double(w) * h * kLayers;
    state.counters["Mpixel*layers/s"] =
        benchmark::Counter(work * double(state.iterations()) / 1e6, benchmark::Counter::kIsRate);
    state.counters["memcpy_ratio"] = reference / best;
}

void BM_RecompositeFull(benchmark::State& state) {
    run_recomposite(state, 0, 0, kSide, kSide);
}
BENCHMARK(BM_RecompositeFull)->Unit(benchmark::kMillisecond);

void BM_Recomposite32x32(benchmark::State& state) {
    run_recomposite(state, 500, 300, 32, 32);
}
BENCHMARK(BM_Recomposite32x32)->Unit(benchmark::kMicrosecond);

// ---- Opening a 64-frame GIF ----

constexpr int kFrames = 64;
constexpr int kGifSide = 256;

const std::string& gif_path() {
    static const std::string path = [] {
        const std::string name =
            (std::filesystem::temp_directory_path() / "velmo-bench-64.gif").string();
        std::mt19937 rng(9);
        std::vector<BITMAPINFOHEADER*> dibs;
        std::vector<GifFrame> frames(kFrames);
        std::vector<GifFrame*> pointers;
        for (int i = 0; i < kFrames; ++i) {
            // Sprite-like frames: runs of a few colours compress as real ones do.
            BITMAPINFOHEADER* dib = RaskoCreateDIB(kGifSide, kGifSide);
            BYTE* bits = reinterpret_cast<BYTE*>(dib) + 1064;
            for (int p = 0; p < kGifSide * kGifSide; p += 4)
                std::memset(bits + p, int(rng() % 16), 4);
            dibs.push_back(dib);
            frames[i] = {dib, bits, 0, 0, 0, 5, 1, 0};
            pointers.push_back(&frames[i]);
        }
        GifAnimation gif{};
        gif.frameCount = kFrames;
        gif.screenWidth = kGifSide;
        gif.screenHeight = kGifSide;
        gif.bitsPerPixel = 8;
        gif.globalPalette = reinterpret_cast<RGBQUAD*>(reinterpret_cast<BYTE*>(dibs[0]) + 40);
        gif.frames = pointers.data();
        if (!RaskoSaveGIFEx(name.c_str(), &gif)) std::abort();
        for (BITMAPINFOHEADER* dib : dibs)
            RaskoDestroyDIB(dib);
        return name;
    }();
    return path;
}

void set_frame_counters(benchmark::State& state) {
    state.counters["frames/s"] = benchmark::Counter(double(kFrames) * double(state.iterations()),
                                                    benchmark::Counter::kIsRate);
}

void BM_OpenGif64FramesIntoDocument(benchmark::State& state) {
    FileTypeTable types;
    make_file_type_table(types, 0);
    const std::string& path = gif_path();
    for (auto _ : state) {
        PictureDocument* doc =
            open_picture_file(path.c_str(), FileTypeId::Gif, types, types, nullptr);
        if (!doc || doc->layer_count != kFrames) state.SkipWithError("open failed");
        free_document(doc);
    }
    set_frame_counters(state);
    free_file_type_table(types);
}
BENCHMARK(BM_OpenGif64FramesIntoDocument)->Unit(benchmark::kMillisecond);

// The engine's decoding alone: what building the layers adds shows as the
// difference.
void BM_DecodeGif64FramesPeer(benchmark::State& state) {
    const std::string& path = gif_path();
    for (auto _ : state) {
        GifAnimation gif{};
        RaskoOpenGIFEx(path.c_str(), &gif);
        for (DWORD i = 0; i < gif.frameCount; ++i) {
            RaskoDestroyDIB(gif.frames[i]->dib);
            GlobalFree(gif.frames[i]);
        }
        GlobalFree(gif.frames);
        GlobalFree(gif.globalPalette);
    }
    set_frame_counters(state);
}
BENCHMARK(BM_DecodeGif64FramesPeer)->Unit(benchmark::kMillisecond);

} // namespace
