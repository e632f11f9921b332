#include "app/files/native_file.h"
#include "platform/io/little_endian.h"
#include "platform/io/safe_file.h"
#include "tests/support/test_folder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>

namespace {

struct DocumentDeleter {
    void operator()(PictureDocument* doc) const { free_document(doc); }
};
using DocPtr = std::unique_ptr<PictureDocument, DocumentDeleter>;
using Bytes = std::vector<unsigned char>;

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
    DocPtr load(const Bytes& bytes) {
        DocPtr doc(create_document());
        MemorySource source(bytes.data(), bytes.size());
        if (!read_native_file(source, *doc)) return nullptr;
        return doc;
    }

    DocPtr load_file(const std::string& path) {
        DocPtr doc(create_document());
        ReadOnlyFile file(path.c_str());
        EXPECT_TRUE(file.is_open());
        if (!read_native_file(file.handle(), *doc)) return nullptr;
        return doc;
    }

    void expect_refused(const Bytes& bytes, const char* text, const char* caption = "Read Error") {
        native::reset_message_boxes();
        EXPECT_FALSE(load(bytes));
        EXPECT_EQ(native::last_message_box().text, text);
        EXPECT_EQ(native::last_message_box().caption, caption);
        EXPECT_EQ(native::last_message_box().count, 1);
    }

    TestFolder folder_;
};

// A file header for width x height with count layers and a palette.
Bytes file_header(int width, int height, std::uint32_t count) {
    Bytes b(160 + 1024, 0);
    std::memcpy(b.data(), "VLX\n", 4);
    io::put32(b.data() + 128, 0x2000);
    io::put32(b.data() + 132, 1);
    io::put32(b.data() + 136, std::uint32_t(width));
    io::put32(b.data() + 140, std::uint32_t(height));
    io::put32(b.data() + 144, count);
    return b;
}

// A raw layer record of n pixel bytes without mask data.
void add_raw_layer(Bytes& b, std::size_t n, BYTE value, std::uint32_t header_size = 96,
                   std::int32_t opacity = 16) {
    Bytes record(header_size, 0);
    io::put32(record.data() + 0, header_size);
    io::put32(record.data() + 4, 0x10000);
    io::put32(record.data() + 12, std::uint32_t(opacity));
    io::put32(record.data() + 24, std::uint32_t(n));
    std::memcpy(record.data() + 32, "raw", 3);
    b.insert(b.end(), record.begin(), record.end());
    b.insert(b.end(), n, value);
}

// A picture of three layers over a width that pads its rows, with every
// stored setting varied and the filler bytes holding values of their own.
DocPtr varied_picture(int width, int height) {
    DocPtr doc(new_picture(width, height, nullptr, nullptr));
    std::mt19937 rng(17);
    Layer* bottom = bottom_layer(*doc);
    for (int i = 0; i < 256; ++i) bottom->image->colour_table()[i] = {BYTE(i), BYTE(i * 3), BYTE(255 - i), 0};
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
    ASSERT_GE(file.size(), 160u + 1024u);
    const char text[] = "VLX\n Velmo image file.\n\n";
    EXPECT_EQ(std::memcmp(file.data(), text, sizeof text - 1), 0);
    for (std::size_t i = sizeof text - 1; i < 128; ++i) ASSERT_EQ(file[i], 0) << i;
    EXPECT_EQ(io::get32(file.data() + 128), 0x2000u);
    EXPECT_EQ(io::get32(file.data() + 132), 1u);
    EXPECT_EQ(io::get32(file.data() + 136), 7u);
    EXPECT_EQ(io::get32(file.data() + 140), 5u);
    EXPECT_EQ(io::get32(file.data() + 144), 3u);
    EXPECT_EQ(std::memcmp(file.data() + 160, current_layer(*doc)->image->colour_table(), 1024), 0);
    std::size_t at = 160 + 1024;
    const std::uint32_t n = 8 * 5;
    for (int index = 0; index < 3; ++index) {
        EXPECT_EQ(io::get32(file.data() + at), 96u);
        const std::uint32_t flags = io::get32(file.data() + at + 4);
        const std::uint32_t pixels = io::get32(file.data() + at + 24);
        const std::uint32_t mask = io::get32(file.data() + at + 16);
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
        EXPECT_EQ(file[at + 32 + 63], 0); // name cut to 63 characters
        at += 96 + pixels + mask;
    }
    EXPECT_EQ(at, file.size());
}

TEST_F(NativeFileTest, SingleColourLayerIsStoredAsRunsOf255) {
    DocPtr doc(new_picture(16, 32, nullptr, nullptr)); // n = 512
    const Bytes file = file_bytes(save(*doc));
    const std::size_t at = 160 + 1024;
    EXPECT_EQ(io::get32(file.data() + at + 4), 0x10031u);
    EXPECT_EQ(io::get32(file.data() + at + 24), 9u);
    EXPECT_EQ(Bytes(file.begin() + at + 96, file.begin() + at + 105),
              (Bytes{255, 255, 255, 255, 255, 255, 255, 255, 2}));
    // The mask: 128 groups of 15 as F F count 128 = units F, F, 0, 8.
    EXPECT_EQ(io::get32(file.data() + at + 16), 2u);
    EXPECT_EQ(Bytes(file.begin() + at + 105, file.end()), (Bytes{0xFF, 0x80}));
}

