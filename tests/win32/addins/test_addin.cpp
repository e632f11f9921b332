// One source for every Add-In the host tests load. Each DLL is this file
// compiled with its own answers (TEST_FLAGS, TEST_NAME, TEST_SETUP) and
// linked with a .def that exports only the entry points it is meant to have.
#include "addins/sdk/velmo_addin.h"

#include <cstdio>
#include <cstring>

#ifndef TEST_NAME
#define TEST_NAME nullptr
#endif

extern "C" {

int VL_CDECL VLGetInfo(AddInInfo* info) {
    info->flags = TEST_FLAGS;
    info->name = TEST_NAME;
    info->description = "Test Image(*.TST)";
    info->extension = "tst";
    info->about1 = "test";
    info->about2 = nullptr;
    info->about3 = nullptr;
    return 1;
}

// Writes what it was handed: the frame count and the first frame's size.
int VL_CDECL VLEncode(const char* path, AddInImage* image) {
    FILE* file = std::fopen(path, "wb");
    if (!file) return 0;
    const BITMAPINFOHEADER* first = image->dibs[0];
    std::fprintf(file, "%lu frames %ld x %ld\n", static_cast<unsigned long>(image->frame_count),
                 static_cast<long>(first->biWidth), static_cast<long>(first->biHeight));
    return std::fclose(file) == 0 ? 1 : 0;
}

int VL_CDECL VLDecode(const char*, AddInImage*) {
    return 0;
}

// Paints the target in the left colour and makes palette entry 7 a colour
// no default palette has, so that the host's palette copying shows.
int VL_CDECL VLFilter(FilterRequest* request) {
    const BITMAPINFOHEADER* h = request->target;
    const DWORD stride = DWORD((h->biWidth + 3) & ~3);
    std::memset(request->target_bits, int(request->left_colour), stride * DWORD(h->biHeight));
    auto* table = reinterpret_cast<RGBQUAD*>(request->target + 1);
    table[7] = RGBQUAD{3, 2, 1, 0};
    request->flags |= kFilterPaletteChanged;
    return 1;
}

#ifdef TEST_SETUP
int VL_CDECL VLFilterSetup(HWND) {
    return TEST_SETUP;
}
#endif

int VL_CDECL VLPen(HWND, UINT, WPARAM, LPARAM, PenCallBlock*) {
    return 0;
}
}
