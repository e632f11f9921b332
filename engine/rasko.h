// rasko32: the DIB engine. Every picture is an 8-bit palettized packed DIB:
// a BITMAPINFOHEADER, 256 RGBQUADs, then bottom-up rows of stride
// (width + 3) & ~3. Functions that touch pixels take a DIB as a header
// pointer and a separate bits pointer; the header supplies only biWidth and
// biHeight, so callers may pair one DIB's header with another buffer of the
// same size (layers and mask planes are kept this way).
//
// Every function is exported under its name with a leading underscore
// (_RaskoCreateDIB) and uses the C calling convention. The caller owns every
// DIB a function returns and frees it with RaskoDestroyDIB.
#pragma once

#include "platform/win.h"

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

// Creates a width x height DIB with the default colour table (the twenty
// static system colours in entries 0-9 and 246-255, black elsewhere) and all
// pixels 0. Returns null, after the message box "Can't create Bitmap" /
// "Allocate Error", when memory runs out; returns null without a message when
// a size is below 1 or the block would not fit in memory.
BITMAPINFOHEADER* RaskoCreateDIB(int width, int height);

// Frees a DIB block; returns what GlobalFree returns (null on success).
HGLOBAL RaskoDestroyDIB(BITMAPINFOHEADER* dib);

// Creates a width x height DIB holding the source rectangle at (x, y) and the
// source's whole colour table. The rectangle must lie inside the source.
// Null when the size is unusable or memory runs out.
BITMAPINFOHEADER* RaskoCreateDIBPart(const BITMAPINFOHEADER* src, const BYTE* src_bits, int x,
                                     int y, int width, int height);

// Puts the source rectangle on the clipboard as an 8-bit CF_DIB with the
// source's 256 colours, owned by the window. Returns 1 when the clipboard took
// it; 0 when memory ran out, the size is unusable or the clipboard could not
// be opened (the block is freed then).
int RaskoCopyDIB(HWND window, const BITMAPINFOHEADER* src, const BYTE* src_bits, int x, int y,
                 int width, int height);

// Makes a new DIB from the clipboard's CF_DIB data: 1-, 2-, 4- and 8-bit
// uncompressed bitmaps of any header size, bottom-up or top-down (the result
// is always bottom-up). Null when there is no such data, it is compressed,
// deeper than 8 bits, or shorter than its header says.
BITMAPINFOHEADER* RaskoPasteDIB(HWND window);

// Single pixels at (x, y), y = 0 the top row; a negative biHeight means
// top-down rows. Outside the bitmap nothing is read or written: GetPixel
// returns 0, the writers return 0 (1 when a pixel was written).
int RaskoGetPixel(const BITMAPINFOHEADER* dib, const BYTE* bits, int x, int y);
int RaskoPutPixel(const BITMAPINFOHEADER* dib, BYTE* bits, int x, int y, int colour);
// Writes colour where the working tone table's pattern for level (clamped to
// 0-16) is set at (x, y), and background where it is clear.
int RaskoPutPixelEx(const BITMAPINFOHEADER* dib, BYTE* bits, int x, int y, int background,
                    int colour, int level);

// A DIB whose colour table starts with the 16-bit indexes 0-255, for drawing
// with the display's logical palette (DIB_PAL_COLORS). Null as RaskoCreateDIB.
BITMAPINFOHEADER* RaskoCreateVirtualVRAM(int width, int height);
// Draws such a DIB unscaled at (x, y); src_y counts from the bottom row, as
// StretchDIBits defines. Returns what StretchDIBits returns.
int RaskoCopyVRAMtoDisplay(HDC dc, int x, int y, int width, int height, const BITMAPINFOHEADER* dib,
                           int src_x, int src_y);

