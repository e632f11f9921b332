// Drawing to a display DC in the native build: there is no screen, so the
// calls are recorded for tests instead of drawn.
#pragma once

struct BITMAPINFO;

#define DIB_PAL_COLORS 1
#define SRCCOPY 0x00CC0020

// Records its arguments and returns the source height, the number of rows
// Windows reports for a complete copy.
int StretchDIBits(HDC dc, int x, int y, int width, int height, int src_x, int src_y, int src_width,
                  int src_height, const void* bits, const BITMAPINFO* info, UINT usage, DWORD rop);

namespace native {

struct StretchDIBitsRecord {
    HDC dc = nullptr;
    int x = 0, y = 0, width = 0, height = 0;
    int src_x = 0, src_y = 0, src_width = 0, src_height = 0;
    const void* bits = nullptr;
    const BITMAPINFO* info = nullptr;
    UINT usage = 0;
    DWORD rop = 0;
    int count = 0; // calls since the last reset
};

const StretchDIBitsRecord& last_stretch_dibits();
void reset_stretch_dibits();

} // namespace native
