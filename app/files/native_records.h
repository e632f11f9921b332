// The two fixed records of the native picture file: the file header and the
// header of each layer, each laid out in one place (native_records.cpp) and
// read and written only through its decode and encode functions.
#pragma once

#include "platform/win.h"

#include <array>
#include <cstddef>
#include <cstdint>

// The file header: a text that names the format, then the picture's size and
// how many layer records follow the palette.
constexpr std::size_t kNativeHeaderBytes = 160;
constexpr std::size_t kNativeTextBytes = 128;
constexpr std::size_t kNativeHeaderSpareBytes = 12;
constexpr char kNativeText[] = "VLX\n Velmo image file.\n\n";
// The text's first bytes are what tells a native file.
constexpr std::size_t kNativeSignatureBytes = 3;
constexpr std::uint32_t kNativeVersion = 0x2000;
constexpr std::uint32_t kNativeHasPalette = 0x1;

struct NativeHeader {
    BYTE text[kNativeTextBytes]; // kNativeText, NUL-filled
    std::uint32_t version;       // a newer one is refused
    std::uint32_t flags;         // kNativeHasPalette: 1024 bytes follow
    std::int32_t width;
    std::int32_t height;
    std::uint32_t layer_count;           // records that follow, bottom first
    BYTE spare[kNativeHeaderSpareBytes]; // written as zeros, never read
};

// The header of a layer record; its planes follow it: the pixels (coded or
// raw), then the mask plane (coded or raw).
constexpr std::size_t kLayerRecordBytes = 96;
constexpr std::size_t kLayerRecordSpareBytes = 4;
constexpr std::size_t kLayerRecordNameBytes = 64;

// Layer record flags.
constexpr std::uint32_t kRecordMaskPresent = 0x01;
constexpr std::uint32_t kRecordMaskCompressed = 0x10;
constexpr std::uint32_t kRecordPixelsCompressed = 0x20;
constexpr std::uint32_t kRecordVisible = 0x10000;
constexpr std::uint32_t kRecordUseMaskAsOpacity = 0x20000;

struct NativeLayerRecord {
    // Bytes from the record's start to its planes: kLayerRecordBytes when
    // written; readers skip what a longer one holds past that.
    std::uint32_t size;
    std::uint32_t flags;
    std::uint32_t key_colour;
    std::int32_t opacity;      // 0..16 when written
    std::uint32_t mask_length; // of the mask code
    std::uint32_t background_colour;
    std::uint32_t pixel_length;         // of the pixel code, or of the raw plane
    BYTE spare[kLayerRecordSpareBytes]; // written as zeros, never read
    char name[kLayerRecordNameBytes];   // NUL-filled; not always NUL-ended
};

// Decoders read exactly kNativeHeaderBytes or kLayerRecordBytes from bytes;
// encoders give back every byte of the record, so that encoding a decoded
// record gives the bytes it was decoded from.
NativeHeader decode_native_header(const BYTE* bytes);
std::array<BYTE, kNativeHeaderBytes> encode_native_header(const NativeHeader& header);
NativeLayerRecord decode_layer_record(const BYTE* bytes);
std::array<BYTE, kLayerRecordBytes> encode_layer_record(const NativeLayerRecord& record);
