// BMP files: a reader for 1-, 2-, 4- and 8-bit bitmaps (uncompressed, RLE8,
// RLE4; OS/2 and every Windows header) and the 8-bit and 4-bit writers.
#include "engine/codecs.h"
#include "platform/io/dib_layout.h"
#include "platform/io/little_endian.h"
#include "platform/io/safe_file.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace {

using rasko::BmpSource;
using rasko::Input;
using rasko::Output;

constexpr char kReadCaption[] = "Read Error";
constexpr char kAllocateCaption[] = "Allocate Error";

using io::get16;
using io::get32;

// The refusal belongs to the window the user is working in: without an owner
// the box can open behind it, where the program only looks frozen.
BITMAPINFOHEADER* refuse(LPCSTR text, LPCSTR caption = kReadCaption) {
    MessageBoxA(GetActiveWindow(), text, caption, MB_ICONEXCLAMATION);
    return nullptr;
}

// What the headers say, already checked for sense.
struct BmpLayout {
    int width = 0;
    int rows = 0;
    bool top_down = false;
    unsigned bits = 0;
    unsigned compression = BI_RGB;
    unsigned colours = 0;     // entries to read, clamped to 2^bits
    unsigned entry_bytes = 4; // 3 in OS/2 1.x colour tables
    std::uint64_t palette_at = 0;
    std::uint64_t pixels_at = 0;
};

// Parses the info header of any size (12-byte OS/2 1.x, 16 to 64-byte OS/2
// 2.x, 40, 52, 56, 108 and 124-byte Windows headers, and longer ones whose
// first 40 bytes are the usual fields). Returns the refusal text, or null.
LPCSTR parse_headers(Input& in, BmpSource source, BmpLayout& layout) {
    std::uint64_t base = 0;
    std::uint64_t off_bits = 0;
    if (source == BmpSource::File) {
        BYTE file_header[14];
        if (!in.seek(0) || in.read(file_header, 14) < 14) return "Open Error";
        if (file_header[0] != 'B' || file_header[1] != 'M') return "It's not Bitmap";
        off_bits = get32(file_header + 10);
        base = 14;
    }
    BYTE h[64] = {};
    if (in.read(h, 4) < 4) return "Read Error";
    const std::uint32_t size = get32(h);
    if (size < 12 || (size > 12 && size < 16)) return "Read Error";
    const std::size_t wanted = std::min<std::uint32_t>(size, 40) - 4;
    if (in.read(h + 4, wanted) < wanted) return "Read Error";

    std::int64_t width, height;
    std::uint32_t colours_used = 0;
    if (size == 12) {
        width = get16(h + 4);
        height = get16(h + 6);
        layout.bits = get16(h + 10);
        layout.entry_bytes = 3;
    } else {
        width = std::int32_t(get32(h + 4));
        height = std::int32_t(get32(h + 8));
        layout.bits = get16(h + 14);
        layout.compression = get32(h + 16);
        colours_used = get32(h + 32);
    }
    if (layout.bits > 8) return "Can't read over 8bit color";
    if (layout.bits != 1 && layout.bits != 2 && layout.bits != 4 && layout.bits != 8)
        return "Read Error";
    const bool rle8 = layout.compression == BI_RLE8 && layout.bits == 8;
    const bool rle4 = layout.compression == BI_RLE4 && layout.bits == 4;
    if (layout.compression != BI_RGB && !rle8 && !rle4) return "Read Error";
    if (width < 1 || height == 0 || height < -std::int64_t(INT_MAX)) return "Read Error";
    layout.width = int(width);
    layout.top_down = height < 0;
    layout.rows = int(height < 0 ? -height : height);

    const unsigned most = 1u << layout.bits;
    const std::uint64_t declared = colours_used == 0 ? most : colours_used;
    layout.colours = unsigned(std::min<std::uint64_t>(declared, most));
    layout.palette_at = base + size;
    // Entries beyond the depth are not read but still take their room.
    const std::uint64_t after_palette = layout.palette_at + declared * layout.entry_bytes;
    // bfOffBits decides where the rows are; one that points into the headers
    // or past the end is damaged, and the rows are looked for after the table.
    if (source == BmpSource::File && off_bits >= layout.palette_at && off_bits < in.size()) {
        layout.pixels_at = off_bits;
        const std::uint64_t room = (off_bits - layout.palette_at) / layout.entry_bytes;
        layout.colours = unsigned(std::min<std::uint64_t>(layout.colours, room));
    } else {
        layout.pixels_at = after_palette;
    }
    return nullptr;
}

