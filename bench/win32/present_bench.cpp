// Full redraw of a 1024 x 1024 picture of eight visible layers in a real
// document window: recomposite the whole picture, then present the view at
// zoom 100 and 800. The peers in the same run: presenting alone (one GDI
// copy from the composite's DC) and a display's 60 frames per second.
// Run by hand: scripts/wine-run build/win64/bin/present_bench.exe
#include "app/windows/document/canvas_present.h"
#include "app/document/composite.h"
#include "app/windows/document/dib_wnd.h"
#include "app/resources/resource_ids.h"
#include "app/shell/frame_wnd.h"
#include "app/session/pen_slots.h"
#include "app/session/shell_state.h"
#include "app/shell/startup.h"
#include "bench_window.h"

#include <cstdio>
#include <cstring>
#include <initializer_list>

namespace {

using bench::pump;
using bench::seconds;

constexpr char kBenchKey[] = "Software\\Korvane\\Velmo\\present-bench";
constexpr int kSize = 1024;
constexpr int kLayers = 8;

// Frames per second of `frame` over at least two seconds.
template <typename Frame> double rate(Frame&& frame) {
    frame();
    GdiFlush();
    int frames = 0;
    const double start = seconds();
    double elapsed = 0;
    do {
        frame();
        GdiFlush();
        ++frames;
        elapsed = seconds() - start;
    } while (elapsed < 2.0);
    return frames / elapsed;
}

// Every layer a different diagonal pattern, the upper ones keyed on half of
// their pixels, so that each layer's blit does real work.
PictureDocument* layered_picture() {
    PictureDocument* doc = new_picture(kSize, kSize, pen_slots().slot[0], nullptr);
    if (!doc) return nullptr;
    for (int i = 1; i < kLayers; ++i)
        if (!add_layer_above(*doc)) return doc;
    int n = 0;
    for (LayerNode* node = doc->layers->next; node != doc->layers; node = node->next, ++n) {
        Surface& image = *node->layer->image;
        for (int y = 0; y < kSize; ++y)
            for (int x = 0; x < kSize; ++x)
                image.bits[std::size_t(y) * image.stride() + x] =
                    ((x + y + n) & 1) ? BYTE(16 * n + (x & 15)) : BYTE(node->layer->key_colour);
    }
    return doc;
}

} // namespace

int main() {
    shell_state().registry_key = kBenchKey;
    HWND frame = start_velmo(GetModuleHandleA(nullptr), "", SW_SHOWMAXIMIZED);
    if (!frame) {
        std::puts("the program did not start");
        return 1;
    }
    pump();
    PictureDocument* doc = layered_picture();
    HWND wnd = doc ? open_document_window(doc) : nullptr;
    if (!wnd) {
        std::puts("no document window");
        return 1;
    }
    ShowWindow(wnd, SW_MAXIMIZE);
    pump();
    std::printf("%d layers of %d x %d\n", kLayers, kSize, kSize);
    for (const int zoom_command : {CMD_ZOOM_RATE_FIRST + 1, CMD_ZOOM_RATE_FIRST + 8}) {
        SendMessageA(wnd, WM_COMMAND, UINT(zoom_command), 0);
        pump();
        const double full = rate([&] { full_redraw(*doc); });
        const double recomposite_only = rate([&] {
            doc->update_rect = {0, 0, kSize, kSize};
            recomposite(*doc);
        });
        const double present_only = rate([&] { present_view(*doc); });
        std::printf("zoom %4d: canvas %d x %d showing %d x %d picture pixels\n", doc->zoom,
                    doc->canvas_width, doc->canvas_height, doc->visible_width, doc->visible_height);
        std::printf("  recomposite + present %8.1f fps  (%.2f x a 60 Hz display)\n", full,
                    full / 60.0);
        std::printf("  recomposite alone     %8.1f fps\n", recomposite_only);
        std::printf("  present alone (peer)  %8.1f fps  (full redraw at %.2f x its rate)\n",
                    present_only, full / present_only);
    }
    SendMessageA(wnd, WM_COMMAND, CMD_CLOSE, 0);
    DestroyWindow(frame);
    shut_down_velmo();
    RegDeleteKeyA(HKEY_CURRENT_USER, kBenchKey);
    return 0;
}
