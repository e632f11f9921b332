// The Add-In interface: the entry points an Add-In DLL exports and the records
// it exchanges with the program. Add-Ins and the program both build against
// this header; an Add-In written elsewhere must match these layouts byte for
// byte, so the 32-bit build checks every size and offset.
//
// Every entry point uses the cdecl convention and is exported with a leading
// underscore (a .def line "_VLGetInfo = VLGetInfo"). Memory that crosses the
// boundary comes from GlobalAlloc and goes back with GlobalFree.
#pragma once

#include "platform/win.h"

#include <cstddef>

#if defined(_WIN32)
#define VL_CDECL __cdecl
#else
#define VL_CDECL
#endif

// Bits of AddInInfo::flags.
constexpr DWORD kAddInKindMask = 0x0000000F;
constexpr DWORD kAddInEncoder = 0x1;
constexpr DWORD kAddInDecoder = 0x2;
constexpr DWORD kAddInFilter = 0x4;
constexpr DWORD kAddInPen = 0x8;
// The host version the Add-In requires, in bits 4-15.
constexpr DWORD kAddInVersionMask = 0x0000FFF0;
// The newest host version this program is: Add-Ins requiring more are refused.
constexpr DWORD kAddInHostVersion = 0x2000;
// Pens only: show the pen footprint under the cursor while hovering.
constexpr DWORD kAddInPenPreview = 0x01000000;
// Pens only: the canvas builds the stroke shape (stroke_bits) for the pen.
constexpr DWORD kAddInPenStroke = 0x00010000;
// Pens only: in free hand the canvas only records the points and passes
// neither the moves nor the release on.
constexpr DWORD kAddInPenPointsOnly = 0x00020000;

// Filled by _VLGetInfo. The host does not initialise the record before the
// call; the texts belong to the Add-In and must stay valid while it is loaded.
struct AddInInfo {
    DWORD reserved;          // not read by the host
    DWORD flags;             // kind, required version, pen bits (see above)
    const char* name;        // filter menu text, pen tool name, About line
    const char* description; // file-type name of a codec; status hint of a pen
    const char* extension;   // codec file extension without the dot
    const char* about1;      // About Add-In texts: plain,
    const char* about2;      // in parentheses,
    const char* about3;      // in brackets; any may be null
};

// Bits of AddInImage::flags.
constexpr DWORD kAddInImageSeparateBits = 0x2; // each frame's rows are their own block
constexpr DWORD kAddInImageAddInOwns = 0x4;    // the host frees nothing
constexpr DWORD kAddInImageKeyColour = 0x10;
constexpr DWORD kAddInImageBackground = 0x20;

// Frames crossing the boundary: decoders fill it, encoders read it. Every DIB
// is an 8-bit packed DIB (BITMAPINFOHEADER, 256 RGBQUAD, bottom-up rows of
// stride (width + 3) & ~3).
struct AddInImage {
    DWORD size; // sizeof(AddInImage), set by the host
    DWORD flags;
    DWORD key_colour;        // palette index, valid with kAddInImageKeyColour
    DWORD background_colour; // palette index, valid with kAddInImageBackground
    DWORD frame_count;
    // frame_count pointers to the frames' headers and to their pixel rows.
    // Owned by whoever allocated them unless kAddInImageAddInOwns says otherwise.
    BITMAPINFOHEADER** dibs;
    BYTE** bits;
};

// Bits of FilterRequest::flags.
constexpr DWORD kFilterMaskView = 0x1;
constexpr DWORD kFilterMaskOn = 0x2;
constexpr DWORD kFilterKeying = 0x4;
constexpr DWORD kFilterArea = 0x10;
constexpr DWORD kFilterPictureView = 0x20;
constexpr DWORD kFilterCurrentLayer = 0x100;
constexpr DWORD kFilterPaletteChanged = 0x10000; // set by the filter

// One call of _VLFilter for one layer; zeroed by the host before filling.
struct FilterRequest {
    DWORD size;               // sizeof(FilterRequest)
    BITMAPINFOHEADER* target; // the plane to change: layer image or mask plane
    BYTE* target_bits;
    BYTE* mask_bits; // the layer's mask plane in picture view, else null
    // An unchanged copy of the picture taken before the call (read only).
    BITMAPINFOHEADER* copy;
    BYTE* copy_bits;
    DWORD flags;
    HWND window; // the document's canvas
    DWORD left_colour;
    DWORD right_colour;
    DWORD key_colour;
    DWORD background_colour;
    DWORD tone_level; // 0-16
    LONG area_left;   // the floating area, valid with kFilterArea
    LONG area_top;
    LONG area_width;
    LONG area_height;
};

// Bits of PenCallBlock::flags on the way in (the document's flags).
constexpr DWORD kPenMaskOn = 0x10;
constexpr DWORD kPenMaskView = 0x20;
constexpr DWORD kPenKeying = 0x1000;
// Bits a pen returns in the top byte of PenCallBlock::flags.
constexpr DWORD kPenPresent = 0x01000000;    // present the rectangle in update
constexpr DWORD kPenZoomWindow = 0x02000000; // refresh the zoom window
constexpr DWORD kPenColours = 0x04000000;    // take left_colour and right_colour
constexpr DWORD kPenToneLevel = 0x08000000;  // take tone_level
constexpr DWORD kPenNoRecomposite = 0x80000000;

