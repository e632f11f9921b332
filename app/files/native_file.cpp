#include "app/files/native_file.h"
#include "app/files/little_endian.h"
#include "app/files/run_length.h"
#include "app/files/safe_write.h"

#include <cstring>
#include <memory>
#include <new>

namespace {

constexpr std::size_t kFileHeaderSize = 160;
constexpr std::size_t kLayerHeaderSize = 96;
constexpr std::size_t kPaletteSize = 1024;
constexpr char kText[] = "VLX\n Velmo image file.\n\n";
constexpr std::uint32_t kVersion = 0x2000;
constexpr std::uint32_t kHasPalette = 0x1;

// Layer record flags.
constexpr std::uint32_t kMaskPresent = 0x01;
constexpr std::uint32_t kMaskCompressed = 0x10;
constexpr std::uint32_t kPixelsCompressed = 0x20;
constexpr std::uint32_t kRecordVisible = 0x10000;
constexpr std::uint32_t kRecordUseMaskAsOpacity = 0x20000;

// Largest plane a layer may have: the engine's limit for one DIB block.
constexpr std::uint64_t kMaxPlaneBytes = 0x7FFF0000u - 1064;

// Owned by the window the user works in, so that it cannot open behind it.
int refuse(const char* text, const char* caption = "Read Error") {
    MessageBoxA(GetActiveWindow(), text, caption, MB_OK);
    return 0;
}

int layer_count_of(const PictureDocument& doc) {
    int count = 0;
    for (LayerNode* node = doc.layers->next; node != doc.layers; node = node->next) ++count;
    return count;
}

bool write_layer(HANDLE file, const Layer& layer, std::size_t n, BYTE* pixel_code,
                 BYTE* mask_code) {
    const std::size_t pixel_length = encode_byte_runs(layer.image->bits, n, pixel_code);
    const std::size_t mask_length = encode_mask_nibbles(layer.mask->bits, n, mask_code);
    std::uint32_t flags = kMaskPresent | kMaskCompressed;
    if (layer.flags & kLayerVisible) flags |= kRecordVisible;
    if (layer.flags & kLayerUseMaskAsOpacity) flags |= kRecordUseMaskAsOpacity;
    if (pixel_length) flags |= kPixelsCompressed;

    BYTE header[kLayerHeaderSize] = {};
    put32(header, kLayerHeaderSize);
    put32(header + 4, flags);
    put32(header + 8, std::uint32_t(layer.key_colour));
    put32(header + 12, std::uint32_t(layer.opacity));
    put32(header + 16, std::uint32_t(mask_length));
    put32(header + 20, std::uint32_t(layer.background_colour));
    put32(header + 24, std::uint32_t(pixel_length ? pixel_length : n));
    std::memcpy(header + 32, layer.name, strnlen(layer.name, kLayerNameSize - 1));
    return write_all(file, header, sizeof header) &&
           write_all(file, pixel_length ? pixel_code : layer.image->bits,
                     pixel_length ? pixel_length : n) &&
           write_all(file, mask_code, mask_length);
}

// Reads one coded plane of `length` bytes and decodes all n bytes of it.
// False when the file ends first or the code stops short of the plane.
template <typename Decode>
bool read_coded_plane(ByteSource& source, std::uint32_t length, BYTE* plane, std::size_t n,
                      Decode decode) {
    if (length > source.remaining()) return false;
    std::unique_ptr<BYTE[]> code(new (std::nothrow) BYTE[length ? length : 1]);
    if (!code || source.read(code.get(), length) != length) return false;
    return decode(code.get(), length, plane, n) == n;
}

bool read_raw_plane(ByteSource& source, BYTE* plane, std::size_t n) {
    return source.read(plane, n) == n;
}

// Whether the header can describe a picture that this file holds: sizes of
// at least 1 whose plane the engine can allocate, at least one layer, and
// room left for every layer's header and the shortest code of its pixel
// plane (three bytes for each run of 255), so that no plane is made for
// bytes that are not there.
bool header_fits(std::int32_t width, std::int32_t height, std::uint32_t layer_count,
                 bool has_palette, std::uint64_t remaining) {
    if (width < 1 || height < 1 || layer_count < 1) return false;
    const std::uint64_t n = ((std::uint64_t(width) + 3) & ~std::uint64_t(3)) * std::uint64_t(height);
    if (n > kMaxPlaneBytes) return false;
    const std::uint64_t per_layer = kLayerHeaderSize + (n + 84) / 85;
    const std::uint64_t palette = has_palette ? kPaletteSize : 0;
    return palette <= remaining && layer_count <= (remaining - palette) / per_layer;
}

} // namespace

