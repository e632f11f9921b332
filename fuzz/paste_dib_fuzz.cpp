// Arbitrary CF_DIB blocks, as any program may leave them on the clipboard,
// pasted through the native clipboard: each gives null or a DIB whose every
// pixel can be read.
#include "engine/rasko.h"
#include "platform/io/dib_layout.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!block) return 0;
    if (size) std::memcpy(GlobalLock(block), data, size);
    GlobalUnlock(block);
    if (!OpenClipboard(nullptr)) {
        GlobalFree(block);
        return 0;
    }
    EmptyClipboard();
    SetClipboardData(CF_DIB, block);
    CloseClipboard();

    BITMAPINFOHEADER* dib = RaskoPasteDIB(nullptr);
    if (!dib) return 0;
    if (dib->biWidth < 1 || dib->biHeight < 1 || dib->biBitCount != 8) std::abort();
    const BYTE* bits = io::bits_of(dib);
    unsigned sum = 0;
    for (int y = 0; y < dib->biHeight; ++y)
        for (int x = 0; x < dib->biWidth; ++x)
            sum += RaskoGetPixel(dib, bits, x, y);
    volatile unsigned sink = sum;
    (void)sink;
    RaskoDestroyDIB(dib);
    return 0;
}
