// PNG reading and writing for the PNG Add-Ins. Portable: bytes in, bytes out;
// the DLL entry points only read and write the files.
#pragma once

#include "platform/win.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// An 8-bit indexed picture with top-down rows and no padding.
struct PngPicture {
    int width = 0;
    int height = 0;
    RGBQUAD palette[256] = {};
    int transparent_index = -1; // -1: no transparent colour
    std::vector<BYTE> pixels;   // width * height indexes, top row first
};

// Largest picture either side accepts: the program's 8-bit layers must fit in
// a 32-bit process beside their undo copies and masks.
constexpr int kPngMaxSide = 32767;
constexpr std::uint64_t kPngMaxPixels = 64u * 1024 * 1024;

// Reads any standard PNG (every colour type, bit depth and interlacing) into
// 256 colours. Indexed pictures keep their indexes; greyscale maps each grey
// to its own index; truecolour keeps its colours exactly when there are few
// enough, else falls to a fixed 6 x 7 x 6 colour cube. Pixels with alpha
// below 128 (or the tRNS colour) become the transparent index. Returns false
// on any malformed, truncated or oversized input, leaving out unspecified.
bool png_decode(const BYTE* data, std::size_t size, PngPicture& out);

// An 8-bit indexed PNG with all 256 palette entries; with a transparent
// index, a tRNS chunk makes exactly that entry transparent. Empty on failure.
std::vector<BYTE> png_encode(const PngPicture& picture);

// A packed 8-bit DIB (header, 256 RGBQUAD, bottom-up rows) in one
// GlobalAlloc block, or null when memory runs out.
BITMAPINFOHEADER* png_to_dib(const PngPicture& picture);

// Reads an 8-bit DIB (bottom-up, or top-down with a negative height) with
// its rows at bits. False when it is not an 8-bit DIB of a usable size.
bool png_from_dib(const BITMAPINFOHEADER* dib, const BYTE* bits, int transparent_index,
                  PngPicture& out);