// Rectangle blits. Arguments: destination (header, bits), destination
// rectangle dx, dy, width, height (y from the top row), source (header, bits),
// source origin sx, sy (the source pixel landing on (dx, dy)), then the
// member's extras. Only the destination is clipped; the source rectangle that
// results must lie inside the source. Both bitmaps are bottom-up unless a
// member says otherwise; negative sizes do nothing.
//
// Key: source pixels equal to it are left out. Mask: a buffer with the
// destination's geometry, addressed at the destination position; 0 protects
// the pixel. Tone: destination pixel (x, y) is touched only where bit
// (y & 3) * 4 + (x & 3) of the pattern is set. Ex members take a level and
// look it up in the working tone table (level & 31, above 16 counts as 16);
// ExAsm members take the pattern word itself. Colours count by their low byte.
void RaskoCopyDIBBits(const BITMAPINFOHEADER* dst, BYTE* dst_bits, int dx, int dy, int width,
                      int height, const BITMAPINFOHEADER* src, const BYTE* src_bits, int sx,
                      int sy);
void RaskoCopyDIBBitsEx(const BITMAPINFOHEADER* dst, BYTE* dst_bits, int dx, int dy, int width,
                        int height, const BITMAPINFOHEADER* src, const BYTE* src_bits, int sx,
                        int sy, int level);
void RaskoCopyDIBBitsExAsm(const BITMAPINFOHEADER* dst, BYTE* dst_bits, int dx, int dy, int width,
                           int height, const BITMAPINFOHEADER* src, const BYTE* src_bits, int sx,
                           int sy, WORD pattern);
// Fills the clipped destination rectangle upside down (source row j goes to
// destination row dy + n - 1 - j).
void RaskoCopyDIBBitsUDInvert(const BITMAPINFOHEADER* dst, BYTE* dst_bits, int dx, int dy,
                              int width, int height, const BITMAPINFOHEADER* src,
                              const BYTE* src_bits, int sx, int sy);
// Fills each clipped destination row right to left.
void RaskoCopyDIBBitsLRInvert(const BITMAPINFOHEADER* dst, BYTE* dst_bits, int dx, int dy,
                              int width, int height, const BITMAPINFOHEADER* src,
                              const BYTE* src_bits, int sx, int sy);

void RaskoTransparentDIBBits(const BITMAPINFOHEADER* dst, BYTE* dst_bits, int dx, int dy, int width,
                             int height, const BITMAPINFOHEADER* src, const BYTE* src_bits, int sx,
                             int sy, int key);
void RaskoTransparentDIBBitsEx(const BITMAPINFOHEADER* dst, BYTE* dst_bits, int dx, int dy,
                               int width, int height, const BITMAPINFOHEADER* src,
                               const BYTE* src_bits, int sx, int sy, int key, int level);
void RaskoTransparentDIBBitsExAsm(const BITMAPINFOHEADER* dst, BYTE* dst_bits, int dx, int dy,
                                  int width, int height, const BITMAPINFOHEADER* src,
                                  const BYTE* src_bits, int sx, int sy, int key, WORD pattern);
// Writes colour (not the source pixel) where the source differs from key and
// the pattern is set. Note the different order of the two members' extras.
void RaskoTransparentDIBBitsExColor(const BITMAPINFOHEADER* dst, BYTE* dst_bits, int dx, int dy,
                                    int width, int height, const BITMAPINFOHEADER* src,
                                    const BYTE* src_bits, int sx, int sy, int key, int colour,
                                    int level);
void RaskoTransparentDIBBitsExColorAsm(const BITMAPINFOHEADER* dst, BYTE* dst_bits, int dx, int dy,
                                       int width, int height, const BITMAPINFOHEADER* src,
                                       const BYTE* src_bits, int sx, int sy, int key, WORD pattern,
                                       int colour);
// Destination row j (from dy) takes the source row stored at position
// sy + j from the start of the source bits (sy counts from the bottom).
void RaskoTransparentDIBBitsUDInvert(const BITMAPINFOHEADER* dst, BYTE* dst_bits, int dx, int dy,
                                     int width, int height, const BITMAPINFOHEADER* src,
                                     const BYTE* src_bits, int sx, int sy, int key);