void read_colour_table(Input& in, const BmpLayout& layout, RGBQUAD* table) {
    BYTE raw[256 * 4] = {};
    if (!in.seek(layout.palette_at)) return;
    const std::size_t got = in.read(raw, std::size_t(layout.colours) * layout.entry_bytes);
    const std::size_t entries = got / layout.entry_bytes;
    for (std::size_t i = 0; i < entries; ++i) {
        const BYTE* e = raw + i * layout.entry_bytes;
        table[i] = RGBQUAD{e[0], e[1], e[2], 0};
    }
}

// Row y of the file (0 = first stored) in the DIB, which is always bottom-up.
BYTE* dib_row(BYTE* bits, const BmpLayout& layout, std::int64_t y) {
    const std::int64_t row = layout.top_down ? layout.rows - 1 - y : y;
    return bits + row * std::int64_t(io::stride_of(layout.width));
}

void unpack_row(const BYTE* in, BYTE* out, int width, unsigned bits) {
    switch (bits) {
    case 4:
        for (int x = 0; x < width; ++x)
            out[x] = x & 1 ? in[x >> 1] & 15 : in[x >> 1] >> 4;
        break;
    case 2:
        for (int x = 0; x < width; ++x)
            out[x] = (in[x >> 2] >> (6 - 2 * (x & 3))) & 3;
        break;
    default:
        for (int x = 0; x < width; ++x)
            out[x] = (in[x >> 3] >> (7 - (x & 7))) & 1;
        break;
    }
}

// Uncompressed rows, written whole with their pads since the DIB comes
// unzeroed; a file that ends early leaves the missing pixels 0.
bool read_rows(Input& in, const BmpLayout& layout, BYTE* bits) {
    const std::size_t stride = std::size_t(io::stride_of(layout.width));
    const std::size_t row_bytes = ((std::size_t(layout.width) * layout.bits + 31) / 32) * 4;
    if (layout.bits == 8 && !layout.top_down) {
        const std::size_t size = row_bytes * std::size_t(layout.rows);
        const std::size_t got = in.read(bits, size);
        std::memset(bits + got, 0, size - got);
        return true;
    }
    BYTE* row = static_cast<BYTE*>(GlobalAlloc(GMEM_FIXED, row_bytes));
    if (!row) return false;
    int y = 0;
    while (y < layout.rows) {
        const std::size_t got = in.read(row, row_bytes);
        if (got == 0) break;
        std::memset(row + got, 0, row_bytes - got);
        BYTE* out = dib_row(bits, layout, y++);
        if (layout.bits == 8)
            std::memcpy(out, row, std::size_t(layout.width));
        else
            unpack_row(row, out, layout.width, layout.bits);
        std::memset(out + layout.width, 0, stride - std::size_t(layout.width));
        if (got < row_bytes) break;
    }
    for (; y < layout.rows; ++y)
        std::memset(dib_row(bits, layout, y), 0, stride);
    GlobalFree(row);
    return true;
}

// Writes run-length output into the unzeroed DIB. The data only moves
// forward (along a row, then to later rows), so whatever runs, deltas and
// line ends pass over, each row's pad and everything after the data's end
// are zeroed as the writing passes them, and every byte is written once.
class RleRows {
  public:
    RleRows(const BmpLayout& layout, BYTE* bits)
        : layout_(layout), bits_(bits), stride_(std::size_t(io::stride_of(layout.width))) {}

