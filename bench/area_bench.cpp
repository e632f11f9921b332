// Moving a floating area of 512 x 512 over a 2048 x 2048 picture of 8
// layers, one mouse move at a time (goal: under 0.5 ms a move), and the
// Scroller's move while R is held over pictures of two sizes (goal: the same
// cost for both), with committing and recompositing the whole picture (what
// each such move once cost) as the reference.
#include "app/imageops/floating_area.h"
#include "app/tools/scroller_tool.h"
#include "app/tools/select_tool.h"
#include "bench_picture.h"

#include "app/document/composite.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int kLayers = 8;
constexpr int kArea = 512;

struct DocumentDeleter {
    void operator()(PictureDocument* doc) const { free_document(doc); }
};
using DocumentPtr = std::unique_ptr<PictureDocument, DocumentDeleter>;

DocumentPtr picture_with_area(int side) {
    DocumentPtr doc(bench::layered_picture(side, kLayers));
    if (!lift_area(*doc, {100, 100, 100 + kArea - 1, 100 + kArea - 1})) std::abort();
    return doc;
}

void BM_DragFloatingArea(benchmark::State& state) {
    DocumentPtr doc = picture_with_area(2048);
    int step = 1;
    for (auto _ : state) {
        // Back and forth by one pixel, as a slow drag moves it.
        doc->previous_point = {0, 0};
        doc->current_point = {step, step};
        step = -step;
        benchmark::DoNotOptimize(drag_floating(*doc));
    }
}
BENCHMARK(BM_DragFloatingArea)->Unit(benchmark::kMicrosecond);

void BM_ScrollerMoveWithR(benchmark::State& state) {
    const int side = int(state.range(0));
    DocumentPtr doc = picture_with_area(side);
    doc->visible_width = doc->visible_height = 256;
    doc->view_origin_x = doc->view_origin_y = 128;
    int step = 1;
    for (auto _ : state) {
        benchmark::DoNotOptimize(scroll_to_grab(*doc, {200, 200}, {200 + step, 200 + step}));
        step = -step;
    }
}
BENCHMARK(BM_ScrollerMoveWithR)->Arg(512)->Arg(2048);

// The reference: a commit and a whole recomposite on every move.
void BM_CommitAndRecompositeEachMove(benchmark::State& state) {
    DocumentPtr doc = picture_with_area(2048);
    for (auto _ : state) {
        commit_floating(*doc, false);
        state.PauseTiming();
        if (!lift_area(*doc, {100, 100, 100 + kArea - 1, 100 + kArea - 1})) std::abort();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_CommitAndRecompositeEachMove)->Unit(benchmark::kMillisecond)->Iterations(20);

} // namespace
