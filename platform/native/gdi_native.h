// The memory-only GDI subset behind Surface: DIB sections over plain memory,
// memory DCs, colour tables and logical palettes kept as records. Nothing is
// drawn on a screen; the screen DC is a stand-in that only makes sections
// and compatible DCs.
#pragma once

using HGDIOBJ = void*;
using HPALETTE = struct HPALETTE__*;

struct BITMAPINFO {
    BITMAPINFOHEADER bmiHeader;
    RGBQUAD bmiColors[1];
};

#define DIB_RGB_COLORS 0

HDC GetDC(HWND window);
int ReleaseDC(HWND window, HDC dc);
HDC CreateCompatibleDC(HDC dc);
BOOL DeleteDC(HDC dc);
// Supports 8-bit bottom-up sections; the colour table comes from info.
HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section,
                         DWORD offset);
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
BOOL DeleteObject(HGDIOBJ object);
UINT SetDIBColorTable(HDC dc, UINT start, UINT count, const RGBQUAD* colours);
UINT GetDIBColorTable(HDC dc, UINT start, UINT count, RGBQUAD* colours);

HPALETTE CreatePalette(const LOGPALETTE* palette);
HPALETTE SelectPalette(HDC dc, HPALETTE palette, BOOL force_background);
UINT RealizePalette(HDC dc);
BOOL UnrealizeObject(HGDIOBJ object);
UINT GetPaletteEntries(HPALETTE palette, UINT start, UINT count, PALETTEENTRY* entries);

namespace native {

// Makes CreateDIBSection fail after `successes` more sections (a negative
// count never fails), for the out-of-memory paths of surface users.
void fail_dib_sections_after(int successes);
// GDI objects and memory DCs alive now; tests check that users free theirs.
int live_gdi_objects();

} // namespace native
