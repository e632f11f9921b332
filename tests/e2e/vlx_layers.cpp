// Prints the layers of a native picture file for the end-to-end scripts,
// one line per layer, bottom first: name, opacity, then the top row's pixels
// and mask bytes, each comma-separated. The file is read by the program's own
// reader; exit code 1 when it refuses the file or finds it cut short.
#include "app/files/native_file.h"

#include <cstdio>
#include <string>

namespace {

std::string top_row(const Surface& surface) {
    const BYTE* row = surface.bits + std::size_t(surface.height() - 1) * surface.stride();
    std::string text;
    for (int x = 0; x < surface.width(); ++x)
        text += (x ? "," : "") + std::to_string(row[x]);
    return text;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: vlx_layers FILE\n", stderr);
        return 2;
    }
    PictureDocument* doc = create_document();
    HANDLE file = CreateFileA(argv[1], GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (!doc || file == INVALID_HANDLE_VALUE) return 1;
    FileSource source(file);
    const NativeReadResult result = read_native_picture(source, *doc);
    CloseHandle(file);
    if (result.outcome != NativeRead::Complete) return 1;
    for (LayerNode* node = doc->layers->next; node != doc->layers; node = node->next) {
        const Layer& layer = *node->layer;
        std::printf("%s %d %s %s\n", layer.name, int(layer.opacity), top_row(*layer.image).c_str(),
                    top_row(*layer.mask).c_str());
    }
    free_document(doc);
    return 0;
}
