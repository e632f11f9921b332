#include "app/files/palette_file.h"
#include "platform/io/dib_layout.h"
#include "platform/io/little_endian.h"
#include "platform/io/safe_file.h"

#include <cstring>

namespace {

using io::get32;
using io::put32;
using io::SafeWriter;

constexpr std::size_t kHeaderSize = 144;
constexpr std::size_t kPenBlock = 32 * 32;
constexpr char kPaletteText[] = "PF\n Velmo ver.2.00 for Windows95\n 256 color Palette file\n";
constexpr char kPenText[] = "PN\n Velmo ver.2.00 for Windows95\nPen palette file.\n";

void make_header(BYTE* header, const char* text, std::size_t text_size, std::uint32_t count) {
    std::memset(header, 0, kHeaderSize);
    std::memcpy(header, text, text_size);
    put32(header + 128, 256);
    put32(header + 136, count);
}

bool is_pen_slot(const Surface* slot) {
    return slot && slot->info && slot->bits && slot->width() == 32 && slot->height() == 32;
}

} // namespace

int write_palette_file(const char* path, const RGBQUAD* palette) {
    BYTE header[kHeaderSize];
    make_header(header, kPaletteText, sizeof kPaletteText - 1, 256);
    SafeWriter writer(path);
    if (!writer.open() || !writer.write(header, sizeof header) ||
        !writer.write(palette, io::kPaletteBytes))
        return 0;
    return writer.commit() ? 1 : 0;
}

int read_palette_file(const char* path, RGBQUAD* destination) {
    ReadOnlyFile file(path);
    if (!file.is_open()) return 0;
    FileSource source(file.handle());
    return read_palette_file(source, destination);
}

int read_palette_file(ByteSource& source, RGBQUAD* destination) {
    BYTE header[kHeaderSize];
    if (source.read(header, sizeof header) != sizeof header) {
        MessageBoxA(nullptr, "Error", "Read Error", MB_ICONEXCLAMATION);
        return 0;
    }
    if (header[0] != 'P' || header[1] != 'F') {
        MessageBoxA(nullptr, "It's not for Velmo", "Read Error", MB_ICONEXCLAMATION);
        return 0;
    }
    const std::uint32_t count = get32(header + 136);
    const std::size_t entries = count > 256 ? 256 : count;
    // Whole entries only: a file cut inside an entry leaves that entry as
    // it was rather than half overwritten.
    RGBQUAD read[256];
    const std::size_t got = source.read(read, entries * sizeof(RGBQUAD)) / sizeof(RGBQUAD);
    std::memcpy(destination, read, got * sizeof(RGBQUAD));
    return 1;
}

int write_pen_file(const char* path, Surface* const* slots, int count) {
    if (count < 0) return 0;
    for (int i = 0; i < count; ++i)
        if (!is_pen_slot(slots[i])) return 0;
    BYTE header[kHeaderSize];
    make_header(header, kPenText, sizeof kPenText - 1, std::uint32_t(count));
    SafeWriter writer(path);
    if (!writer.open() || !writer.write(header, sizeof header)) return 0;
    for (int i = 0; i < count; ++i)
        if (!writer.write(slots[i]->bits, kPenBlock)) return 0;
    return writer.commit() ? 1 : 0;
}

int read_pen_file(const char* path, Surface* const* slots, int capacity) {
    ReadOnlyFile file(path);
    if (!file.is_open()) return 0;
    FileSource source(file.handle());
    return read_pen_file(source, slots, capacity);
}

int read_pen_file(ByteSource& source, Surface* const* slots, int capacity) {
    BYTE header[kHeaderSize];
    if (source.read(header, sizeof header) != sizeof header) return 0;
    if (header[0] != 'P' || header[1] != 'N') return 0;
    const std::uint32_t count = get32(header + 136);
    const std::uint32_t n = capacity < 0                      ? 0
                            : count < std::uint32_t(capacity) ? count
                                                              : std::uint32_t(capacity);
    for (std::uint32_t i = 0; i < n; ++i) {
        // Only true 32 x 32 slots take a block; a file cut short fills what
        // it holds of the last block.
        if (!is_pen_slot(slots[i])) {
            if (!source.skip(kPenBlock)) break;
            continue;
        }
        if (source.read(slots[i]->bits, kPenBlock) != kPenBlock) break;
    }
    return 1;
}

int load_default_palette(RGBQUAD* colour_table) {
    char path[MAX_PATH * 4];
    const DWORD length = SearchPathA(nullptr, "default.vlf", nullptr, sizeof path, path, nullptr);
    if (length == 0 || length >= sizeof path) return 0;
    return read_palette_file(path, colour_table);
}