int write_native_file(HANDLE file, const PictureDocument& doc) {
    const Layer* bottom = bottom_layer(doc);
    const Layer* current = current_layer(doc);
    if (!bottom || !current) return 0;
    BYTE header[kFileHeaderSize] = {};
    std::memcpy(header, kText, sizeof kText - 1);
    put32(header + 128, kVersion);
    put32(header + 132, kHasPalette);
    put32(header + 136, std::uint32_t(bottom->image->info->biWidth));
    put32(header + 140, std::uint32_t(bottom->image->info->biHeight));
    put32(header + 144, std::uint32_t(layer_count_of(doc)));
    if (!write_all(file, header, sizeof header) ||
        !write_all(file, current->image->colour_table(), kPaletteSize))
        return 0;

    const std::size_t n = bottom->image->pixel_bytes();
    std::unique_ptr<BYTE[]> pixel_code(new (std::nothrow) BYTE[n]);
    std::unique_ptr<BYTE[]> mask_code(new (std::nothrow) BYTE[mask_code_capacity(n)]);
    if (!pixel_code || !mask_code) return 0;
    for (LayerNode* node = doc.layers->next; node != doc.layers; node = node->next)
        if (!write_layer(file, *node->layer, n, pixel_code.get(), mask_code.get())) return 0;
    return 1;
}

int read_native_file(HANDLE file, PictureDocument& doc) {
    FileSource source(file);
    return read_native_file(source, doc);
}

int read_native_file(ByteSource& source, PictureDocument& doc) {
    BYTE header[kFileHeaderSize];
    if (source.read(header, sizeof header) != sizeof header) return refuse("Error");
    if (header[0] != 'V' || header[1] != 'L' || header[2] != 'X') return refuse("It's no for Velmo");
    const std::uint32_t version = get32(header + 128);
    const bool has_palette = get32(header + 132) & kHasPalette;
    const auto width = std::int32_t(get32(header + 136));
    const auto height = std::int32_t(get32(header + 140));
    const std::uint32_t layer_count = get32(header + 144);
    if (!header_fits(width, height, layer_count, has_palette, source.remaining()) ||
        !create_bottom_layer(doc, width, height))
        return refuse("Unable to Create Image");
    if (version > kVersion) return refuse("You need latest version of Velmo", "Version Error");

    Layer* bottom = bottom_layer(doc);
    RGBQUAD palette[256];
    if (has_palette) {
        if (source.read(palette, kPaletteSize) != kPaletteSize) return refuse("Error");
        bottom->image->set_palette(palette);
    }
    const std::size_t n = bottom->image->pixel_bytes();
    for (std::uint32_t i = 0; i < layer_count; ++i) {
        BYTE record[kLayerHeaderSize];
        if (source.read(record, sizeof record) != sizeof record) return refuse("Error");
        const std::uint32_t size = get32(record);
        if (size < kLayerHeaderSize) return refuse("Unable to Create Image");
        if (!source.skip(size - kLayerHeaderSize)) return refuse("Error");

        Layer* layer = bottom;
        if (i > 0) {
            doc.flags |= kDocModified;
            layer = add_layer_above(doc);
            if (!layer) return refuse("Unable to Create Image");
        }
        const std::uint32_t flags = get32(record + 4);
        layer->flags = (flags & kRecordVisible ? kLayerVisible : 0) |
                       (flags & kRecordUseMaskAsOpacity ? kLayerUseMaskAsOpacity : 0);
        if (i > 0) {
            layer->flags |= kLayerDeletable | kLayerTranslucent;
            if (has_palette) layer->image->set_palette(palette);
        }
        layer->opacity = (std::int32_t(get32(record + 12)) % 17 + 17) % 17;
        // Colour indexes count by their low byte everywhere; keeping only
        // that byte holds the fields to their 0..255 range.
        layer->key_colour = std::int32_t(get32(record + 8) & 0xFF);
        layer->background_colour = std::int32_t(get32(record + 20) & 0xFF);
        std::memset(layer->name, 0, sizeof layer->name);
        std::memcpy(layer->name, record + 32, strnlen(reinterpret_cast<const char*>(record + 32), kLayerNameSize - 1));

        const bool pixels_read =
            flags & kPixelsCompressed
                ? read_coded_plane(source, get32(record + 24), layer->image->bits, n, decode_byte_runs)
                : read_raw_plane(source, layer->image->bits, n);
        if (!pixels_read) return refuse("Error");
        layer->image->copy_to(*layer->undo_copy);
        if (flags & kMaskPresent) {
            const bool mask_read =
                flags & kMaskCompressed
                    ? read_coded_plane(source, get32(record + 16), layer->mask->bits, n, decode_mask_nibbles)
                    : read_raw_plane(source, layer->mask->bits, n);
            if (!mask_read) return refuse("Error");
        }
        layer->image->refresh_palette();
    }
    update_palette(doc);
    doc.flags &= ~kDocModified;
    return 1;
}