// Destination column i (from dx) takes source column width - 1 - sx - i, so
// sx = 0 with the source's full width mirrors the source.
void RaskoTransparentDIBBitsLRInvert(const BITMAPINFOHEADER* dst, BYTE* dst_bits, int dx, int dy,
                                     int width, int height, const BITMAPINFOHEADER* src,
                                     const BYTE* src_bits, int sx, int sy, int key);
// Rows as RaskoTransparentDIBBitsUDInvert, columns as ...LRInvert.
void RaskoTransparentDIBBitsLRUDInvert(const BITMAPINFOHEADER* dst, BYTE* dst_bits, int dx, int dy,
                                       int width, int height, const BITMAPINFOHEADER* src,
                                       const BYTE* src_bits, int sx, int sy, int key);

void RaskoMaskCopyDIBBits(const BITMAPINFOHEADER* dst, BYTE* dst_bits, int dx, int dy, int width,
                          int height, const BITMAPINFOHEADER* src, const BYTE* src_bits, int sx,
                          int sy, const BYTE* mask);
void RaskoMaskTransparentDIBBits(const BITMAPINFOHEADER* dst, BYTE* dst_bits, int dx, int dy,
                                 int width, int height, const BITMAPINFOHEADER* src,
                                 const BYTE* src_bits, int sx, int sy, int key, const BYTE* mask);
void RaskoMaskTransparentDIBBitsEx(const BITMAPINFOHEADER* dst, BYTE* dst_bits, int dx, int dy,
                                   int width, int height, const BITMAPINFOHEADER* src,
                                   const BYTE* src_bits, int sx, int sy, int key, int level,
                                   const BYTE* mask);
void RaskoMaskTransparentDIBBitsExAsm(const BITMAPINFOHEADER* dst, BYTE* dst_bits, int dx, int dy,
                                      int width, int height, const BITMAPINFOHEADER* src,
                                      const BYTE* src_bits, int sx, int sy, int key, WORD pattern,
                                      const BYTE* mask);

// Writes new_colour where the source pixel equals match_colour.
void RaskoExchangeCopyDIBBits(const BITMAPINFOHEADER* dst, BYTE* dst_bits, int dx, int dy,
                              int width, int height, const BITMAPINFOHEADER* src,
                              const BYTE* src_bits, int sx, int sy, int new_colour,
                              int match_colour);
void RaskoMaskExchangeCopyDIBBits(const BITMAPINFOHEADER* dst, BYTE* dst_bits, int dx, int dy,
                                  int width, int height, const BITMAPINFOHEADER* src,
                                  const BYTE* src_bits, int sx, int sy, int new_colour,
                                  int match_colour, const BYTE* mask);

void RaskoFillRect(const BITMAPINFOHEADER* dst, BYTE* dst_bits, int dx, int dy, int width,
                   int height, int colour);
void RaskoFillRectEx(const BITMAPINFOHEADER* dst, BYTE* dst_bits, int dx, int dy, int width,
                     int height, int colour, int level);
void RaskoFillRectExAsm(const BITMAPINFOHEADER* dst, BYTE* dst_bits, int dx, int dy, int width,
                        int height, int colour, WORD pattern);
void RaskoMaskFillRect(const BITMAPINFOHEADER* dst, BYTE* dst_bits, int dx, int dy, int width,
                       int height, int colour, const BYTE* mask);
void RaskoMaskFillRectEx(const BITMAPINFOHEADER* dst, BYTE* dst_bits, int dx, int dy, int width,
                         int height, int colour, int level, const BYTE* mask);
void RaskoMaskFillRectExAsm(const BITMAPINFOHEADER* dst, BYTE* dst_bits, int dx, int dy, int width,
                            int height, int colour, WORD pattern, const BYTE* mask);