// Built by the canvas for Add-In pens before each call, read back after it.
struct PenCallBlock {
    DWORD size;               // sizeof(PenCallBlock)
    BITMAPINFOHEADER* target; // current layer's image, or its mask plane in mask view
    BYTE* target_bits;
    BYTE* mask_bits; // current layer's mask plane (target_bits in mask view)
    BYTE* composite_bits;
    BITMAPINFOHEADER* pen; // the current 32 x 32 pen, key colour 255
    BYTE* pen_bits;
    DWORD flags; // in: document flags; out: notification bits in the top byte
    DWORD left_colour;
    DWORD right_colour;
    DWORD key_colour;
    DWORD background_colour;
    DWORD tone_level;
    LONG x; // current point, picture pixels
    LONG y;
    RECT update;    // out: rectangle to recomposite and present; 0 on input
    HDC dc;         // the canvas's device context
    void* document; // opaque to the Add-In
    BYTE* stroke_bits;
    LONG stroke_x; // stroke rectangle, or the floating area's left, top,
    LONG stroke_y; // right and bottom while an area floats
    LONG stroke_width;
    LONG stroke_height;
    RECT shape_bounds;
};

extern "C" {
using VLGetInfoFn = int(VL_CDECL*)(AddInInfo* info);
using VLDecodeFn = int(VL_CDECL*)(const char* path, AddInImage* image);
using VLEncodeFn = int(VL_CDECL*)(const char* path, AddInImage* image);
using VLFilterFn = int(VL_CDECL*)(FilterRequest* request);
// Returns 0 to cancel the filter.
using VLFilterSetupFn = int(VL_CDECL*)(HWND owner);
using VLPenFn = int(VL_CDECL*)(HWND canvas, UINT message, WPARAM wparam, LPARAM lparam,
                               PenCallBlock* block);
}

#if defined(_WIN32) && !defined(_WIN64)
static_assert(sizeof(AddInInfo) == 32);
static_assert(offsetof(AddInInfo, flags) == 4);
static_assert(offsetof(AddInInfo, name) == 8);
static_assert(offsetof(AddInInfo, description) == 12);
static_assert(offsetof(AddInInfo, extension) == 16);
static_assert(offsetof(AddInInfo, about1) == 20);
static_assert(offsetof(AddInInfo, about2) == 24);
static_assert(offsetof(AddInInfo, about3) == 28);

static_assert(sizeof(AddInImage) == 28);
static_assert(offsetof(AddInImage, flags) == 4);
static_assert(offsetof(AddInImage, key_colour) == 8);
static_assert(offsetof(AddInImage, background_colour) == 12);
static_assert(offsetof(AddInImage, frame_count) == 16);
static_assert(offsetof(AddInImage, dibs) == 20);
static_assert(offsetof(AddInImage, bits) == 24);

static_assert(sizeof(FilterRequest) == 68);
static_assert(offsetof(FilterRequest, target) == 4);
static_assert(offsetof(FilterRequest, target_bits) == 8);
static_assert(offsetof(FilterRequest, mask_bits) == 12);
static_assert(offsetof(FilterRequest, copy) == 16);
static_assert(offsetof(FilterRequest, copy_bits) == 20);
static_assert(offsetof(FilterRequest, flags) == 24);
static_assert(offsetof(FilterRequest, window) == 28);
static_assert(offsetof(FilterRequest, left_colour) == 32);
static_assert(offsetof(FilterRequest, right_colour) == 36);
static_assert(offsetof(FilterRequest, key_colour) == 40);
static_assert(offsetof(FilterRequest, background_colour) == 44);
static_assert(offsetof(FilterRequest, tone_level) == 48);
static_assert(offsetof(FilterRequest, area_left) == 52);
static_assert(offsetof(FilterRequest, area_top) == 56);
static_assert(offsetof(FilterRequest, area_width) == 60);
static_assert(offsetof(FilterRequest, area_height) == 64);

static_assert(sizeof(PenCallBlock) == 120);
static_assert(offsetof(PenCallBlock, target) == 4);
static_assert(offsetof(PenCallBlock, target_bits) == 8);
static_assert(offsetof(PenCallBlock, mask_bits) == 12);
static_assert(offsetof(PenCallBlock, composite_bits) == 16);
static_assert(offsetof(PenCallBlock, pen) == 20);
static_assert(offsetof(PenCallBlock, pen_bits) == 24);
static_assert(offsetof(PenCallBlock, flags) == 28);
static_assert(offsetof(PenCallBlock, left_colour) == 32);
static_assert(offsetof(PenCallBlock, right_colour) == 36);
static_assert(offsetof(PenCallBlock, key_colour) == 40);
static_assert(offsetof(PenCallBlock, background_colour) == 44);
static_assert(offsetof(PenCallBlock, tone_level) == 48);
static_assert(offsetof(PenCallBlock, x) == 52);
static_assert(offsetof(PenCallBlock, y) == 56);
static_assert(offsetof(PenCallBlock, update) == 60);
static_assert(offsetof(PenCallBlock, dc) == 76);
static_assert(offsetof(PenCallBlock, document) == 80);
static_assert(offsetof(PenCallBlock, stroke_bits) == 84);
static_assert(offsetof(PenCallBlock, stroke_x) == 88);
static_assert(offsetof(PenCallBlock, stroke_y) == 92);
static_assert(offsetof(PenCallBlock, stroke_width) == 96);
static_assert(offsetof(PenCallBlock, stroke_height) == 100);
static_assert(offsetof(PenCallBlock, shape_bounds) == 104);
#endif
