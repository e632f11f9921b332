// Arbitrary sizes for RaskoCreateDIB. A negative size, or one whose block
// would pass the engine's limit, is refused quietly; any other size, zero
// included (a header and colour table without pixels), gives a DIB whose
// whole pixel area is writable or, when memory runs out, null after the
// allocation message. Sizes above a few MiB are tried with the allocator
// made to fail, so every size's arithmetic is checked without huge blocks.
#include "platform/io/dib_layout.h"
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
    const bool sized = width >= 0 && height >= 0;
    const std::uint64_t pixel_bytes = sized ? stride * std::uint64_t(height) : 0;
    const bool usable = sized && io::kHeaderAndPalette + pixel_bytes <= io::kMaxBlockBytes;
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
    require(GlobalSize(dib) == io::kHeaderAndPalette + pixel_bytes);
    std::memset(io::bits_of(dib), 0xAB, std::size_t(pixel_bytes));
    RaskoDestroyDIB(dib);
    return 0;
}
