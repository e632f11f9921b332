// The BMP and GIF codecs over the engine's Input and Output (not exported):
// the exported functions wrap these for file names and handles, and tests,
// fuzz targets and benchmarks call them on memory.
#pragma once

#include "engine/codec_io.h"

namespace rasko {

// Where a BMP's bytes come from: a file with its 14-byte file header, or a
// packed DIB (a bitmap resource) that starts at the info header.
enum class BmpSource { File, PackedDib };

// Reads a BMP from the start of `in`; refusals show the reader's message box
// (failed allocations use `allocate_caption`) and give null.
BITMAPINFOHEADER* read_bmp(Input& in, BmpSource source, LPCSTR allocate_caption);

// The first image of a GIF as a DIB, or null.
BITMAPINFOHEADER* read_gif(Input& in);
// Every image into `animation`; always 1.
int read_gif_animation(Input& in, GifAnimation* animation);

// Writers; true when every byte reached the output and the input was usable.
bool write_bmp8(Output& out, const BITMAPINFOHEADER* header, const BYTE* bits);
bool write_bmp4(Output& out, const BITMAPINFOHEADER* header, const BYTE* bits);
bool write_gif(Output& out, const BITMAPINFOHEADER* header, const BYTE* bits, int bits_per_pixel,
               int interlace, int transparent_index, char* comment);
bool write_gif_animation(Output& out, GifAnimation* animation);

// A DIB as RaskoCreateDIB makes it, its pixels and row pads left as the
// allocator gives them (zeroing a large picture costs a pass over it), for a
// reader that writes every byte of them.
BITMAPINFOHEADER* create_dib_to_overwrite(int width, int height);

} // namespace rasko