// Fills the width bytes of every row (the row padding is left alone).
void RaskoFillDIB(const BITMAPINFOHEADER* dst, BYTE* dst_bits, int colour);

// Copies with their own clipping: the destination may be top-down (negative
// biHeight), the source is bottom-up. Return the height after clipping; 0 or
// less means nothing was copied. The sprite form leaves out the key.
int RaskoCopyDIBtoDIB(const BITMAPINFOHEADER* dst, BYTE* dst_bits, int dx, int dy, int width,
                      int height, const BITMAPINFOHEADER* src, const BYTE* src_bits, int sx,
                      int sy);
int RaskoSpriteCopyDIBtoDIB(const BITMAPINFOHEADER* dst, BYTE* dst_bits, int dx, int dy, int width,
                            int height, const BITMAPINFOHEADER* src, const BYTE* src_bits, int sx,
                            int sy, int key);

// 16 x 16 blocks without any clipping: the caller keeps both blocks inside
// their bitmaps. The two DIBBits members need a bottom-up destination; the
// two Pattern members also accept a top-down one.
void RaskoCopy16x16DIBBits(const BITMAPINFOHEADER* dst, BYTE* dst_bits, int dx, int dy,
                           const BITMAPINFOHEADER* src, const BYTE* src_bits, int sx, int sy);
// Stamps one colour: writes only the source pixels equal to colour.
void RaskoTransparent16x16DIBBits(const BITMAPINFOHEADER* dst, BYTE* dst_bits, int dx, int dy,
                                  const BITMAPINFOHEADER* src, const BYTE* src_bits, int sx, int sy,
                                  int colour);
void RaskoCopy16x16Pattern(const BITMAPINFOHEADER* dst, BYTE* dst_bits, int dx, int dy,
                           const BITMAPINFOHEADER* src, const BYTE* src_bits, int sx, int sy);
void RaskoSpriteCopy16x16Pattern(const BITMAPINFOHEADER* dst, BYTE* dst_bits, int dx, int dy,
                                 const BITMAPINFOHEADER* src, const BYTE* src_bits, int sx, int sy,
                                 int key);

// Rebuilds the process-wide working tone table from the standard patterns
// (offsets do not accumulate; (0, 0) restores it). x >= 0: new column c holds
// standard column (c + x) mod 4. y >= 0: standard row r moves to row
// (r + y) mod 4. y < 0: standard row r moves to row (3 - r + |y|) mod 4, so
// (0, -4) turns every pattern upside down and then level 16 - n is the
// complement of standard level n. x < 0 mirrors the y rule: standard column
// c moves to column (3 - c + |x|) mod 4, so (-4, 0) mirrors left to right.
// Not locked: restore it before tone operations run on another thread.
void RaskoOffsetPattern(int x_offset, int y_offset);

// ---- Stretch blits ----
//
// Scale the source rectangle (sx, sy, sw, sh) into the destination rectangle
// (dx, dy, dw, dh) by picking source pixels, never mixing colours. Steps are
// 16.16 fixed point with 16-bit accumulators, so results are reproducible to
// the pixel: along each axis destination pixel i of the unclipped rectangle
// takes source index floor(i * step / 65536) when enlarging or keeping the
// size (step = src * 65536 / dst) and ceil(i * 65536 / step) when shrinking
// (step = dst * 65536 / src); a clipped-away start of k pixels begins at
// floor(k * step / 65536) or floor(k * 65536 / step) respectively. Indexes
// are held at the last source pixel, which a shrink's rounded step could
// otherwise pass. The destination (bottom-up) is clipped as the rectangle
// blits clip it. A size below 1, or a source rectangle that does not lie
// inside the source bitmap, draws nothing.
void RaskoStretchDIBBits(const BITMAPINFOHEADER* dst, BYTE* dst_bits, int dx, int dy, int dw,
                         int dh, const BITMAPINFOHEADER* src, const BYTE* src_bits, int sx, int sy,
                         int sw, int sh);
