#include "app/files/native_records.h"

#include "platform/io/little_endian.h"

#include <cstring>

namespace {

// Where each field lies in its record.
constexpr std::size_t kVersionAt = 128;
constexpr std::size_t kFlagsAt = 132;
constexpr std::size_t kWidthAt = 136;
constexpr std::size_t kHeightAt = 140;
constexpr std::size_t kLayerCountAt = 144;
constexpr std::size_t kHeaderSpareAt = 148;

constexpr std::size_t kRecordSizeAt = 0;
constexpr std::size_t kRecordFlagsAt = 4;
constexpr std::size_t kKeyColourAt = 8;
constexpr std::size_t kOpacityAt = 12;
constexpr std::size_t kMaskLengthAt = 16;
constexpr std::size_t kBackgroundColourAt = 20;
constexpr std::size_t kPixelLengthAt = 24;
constexpr std::size_t kRecordSpareAt = 28;
constexpr std::size_t kNameAt = 32;

static_assert(kHeaderSpareAt + kNativeHeaderSpareBytes == kNativeHeaderBytes);
static_assert(kRecordSpareAt + kLayerRecordSpareBytes == kNameAt);
static_assert(kNameAt + kLayerRecordNameBytes == kLayerRecordBytes);
static_assert(sizeof kNativeText - 1 <= kNativeTextBytes);

} // namespace

NativeHeader decode_native_header(const BYTE* bytes) {
    NativeHeader header;
    std::memcpy(header.text, bytes, kNativeTextBytes);
    header.version = io::get32(bytes + kVersionAt);
    header.flags = io::get32(bytes + kFlagsAt);
    header.width = std::int32_t(io::get32(bytes + kWidthAt));
    header.height = std::int32_t(io::get32(bytes + kHeightAt));
    header.layer_count = io::get32(bytes + kLayerCountAt);
    std::memcpy(header.spare, bytes + kHeaderSpareAt, kNativeHeaderSpareBytes);
    return header;
}

std::array<BYTE, kNativeHeaderBytes> encode_native_header(const NativeHeader& header) {
    std::array<BYTE, kNativeHeaderBytes> bytes{};
    std::memcpy(bytes.data(), header.text, kNativeTextBytes);
    io::put32(bytes.data() + kVersionAt, header.version);
    io::put32(bytes.data() + kFlagsAt, header.flags);
    io::put32(bytes.data() + kWidthAt, std::uint32_t(header.width));
    io::put32(bytes.data() + kHeightAt, std::uint32_t(header.height));
    io::put32(bytes.data() + kLayerCountAt, header.layer_count);
    std::memcpy(bytes.data() + kHeaderSpareAt, header.spare, kNativeHeaderSpareBytes);
    return bytes;
}

NativeLayerRecord decode_layer_record(const BYTE* bytes) {
    NativeLayerRecord record;
    record.size = io::get32(bytes + kRecordSizeAt);
    record.flags = io::get32(bytes + kRecordFlagsAt);
    record.key_colour = io::get32(bytes + kKeyColourAt);
    record.opacity = std::int32_t(io::get32(bytes + kOpacityAt));
    record.mask_length = io::get32(bytes + kMaskLengthAt);
    record.background_colour = io::get32(bytes + kBackgroundColourAt);
    record.pixel_length = io::get32(bytes + kPixelLengthAt);
    std::memcpy(record.spare, bytes + kRecordSpareAt, kLayerRecordSpareBytes);
    std::memcpy(record.name, bytes + kNameAt, kLayerRecordNameBytes);
    return record;
}

std::array<BYTE, kLayerRecordBytes> encode_layer_record(const NativeLayerRecord& record) {
    std::array<BYTE, kLayerRecordBytes> bytes{};
    io::put32(bytes.data() + kRecordSizeAt, record.size);
    io::put32(bytes.data() + kRecordFlagsAt, record.flags);
    io::put32(bytes.data() + kKeyColourAt, record.key_colour);
    io::put32(bytes.data() + kOpacityAt, std::uint32_t(record.opacity));
    io::put32(bytes.data() + kMaskLengthAt, record.mask_length);
    io::put32(bytes.data() + kBackgroundColourAt, record.background_colour);
    io::put32(bytes.data() + kPixelLengthAt, record.pixel_length);
    std::memcpy(bytes.data() + kRecordSpareAt, record.spare, kLayerRecordSpareBytes);
    std::memcpy(bytes.data() + kNameAt, record.name, kLayerRecordNameBytes);
    return bytes;
}
