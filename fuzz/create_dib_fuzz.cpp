// Arbitrary sizes for RaskoCreateDIB. A size below 1, or one whose block
// would pass the engine's limit, is refused quietly; any other size gives a
// DIB whose whole pixel area is writable or, when memory runs out, null after
// the allocation message. Sizes above a few MiB are tried with the allocator
// made to fail, so every size's arithmetic is checked without huge blocks.
#include "engine/dib_layout.h"
#include "engine/rasko.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

constexpr std::uint64_t kLargestAllocated = 4u << 20;

void require(bool condition) {
    if (!condition) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 8) return 0;
    std::int32_t width, height;
    std::memcpy(&width, data, 4);
    std::memcpy(&height, data + 4, 4);
    const std::uint64_t stride = (std::uint64_t(std::uint32_t(width)) + 3) & ~std::uint64_t(3);
    const std::uint64_t pixel_bytes = width > 0 && height > 0 ? stride * std::uint64_t(height) : 0;
    const bool usable = pixel_bytes > 0 && 1064 + pixel_bytes <= rasko::kMaxBlockBytes;
    const bool allocated = usable && pixel_bytes <= kLargestAllocated;

    native::reset_message_boxes();
    native::set_global_alloc_failure(!allocated);
    BITMAPINFOHEADER* dib = RaskoCreateDIB(width, height);
    native::set_global_alloc_failure(false);
    const int messages = native::last_message_box().count;

    if (!usable) {
        require(!dib && messages == 0);
        return 0;
    }
    if (!allocated) {
        require(!dib && messages == 1);
        return 0;
    }
    require(dib && messages == 0);
    require(dib->biWidth == width && dib->biHeight == height && dib->biBitCount == 8);
    std::memset(reinterpret_cast<std::uint8_t*>(dib) + 1064, 0xAB, std::size_t(pixel_bytes));
    RaskoDestroyDIB(dib);
    return 0;
}
