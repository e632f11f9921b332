#include "app/files/native_file.h"
#include "app/files/file_message.h"
#include "app/files/native_records.h"
#include "app/files/run_length.h"
#include "platform/io/dib_layout.h"
#include "platform/io/safe_file.h"

#include <cstring>
#include <memory>
#include <new>

namespace {

using io::write_all;

constexpr std::size_t kPaletteSize = io::kPaletteBytes;
static_assert(std::size_t(kLayerNameSize) <= kLayerRecordNameBytes);

// Largest plane a layer may have: the engine's limit for one DIB block.
constexpr std::uint64_t kMaxPlaneBytes = io::kMaxBlockBytes - io::kHeaderAndPalette;

constexpr char kReadCaption[] = "Read Error";
constexpr char kCutShortText[] =
    "The file is cut short.\nThe missing part of the picture is left blank.";

NativeReadResult refuse(LPCSTR text, LPCSTR caption = kReadCaption) {
    return {NativeRead::Refused, text, caption};
}

int layer_count_of(const PictureDocument& doc) {
    int count = 0;
    for (LayerNode* node = doc.layers->next; node != doc.layers; node = node->next)
        ++count;
    return count;
}

bool write_layer(HANDLE file, const Layer& layer, std::size_t n, BYTE* pixel_code,
                 BYTE* mask_code) {
    const std::size_t pixel_length = encode_byte_runs(layer.image->bits, n, pixel_code);
    const std::size_t mask_length = encode_mask_nibbles(layer.mask->bits, n, mask_code);
    NativeLayerRecord record{};
    record.size = kLayerRecordBytes;
    record.flags = kRecordMaskPresent | kRecordMaskCompressed;
    if (layer.flags & kLayerVisible) record.flags |= kRecordVisible;
    if (layer.flags & kLayerUseMaskAsOpacity) record.flags |= kRecordUseMaskAsOpacity;
    if (pixel_length) record.flags |= kRecordPixelsCompressed;
    record.key_colour = std::uint32_t(layer.key_colour);
    record.opacity = layer.opacity;
    record.mask_length = std::uint32_t(mask_length);
    record.background_colour = std::uint32_t(layer.background_colour);
    record.pixel_length = std::uint32_t(pixel_length ? pixel_length : n);
    std::memcpy(record.name, layer.name, strnlen(layer.name, kLayerNameSize - 1));
    const auto bytes = encode_layer_record(record);
    return write_all(file, bytes.data(), bytes.size()) &&
           write_all(file, pixel_length ? pixel_code : layer.image->bits,
                     pixel_length ? pixel_length : n) &&
           write_all(file, mask_code, mask_length);
}

// What reading one plane came to: all of it, the file ended inside it, or
// a code that was all there but stopped short of the plane.
enum class PlaneRead { Whole, CutShort, Broken };

// Reads one coded plane of `length` bytes and decodes it into the n bytes of
// the plane. A code that the file cuts short is decoded as far as it goes.
template <typename Decode>
PlaneRead read_coded_plane(ByteSource& source, std::uint32_t length, BYTE* plane, std::size_t n,
                           Decode decode) {
    const bool cut = length > source.remaining();
    const std::size_t present = cut ? std::size_t(source.remaining()) : length;
    std::unique_ptr<BYTE[]> code(new (std::nothrow) BYTE[present ? present : 1]);
    if (!code) return PlaneRead::Broken;
    const std::size_t got = source.read(code.get(), present);
    const bool whole = decode(code.get(), got, plane, n) == n;
    if (cut || got < present) return PlaneRead::CutShort;
    return whole ? PlaneRead::Whole : PlaneRead::Broken;
}

PlaneRead read_raw_plane(ByteSource& source, BYTE* plane, std::size_t n) {
    return source.read(plane, n) == n ? PlaneRead::Whole : PlaneRead::CutShort;
}

// Whether the header can describe a picture: sizes of at least 1 whose plane
// the engine can allocate, and at least one layer. How many layers the file
// really holds shows as they are read; only those are made.
bool header_fits(std::int32_t width, std::int32_t height, std::uint32_t layer_count) {
    if (width < 1 || height < 1 || layer_count < 1) return false;
    const std::uint64_t n =
        ((std::uint64_t(width) + 3) & ~std::uint64_t(3)) * std::uint64_t(height);
    return n <= kMaxPlaneBytes;
}

// Reads the pixels and the mask plane of one layer record.
PlaneRead read_layer_planes(ByteSource& source, const NativeLayerRecord& record, Layer& layer,
                            std::size_t n) {
    PlaneRead read =
        record.flags & kRecordPixelsCompressed
            ? read_coded_plane(source, record.pixel_length, layer.image->bits, n, decode_byte_runs)
            : read_raw_plane(source, layer.image->bits, n);
    layer.image->copy_to(*layer.undo_copy);
    if (read == PlaneRead::Whole && (record.flags & kRecordMaskPresent))
        read = record.flags & kRecordMaskCompressed
                   ? read_coded_plane(source, record.mask_length, layer.mask->bits, n,
                                      decode_mask_nibbles)
                   : read_raw_plane(source, layer.mask->bits, n);
    layer.image->refresh_palette();
    return read;
}

void take_layer_settings(const NativeLayerRecord& record, Layer& layer, bool above_bottom) {
    layer.flags = (record.flags & kRecordVisible ? kLayerVisible : 0) |
                  (record.flags & kRecordUseMaskAsOpacity ? kLayerUseMaskAsOpacity : 0);
    if (above_bottom) layer.flags |= kLayerDeletable | kLayerTranslucent;
    layer.opacity = (record.opacity % 17 + 17) % 17;
    // Colour indexes count by their low byte everywhere; keeping only that
    // byte holds the fields to their 0..255 range.
    layer.key_colour = std::int32_t(record.key_colour & 0xFF);
    layer.background_colour = std::int32_t(record.background_colour & 0xFF);
    std::memset(layer.name, 0, sizeof layer.name);
    std::memcpy(layer.name, record.name, strnlen(record.name, kLayerNameSize - 1));
}

} // namespace

