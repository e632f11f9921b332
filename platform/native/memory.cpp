#include "platform/win.h"

#include <cstdlib>
#include <cstring>

namespace {

// Each block is preceded by its size, so GlobalSize can answer. The header
// is 16 bytes to keep the caller's pointer aligned for any type.
constexpr std::size_t kHeader = 16;
bool fail_allocations = false;
int unzeroed_fill = -1;

std::size_t* header_of(HGLOBAL block) {
    return reinterpret_cast<std::size_t*>(static_cast<char*>(block) - kHeader);
}

} // namespace

HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes) {
    if (fail_allocations || bytes > SIZE_MAX - kHeader) return nullptr;
    // calloc leaves the fresh pages of a large block untouched, as Windows
    // does, so a big zeroed picture costs only the pages that get written.
    char* raw = static_cast<char*>((flags & GMEM_ZEROINIT) ? std::calloc(1, bytes + kHeader)
                                                           : std::malloc(bytes + kHeader));
    if (!raw) return nullptr;
    if (!(flags & GMEM_ZEROINIT) && unzeroed_fill >= 0)
        std::memset(raw + kHeader, unzeroed_fill, bytes);
    std::memcpy(raw, &bytes, sizeof bytes);
    return raw + kHeader;
}

HGLOBAL GlobalFree(HGLOBAL block) {
    if (block) std::free(header_of(block));
    return nullptr;
}

LPVOID GlobalLock(HGLOBAL block) {
    return block;
}

BOOL GlobalUnlock(HGLOBAL) {
    return FALSE;
}

SIZE_T GlobalSize(HGLOBAL block) {
    return block ? *header_of(block) : 0;
}

namespace native {
void set_global_alloc_failure(bool fail) {
    fail_allocations = fail;
}
void set_unzeroed_alloc_fill(int value) {
    unzeroed_fill = value;
}
} // namespace native
