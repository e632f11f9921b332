// The animation test's two costs the user waits for: deciding what the
// preview draws over a 1024 x 1024 sheet of 1 x 1 cells (goal: under 50 ms
// with the drawing), and exporting 100 frames of 32 x 32 as an animated GIF
// (goal: under 20 ms). Peers: copying the sheet's bytes once, and writing
// the frames' raw bytes to the same folder through the same safe writer
// (temporary file, flush, rename), which is most of an export's time.
#include "app/document/composite.h"
#include "app/imageops/pattern_anime.h"
#include "bench_picture.h"
#include "platform/io/safe_file.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

namespace {

constexpr int kSheetSide = 1024;
constexpr int kPreviewSide = 200;
constexpr TextExtent kNumberSize{14, 12};
constexpr int kFrames = 100;
constexpr int kCellSide = 32;

std::string scratch_file() {
    return (std::filesystem::temp_directory_path() / "velmo-pattern-bench.gif").string();
}

void BM_PreviewPlanOfPixelCells(benchmark::State& state) {
    const AreaRect shown = preview_rect(kPreviewSide, kPreviewSide, kSheetSide, kSheetSide);
    const PatternGrid grid = pattern_grid(kSheetSide, kSheetSide, 1, 1);
    for (auto _ : state) {
        PreviewPlan plan = plan_preview(shown, kSheetSide, kSheetSide, grid, kNumberSize);
        if (plan.numbers) std::abort();
        benchmark::DoNotOptimize(plan.columns_x.data());
    }
}
BENCHMARK(BM_PreviewPlanOfPixelCells)->Unit(benchmark::kMicrosecond);

void BM_SheetCopyPeer(benchmark::State& state) {
    std::vector<BYTE> from(std::size_t(kSheetSide) * kSheetSide, 1), to(from.size());
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), from.size());
        benchmark::DoNotOptimize(to.data());
    }
}
BENCHMARK(BM_SheetCopyPeer)->Unit(benchmark::kMicrosecond);

void BM_ExportHundredFrames(benchmark::State& state) {
    // A 320 x 320 sheet of 100 cells with some variety in every one.
    PictureDocument* doc = bench::layered_picture(kCellSide * 10, 1);
    Surface& image = *bottom_layer(*doc)->image;
    for (std::size_t i = 0; i < image.pixel_bytes(); ++i)
        image.bits[i] = BYTE((i * 7) % 13 + (i / 97) % 5);
    doc->update_rect = {0, 0, image.width(), image.height()};
    recomposite(*doc);
    std::vector<int> sequence;
    for (int i = 0; i < kFrames; ++i)
        sequence.push_back(i);
    const PatternGrid grid = pattern_grid(image.width(), image.height(), kCellSide, kCellSide);
    const std::string path = scratch_file();
    for (auto _ : state)
        if (!export_pattern_gif(path.c_str(), *doc, grid, sequence, {})) std::abort();
    std::filesystem::remove(path);
    free_document(doc);
}
BENCHMARK(BM_ExportHundredFrames)->Unit(benchmark::kMillisecond);

void BM_RawFramesWritePeer(benchmark::State& state) {
    const std::vector<BYTE> bytes(std::size_t(kFrames) * kCellSide * kCellSide, 3);
    const std::string path = scratch_file();
    for (auto _ : state)
        if (!io::write_replacing(path.c_str(), [&](HANDLE file) {
                return io::write_all(file, bytes.data(), bytes.size());
            }))
            std::abort();
    std::filesystem::remove(path);
}
BENCHMARK(BM_RawFramesWritePeer)->Unit(benchmark::kMillisecond);

} // namespace
