#include "platform/win.h"

namespace {
native::StretchDIBitsRecord last;
} // namespace

int StretchDIBits(HDC dc, int x, int y, int width, int height, int src_x, int src_y, int src_width,
                  int src_height, const void* bits, const BITMAPINFO* info, UINT usage, DWORD rop) {
    const int count = last.count + 1;
    last = {dc,        x,          y,    width, height, src_x, src_y,
            src_width, src_height, bits, info,  usage,  rop,   count};
    return src_height;
}

namespace native {
const StretchDIBitsRecord& last_stretch_dibits() {
    return last;
}
void reset_stretch_dibits() {
    last = {};
}
} // namespace native
