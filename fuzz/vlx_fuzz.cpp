// Arbitrary bytes as a native picture file: the reader either refuses them
// with its message or builds a document whose every layer has the picture's
// size and can be written out again.
#include "app/files/native_file.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    PictureDocument* doc = create_document();
    if (!doc) return 0;
    MemorySource source(data, size);
    if (read_native_file(source, *doc)) {
        const int width = picture_width(*doc), height = picture_height(*doc);
        int count = 0;
        for (LayerNode* node = doc->layers->next; node != doc->layers; node = node->next, ++count) {
            const Layer& layer = *node->layer;
            for (const Surface* s : {layer.image, layer.undo_copy, layer.mask})
                if (s->width() != width || s->height() != height) std::abort();
            if (layer.opacity < 0 || layer.opacity > 16) std::abort();
            if (layer.key_colour < 0 || layer.key_colour > 255) std::abort();
        }
        if (count != doc->layer_count || count < 1 || !current_layer(*doc)) std::abort();
    }
    free_document(doc);
    return 0;
}
