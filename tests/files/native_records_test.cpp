#include "app/files/native_file.h"
#include "app/files/native_records.h"
#include "platform/io/little_endian.h"
#include "platform/io/safe_file.h"
#include "tests/support/test_folder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <random>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

template <std::size_t N> Bytes bytes_of(const std::array<BYTE, N>& a) {
    return Bytes(a.begin(), a.end());
}

// Where each 32-bit field of the records lies in the file: setting one field
// alone must change exactly its four bytes, in little-endian order.
TEST(NativeRecords, EachFieldLiesAtItsPlaceInTheFile) {
    constexpr std::uint32_t kValue = 0x89ABCDEF;
    const struct {
        std::size_t at;
        std::function<void(NativeHeader&)> set;
    } header_fields[] = {
        {128, [](NativeHeader& h) { h.version = kValue; }},
        {132, [](NativeHeader& h) { h.flags = kValue; }},
        {136, [](NativeHeader& h) { h.width = std::int32_t(kValue); }},
        {140, [](NativeHeader& h) { h.height = std::int32_t(kValue); }},
        {144, [](NativeHeader& h) { h.layer_count = kValue; }},
    };
    for (const auto& field : header_fields) {
        NativeHeader header{};
        field.set(header);
        Bytes expected(kNativeHeaderBytes, 0);
        io::put32(expected.data() + field.at, kValue);
        EXPECT_EQ(bytes_of(encode_native_header(header)), expected) << field.at;
    }
    const struct {
        std::size_t at;
        std::function<void(NativeLayerRecord&)> set;
    } record_fields[] = {
        {0, [](NativeLayerRecord& r) { r.size = kValue; }},
        {4, [](NativeLayerRecord& r) { r.flags = kValue; }},
        {8, [](NativeLayerRecord& r) { r.key_colour = kValue; }},
        {12, [](NativeLayerRecord& r) { r.opacity = std::int32_t(kValue); }},
        {16, [](NativeLayerRecord& r) { r.mask_length = kValue; }},
        {20, [](NativeLayerRecord& r) { r.background_colour = kValue; }},
        {24, [](NativeLayerRecord& r) { r.pixel_length = kValue; }},
    };
    for (const auto& field : record_fields) {
        NativeLayerRecord record{};
        field.set(record);
        Bytes expected(kLayerRecordBytes, 0);
        io::put32(expected.data() + field.at, kValue);
        EXPECT_EQ(bytes_of(encode_layer_record(record)), expected) << field.at;
    }
    // The texts: the header's from its first byte, the layer name from 32.
    NativeHeader header{};
    std::memset(header.text, 'T', sizeof header.text);
    EXPECT_EQ(bytes_of(encode_native_header(header)), [] {
        Bytes b(kNativeHeaderBytes, 0);
        std::memset(b.data(), 'T', 128);
        return b;
    }());
    NativeLayerRecord record{};
    std::memset(record.name, 'n', sizeof record.name);
    EXPECT_EQ(bytes_of(encode_layer_record(record)), [] {
        Bytes b(kLayerRecordBytes, 0);
        std::memset(b.data() + 32, 'n', 64);
        return b;
    }());
}

// Every byte pattern survives decoding and encoding again, spare bytes and
// values past every field's meaning included. As every field keeps its bytes
// whole, so does every record the other way round.
TEST(NativeRecords, DecodingAndEncodingKeepEveryByte) {
    std::mt19937 rng(29);
    for (int round = 0; round < 200; ++round) {
        Bytes header(kNativeHeaderBytes), record(kLayerRecordBytes);
        for (auto& b : header)
            b = BYTE(round % 4 == 0 ? 0xFF : rng());
        for (auto& b : record)
            b = BYTE(round % 4 == 1 ? 0x80 : rng());
        ASSERT_EQ(bytes_of(encode_native_header(decode_native_header(header.data()))), header);
        ASSERT_EQ(bytes_of(encode_layer_record(decode_layer_record(record.data()))), record);
    }
}

// The records of a file the writer made read back into the same bytes.
TEST(NativeRecords, AWrittenFilesRecordsEncodeToTheirOwnBytes) {
    PictureDocument* doc = new_picture(9, 3, nullptr, nullptr);
    ASSERT_TRUE(doc);
    add_layer_above(*doc);
    std::strcpy(current_layer(*doc)->name, "top");
    TestFolder folder;
    const std::string path = folder.file("two.vlx");
    io::SafeWriter writer(path.c_str());
    ASSERT_TRUE(writer.open());
    ASSERT_TRUE(write_native_file(writer.handle(), *doc));
    ASSERT_TRUE(writer.commit());
    free_document(doc);

    const Bytes file = file_bytes(path);
    ASSERT_GE(file.size(), kNativeHeaderBytes);
    const Bytes head(file.begin(), file.begin() + kNativeHeaderBytes);
    const NativeHeader header = decode_native_header(head.data());
    EXPECT_EQ(bytes_of(encode_native_header(header)), head);
    std::size_t at = kNativeHeaderBytes + 1024;
    for (std::uint32_t i = 0; i < header.layer_count; ++i) {
        ASSERT_LE(at + kLayerRecordBytes, file.size());
        const Bytes bytes(file.begin() + std::ptrdiff_t(at),
                          file.begin() + std::ptrdiff_t(at + kLayerRecordBytes));
        const NativeLayerRecord record = decode_layer_record(bytes.data());
        EXPECT_EQ(bytes_of(encode_layer_record(record)), bytes) << i;
        at += record.size + record.pixel_length + record.mask_length;
    }
    EXPECT_EQ(at, file.size());
}

} // namespace