int write_native_file(HANDLE file, const PictureDocument& doc) {
    const Layer* bottom = bottom_layer(doc);
    const Layer* current = current_layer(doc);
    if (!bottom || !current) return 0;
    NativeHeader header{};
    std::memcpy(header.text, kNativeText, sizeof kNativeText - 1);
    header.version = kNativeVersion;
    header.flags = kNativeHasPalette;
    header.width = std::int32_t(bottom->image->info->biWidth);
    header.height = std::int32_t(bottom->image->info->biHeight);
    header.layer_count = std::uint32_t(layer_count_of(doc));
    const auto header_bytes = encode_native_header(header);
    if (!write_all(file, header_bytes.data(), header_bytes.size()) ||
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

int read_native_file(HANDLE file, LPCSTR path, PictureDocument& doc) {
    FileSource source(file);
    const NativeReadResult result = read_native_picture(source, doc);
    if (result.text)
        show_file_message(result.text, result.caption, path, MB_OK | MB_ICONEXCLAMATION);
    return result.outcome == NativeRead::Refused ? 0 : 1;
}

NativeReadResult read_native_picture(ByteSource& source, PictureDocument& doc) {
    BYTE header_bytes[kNativeHeaderBytes];
    if (source.read(header_bytes, sizeof header_bytes) != sizeof header_bytes)
        return refuse("Error");
    const NativeHeader header = decode_native_header(header_bytes);
    if (std::memcmp(header.text, kNativeText, kNativeSignatureBytes) != 0)
        return refuse("It's no for Velmo");
    // A newer file may lay out what follows differently, so nothing more of
    // it is judged.
    if (header.version > kNativeVersion)
        return refuse("You need latest version of Velmo", "Version Error");
    const bool has_palette = header.flags & kNativeHasPalette;
    const std::uint32_t layer_count = header.layer_count;
    if (!header_fits(header.width, header.height, layer_count) ||
        !create_bottom_layer(doc, header.width, header.height))
        return refuse("Unable to Create Image");

    Layer* bottom = bottom_layer(doc);
    RGBQUAD palette[256];
    bool cut = false;
    if (has_palette) {
        // A palette the file cuts short keeps the creation colours after
        // the entries it holds.
        std::memcpy(palette, bottom->image->colour_table(), kPaletteSize);
        cut = source.read(palette, kPaletteSize) != kPaletteSize;
        bottom->image->set_palette(palette);
    }
    const std::size_t n = bottom->image->pixel_bytes();
    for (std::uint32_t i = 0; i < layer_count && !cut; ++i) {
        BYTE record_bytes[kLayerRecordBytes];
        if (source.read(record_bytes, sizeof record_bytes) != sizeof record_bytes) break;
        const NativeLayerRecord record = decode_layer_record(record_bytes);
        if (record.size < kLayerRecordBytes) return refuse("Unable to Create Image");
        cut = !source.skip(record.size - kLayerRecordBytes);

        Layer* layer = bottom;
        if (i > 0) {
            doc.flags |= kDocModified;
            layer = add_layer_above(doc);
            if (!layer) return refuse("Unable to Create Image");
            if (has_palette) layer->image->set_palette(palette);
        }
        take_layer_settings(record, *layer, i > 0);
        if (cut) break;
        const PlaneRead read = read_layer_planes(source, record, *layer, n);
        if (read == PlaneRead::Broken) return refuse("Error");
        cut = read == PlaneRead::CutShort;
    }
    cut = cut || layer_count > std::uint32_t(doc.layer_count);
    update_palette(doc);
    doc.flags &= ~kDocModified;
    if (cut) return {NativeRead::CutShort, kCutShortText, kReadCaption};
    return {NativeRead::Complete, nullptr, nullptr};
}