    // `count` pixels of `value` from column x of row y, all inside the row.
    void fill(std::int64_t x, std::int64_t y, BYTE value, std::size_t count) {
        reach(x, y);
        std::memset(dib_row(bits_, layout_, y) + x, value, count);
        done_ += count;
    }
    // Zeroes what the data did not reach.
    void finish() { reach(0, layout_.rows); }

  private:
    // Zeroes from the first byte not yet written up to column x of row y.
    void reach(std::int64_t x, std::int64_t y) {
        for (; row_ < y; ++row_, done_ = 0)
            std::memset(dib_row(bits_, layout_, row_) + done_, 0, stride_ - done_);
        if (row_ < layout_.rows && done_ < std::size_t(x)) {
            std::memset(dib_row(bits_, layout_, row_) + done_, 0, std::size_t(x) - done_);
            done_ = std::size_t(x);
        }
    }

    const BmpLayout& layout_;
    BYTE* const bits_;
    const std::size_t stride_;
    std::int64_t row_ = 0;
    std::size_t done_ = 0;
};

// Run-length rows. Pixels that runs, deltas or line ends pass over are 0;
// pixels beyond the row are dropped, and the data ends at the end-of-bitmap
// escape, the last row or the end of the file.
void read_rle_data(Input& in, const BmpLayout& layout, RleRows& out) {
    const bool four = layout.bits == 4;
    std::int64_t x = 0, y = 0;
    auto put = [&](int value) {
        if (x < layout.width) out.fill(x, y, BYTE(value), 1);
        ++x;
    };
    while (y < layout.rows) {
        const int count = in.byte();
        const int value = in.byte();
        if (value < 0) return;
        if (count > 0) {
            if (!four && x < layout.width) {
                const std::int64_t n = std::min<std::int64_t>(count, layout.width - x);
                out.fill(x, y, BYTE(value), std::size_t(n));
                x += count;
            } else {
                for (int i = 0; i < count; ++i)
                    put(four ? (i & 1 ? value & 15 : value >> 4) : value);
            }
            continue;
        }
        switch (value) {
        case 0:
            x = 0;
            ++y;
            break;
        case 1:
            return;
        case 2: {
            const int dx = in.byte();
            const int dy = in.byte();
            if (dy < 0) return;
            x += dx;
            y += dy;
            break;
        }
        default: {
            const int data_bytes = four ? (value + 1) / 2 : value;
            for (int i = 0; i < data_bytes; ++i) {
                const int b = in.byte();
                if (b < 0) return;
                if (!four) {
                    put(b);
                } else {
                    put(b >> 4);
                    if (2 * i + 1 < value) put(b & 15);
                }
            }
            if (data_bytes & 1) in.byte();
            break;
        }
        }
    }
}

void read_rle(Input& in, const BmpLayout& layout, BYTE* bits) {
    RleRows out(layout, bits);
    read_rle_data(in, layout, out);
    out.finish();
}

} // namespace

