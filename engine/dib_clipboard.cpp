// The clipboard pair: DIBs to and from CF_DIB blocks. Pasted blocks come
// from any program, so every size and offset is checked against the block
// before a byte of it is read.
#include "platform/io/dib_layout.h"
#include "engine/rasko.h"

#include <cstdint>
#include <cstring>

extern "C" int RaskoCopyDIB(HWND window, const BITMAPINFOHEADER* src, const BYTE* src_bits, int x,
                            int y, int width, int height) {
    // An empty rectangle would replace what the clipboard holds with nothing.
    if (width < 1 || height < 1) return 0;
    const std::size_t bytes = io::dib_block_size(width, height);
    if (bytes == 0) return 0;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_SHARE | GMEM_ZEROINIT, bytes);
    if (!block) return 0;
    auto* dib = static_cast<BITMAPINFOHEADER*>(GlobalLock(block));
    if (!dib) {
        GlobalFree(block);
        return 0;
    }
    dib->biSize = sizeof(BITMAPINFOHEADER);
    dib->biWidth = width;
    dib->biHeight = height;
    dib->biPlanes = 1;
    dib->biBitCount = 8;
    std::memcpy(io::colour_table(dib), io::colour_table(src), io::kPaletteBytes);
    RaskoCopyDIBBits(dib, io::bits_of(dib), 0, 0, width, height, src, src_bits, x, y);
    GlobalUnlock(block);

    if (!OpenClipboard(window)) {
        GlobalFree(block);
        return 0;
    }
    EmptyClipboard();
    const bool handed_over = SetClipboardData(CF_DIB, block) != nullptr;
    CloseClipboard();
    if (!handed_over) GlobalFree(block);
    return handed_over ? 1 : 0;
}

namespace {

// Where a CF_DIB block's parts lie, all checked against the block size.
struct PackedDib {
    const BYTE* block;
    int width, rows;
    bool top_down;
    int bit_count;
    std::uint64_t colours;   // entries to take into the new table (at most 256)
    std::uint64_t table_at;  // offset of the colour table
    std::uint64_t pixels_at; // offset of the first stored row
    std::uint64_t row_bytes; // stored row length
};

// Reads the header of a CF_DIB block of `size` bytes. False for anything the
// engine cannot turn into an 8-bit DIB: headers other than the 40-byte one
// and its longer successors, depths other than 1, 2, 4 and 8, compression,
// sizes below 1 or beyond a DIB's limit, and blocks shorter than their
// header, colour table and rows.
bool parse(const BYTE* block, std::uint64_t size, PackedDib& out) {
    BITMAPINFOHEADER h;
    if (size < sizeof h) return false;
    std::memcpy(&h, block, sizeof h);
    if (h.biSize < sizeof h || h.biSize > size) return false;
    if (h.biBitCount != 1 && h.biBitCount != 2 && h.biBitCount != 4 && h.biBitCount != 8)
        return false;
    if (h.biCompression != BI_RGB) return false;
    const std::int64_t rows = h.biHeight < 0 ? -std::int64_t(h.biHeight) : h.biHeight;
    if (h.biWidth < 1 || rows < 1 || rows > INT32_MAX) return false;
    if (io::dib_block_size(h.biWidth, int(rows)) == 0) return false;

    const std::uint64_t table_entries = h.biClrUsed ? h.biClrUsed : (1u << h.biBitCount);
    out.block = block;
    out.width = h.biWidth;
    out.rows = int(rows);
    out.top_down = h.biHeight < 0;
    out.bit_count = h.biBitCount;
    out.colours = table_entries < 256 ? table_entries : 256;
    out.table_at = h.biSize;
    out.pixels_at = out.table_at + 4 * table_entries;
    out.row_bytes = (std::uint64_t(h.biWidth) * h.biBitCount + 31) / 32 * 4;
    return out.pixels_at <= size && out.row_bytes * out.rows <= size - out.pixels_at;
}

// Unpacks one stored row of 1, 2, 4 or 8 bits a pixel into bytes.
void unpack_row(const BYTE* in, int bit_count, int width, BYTE* out) {
    if (bit_count == 8) {
        std::memcpy(out, in, std::size_t(width));
        return;
    }
    const int per_byte = 8 / bit_count;
    const unsigned low_mask = (1u << bit_count) - 1;
    for (int x = 0; x < width; ++x) {
        // The leftmost pixel sits in the byte's high bits.
        const int shift = 8 - bit_count * (x % per_byte + 1);
        out[x] = BYTE((in[x / per_byte] >> shift) & low_mask);
    }
}

BITMAPINFOHEADER* dib_from_block(const PackedDib& p) {
    BITMAPINFOHEADER* dib = RaskoCreateDIB(p.width, p.rows);
    if (!dib) return nullptr;
    RGBQUAD* table = io::colour_table(dib);
    std::memset(table, 0, io::kPaletteBytes);
    std::memcpy(table, p.block + p.table_at, std::size_t(p.colours) * sizeof(RGBQUAD));
    BYTE* bits = io::bits_of(dib);
    const std::size_t stride = std::size_t(io::stride_of(p.width));
    // Stored rows keep their order from a bottom-up block; a top-down block
    // stores the top row first, which a bottom-up DIB stores last.
    for (int k = 0; k < p.rows; ++k) {
        const BYTE* in = p.block + p.pixels_at + std::uint64_t(k) * p.row_bytes;
        const int out_row = p.top_down ? p.rows - 1 - k : k;
        unpack_row(in, p.bit_count, p.width, bits + std::size_t(out_row) * stride);
    }
    return dib;
}

} // namespace

extern "C" BITMAPINFOHEADER* RaskoPasteDIB(HWND window) {
    if (!OpenClipboard(window)) return nullptr;
    BITMAPINFOHEADER* dib = nullptr;
    if (HANDLE data = GetClipboardData(CF_DIB)) {
        const std::uint64_t size = GlobalSize(data);
        if (const auto* block = static_cast<const BYTE*>(GlobalLock(data))) {
            PackedDib packed;
            if (parse(block, size, packed)) dib = dib_from_block(packed);
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return dib;
}