TEST_F(NativeFileTest, ReaderRefusesWhatIsNotAPicture) {
    expect_refused(Bytes(159, 0), "Error");
    Bytes wrong = file_header(4, 4, 0);
    wrong[2] = 'Y';
    expect_refused(wrong, "It's no for Velmo");

    Bytes newer = file_header(4, 4, 1);
    add_raw_layer(newer, 16, 1);
    io::put32(newer.data() + 128, 0x2001);
    DocPtr doc(create_document());
    MemorySource source(newer.data(), newer.size());
    EXPECT_EQ(read_native_file(source, *doc), 0);
    EXPECT_EQ(native::last_message_box().text, "You need latest version of Velmo");
    EXPECT_EQ(native::last_message_box().caption, "Version Error");
    EXPECT_EQ(doc->layer_count, 1); // the bottom layer was made first

    // A document that already has layers takes no file.
    DocPtr full(new_picture(4, 4, nullptr, nullptr));
    Bytes good = file_header(4, 4, 1);
    add_raw_layer(good, 16, 1);
    MemorySource again(good.data(), good.size());
    EXPECT_EQ(read_native_file(again, *full), 0);
    EXPECT_EQ(native::last_message_box().text, "Unable to Create Image");
}

TEST_F(NativeFileTest, ImpossibleHeadersAreRefusedBeforeAnyPlaneIsMade) {
    const int gdi_before = native::live_gdi_objects();
    struct Case {
        int width, height;
        std::uint32_t count;
    } cases[] = {
        {0, 4, 1},                    // no width
        {4, -1, 1},                   // no height
        {-5, 4, 1},                   // negative width
        {0x7FFFFFFF, 0x7FFFFFFF, 1},  // plane overflows
        {65536, 65536, 1},            // plane beyond one block
        {4, 4, 0},                    // no layer
        {30000, 30000, 0},            // no layer, but planes to allocate
        {4, 4, 1000},                 // more layers than the file holds
        {4, 4, 0xFFFFFFFF},           // layer count near the top of its range
        {3000, 3000, 1},              // plane whose shortest code exceeds the file
    };
    for (const Case& c : cases) {
        Bytes b = file_header(c.width, c.height, c.count);
        add_raw_layer(b, 16, 1);
        native::reset_message_boxes();
        DocPtr doc(create_document());
        MemorySource source(b.data(), b.size());
        EXPECT_EQ(read_native_file(source, *doc), 0) << c.width << " " << c.count;
        EXPECT_EQ(native::last_message_box().text, "Unable to Create Image");
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
    io::put32(shorter.data() + 160 + 1024, 95);
    expect_refused(shorter, "Unable to Create Image");
}

TEST_F(NativeFileTest, TruncatedFilesAreRefused) {
    const Bytes full = file_bytes(save(*varied_picture(7, 5)));
    ASSERT_TRUE(load(full));
    // Every cut is refused, never read as half a picture: with "Error" once
    // the header's layers could still fit (each at least its 96-byte header
    // and the shortest code of 40 pixel bytes), before that up front.
    const std::size_t fits = 160 + 1024 + 3 * (96 + 1);
    for (std::size_t cut = 160; cut < full.size(); ++cut)
        expect_refused(Bytes(full.begin(), full.begin() + std::ptrdiff_t(cut)),
                       cut >= fits ? "Error" : "Unable to Create Image");
    // A skip past the end of the file is a cut too.
    Bytes skip = file_header(4, 1, 1);
    add_raw_layer(skip, 4, 7);
    io::put32(skip.data() + 160 + 1024, 5000);
    expect_refused(skip, "Error");
    // A code that ends before its plane is full.
    Bytes short_code = file_header(8, 1, 1);
    Bytes record(96, 0);
    io::put32(record.data() + 0, 96);
    io::put32(record.data() + 4, 0x10020);
    io::put32(record.data() + 24, 3);
    short_code.insert(short_code.end(), record.begin(), record.end());
    short_code.insert(short_code.end(), {1, 1, 5});
    expect_refused(short_code, "Error");
}

TEST_F(NativeFileTest, StoredSettingsAreBroughtIntoRange) {
    Bytes b = file_header(4, 1, 3);
    add_raw_layer(b, 4, 1, 96, -1);
    add_raw_layer(b, 4, 1, 96, 20);
    add_raw_layer(b, 4, 1, 96, -35);
    io::put32(b.data() + 160 + 1024 + 8, 300);       // key colour of the bottom layer
    io::put32(b.data() + 160 + 1024 + 20, 0xFFFFFFFF); // background colour
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
    b.resize(160);
    io::put32(b.data() + 132, 0);
    add_raw_layer(b, 4, 1);
    add_raw_layer(b, 4, 2);
    DocPtr doc = load(b);
    ASSERT_TRUE(doc);
    EXPECT_EQ(current_layer(*doc)->image->colour_table()[9].rgbRed, 166);
}

} // namespace