namespace rasko {

BITMAPINFOHEADER* read_bmp(Input& in, BmpSource source, LPCSTR allocate_caption) {
    BmpLayout layout;
    if (LPCSTR refusal = parse_headers(in, source, layout)) return refuse(refusal);

    const std::uint64_t pixels = std::uint64_t(layout.width) * std::uint64_t(layout.rows);
    const std::uint64_t present = in.size() > layout.pixels_at ? in.size() - layout.pixels_at : 0;
    if (!plausible_pixel_count(pixels, present)) return refuse("Read Error");
    BITMAPINFOHEADER* dib = io::dib_block_size(layout.width, layout.rows)
                                ? rasko::create_dib_to_overwrite(layout.width, layout.rows)
                                : nullptr;
    if (!dib) return refuse("Create Error", allocate_caption);

    RGBQUAD* table = io::colour_table(dib);
    std::memset(table, 0, io::kPaletteBytes);
    read_colour_table(in, layout, table);
    BYTE* bits = io::bits_of(dib);
    if (in.seek(layout.pixels_at)) {
        if (layout.compression == BI_RGB) {
            if (!read_rows(in, layout, bits)) {
                RaskoDestroyDIB(dib);
                return refuse("Create Error", allocate_caption);
            }
        } else {
            read_rle(in, layout, bits);
        }
    } else {
        std::memset(bits, 0, std::size_t(io::stride_of(layout.width)) * std::size_t(layout.rows));
    }
    return dib;
}

bool write_bmp8(Output& out, const BITMAPINFOHEADER* header, const BYTE* bits) {
    if (!header || !bits || header->biWidth < 1 || header->biHeight == 0) return false;
    const std::uint64_t rows =
        header->biHeight < 0 ? -std::int64_t(header->biHeight) : header->biHeight;
    const std::uint64_t pixel_bytes = std::uint64_t(io::stride_of(header->biWidth)) * rows;
    if (pixel_bytes > io::kMaxBlockBytes) return false;
    out.word(0x4D42);
    const std::uint32_t offset = 14 + 40 + io::kPaletteBytes;
    const std::uint32_t total = offset + std::uint32_t(pixel_bytes);
    out.word(total & 0xFFFF);
    out.word(total >> 16);
    out.word(0);
    out.word(0);
    out.word(offset & 0xFFFF);
    out.word(offset >> 16);
    BITMAPINFOHEADER info = *header;
    info.biSize = 40;
    out.write(&info, 40);
    out.write(io::colour_table(header), io::kPaletteBytes);
    out.write(bits, std::size_t(pixel_bytes));
    return out.finish();
}

bool write_bmp4(Output& out, const BITMAPINFOHEADER* header, const BYTE* bits) {
    if (!header || !bits || header->biWidth < 1 || header->biHeight == 0) return false;
    const int width = header->biWidth;
    const std::uint64_t rows =
        header->biHeight < 0 ? -std::int64_t(header->biHeight) : header->biHeight;
    const std::uint64_t row_bytes = (std::uint64_t(width) + 7) / 8 * 4;
    if (row_bytes * rows > io::kMaxBlockBytes) return false;

    // Every colour maps to the nearest of the first sixteen (sum of the
    // absolute channel differences; the lower index wins a tie).
    const RGBQUAD* table = io::colour_table(header);
    BYTE map[256];
    for (int i = 0; i < 256; ++i) {
        if (i < 16) {
            map[i] = BYTE(i);
            continue;
        }
        int best = 0, best_distance = INT_MAX;
        for (int j = 0; j < 16; ++j) {
            const int d = std::abs(table[i].rgbRed - table[j].rgbRed) +
                          std::abs(table[i].rgbGreen - table[j].rgbGreen) +
                          std::abs(table[i].rgbBlue - table[j].rgbBlue);
            if (d < best_distance) {
                best = j;
                best_distance = d;
            }
        }
        map[i] = BYTE(best);
    }

    out.word(0x4D42);
    const std::uint32_t offset = 14 + 40 + 16 * 4;
    const std::uint32_t total = offset + std::uint32_t(row_bytes * rows);
    out.word(total & 0xFFFF);
    out.word(total >> 16);
    out.word(0);
    out.word(0);
    out.word(offset & 0xFFFF);
    out.word(offset >> 16);
    BITMAPINFOHEADER info = *header;
    info.biSize = 40;
    info.biBitCount = 4;
    info.biClrUsed = 16;
    out.write(&info, 40);
    out.write(table, 16 * sizeof(RGBQUAD));

    // Rows keep their storage order; the pad bytes of each row are zero.
    const std::size_t stride = std::size_t(io::stride_of(width));
    BYTE packed[4096];
    for (std::uint64_t y = 0; y < rows; ++y) {
        const BYTE* in = bits + y * stride;
        for (std::uint64_t first = 0; first < row_bytes; first += sizeof packed) {
            const std::size_t chunk =
                std::size_t(std::min<std::uint64_t>(sizeof packed, row_bytes - first));
            for (std::size_t k = 0; k < chunk; ++k) {
                const std::uint64_t x = 2 * (first + k);
                const BYTE high = x < std::uint64_t(width) ? map[in[x]] : 0;
                const BYTE low = x + 1 < std::uint64_t(width) ? map[in[x + 1]] : 0;
                packed[k] = BYTE(high << 4 | low);
            }
            out.write(packed, chunk);
        }
    }
    return out.finish();
}

} // namespace rasko

