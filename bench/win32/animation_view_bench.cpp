// The animation view holding one frame: the program's CPU time (both
// threads) over 10 s of wall time, as a share of one core, against the goal
// of 1%; once for a one-layer picture, which is shown still, and once for a
// frame that waits for a click. A playing view's share is printed beside
// them for scale.
// Run by hand: scripts/wine-run build/win64/bin/animation_view_bench.exe
#include "app/resources/resource_ids.h"
#include "app/session/pen_slots.h"
#include "app/session/shell_state.h"
#include "app/shell/frame_wnd.h"
#include "app/shell/startup.h"
#include "bench_window.h"

#include <cstdio>
#include <cstring>

namespace {

using bench::pump;
using bench::seconds;

constexpr char kBenchKey[] = "Software\\Korvane\\Velmo\\animation-bench";
constexpr int kSide = 256;
constexpr int kLayers = 3;
constexpr std::int32_t kInterval = 20; // ms
constexpr double kSettleSeconds = 1.0;
constexpr double kMeasureSeconds = 10.0;
constexpr double kGoalShare = 0.01;
constexpr double kHundredNanosecondsPerSecond = 1e7;

double cpu_seconds() {
    FILETIME created, ended, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user);
    auto value = [](FILETIME t) {
        return double((ULONGLONG(t.dwHighDateTime) << 32) | t.dwLowDateTime);
    };
    return (value(kernel) + value(user)) / kHundredNanosecondsPerSecond;
}

// Runs the message loop, sleeping between messages, for `duration` seconds.
void idle_for(double duration) {
    const double end = seconds() + duration;
    for (double now = seconds(); now < end; now = seconds()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, DWORD((end - now) * 1000) + 1, QS_ALLINPUT);
        pump();
    }
}

// The share of one core the process used while the view ran for the
// measuring time, after it settled.
double share_while_open(HWND frame) {
    SendMessageA(frame, WM_COMMAND, CMD_ANIMATION_VIEW, 0);
    if (!shell_windows().animation_view) return -1;
    idle_for(kSettleSeconds);
    const double cpu = cpu_seconds(), start = seconds();
    idle_for(kMeasureSeconds);
    const double share = (cpu_seconds() - cpu) / (seconds() - start);
    SendMessageA(frame, WM_COMMAND, CMD_ANIMATION_VIEW, 0);
    return share;
}

HWND picture_of(int layers, std::uint32_t second_layer_flags) {
    PictureDocument* doc = new_picture(kSide, kSide, pen_slots().slot[0], nullptr);
    if (!doc) return nullptr;
    for (int i = 1; i < layers; ++i)
        if (Layer* layer = add_layer_above(*doc))
            std::memset(layer->image->bits, i * 40, layer->image->pixel_bytes());
    for (int position = 1; position <= doc->layer_count; ++position)
        layer_node_at(*doc, position)->layer->interval = kInterval;
    if (layers > 1) layer_node_at(*doc, 2)->layer->flags |= second_layer_flags;
    return open_document_window(doc);
}

void report(const char* what, double share, bool held) {
    std::printf("  %-42s %7.3f %% of a core", what, share * 100);
    if (held) std::printf("  (%.2f x the %.0f %% goal)", share / kGoalShare, kGoalShare * 100);
    std::printf("\n");
}

} // namespace

int main() {
    shell_state().registry_key = kBenchKey;
    HWND frame = start_velmo(GetModuleHandleA(nullptr), "", SW_SHOWNORMAL);
    if (!frame) {
        std::puts("the program did not start");
        return 1;
    }
    pump();
    const struct {
        const char* what;
        int layers;
        std::uint32_t flags;
        bool held;
    } cases[] = {
        {"one layer, shown still", 1, 0, true},
        {"a User Input frame waiting for a click", kLayers, kLayerAnimUserInput, true},
        {"three layers playing every 20 ms (scale)", kLayers, 0, false},
    };
    std::printf("animation view, %d x %d, over %.0f s:\n", kSide, kSide, kMeasureSeconds);
    for (const auto& c : cases) {
        HWND wnd = picture_of(c.layers, c.flags);
        if (!wnd) {
            std::puts("the picture did not open");
            return 1;
        }
        pump();
        report(c.what, share_while_open(frame), c.held);
        SendMessageA(shell_windows().mdi_client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(wnd), 0);
    }
    DestroyWindow(frame);
    shut_down_velmo();
    return 0;
}