// As RaskoStretchDIBBits, leaving destination pixels alone where the chosen
// source pixel equals the key colour.
void RaskoStretchTransparentDIBBits(const BITMAPINFOHEADER* dst, BYTE* dst_bits, int dx, int dy,
                                    int dw, int dh, const BITMAPINFOHEADER* src,
                                    const BYTE* src_bits, int sx, int sy, int sw, int sh, int key);

// ---- Lines, filled rectangles and line clipping ----
//
// The line functions and RaskoClipLine work on W = biWidth and H = |biHeight|,
// so top-down DIBs (negative biHeight) clip and draw like bottom-up ones.

// Region code of (x, y): 1 left (x < 0), 2 right (x >= W), 4 bottom (y >= H),
// 8 top (y < 0); 0 inside.
int RaskoGetClippingCode(const BITMAPINFOHEADER* dib, int x, int y);
// Crossing point of the line (x1, y1)-(x2, y2) with an edge: for edge code 1
// or 2 the y at x = edge, for any other code the x at y = edge (integer
// arithmetic, truncating toward zero). The caller must not pass a line that
// is parallel to the edge; RaskoClipLine never does.
int RaskoGetCrossPoint(int x1, int y1, int x2, int y2, int edge, int code);
// Moves both end points onto the bitmap along the line. Returns 1 when the
// clipped points both lie inside the bitmap, 0 (points unchanged) when the
// line misses the bitmap, including lines that pass outside a corner.
int RaskoClipLine(const BITMAPINFOHEADER* dib, int* x1, int* y1, int* x2, int* y2);
// Bresenham line of one-pixel width, both end points drawn, clipped by
// RaskoClipLine; never writes outside the bitmap. Returns 1 drawn, 0 rejected.
int RaskoDrawLine(const BITMAPINFOHEADER* dib, BYTE* bits, int x1, int y1, int x2, int y2,
                  int colour);
// As RaskoDrawLine, every pixel in colour where the working tone pattern of
// the level is set at its position and in the background colour where it is
// clear. Levels outside 0 to 16 count as the nearer of the two.
int RaskoDrawLineEx(const BITMAPINFOHEADER* dib, BYTE* bits, int x1, int y1, int x2, int y2,
                    int background, int colour, int level);
// Fills the clipped rectangle with the colour; returns the clipped height
// (0 or less when nothing was drawn).
int RaskoDrawRectangle(const BITMAPINFOHEADER* dib, BYTE* bits, int x, int y, int width, int height,
                       int colour);
// As RaskoDrawRectangle in the two tone colours of RaskoDrawLineEx.
int RaskoDrawRectangleEx(const BITMAPINFOHEADER* dib, BYTE* bits, int x, int y, int width,
                         int height, int background, int colour, int level);

// ---- Palette services ----
//
// Colour distance is |dr| + |dg| + |db| throughout. Colour tables are read at
// header + biSize; logical palettes must hold 256 entries whatever their
// palNumEntries says.

