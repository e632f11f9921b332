#include "app/files/native_file.h"
#include "app/files/native_records.h"
#include "platform/io/safe_file.h"
#include "tests/support/test_folder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <tuple>

namespace {

struct DocumentDeleter {
    void operator()(PictureDocument* doc) const { free_document(doc); }
};
using DocPtr = std::unique_ptr<PictureDocument, DocumentDeleter>;
using Bytes = std::vector<unsigned char>;

// Where the palette and the first layer record lie in a file with a palette.
constexpr std::size_t kPaletteAt = kNativeHeaderBytes;
constexpr std::size_t kFirstRecordAt = kPaletteAt + 1024;

NativeHeader header_in(const Bytes& b) {
    return decode_native_header(b.data());
}
NativeLayerRecord record_at(const Bytes& b, std::size_t at) {
    return decode_layer_record(b.data() + at);
}

// Rewrites the file header or the layer record at `at` through `change`.
template <typename Change> void change_header(Bytes& b, Change change) {
    NativeHeader header = header_in(b);
    change(header);
    const auto bytes = encode_native_header(header);
    std::copy(bytes.begin(), bytes.end(), b.begin());
}
template <typename Change> void change_record(Bytes& b, std::size_t at, Change change) {
    NativeLayerRecord record = record_at(b, at);
    change(record);
    const auto bytes = encode_layer_record(record);
    std::copy(bytes.begin(), bytes.end(), b.begin() + std::ptrdiff_t(at));
}

class NativeFileTest : public ::testing::Test {
  protected:
    void SetUp() override { native::reset_message_boxes(); }

    std::string save(const PictureDocument& doc, const char* name = "picture.vlx") {
        const std::string path = folder_.file(name);
        io::SafeWriter writer(path.c_str());
        EXPECT_TRUE(writer.open());
        if (!write_native_file(writer.handle(), doc)) writer.fail();
        EXPECT_TRUE(writer.commit());
        return path;
    }

    // Reads bytes into a fresh document; null when the reader refused them.
    DocPtr load(const Bytes& bytes, NativeRead expected = NativeRead::Complete) {
        DocPtr doc(create_document());
        MemorySource source(bytes.data(), bytes.size());
        last_ = read_native_picture(source, *doc);
        EXPECT_EQ(last_.outcome, expected);
        EXPECT_EQ(native::last_message_box().count, 0); // the caller tells the user
        if (last_.outcome == NativeRead::Refused) return nullptr;
        return doc;
    }

    DocPtr load_file(const std::string& path) {
        DocPtr doc(create_document());
        ReadOnlyFile file(path.c_str());
        EXPECT_TRUE(file.is_open());
        if (!read_native_file(file.handle(), path.c_str(), *doc)) return nullptr;
        return doc;
    }

    void expect_refused(const Bytes& bytes, const char* text, const char* caption = "Read Error") {
        EXPECT_FALSE(load(bytes, NativeRead::Refused));
        EXPECT_STREQ(last_.text, text);
        EXPECT_STREQ(last_.caption, caption);
    }

    DocPtr load_cut(const Bytes& bytes) {
        DocPtr doc = load(bytes, NativeRead::CutShort);
        EXPECT_STREQ(last_.caption, "Read Error");
        EXPECT_NE(last_.text, nullptr);
        return doc;
    }

    NativeReadResult last_{};

