// Arbitrary bytes as a palette file: read into a 256-entry table without
// touching anything beyond it.
#include "app/files/palette_file.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    RGBQUAD table[256] = {};
    MemorySource source(data, size);
    read_palette_file(source, table);
    return 0;
}