// Sets red, green and blue of entry index & 0xFF; the reserved byte stays.
void RaskoChangePalette(BITMAPINFOHEADER* dib, int index, int red, int green, int blue);
// Entries 0-255 take the palette's red, green and blue; reserved bytes stay.
void RaskoCopyPaletteToDIB(BITMAPINFOHEADER* dib, const LOGPALETTE* palette);
// Writes palVersion 0x300, palNumEntries 256 and all 256 entries (peFlags 0).
void RaskoCopyPaletteFromDIB(LOGPALETTE* palette, const BITMAPINFOHEADER* dib);
// Copies the whole 1024-byte colour table, reserved bytes included.
void RaskoCopyPalette(BITMAPINFOHEADER* dst, const BITMAPINFOHEADER* src);
// 1 when all 256 entries agree in red, green and blue, else 0.
int RaskoIsSamePalette(const BITMAPINFOHEADER* a, const BITMAPINFOHEADER* b);
// 1 when entries 0-9 and 246-255 hold the twenty static system colours.
int RaskoCheckDIBSystemPalette(const BITMAPINFOHEADER* dib);
// Swaps entries a and b and every pixel value a with b (|biHeight| rows).
void RaskoSwapPalette(BITMAPINFOHEADER* dib, BYTE* bits, int a, int b);
// Installs the palette and remaps every pixel to its nearest new colour; an
// index whose colour is unchanged keeps its index, so passing the DIB's own
// palette changes no pixel.
void RaskoChangeDIBPalette(BITMAPINFOHEADER* dib, BYTE* bits, const LOGPALETTE* palette);
// Index of the entry nearest to (red, green, blue), low bytes used; the
// lowest index wins a tie.
int RaskoGetNearestColor(const BITMAPINFOHEADER* dib, int red, int green, int blue);
// Nearest entry, or at even x + y a dither partner chosen through the
// working tone table so that an area of one colour mixes two entries.
int RaskoExtGetNearestColor(const BITMAPINFOHEADER* dib, int x, int y, int red, int green,
                            int blue);
// Reduces the picture to K = 2^bits_per_pixel colours (1 to 7) in entries
// 0 to K-1 and blackens the rest. Target colours: the K most frequent pixel
// values (frequency non-zero), else the first K entries of palette (at least
// K RGBQUADs, may be null for the DIB's own table). Pixels go to the nearest
// target colour, or with dither non-zero to an ordered mix of two. With
// frequency the colours come from the DIB's own table (pixel values index it)
// and palette is not read. Returns 1, or 0 with nothing changed for a bit
// count outside 1 to 7.
int RaskoDecreaseColorDepth(BITMAPINFOHEADER* dib, BYTE* bits, int bits_per_pixel,
                            const RGBQUAD* palette, int dither, int frequency);

// BMP and GIF files.
//
// Readers never trust the file: every size and count is checked against the
// bytes present before anything is allocated or copied. Writers given a file
// name write a temporary file beside the target and replace the target only
// after a complete, checked write, so a failure leaves the old file intact.
// Handle forms read from or write at the handle's current position onwards
// (the BMP reader seeks to the start first) and leave the handle open.

// Reads a 1-, 2-, 4- or 8-bit BMP (uncompressed, RLE8 or RLE4; OS/2 and
// every Windows header size) into a new bottom-up 8-bit DIB. Refusals show a
// message box with caption "Read Error" ("Open Error", "It's not Bitmap",
// "Read Error", "Can't read over 8bit color"), owned by the calling thread's
// active window, and return null. A name without
// an extension gets ".bmp"; when no such file exists, the name is looked up
// as an 8-bit RT_BITMAP resource of `instance`.
BITMAPINFOHEADER* RaskoOpenDIB(HINSTANCE instance, LPCSTR name);
BITMAPINFOHEADER* RaskoOpenDIBfromHandle(HANDLE file);

// Write the DIB as an 8-bit BMP (256-entry colour table) or as a 4-bit BMP
// whose pixels are mapped to the nearest of colour entries 0-15. Return 1
// when the whole file was written, 0 otherwise.
int RaskoSaveDIB(LPCSTR name, const BITMAPINFOHEADER* header, const BYTE* bits);
int RaskoSaveDIBHandle(HANDLE file, const BITMAPINFOHEADER* header, const BYTE* bits);
int RaskoSaveDIB4bit(LPCSTR name, const BITMAPINFOHEADER* header, const BYTE* bits);
int RaskoSaveDIBHandle4bit(HANDLE file, const BITMAPINFOHEADER* header, const BYTE* bits);

struct GifFrame;

