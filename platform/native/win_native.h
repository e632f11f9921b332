// The native build's stand-in for the few Windows declarations that portable
// code uses. Layouts match the Windows ones so that bytes written here read
// the same on Windows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using LONG = std::int32_t;
using UINT = unsigned int;
using BOOL = int;
using SIZE_T = std::size_t;
using LPVOID = void*;
using LPCVOID = const void*;
using LPCSTR = const char*;
using HANDLE = void*;
using HGLOBAL = void*;
using HWND = struct HWND__*;
using HDC = struct HDC__*;
using HINSTANCE = struct HINSTANCE__*;
using HMODULE = HINSTANCE;
using HBITMAP = struct HBITMAP__*;
using HCURSOR = struct HICON__*;
// Message parameters keep the pointer width, as on Windows.
using UINT_PTR = std::uintptr_t;
using LONG_PTR = std::intptr_t;
using WPARAM = UINT_PTR;
using LPARAM = LONG_PTR;
using LRESULT = LONG_PTR;

#define TRUE 1
#define FALSE 0

#pragma pack(push, 1)
struct BITMAPFILEHEADER {
    WORD bfType;
    DWORD bfSize;
    WORD bfReserved1;
    WORD bfReserved2;
    DWORD bfOffBits;
};
#pragma pack(pop)

struct BITMAPINFOHEADER {
    DWORD biSize;
    LONG biWidth;
    LONG biHeight;
    WORD biPlanes;
    WORD biBitCount;
    DWORD biCompression;
    DWORD biSizeImage;
    LONG biXPelsPerMeter;
    LONG biYPelsPerMeter;
    DWORD biClrUsed;
    DWORD biClrImportant;
};
using LPBITMAPINFOHEADER = BITMAPINFOHEADER*;

struct RGBQUAD {
    BYTE rgbBlue;
    BYTE rgbGreen;
    BYTE rgbRed;
    BYTE rgbReserved;
};

// Logical palettes are allocated by their users with room for the entries
// they need (the program always uses 256), as on Windows.
struct PALETTEENTRY {
    BYTE peRed;
    BYTE peGreen;
    BYTE peBlue;
    BYTE peFlags;
};

struct LOGPALETTE {
    WORD palVersion;
    WORD palNumEntries;
    PALETTEENTRY palPalEntry[1];
};

struct RECT {
    LONG left, top, right, bottom;
};

struct POINT {
    LONG x, y;
};

#define BI_RGB 0
#define BI_RLE8 1
#define BI_RLE4 2

// Global memory. Handles and pointers are the same value for every block,
// as they are on Windows for fixed blocks; the layer remembers each block's
// size for GlobalSize.
#define GMEM_FIXED 0x0000
#define GMEM_MOVEABLE 0x0002
#define GMEM_ZEROINIT 0x0040
#define GMEM_SHARE 0x2000
#define GMEM_DDESHARE 0x2000
#define GHND (GMEM_MOVEABLE | GMEM_ZEROINIT)
#define GPTR (GMEM_FIXED | GMEM_ZEROINIT)

HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes);
HGLOBAL GlobalFree(HGLOBAL block);
LPVOID GlobalLock(HGLOBAL block);
BOOL GlobalUnlock(HGLOBAL block);
SIZE_T GlobalSize(HGLOBAL block);

// Message boxes are recorded, not shown, so that tests can assert them.
#define MB_OK 0x0000
#define MB_OKCANCEL 0x0001
#define MB_YESNOCANCEL 0x0003
#define MB_YESNO 0x0004
#define MB_ICONHAND 0x0010
#define MB_ICONERROR 0x0010
#define MB_ICONQUESTION 0x0020
#define MB_ICONEXCLAMATION 0x0030
#define MB_ICONWARNING 0x0030
#define MB_ICONASTERISK 0x0040
#define MB_ICONINFORMATION 0x0040
#define IDOK 1
#define IDCANCEL 2
#define IDYES 6
#define IDNO 7

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
// There are no windows natively: always null.
HWND GetActiveWindow();

namespace native {

struct MessageBoxRecord {
    std::string text;
    std::string caption;
    UINT type = 0;
    int count = 0; // message boxes shown since the last reset
};

// What the last MessageBoxA showed, and how many were shown.
const MessageBoxRecord& last_message_box();
void reset_message_boxes();
// The answer the next message boxes return (IDOK by default).
void set_message_box_answer(int answer);

// Makes the next GlobalAlloc calls fail, for out-of-memory paths.
void set_global_alloc_failure(bool fail);
// Fills the blocks GlobalAlloc does not zero with the byte `value` (-1, the
// default: leaves them as the C allocator gives them), so that a test sees
// the bytes a caller forgot to write.
void set_unzeroed_alloc_fill(int value);

} // namespace native

// GDI memory subset and files, each in its own source file.
#include "gdi_native.h"
#include "file_native.h"

// The in-process clipboard and the recorded display calls.
#include "clipboard_native.h"
#include "display_native.h"
// Module resources registered by tests.
#include "resource_native.h"
