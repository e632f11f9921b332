// Arbitrary bytes as a pen file: read into sixteen 32 x 32 pen slots, with
// one slot of another size that must be left alone.
#include "app/files/palette_file.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

struct Slots {
    Slots() {
        for (int i = 0; i < 16; ++i)
            surfaces[i].create(i == 5 ? 16 : 32, 32);
        for (int i = 0; i < 16; ++i)
            pointers[i] = &surfaces[i];
    }
    Surface surfaces[16];
    Surface* pointers[16];
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Slots slots;
    std::memset(slots.surfaces[5].bits, 7, slots.surfaces[5].pixel_bytes());
    MemorySource source(data, size);
    read_pen_file(source, slots.pointers, 16);
    for (std::size_t i = 0; i < slots.surfaces[5].pixel_bytes(); ++i)
        if (slots.surfaces[5].bits[i] != 7) std::abort();
    return 0;
}
