// Arbitrary bytes as a GIF opened into a document: whatever frames the
// engine reads become layers of the screen's size whose areas lie inside the
// picture, and the picture composites.
#include "app/document/composite.h"
#include "app/files/open.h"
#include "engine/codec_io.h"
#include "engine/codecs.h"

#include <cstdint>
#include <cstdlib>

namespace {

void release(GifAnimation& gif) {
    for (DWORD i = 0; i < gif.frameCount; ++i) {
        RaskoDestroyDIB(gif.frames[i]->dib);
        GlobalFree(gif.frames[i]);
    }
    GlobalFree(gif.frames);
    GlobalFree(gif.globalPalette);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    GifAnimation gif{};
    rasko::Input in(data, size);
    if (!rasko::read_gif_animation(in, &gif)) return 0;
    const DWORD frames = gif.frameCount;
    // Building the layers does the same for every size; large pictures only
    // measure the allocator and slow the fuzzer a hundredfold, so the layers
    // of one input stay within a quarter of a million pixels.
    PictureDocument* doc = nullptr;
    if (std::uint64_t(gif.screenWidth) * gif.screenHeight * (frames + 2) > (1u << 18) ||
        !(doc = create_document())) {
        release(gif);
        return 0;
    }
    if (build_document_from_gif(*doc, gif) != GifBuilt::No) {
        const int width = picture_width(*doc), height = picture_height(*doc);
        if (doc->layer_count != int(frames)) std::abort();
        for (LayerNode* node = doc->layers->next; node != doc->layers; node = node->next) {
            const Layer& layer = *node->layer;
            if (layer.image->width() != width || layer.image->height() != height) std::abort();
            const AreaRect& a = layer.area;
            if (a.left < 0 || a.top < 0 || a.width < 1 || a.height < 1 ||
                a.left + a.width > width || a.top + a.height > height)
                std::abort();
        }
        doc->update_rect = {0, 0, width, height};
        recomposite(*doc);
    }
    free_document(doc);
    return 0;
}
