// Arbitrary bytes as a native picture file: the reader either refuses them
// or builds a document (whole or cut short) whose every layer has the
// picture's size.
#include "app/files/native_file.h"
#include "app/files/native_records.h"

#include <cstdint>
#include <cstdlib>

namespace {

// A file cut short makes its planes from the header alone. Pictures beyond a
// quarter of a million pixels only measure the allocator and slow the fuzzer
// down, so such headers are passed over.
constexpr std::uint64_t kMaxFuzzPixels = 1u << 18;

bool small_enough(const std::uint8_t* data, std::size_t size) {
    if (size < kNativeHeaderBytes) return true;
    const NativeHeader header = decode_native_header(data);
    return header.width < 1 || header.height < 1 ||
           std::uint64_t(header.width) * std::uint64_t(header.height) <= kMaxFuzzPixels;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (!small_enough(data, size)) return 0;
    PictureDocument* doc = create_document();
    if (!doc) return 0;
    MemorySource source(data, size);
    if (read_native_picture(source, *doc).outcome != NativeRead::Refused) {
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