namespace {

struct BmpSave {
    const BITMAPINFOHEADER* header;
    const BYTE* bits;
    bool (*writer)(Output&, const BITMAPINFOHEADER*, const BYTE*);
};

int save_bmp_file(LPCSTR name, const BmpSave& job) {
    return io::write_replacing(name,
                               [&](HANDLE file) {
                                   Output out(file);
                                   return job.writer(out, job.header, job.bits);
                               })
               ? 1
               : 0;
}

} // namespace

extern "C" BITMAPINFOHEADER* RaskoOpenDIBfromHandle(HANDLE file) {
    Input in(file);
    return rasko::read_bmp(in, BmpSource::File, kAllocateCaption);
}

extern "C" BITMAPINFOHEADER* RaskoOpenDIB(HINSTANCE instance, LPCSTR name) {
    if (!name) return nullptr;
    // "picture" means picture.bmp; a name counts as having an extension when
    // its fourth-last character is a full stop.
    const std::size_t length = std::strlen(name);
    const bool has_extension = length >= 5 && name[length - 4] == '.';
    char* path = static_cast<char*>(GlobalAlloc(GMEM_FIXED, length + 5));
    if (!path) return nullptr;
    std::memcpy(path, name, length + 1);
    if (!has_extension) std::memcpy(path + length, ".bmp", 5);
    HANDLE file = rasko::open_for_reading(path);
    GlobalFree(path);
    if (file != INVALID_HANDLE_VALUE) {
        BITMAPINFOHEADER* dib = RaskoOpenDIBfromHandle(file);
        CloseHandle(file);
        return dib;
    }
    // A bitmap resource is a packed DIB; it goes through the same reader, so
    // a resource of another depth or header size is converted or refused
    // like a file instead of being copied blindly.
    HRSRC resource = FindResourceA(instance, name, RT_BITMAP);
    const BYTE* data = nullptr;
    DWORD size = 0;
    if (resource) {
        data = static_cast<const BYTE*>(LockResource(LoadResource(instance, resource)));
        size = SizeofResource(instance, resource);
    }
    if (!data) return refuse("リソースがないよ", "DIB open error");
    Input in(data, size);
    return rasko::read_bmp(in, BmpSource::PackedDib, "DIB Open Error");
}

extern "C" int RaskoSaveDIBHandle(HANDLE file, const BITMAPINFOHEADER* header, const BYTE* bits) {
    Output out(file);
    return rasko::write_bmp8(out, header, bits) ? 1 : 0;
}

extern "C" int RaskoSaveDIBHandle4bit(HANDLE file, const BITMAPINFOHEADER* header,
                                      const BYTE* bits) {
    Output out(file);
    return rasko::write_bmp4(out, header, bits) ? 1 : 0;
}

extern "C" int RaskoSaveDIB(LPCSTR name, const BITMAPINFOHEADER* header, const BYTE* bits) {
    BmpSave job{header, bits, rasko::write_bmp8};
    return save_bmp_file(name, job);
}

extern "C" int RaskoSaveDIB4bit(LPCSTR name, const BITMAPINFOHEADER* header, const BYTE* bits) {
    BmpSave job{header, bits, rasko::write_bmp4};
    return save_bmp_file(name, job);
}