// One GIF picture or animation, passed between the program and the engine.
// The program allocates the record and zeroes it before a read. Byte layout is
// fixed (packed, 305 bytes in 32-bit builds).
#pragma pack(push, 1)
typedef struct GifAnimation {
    DWORD frameCount;  // entries in `frames`
    DWORD screenWidth; // logical screen
    DWORD screenHeight;
    DWORD backgroundIndex; // background colour index
    DWORD aspectRatio;     // the file's pixel aspect byte, unchanged
    DWORD bitsPerPixel;    // 1-8; the global table has 2^bitsPerPixel entries
    DWORD interlaced;      // read: 1 if any frame was; write: interlace all
    WORD loopCount;        // 0 = endless; a read leaves it alone without one
    // 256 RGBQUADs or null. After a read: a GlobalAlloc block the caller frees.
    RGBQUAD* globalPalette;
    char applicationId[8]; // of the last application extension read
    char applicationAuth[3];
    // frameCount pointers in file order. After a read the array and each
    // GifFrame are GlobalAlloc blocks (GlobalFree) and each frame's dib is
    // freed with RaskoDestroyDIB.
    struct GifFrame** frames;
    char comment[256]; // NUL-terminated
} GifAnimation;
#pragma pack(pop)

typedef struct GifFrame {
    BITMAPINFOHEADER* dib; // the frame's picture, image-sized
    BYTE* bits;            // dib's pixel rows
    LONG left;             // position on the logical screen
    LONG top;
    LONG transparentIndex; // -1 for none
    LONG delay;            // hundredths of a second
    LONG disposal;         // graphic control packed byte >> 2
    LONG userInput;        // 1 when the user-input flag is set
} GifFrame;

#if defined(_WIN32) && !defined(_WIN64)
static_assert(sizeof(GifAnimation) == 305, "GifAnimation layout");
static_assert(offsetof(GifAnimation, loopCount) == 28, "GifAnimation layout");
static_assert(offsetof(GifAnimation, globalPalette) == 30, "GifAnimation layout");
static_assert(offsetof(GifAnimation, applicationId) == 34, "GifAnimation layout");
static_assert(offsetof(GifAnimation, applicationAuth) == 42, "GifAnimation layout");
static_assert(offsetof(GifAnimation, frames) == 45, "GifAnimation layout");
static_assert(offsetof(GifAnimation, comment) == 49, "GifAnimation layout");
static_assert(sizeof(GifFrame) == 32, "GifFrame layout");
static_assert(offsetof(GifFrame, userInput) == 28, "GifFrame layout");
#endif

// The first image of a GIF as a DIB of the image's size, or null. Files that
// end early or hold bad LZW data give the pixels decoded so far.
BITMAPINFOHEADER* RaskoOpenGIF(LPCSTR name);
BITMAPINFOHEADER* RaskoOpenGIFHandle(HANDLE file);

// Every image of a GIF as frames in `animation` (zeroed by the caller), with
// the screen, palette, loop count and comment. Returns 1 once the file is
// open (frames that cannot be read are dropped), 0 when it cannot be opened.
int RaskoOpenGIFEx(LPCSTR name, GifAnimation* animation);
int RaskoOpenGIFHandleEx(HANDLE file, GifAnimation* animation);

// Write a GIF89a of 2^bits_per_pixel colours (1-8). A transparent index
// counts only below that number of colours. A comment longer than 255 bytes
// is cut by writing a NUL into it at 255. Return 1 when the whole file was
// written, 0 otherwise.
int RaskoSaveGIF(LPCSTR name, const BITMAPINFOHEADER* header, const BYTE* bits, int bits_per_pixel,
                 int interlace, int transparent_index, char* comment);
int RaskoSaveGIFHandle(HANDLE file, const BITMAPINFOHEADER* header, const BYTE* bits,
                       int bits_per_pixel, int interlace, int transparent_index, char* comment);
int RaskoSaveGIFEx(LPCSTR name, GifAnimation* animation);
int RaskoSaveGIFHandleEx(HANDLE file, GifAnimation* animation);

#ifdef __cplusplus
}
#endif
