#include "platform/win.h"

#include <cstdlib>
#include <cstring>

namespace {

// Each block is preceded by its size, so GlobalSize can answer. The header
// is 16 bytes to keep the caller's pointer aligned for any type.
constexpr std::size_t kHeader = 16;
bool fail_allocations = false;

std::size_t* header_of(HGLOBAL block) {
    return reinterpret_cast<std::size_t*>(static_cast<char*>(block) - kHeader);
}

} // namespace

HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes) {
    if (fail_allocations || bytes > SIZE_MAX - kHeader) return nullptr;
    char* raw = static_cast<char*>(std::malloc(bytes + kHeader));
    if (!raw) return nullptr;
    std::memcpy(raw, &bytes, sizeof bytes);
    if (flags & GMEM_ZEROINIT) std::memset(raw + kHeader, 0, bytes);
    return raw + kHeader;
}

HGLOBAL GlobalFree(HGLOBAL block) {
    if (block) std::free(header_of(block));
    return nullptr;
}

LPVOID GlobalLock(HGLOBAL block) { return block; }

BOOL GlobalUnlock(HGLOBAL) { return FALSE; }

SIZE_T GlobalSize(HGLOBAL block) { return block ? *header_of(block) : 0; }

namespace native {
void set_global_alloc_failure(bool fail) { fail_allocations = fail; }
} // namespace native
