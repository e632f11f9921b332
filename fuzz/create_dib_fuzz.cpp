// Arbitrary sizes for RaskoCreateDIB: every size either gives a DIB whose
// whole pixel area is writable or null, and never a huge allocation.
#include "engine/rasko.h"

#include <cstdint>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 8) return 0;
    std::int32_t width, height;
    std::memcpy(&width, data, 4);
    std::memcpy(&height, data + 4, 4);
    // Keep the sizes whose block is at most 64 MiB; larger valid sizes only
    // test the allocator.
    if (width > 0 && height > 0 && std::int64_t(width) * height > (64 << 20)) return 0;
    BITMAPINFOHEADER* dib = RaskoCreateDIB(width, height);
    if (dib) {
        const std::size_t stride = (std::size_t(width) + 3) & ~std::size_t(3);
        std::memset(reinterpret_cast<std::uint8_t*>(dib) + 1064, 0xAB, stride * std::size_t(height));
        RaskoDestroyDIB(dib);
    }
    return 0;
}