    TestFolder folder_;
};

// A file header for width x height with count layers and a palette.
Bytes file_header(int width, int height, std::uint32_t count) {
    NativeHeader header{};
    std::memcpy(header.text, "VLX\n", 4);
    header.version = kNativeVersion;
    header.flags = kNativeHasPalette;
    header.width = width;
    header.height = height;
    header.layer_count = count;
    const auto bytes = encode_native_header(header);
    Bytes b(bytes.begin(), bytes.end());
    b.resize(kFirstRecordAt);
    return b;
}

// A raw layer record of n pixel bytes without mask data.
void add_raw_layer(Bytes& b, std::size_t n, BYTE value, std::uint32_t header_size = 96,
                   std::int32_t opacity = 16) {
    NativeLayerRecord record{};
    record.size = header_size;
    record.flags = kRecordVisible;
    record.opacity = opacity;
    record.pixel_length = std::uint32_t(n);
    std::memcpy(record.name, "raw", 3);
    const auto bytes = encode_layer_record(record);
    b.insert(b.end(), bytes.begin(), bytes.end());
    b.insert(b.end(), header_size - kLayerRecordBytes, 0);
    b.insert(b.end(), n, value);
}

// A picture of three layers over a width that pads its rows, with every
// stored setting varied and the filler bytes holding values of their own.
DocPtr varied_picture(int width, int height) {
    DocPtr doc(new_picture(width, height, nullptr, nullptr));
    std::mt19937 rng(17);
    Layer* bottom = bottom_layer(*doc);
    for (int i = 0; i < 256; ++i)
        bottom->image->colour_table()[i] = {BYTE(i), BYTE(i * 3), BYTE(255 - i), 0};
    update_palette(*doc);
    add_layer_above(*doc);
    add_layer_above(*doc);
    int index = 0;
    for (LayerNode* node = doc->layers->next; node != doc->layers; node = node->next, ++index) {
        Layer& layer = *node->layer;
        for (std::size_t i = 0; i < layer.image->pixel_bytes(); ++i)
            layer.image->bits[i] = index == 1 ? BYTE(rng()) : BYTE(i / 7 % 3 + 10 * index);
        for (std::size_t i = 0; i < layer.mask->pixel_bytes(); ++i)
            layer.mask->bits[i] = rng() % 4 ? 255 : 0;
        layer.key_colour = 3 + index;
        layer.background_colour = 200 + index;
        layer.opacity = 5 * index + 1;
        layer.flags = (index == 1 ? 0 : kLayerVisible) | (index == 2 ? kLayerUseMaskAsOpacity : 0) |
                      (index ? kLayerDeletable : 0);
        // The bottom name fills all 63 characters.
        std::memset(layer.name, 0, sizeof layer.name);
        std::memset(layer.name, 'a' + index, index ? 5 + index : kLayerNameSize - 1);
    }
    return doc;
}

TEST_F(NativeFileTest, RoundTripKeepsEveryStoredFieldAndPixel) {
    DocPtr original = varied_picture(7, 5);
    DocPtr read = load_file(save(*original));
    ASSERT_TRUE(read);
    EXPECT_EQ(read->layer_count, 3);
    EXPECT_EQ(read->next_layer_number, 4);
    EXPECT_EQ(read->flags & kDocModified, 0u);
    EXPECT_EQ(read->current, read->layers->previous);
    EXPECT_EQ(read->composite->width(), 7);
    LayerNode* a = original->layers->next;
    LayerNode* b = read->layers->next;
    for (int index = 0; index < 3; ++index, a = a->next, b = b->next) {
        const Layer& x = *a->layer;
        const Layer& y = *b->layer;
        const std::size_t n = x.image->pixel_bytes();
        EXPECT_EQ(std::memcmp(x.image->bits, y.image->bits, n), 0) << index; // filler too
        EXPECT_EQ(std::memcmp(y.image->bits, y.undo_copy->bits, n), 0) << index;
        EXPECT_EQ(std::memcmp(x.mask->bits, y.mask->bits, n), 0) << index;
        EXPECT_EQ(std::memcmp(x.image->colour_table(), y.image->colour_table(), 1024), 0);
        EXPECT_EQ(y.key_colour, x.key_colour);
        EXPECT_EQ(y.background_colour, x.background_colour);
        EXPECT_EQ(y.opacity, x.opacity);
        EXPECT_STREQ(y.name, x.name);
        const std::uint32_t stored = kLayerVisible | kLayerUseMaskAsOpacity;
        EXPECT_EQ(y.flags & stored, x.flags & stored) << index;
        // Upper layers come back Deletable and Translucent; animation
        // settings are not stored and take their defaults.
        EXPECT_EQ(y.flags & ~stored, index ? kLayerDeletable | kLayerTranslucent : 0u) << index;
        EXPECT_EQ(y.interval, 50);
        EXPECT_EQ(y.disposal, 0);
        EXPECT_EQ(y.area.width, 7);
        EXPECT_EQ(y.area.height, 5);
    }
    EXPECT_EQ(read->white_index, original->white_index);
}

TEST_F(NativeFileTest, WriterLaysOutHeaderRecordsAndChoosesRawForNoise) {
    DocPtr doc = varied_picture(7, 5);
    const Bytes file = file_bytes(save(*doc));
    ASSERT_GE(file.size(), kFirstRecordAt);
    const NativeHeader header = header_in(file);
    const char text[] = "VLX\n Velmo image file.\n\n";
    EXPECT_EQ(std::memcmp(header.text, text, sizeof text - 1), 0);
    for (std::size_t i = sizeof text - 1; i < kNativeTextBytes; ++i)
        ASSERT_EQ(header.text[i], 0) << i;
    EXPECT_EQ(header.version, 0x2000u);
    EXPECT_EQ(header.flags, 1u);
    EXPECT_EQ(header.width, 7);
    EXPECT_EQ(header.height, 5);
    EXPECT_EQ(header.layer_count, 3u);
    EXPECT_EQ(Bytes(header.spare, header.spare + kNativeHeaderSpareBytes),
              Bytes(kNativeHeaderSpareBytes, 0));
    EXPECT_EQ(
        std::memcmp(file.data() + kPaletteAt, current_layer(*doc)->image->colour_table(), 1024), 0);
    std::size_t at = kFirstRecordAt;
    const std::uint32_t n = 8 * 5;
    for (int index = 0; index < 3; ++index) {
        ASSERT_LE(at + kLayerRecordBytes, file.size());
        const NativeLayerRecord record = record_at(file, at);
        EXPECT_EQ(record.size, 96u);
        const std::uint32_t flags = record.flags;
        const std::uint32_t pixels = record.pixel_length;
        const std::uint32_t mask = record.mask_length;
        EXPECT_EQ(flags & 0x11, 0x11u);
        if (index == 1) { // random bytes: stored raw
            EXPECT_EQ(flags & 0x20, 0u);
            EXPECT_EQ(pixels, n);
        } else {
            EXPECT_EQ(flags & 0x20, 0x20u);
            EXPECT_LT(pixels, n);
        }
        EXPECT_EQ(flags & 0x10000, index == 1 ? 0u : 0x10000u);
        EXPECT_EQ(flags & 0x20000, index == 2 ? 0x20000u : 0u);
        EXPECT_EQ(record.name[63], 0); // name cut to 63 characters
        at += 96 + pixels + mask;
    }
    EXPECT_EQ(at, file.size());
}

TEST_F(NativeFileTest, SingleColourLayerIsStoredAsRunsOf255) {
    DocPtr doc(new_picture(16, 32, nullptr, nullptr)); // n = 512
    const Bytes file = file_bytes(save(*doc));
    const std::size_t at = kFirstRecordAt;
    const NativeLayerRecord record = record_at(file, at);
    EXPECT_EQ(record.flags, 0x10031u);
    EXPECT_EQ(record.pixel_length, 9u);
    EXPECT_EQ(Bytes(file.begin() + at + 96, file.begin() + at + 105),
              (Bytes{255, 255, 255, 255, 255, 255, 255, 255, 2}));
    // The mask: 128 groups of 15 as F F count 128 = units F, F, 0, 8.
    EXPECT_EQ(record.mask_length, 2u);
    EXPECT_EQ(Bytes(file.begin() + at + 105, file.end()), (Bytes{0xFF, 0x80}));
}

TEST_F(NativeFileTest, ReaderRefusesWhatIsNotAPicture) {
    expect_refused(Bytes(kNativeHeaderBytes - 1, 0), "Error");
    Bytes wrong = file_header(4, 4, 0);
    wrong[2] = 'Y';
    expect_refused(wrong, "It's no for Velmo");

    // A newer file is told as such whatever its layout looks like to this
    // reader: a usual one, no layers, no size, a layer count past the file.
    for (const auto& [width, count] : {std::pair{4, 1u}, {4, 0u}, {0, 1u}, {4, 1000u}}) {
        Bytes newer = file_header(width, 4, count);
        add_raw_layer(newer, 16, 1);
        change_header(newer, [](NativeHeader& h) { h.version = 0x2001; });
        expect_refused(newer, "You need latest version of Velmo", "Version Error");
    }

    // A document that already has layers takes no file.
    DocPtr full(new_picture(4, 4, nullptr, nullptr));
    Bytes good = file_header(4, 4, 1);
    add_raw_layer(good, 16, 1);
    MemorySource again(good.data(), good.size());
    EXPECT_EQ(read_native_picture(again, *full).text, std::string("Unable to Create Image"));
}

TEST_F(NativeFileTest, TheFileReaderTellsItsMessageWithThePath) {
    Bytes wrong = file_header(4, 1, 1);
    wrong[0] = 'W';
    const std::string refused = folder_.file("wrong.vlx");
    put_file(refused, wrong);
    EXPECT_FALSE(load_file(refused));
    EXPECT_EQ(native::last_message_box().text, "It's no for Velmo\n" + refused);
    EXPECT_EQ(native::last_message_box().caption, "Read Error");
    EXPECT_EQ(native::last_message_box().count, 1);

    native::reset_message_boxes();
    Bytes cut = file_header(4, 1, 2);
    add_raw_layer(cut, 4, 7);
    const std::string short_file = folder_.file("short.vlx");
    put_file(short_file, cut);
    DocPtr doc = load_file(short_file);
    ASSERT_TRUE(doc);
    EXPECT_EQ(doc->layer_count, 1);
    EXPECT_EQ(native::last_message_box().text,
              "The file is cut short.\nThe missing part of the picture is left blank.\n" +
                  short_file);
    EXPECT_EQ(native::last_message_box().count, 1);
}

TEST_F(NativeFileTest, ImpossibleHeadersAreRefusedBeforeAnyPlaneIsMade) {
    const int gdi_before = native::live_gdi_objects();
    struct Case {
        int width, height;
        std::uint32_t count;
    } cases[] = {
        {0, 4, 1},                   // no width
        {4, -1, 1},                  // no height
        {-5, 4, 1},                  // negative width
        {0x7FFFFFFF, 0x7FFFFFFF, 1}, // plane overflows
        {65536, 65536, 1},           // plane beyond one block
        {4, 4, 0},                   // no layer
        {30000, 30000, 0},           // no layer, but planes to allocate
    };
    for (const Case& c : cases) {
        Bytes b = file_header(c.width, c.height, c.count);
        add_raw_layer(b, 16, 1);
        DocPtr doc(create_document());
        MemorySource source(b.data(), b.size());
        const NativeReadResult result = read_native_picture(source, *doc);
        EXPECT_EQ(result.outcome, NativeRead::Refused) << c.width << " " << c.count;
        EXPECT_STREQ(result.text, "Unable to Create Image");
        EXPECT_EQ(doc->layer_count, 0);
        // Only the empty document's swatch exists: no layer surface was made.
        EXPECT_EQ(native::live_gdi_objects(), gdi_before + 2);
    }
}

TEST_F(NativeFileTest, LayerHeaderSizes) {
    Bytes longer = file_header(4, 1, 2);
    add_raw_layer(longer, 4, 7, 100); // four extra header bytes are skipped
    add_raw_layer(longer, 4, 8);
    DocPtr doc = load(longer);
    ASSERT_TRUE(doc);
    EXPECT_EQ(bottom_layer(*doc)->image->bits[0], 7);
    EXPECT_EQ(current_layer(*doc)->image->bits[3], 8);
    EXPECT_STREQ(bottom_layer(*doc)->name, "raw");
    // Below 96 the record cannot be a layer header.
    Bytes shorter = file_header(4, 1, 1);
    add_raw_layer(shorter, 4, 7);
    change_record(shorter, kFirstRecordAt, [](NativeLayerRecord& r) { r.size = 95; });
    expect_refused(shorter, "Unable to Create Image");
}

// Offsets at which each layer record of a written file ends, bottom first.
std::vector<std::size_t> record_ends(const Bytes& file) {
    std::vector<std::size_t> ends;
    std::size_t at = kFirstRecordAt;
    for (std::uint32_t i = 0; i < header_in(file).layer_count; ++i) {
        const NativeLayerRecord record = record_at(file, at);
        at += 96 + record.pixel_length + record.mask_length;
        ends.push_back(at);
    }
    return ends;
}

// A one-row picture of one visible layer whose pixel code announces
// `length` bytes and is followed by `code`, where the file ends.
Bytes coded_layer_file(int width, std::uint32_t length, const Bytes& code) {
    Bytes b = file_header(width, 1, 1);
    NativeLayerRecord record{};
    record.size = 96;
    record.flags = 0x10020;
    record.pixel_length = length;
    const auto bytes = encode_layer_record(record);
    b.insert(b.end(), bytes.begin(), bytes.end());
    b.insert(b.end(), code.begin(), code.end());
    return b;
}

TEST_F(NativeFileTest, TruncatedFilesOpenWithWhatTheyHold) {
    DocPtr original = varied_picture(7, 5);
    const Bytes full = file_bytes(save(*original));
    ASSERT_TRUE(load(full));
    const std::vector<std::size_t> ends = record_ends(full);
    ASSERT_EQ(ends.size(), 3u);
    ASSERT_EQ(ends.back(), full.size());
    // Wherever the file ends after its header, the picture opens with a
    // layer for every record whose header is there, and each record that is
    // all there reads as written.
    for (std::size_t cut = kNativeHeaderBytes; cut < full.size(); ++cut) {
        SCOPED_TRACE(cut);
        DocPtr doc = load_cut(Bytes(full.begin(), full.begin() + std::ptrdiff_t(cut)));
        ASSERT_TRUE(doc);
        int headers = 1, whole = 0;
        for (std::size_t i = 0; i < ends.size(); ++i) {
            if (i > 0 && cut >= ends[i - 1] + 96) ++headers;
            if (cut >= ends[i]) ++whole;
        }
        EXPECT_EQ(doc->layer_count, headers);
        LayerNode* a = original->layers->next;
        LayerNode* b = doc->layers->next;
        for (int i = 0; i < whole; ++i, a = a->next, b = b->next) {
            const std::size_t n = a->layer->image->pixel_bytes();
            EXPECT_EQ(std::memcmp(a->layer->image->bits, b->layer->image->bits, n), 0) << i;
            EXPECT_EQ(std::memcmp(a->layer->mask->bits, b->layer->mask->bits, n), 0) << i;
        }
    }
    // A file that holds less than its header is still refused.
    expect_refused(Bytes(full.begin(), full.begin() + std::ptrdiff_t(kNativeHeaderBytes - 1)),
                   "Error");
}

TEST_F(NativeFileTest, WhatACutFileLacksKeepsTheLayersDefaults) {
    // Raw layers of 4 x 2 pixels: the bottom one whole, the second cut after
    // five pixel bytes, the third not there at all.
    Bytes b = file_header(4, 2, 3);
    add_raw_layer(b, 8, 1);
    // The bottom layer's key colour fills upper layers.
    change_record(b, kFirstRecordAt, [](NativeLayerRecord& r) { r.key_colour = 9; });
    add_raw_layer(b, 8, 2);
    // With a raw mask that is not there.
    change_record(b, kFirstRecordAt + 104, [](NativeLayerRecord& r) { r.flags = 0x10001; });
    b.resize(b.size() - 3);
    DocPtr doc = load_cut(b);
    ASSERT_TRUE(doc);
    ASSERT_EQ(doc->layer_count, 2);
    const Layer& second = *current_layer(*doc);
    EXPECT_EQ(Bytes(second.image->bits, second.image->bits + 8), (Bytes{2, 2, 2, 2, 2, 9, 9, 9}));
    EXPECT_EQ(Bytes(second.undo_copy->bits, second.undo_copy->bits + 8),
              (Bytes{2, 2, 2, 2, 2, 9, 9, 9}));
    EXPECT_EQ(Bytes(second.mask->bits, second.mask->bits + 8), Bytes(8, 255));
    EXPECT_STREQ(second.name, "raw");
    EXPECT_EQ(doc->flags & kDocModified, 0u);

    // A compressed plane cut inside its code: the runs that are there.
    doc = load_cut(coded_layer_file(8, 6, {4, 4, 3, 6, 6}));
    ASSERT_TRUE(doc);
    EXPECT_EQ(Bytes(bottom_layer(*doc)->image->bits, bottom_layer(*doc)->image->bits + 8),
              (Bytes{4, 4, 4, 6, 0, 0, 0, 0}));

    // Headers that promise more layers than there are, a plane whose
    // shortest code is longer than the file, a skip past the end.
    for (const auto& [width, height, count] :
         {std::tuple{4, 4, 1000u}, {4, 4, 0xFFFFFFFFu}, {3000, 3000, 1u}}) {
        Bytes promise = file_header(width, height, count);
        add_raw_layer(promise, 16, 1);
        doc = load_cut(promise);
        ASSERT_TRUE(doc);
        EXPECT_EQ(doc->layer_count, 1);
        EXPECT_EQ(picture_width(*doc), width);
    }
    Bytes skip = file_header(4, 1, 1);
    add_raw_layer(skip, 4, 7);
    change_record(skip, kFirstRecordAt, [](NativeLayerRecord& r) { r.size = 5000; });
    doc = load_cut(skip);
    ASSERT_TRUE(doc);
    EXPECT_STREQ(bottom_layer(*doc)->name, "raw");
}

TEST_F(NativeFileTest, ACodeThatStopsShortInAWholeFileIsRefused) {
    expect_refused(coded_layer_file(8, 3, {1, 1, 5}), "Error");
}

TEST_F(NativeFileTest, StoredSettingsAreBroughtIntoRange) {
    Bytes b = file_header(4, 1, 3);
    add_raw_layer(b, 4, 1, 96, -1);
    add_raw_layer(b, 4, 1, 96, 20);
    add_raw_layer(b, 4, 1, 96, -35);
    change_record(b, kFirstRecordAt, [](NativeLayerRecord& r) {
        r.key_colour = 300;
        r.background_colour = 0xFFFFFFFF;
    });
    DocPtr doc = load(b);
    ASSERT_TRUE(doc);
    EXPECT_EQ(layer_node_at(*doc, 1)->layer->opacity, 16);
    EXPECT_EQ(layer_node_at(*doc, 2)->layer->opacity, 3);
    EXPECT_EQ(layer_node_at(*doc, 3)->layer->opacity, 16);
    EXPECT_EQ(bottom_layer(*doc)->key_colour, 44);
    EXPECT_EQ(bottom_layer(*doc)->background_colour, 255);
    // Masks were absent: they stay all 255.
    EXPECT_EQ(bottom_layer(*doc)->mask->bits[0], 255);
}

TEST_F(NativeFileTest, FileWithoutPaletteKeepsTheCreationTable) {
    Bytes b = file_header(4, 1, 2);
    b.resize(kNativeHeaderBytes);
    change_header(b, [](NativeHeader& h) { h.flags = 0; });
    add_raw_layer(b, 4, 1);
    add_raw_layer(b, 4, 2);
    DocPtr doc = load(b);
    ASSERT_TRUE(doc);
    EXPECT_EQ(current_layer(*doc)->image->colour_table()[9].rgbRed, 166);
}

} // namespace
