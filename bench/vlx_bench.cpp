// Saving and opening a 2048 x 2048 picture of 16 layers as a native file,
// in MB/s of layer pixels, against copying the same bytes with memcpy.
// Two kinds of content: pixel art (long runs, coded) and noise (stored raw).
#include "app/files/native_file.h"
#include "platform/io/safe_file.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kSide = 2048;
constexpr int kLayers = 16;
constexpr std::int64_t kPixelBytes = std::int64_t(kSide) * kSide * kLayers;

enum Content { kPixelArt, kNoise };

PictureDocument* make_picture(Content content) {
    PictureDocument* doc = new_picture(kSide, kSide, nullptr, nullptr);
    for (int i = 1; i < kLayers; ++i)
        add_layer_above(*doc);
    std::mt19937 rng(3);
    int index = 0;
    for (LayerNode* node = doc->layers->next; node != doc->layers; node = node->next, ++index) {
        Surface& image = *node->layer->image;
        if (content == kNoise) {
            for (std::size_t i = 0; i < image.pixel_bytes(); ++i)
                image.bits[i] = BYTE(rng());
            continue;
        }
        // Sprites: rectangles of flat colour on the key colour, some dithered.
        for (int shape = 0; shape < 200; ++shape) {
            const int x = int(rng() % kSide), y = int(rng() % kSide);
            const int w = 8 + int(rng() % 120), h = 8 + int(rng() % 120);
            const BYTE colour = BYTE(rng()), other = BYTE(rng());
            const bool dither = shape % 4 == 0;
            for (int row = y; row < std::min(kSide, y + h); ++row)
                for (int col = x; col < std::min(kSide, x + w); ++col)
                    image.bits[std::size_t(row) * kSide + col] =
                        dither && (row + col) % 2 ? other : colour;
        }
        std::memset(node->layer->mask->bits, index % 3 ? 255 : 0, image.pixel_bytes() / 2);
    }
    return doc;
}

std::string bench_path() {
    return (std::filesystem::temp_directory_path() / "velmo-bench.vlx").string();
}

void save(const PictureDocument& doc, const std::string& path) {
    io::SafeWriter writer(path.c_str());
    if (!writer.open()) std::abort();
    if (!write_native_file(writer.handle(), doc)) writer.fail();
    if (!writer.commit()) std::abort();
}

void BM_SaveVlx(benchmark::State& state) {
    PictureDocument* doc = make_picture(Content(state.range(0)));
    const std::string path = bench_path();
    for (auto _ : state)
        save(*doc, path);
    state.SetBytesProcessed(state.iterations() * kPixelBytes);
    state.counters["file_MB"] = double(std::filesystem::file_size(path)) / 1e6;
    std::filesystem::remove(path);
    free_document(doc);
}
BENCHMARK(BM_SaveVlx)->Arg(kPixelArt)->Arg(kNoise)->Unit(benchmark::kMillisecond);

void BM_OpenVlx(benchmark::State& state) {
    PictureDocument* original = make_picture(Content(state.range(0)));
    const std::string path = bench_path();
    save(*original, path);
    free_document(original);
    for (auto _ : state) {
        PictureDocument* doc = create_document();
        ReadOnlyFile file(path.c_str());
        if (!read_native_file(file.handle(), path.c_str(), *doc)) std::abort();
        free_document(doc);
    }
    state.SetBytesProcessed(state.iterations() * kPixelBytes);
    std::filesystem::remove(path);
}
BENCHMARK(BM_OpenVlx)->Arg(kPixelArt)->Arg(kNoise)->Unit(benchmark::kMillisecond);

// The peer: copying every layer's pixel bytes once.
void BM_MemcpyPeer(benchmark::State& state) {
    std::vector<BYTE> from(std::size_t(kSide) * kSide, 1), to(from.size());
    for (auto _ : state) {
        for (int i = 0; i < kLayers; ++i)
            std::memcpy(to.data(), from.data(), from.size());
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kPixelBytes);
}
BENCHMARK(BM_MemcpyPeer)->Unit(benchmark::kMillisecond);

} // namespace
