#include "app/files/open.h"
#include "app/files/save.h"
#include "engine/rasko.h"
#include "tests/support/drawing_fixture.h"
#include "tests/support/test_folder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

using drawing_test::at;
using drawing_test::DocumentPtr;

bool same_pixels(Surface& a, Surface& b) {
    if (a.width() != b.width() || a.height() != b.height()) return false;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (at(a, x, y) != at(b, x, y)) return false;
    return true;
}

Layer& layer_at(PictureDocument& doc, int position) {
    return *layer_node_at(doc, position)->layer;
}

class OpenSaveTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(make_file_type_table(read_types, 2));
        ASSERT_TRUE(make_file_type_table(write_types, 2));
        native::reset_message_boxes();
    }
    void TearDown() override {
        free_file_type_table(read_types);
        free_file_type_table(write_types);
        native::fail_writes_after(-1);
    }

    // A picture whose layer i (from 1) holds a pattern of its own, over a
    // palette with distinct colours.
    DocumentPtr picture(int width, int height, int layers) {
        DocumentPtr doc(create_document());
        EXPECT_TRUE(doc && create_bottom_layer(*doc, width, height));
        RGBQUAD* table = bottom_layer(*doc)->image->colour_table();
        for (int i = 0; i < 256; ++i)
            table[i] = {BYTE(i), BYTE(255 - i), BYTE(i * 7), 0};
        update_palette(*doc);
        for (int i = 2; i <= layers; ++i)
            EXPECT_TRUE(add_layer_above(*doc));
        for (int i = 1; i <= layers; ++i) {
            Surface& image = *layer_at(*doc, i).image;
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < width; ++x)
                    at(image, x, y) = BYTE((x * 3 + y * 5 + i * 40) % 250);
        }
        return doc;
    }

    DocumentPtr save_and_open(PictureDocument& doc, const std::string& name, FileTypeId type,
                              const SaveChoices& choices = {}) {
        std::snprintf(doc.file_name, sizeof doc.file_name, "%s", folder.file(name).c_str());
        doc.file_type = type;
        EXPECT_EQ(save_picture_file(doc, write_types, choices), 1);
        return DocumentPtr(
            open_picture_file(doc.file_name, type, read_types, write_types, nullptr));
    }

    TestFolder folder;
    FileTypeTable read_types;
    FileTypeTable write_types;
};

TEST_F(OpenSaveTest, FindTypeByExtension) {
    ASSERT_TRUE(add_file_type(read_types, "png", "PNG", nullptr));
    FoundType t = find_type_by_extension("PIC.GIF", read_types);
    EXPECT_TRUE(t.found);
    EXPECT_EQ(t.type, FileTypeId::Gif);
    EXPECT_EQ(t.dot_position, 3);
    t = find_type_by_extension("a.gif", read_types);
    EXPECT_TRUE(t.found);
    EXPECT_EQ(t.dot_position, 1);
    t = find_type_by_extension(".gif", read_types);
    EXPECT_FALSE(t.found);
    EXPECT_EQ(t.type, FileTypeId::None);
    EXPECT_EQ(t.dot_position, 0);
    t = find_type_by_extension("x.bmp.Vlx", read_types);
    EXPECT_EQ(t.type, FileTypeId::Native);
    EXPECT_EQ(t.dot_position, 5);
    t = find_type_by_extension("dir.d/picture", read_types);
    EXPECT_FALSE(t.found);
    EXPECT_EQ(t.dot_position, 3);
    t = find_type_by_extension("pic", read_types);
    EXPECT_EQ(t.dot_position, 3);
    t = find_type_by_extension("x.png", read_types);
    EXPECT_EQ(t.type, FileTypeId::FirstAddIn);
    t = find_type_by_extension("xgif", read_types);
    EXPECT_FALSE(t.found);
}

TEST_F(OpenSaveTest, TypeTablesHoldTheBuiltInTypesAndCutAddInTexts) {
    EXPECT_STREQ(read_types.types[0].name, "Velmo Image(*.VLX)");
    EXPECT_STREQ(read_types.types[1].extension, "bmp");
    EXPECT_STREQ(write_types.types[2].name, "GIF Image(*.GIF)");
    EXPECT_TRUE(add_file_type(read_types, "abcdefghij", std::string(100, 'n').c_str(), nullptr));
    EXPECT_STREQ(read_types.types[3].extension, "abcdefg");
    EXPECT_EQ(std::strlen(read_types.types[3].name), 63u);
    EXPECT_TRUE(add_file_type(read_types, "y", "y", nullptr));
    EXPECT_FALSE(add_file_type(read_types, "x", "full", nullptr));
}

TEST_F(OpenSaveTest, UnknownTypesAndMissingFilesOpenNothing) {
    EXPECT_EQ(open_picture_file(folder.file("a.gif").c_str(), FileTypeId::None, read_types,
                                write_types, nullptr),
              nullptr);
    EXPECT_EQ(open_picture_file(folder.file("a.gif").c_str(), FileTypeId::FirstAddIn, read_types,
                                write_types, nullptr),
              nullptr);
    EXPECT_EQ(open_picture_file(folder.file("none.gif").c_str(), FileTypeId::Gif, read_types,
                                write_types, nullptr),
              nullptr);
    EXPECT_EQ(open_picture_file(folder.file("none.vlx").c_str(), FileTypeId::Native, read_types,
                                write_types, nullptr),
              nullptr);
}

TEST_F(OpenSaveTest, BmpKeepsTheCompositeAsOneLayer) {
    auto doc = picture(9, 5, 2);
    Layer& top = layer_at(*doc, 2);
    top.key_colour = 12;
    for (int x = 0; x < 9; ++x)
        at(*top.image, x, 2) = 12;
    doc->flags |= kDocModified;
    auto opened = save_and_open(*doc, "pic.bmp", FileTypeId::Bmp);
    ASSERT_TRUE(opened);
    EXPECT_FALSE(doc->flags & kDocModified);
    EXPECT_TRUE(doc->flags & kDocNamed);
    EXPECT_EQ(opened->layer_count, 1);
    Layer& layer = layer_at(*opened, 1);
    EXPECT_STREQ(layer.name, "Layer:0");
    EXPECT_EQ(opened->next_layer_number, 1);
    EXPECT_EQ(opened->file_type, FileTypeId::Bmp);
    EXPECT_TRUE(opened->flags & kDocNamed);
    EXPECT_FALSE(opened->flags & kDocModified);
    EXPECT_EQ(std::memcmp(layer.image->colour_table(), doc->composite->colour_table(), 1024), 0);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 9; ++x) {
            const int expected = y == 2 ? at(*layer_at(*doc, 1).image, x, y) : at(*top.image, x, y);
            ASSERT_EQ(at(*layer.image, x, y), expected) << x << "," << y;
            ASSERT_EQ(at(*opened->composite, x, y), expected);
        }
    EXPECT_EQ(std::memcmp(layer.undo_copy->bits, layer.image->bits, layer.image->pixel_bytes()), 0);
}

TEST_F(OpenSaveTest, FourBitBmpMapsToTheFirstSixteenColours) {
    auto doc = picture(4, 1, 1);
    Surface& image = *layer_at(*doc, 1).image;
    RGBQUAD* table = image.colour_table();
    table[20] = table[3];
    update_palette(*doc);
    at(image, 0, 0) = 15;
    at(image, 1, 0) = 20;
    at(image, 2, 0) = 0;
    at(image, 3, 0) = 7;
    SaveChoices choices;
    choices.bmp_bits = 4;
    auto opened = save_and_open(*doc, "pic.bmp", FileTypeId::Bmp, choices);
    ASSERT_TRUE(opened);
    Surface& read = *layer_at(*opened, 1).image;
    EXPECT_EQ(at(read, 0, 0), 15);
    EXPECT_EQ(at(read, 1, 0), 3);
    EXPECT_EQ(at(read, 2, 0), 0);
    EXPECT_EQ(at(read, 3, 0), 7);
}

// A 3 x 2 BMP of the given depth, all pixels 0, with a Windows (40-byte) or
// an OS/2 1.x (12-byte) info header.
std::vector<BYTE> bmp_file(int bits, bool os2) {
    const int colours = 1 << bits;
    const int entry = os2 ? 3 : 4;
    const int header = os2 ? 12 : 40;
    const int row = (3 * bits + 31) / 32 * 4;
    const int offset = 14 + header + colours * entry;
    std::vector<BYTE> f(std::size_t(offset + row * 2), 0);
    auto put = [&](int at, unsigned value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            f[std::size_t(at + i)] = BYTE(value >> (8 * i));
    };
    f[0] = 'B';
    f[1] = 'M';
    put(2, unsigned(f.size()), 4);
    put(10, unsigned(offset), 4);
    put(14, unsigned(header), 4);
    if (os2) {
        put(18, 3, 2);
        put(20, 2, 2);
        put(22, 1, 2);
        put(24, unsigned(bits), 2);
    } else {
        put(18, 3, 4);
        put(22, 2, 4);
        put(26, 1, 2);
        put(28, unsigned(bits), 2);
    }
    return f;
}

TEST_F(OpenSaveTest, BmpRemembersTheDepthItWasReadWith) {
    const struct {
        int bits;
        bool os2;
    } files[] = {{1, false}, {2, false}, {4, false}, {8, false}, {4, true}, {1, true}};
    for (const auto& f : files) {
        const std::string path = folder.file("depth.bmp");
        const std::vector<BYTE> bytes = bmp_file(f.bits, f.os2);
        FILE* out = std::fopen(path.c_str(), "wb");
        ASSERT_NE(out, nullptr);
        std::fwrite(bytes.data(), 1, bytes.size(), out);
        std::fclose(out);
        DocumentPtr doc(
            open_picture_file(path.c_str(), FileTypeId::Bmp, read_types, write_types, nullptr));
        ASSERT_TRUE(doc) << f.bits << (f.os2 ? " OS/2" : "");
        EXPECT_EQ(doc->bmp_colour_bits, f.bits) << (f.os2 ? " OS/2" : "");
        EXPECT_EQ(picture_width(*doc), 3);
    }
    // What this program writes as 16 colours comes back as 4 bits.
    auto doc = picture(5, 2, 1);
    SaveChoices choices;
    choices.bmp_bits = 4;
    EXPECT_EQ(save_and_open(*doc, "sixteen.bmp", FileTypeId::Bmp, choices)->bmp_colour_bits, 4);
    EXPECT_EQ(save_and_open(*doc, "full.bmp", FileTypeId::Bmp)->bmp_colour_bits, 8);
}

TEST_F(OpenSaveTest, BmpSavesWhatTheDisplayModeShows) {
    auto doc = picture(3, 2, 2);
    doc->flags |= kDocMaskView;
    at(*layer_at(*doc, 2).mask, 1, 1) = 0;
    auto opened = save_and_open(*doc, "mask.bmp", FileTypeId::Bmp);
    ASSERT_TRUE(opened);
    Surface& read = *layer_at(*opened, 1).image;
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(at(read, x, y), x == 1 && y == 1 ? doc->black_index : doc->white_index);
}

TEST_F(OpenSaveTest, AnimatedGifKeepsLayersAreasAndAnimationSettings) {
    auto doc = picture(16, 12, 3);
    Layer& bottom = layer_at(*doc, 1);
    Layer& middle = layer_at(*doc, 2);
    Layer& top = layer_at(*doc, 3);
    bottom.interval = 70;
    bottom.disposal = 2;
    middle.area = {4, 4, 8, 8};
    middle.interval = 55;
    middle.disposal = 1;
    middle.key_colour = 9;
    middle.flags |= kLayerAnimTransparent | kLayerAnimUserInput;
    middle.flags &= ~kLayerVisible; // hidden layers are frames too
    top.area = {10, 3, 40, 2};      // reaches past the picture: cut to it
    top.disposal = 3;
    top.background_colour = 77;
    doc->gif_options = kGifAnimation | kGifInterlaced;
    doc->gif_repeat_count = 3;
    std::strcpy(doc->gif_comment, "frames");
    doc->current = layer_node_at(*doc, 3);

    auto opened = save_and_open(*doc, "anim.gif", FileTypeId::Gif);
    ASSERT_TRUE(opened);
    ASSERT_EQ(opened->layer_count, 3);
    EXPECT_EQ(opened->current, opened->layers->previous);
    EXPECT_TRUE(opened->flags & kDocOnlyCurrentLayer);
    EXPECT_FALSE(opened->flags & kDocModified);
    // A frame with its key as transparent index turns the option on.
    EXPECT_EQ(opened->gif_options, kGifAnimation | kGifInterlaced | kGifTransparent);
    EXPECT_EQ(opened->gif_repeat_count, 3);
    EXPECT_EQ(opened->gif_colour_bits, 8);
    EXPECT_STREQ(opened->gif_comment, "frames");
    EXPECT_EQ(opened->file_type, FileTypeId::Gif);
    for (int i = 1; i <= 3; ++i)
        EXPECT_EQ(std::string(layer_at(*opened, i).name), "Layer:0" + std::to_string(i));

    const AreaRect expected_areas[] = {{0, 0, 16, 12}, {4, 4, 8, 8}, {10, 3, 6, 2}};
    const int expected_intervals[] = {70, 50, 50};
    const int expected_disposals[] = {2, 1, 3};
    for (int i = 1; i <= 3; ++i) {
        SCOPED_TRACE(i);
        Layer& original = layer_at(*doc, i);
        Layer& read = layer_at(*opened, i);
        const AreaRect& a = expected_areas[i - 1];
        EXPECT_EQ(read.area.left, a.left);
        EXPECT_EQ(read.area.top, a.top);
        EXPECT_EQ(read.area.width, a.width);
        EXPECT_EQ(read.area.height, a.height);
        EXPECT_EQ(read.interval, expected_intervals[i - 1]);
        EXPECT_EQ(read.disposal, expected_disposals[i - 1]);
        EXPECT_EQ(std::memcmp(read.image->colour_table(), original.image->colour_table(), 1024), 0);
        // Inside the area the frame's pixels; outside, the background the
        // file names (the current layer's background colour).
        for (int y = 0; y < 12; ++y)
            for (int x = 0; x < 16; ++x) {
                const bool inside =
                    x >= a.left && x < a.left + a.width && y >= a.top && y < a.top + a.height;
                ASSERT_EQ(at(*read.image, x, y), inside ? at(*original.image, x, y) : 77)
                    << x << "," << y;
            }
    }
    EXPECT_EQ(layer_at(*opened, 2).key_colour, 9);
    EXPECT_EQ(layer_at(*opened, 2).flags & (kLayerAnimTransparent | kLayerAnimUserInput),
              kLayerAnimTransparent | kLayerAnimUserInput);
    EXPECT_EQ(layer_at(*opened, 1).flags & (kLayerAnimTransparent | kLayerAnimUserInput), 0u);
}

TEST_F(OpenSaveTest, GifTransparencyComesBackAsKeyColourAndOption) {
    auto doc = picture(6, 4, 2);
    layer_at(*doc, 2).flags |= kLayerAnimTransparent;
    layer_at(*doc, 2).key_colour = 200;
    doc->gif_options = kGifAnimation;
    auto opened = save_and_open(*doc, "key.gif", FileTypeId::Gif);
    ASSERT_TRUE(opened);
    EXPECT_EQ(layer_at(*opened, 2).key_colour, 200);
    EXPECT_EQ(layer_at(*opened, 1).key_colour, 255);
    EXPECT_TRUE(opened->gif_options & kGifTransparent);
}

TEST_F(OpenSaveTest, OneLayerWithTheAnimationOptionWritesAStillGif) {
    auto doc = picture(5, 3, 1);
    doc->gif_options = kGifAnimation | kGifTransparent;
    SaveChoices choices;
    choices.gif_key_colour = 17;
    auto opened = save_and_open(*doc, "still.gif", FileTypeId::Gif, choices);
    ASSERT_TRUE(opened);
    EXPECT_EQ(opened->layer_count, 1);
    EXPECT_FALSE(opened->flags & kDocOnlyCurrentLayer);
    EXPECT_FALSE(opened->gif_options & kGifAnimation);
    EXPECT_EQ(layer_at(*opened, 1).key_colour, 17);
    EXPECT_TRUE(same_pixels(*layer_at(*opened, 1).image, *doc->composite));
}

TEST_F(OpenSaveTest, StillGifWithFewerBitsMapsHighIndexesToNearestLowColour) {
    auto doc = picture(4, 1, 1);
    Surface& image = *layer_at(*doc, 1).image;
    RGBQUAD* table = image.colour_table();
    table[0] = {0, 0, 0, 0};
    table[1] = {255, 255, 255, 0};
    table[2] = {0, 0, 200, 0};
    table[3] = {0, 200, 0, 0};
    table[100] = {10, 10, 180, 0};   // nearest of 0-3: entry 2
    table[101] = {250, 240, 250, 0}; // entry 1
    update_palette(*doc);
    at(image, 0, 0) = 100;
    at(image, 1, 0) = 101;
    at(image, 2, 0) = 3;
    at(image, 3, 0) = 0;
    doc->gif_colour_bits = 2;
    auto opened = save_and_open(*doc, "two.gif", FileTypeId::Gif);
    ASSERT_TRUE(opened);
    Surface& read = *layer_at(*opened, 1).image;
    EXPECT_EQ(at(read, 0, 0), 2);
    EXPECT_EQ(at(read, 1, 0), 1);
    EXPECT_EQ(at(read, 2, 0), 3);
    EXPECT_EQ(at(read, 3, 0), 0);
    EXPECT_EQ(opened->gif_colour_bits, 2);
    // The document itself is not reduced.
    EXPECT_EQ(at(image, 0, 0), 100);
}

TEST_F(OpenSaveTest, GifFrameWithLocalTableIsRemappedToThePicturePalette) {
    BITMAPINFOHEADER* first = RaskoCreateDIB(2, 1);
    BITMAPINFOHEADER* second = RaskoCreateDIB(2, 1);
    auto* first_table = reinterpret_cast<RGBQUAD*>(reinterpret_cast<BYTE*>(first) + 40);
    auto* second_table = reinterpret_cast<RGBQUAD*>(reinterpret_cast<BYTE*>(second) + 40);
    for (int i = 0; i < 256; ++i)
        first_table[i] = {BYTE(i), BYTE(i), BYTE(i), 0};
    for (int i = 0; i < 256; ++i)
        second_table[i] = {0, 0, 0, 0};
    second_table[0] = {101, 99, 100, 0}; // nearest grey: 100
    second_table[1] = {30, 30, 30, 0};   // exactly grey 30
    BYTE* second_bits = reinterpret_cast<BYTE*>(second) + 1064;
    second_bits[0] = 0;
    second_bits[1] = 1;
    GifFrame frames[2] = {{first, reinterpret_cast<BYTE*>(first) + 1064, 0, 0, -1, 0, 0, 0},
                          {second, second_bits, 0, 0, -1, 0, 0, 0}};
    GifFrame* pointers[2] = {&frames[0], &frames[1]};
    GifAnimation gif{};
    gif.frameCount = 2;
    gif.screenWidth = 2;
    gif.screenHeight = 1;
    gif.bitsPerPixel = 8;
    gif.globalPalette = first_table;
    gif.frames = pointers;
    const std::string path = folder.file("local.gif");
    ASSERT_EQ(RaskoSaveGIFEx(path.c_str(), &gif), 1);
    RaskoDestroyDIB(first);
    RaskoDestroyDIB(second);

    DocumentPtr opened(
        open_picture_file(path.c_str(), FileTypeId::Gif, read_types, write_types, nullptr));
    ASSERT_TRUE(opened);
    Surface& image = *layer_at(*opened, 2).image;
    EXPECT_EQ(at(image, 0, 0), 100);
    EXPECT_EQ(at(image, 1, 0), 30);
    EXPECT_EQ(image.colour_table()[30].rgbRed, 30);
    // The global table fills the palette: the user hears that colours were
    // merged.
    EXPECT_EQ(native::last_message_box().count, 1);
    EXPECT_EQ(native::last_message_box().text, "The frames hold more colors than one palette can.\n"
                                               "Some colors were replaced by the nearest ones.\n" +
                                                   path);
}

TEST_F(OpenSaveTest, GifFramesWithTablesOfTheirOwnKeepTheirColoursThroughOpenAndSave) {
    // Four frames over a four-colour global table; frames 2 to 4 bring
    // their own tables, where entry 1 is a blue of their own.
    const BYTE blue_red[4] = {0, 60, 120, 180};
    BITMAPINFOHEADER* dibs[4];
    GifFrame frames[4];
    GifFrame* pointers[4];
    RGBQUAD global[256] = {};
    global[1] = {255, 0, 0, 0};
    global[2] = {255, 255, 255, 0};
    for (int i = 0; i < 4; ++i) {
        dibs[i] = RaskoCreateDIB(3, 1);
        auto* table = reinterpret_cast<RGBQUAD*>(reinterpret_cast<BYTE*>(dibs[i]) + 40);
        std::memcpy(table, global, sizeof global);
        table[1].rgbRed = blue_red[i];
        BYTE* bits = reinterpret_cast<BYTE*>(dibs[i]) + 1064;
        bits[0] = 1;
        bits[1] = 2;
        bits[2] = BYTE(i % 2);
        frames[i] = {dibs[i], bits, 0, 0, -1, 10, 0, 0};
        pointers[i] = &frames[i];
    }
    GifAnimation gif{};
    gif.frameCount = 4;
    gif.screenWidth = 3;
    gif.screenHeight = 1;
    gif.bitsPerPixel = 2;
    gif.globalPalette = global;
    gif.frames = pointers;
    const std::string path = folder.file("blues.gif");
    ASSERT_EQ(RaskoSaveGIFEx(path.c_str(), &gif), 1);
    for (BITMAPINFOHEADER* dib : dibs)
        RaskoDestroyDIB(dib);

    auto expect_blues = [&](PictureDocument& doc) {
        ASSERT_EQ(doc.layer_count, 4);
        for (int i = 0; i < 4; ++i) {
            Surface& image = *layer_at(doc, i + 1).image;
            const RGBQUAD* table = image.colour_table();
            const RGBQUAD& blue = table[at(image, 0, 0)];
            EXPECT_EQ(blue.rgbRed, blue_red[i]) << i;
            EXPECT_EQ(blue.rgbBlue, 255) << i;
            EXPECT_EQ(table[at(image, 1, 0)].rgbGreen, 255) << i;
            EXPECT_EQ(table[at(image, 2, 0)].rgbBlue, i % 2 ? 255 : 0) << i;
        }
    };
    DocumentPtr opened(
        open_picture_file(path.c_str(), FileTypeId::Gif, read_types, write_types, nullptr));
    ASSERT_TRUE(opened);
    expect_blues(*opened);
    EXPECT_EQ(native::last_message_box().count, 0) << "every colour found an entry";

    // Saved as a GIF of 256 colours (the GIF dialog's choice) and read
    // again, the colours stay.
    opened->gif_colour_bits = 8;
    DocumentPtr again = save_and_open(*opened, "again.gif", FileTypeId::Gif);
    ASSERT_TRUE(again);
    expect_blues(*again);
}

TEST_F(OpenSaveTest, FailedSaveKeepsTheOldFileAndTheModifiedMark) {
    for (FileTypeId type : {FileTypeId::Native, FileTypeId::Bmp, FileTypeId::Gif}) {
        SCOPED_TRACE(type_position(type));
        auto doc = picture(20, 20, 2);
        const std::string path =
            folder.file("keep." + std::string(type_entry(read_types, type).extension));
        put_file(path, {1, 2, 3});
        std::snprintf(doc->file_name, sizeof doc->file_name, "%s", path.c_str());
        doc->file_type = type;
        doc->flags |= kDocModified;
        native::fail_writes_after(100);
        EXPECT_EQ(save_picture_file(*doc, write_types, {}), 0);
        native::fail_writes_after(-1);
        EXPECT_TRUE(doc->flags & kDocModified);
        EXPECT_TRUE(doc->flags & kDocNamed);
        EXPECT_EQ(file_bytes(path), (std::vector<unsigned char>{1, 2, 3}));
        EXPECT_EQ(folder.entries(), 1u) << "no temporary file left behind";
        std::filesystem::remove(path);
    }
}

TEST_F(OpenSaveTest, NativeRoundTripThroughOpenAndSave) {
    auto doc = picture(7, 3, 2);
    std::strcpy(layer_at(*doc, 2).name, "ink");
    auto opened = save_and_open(*doc, "pic.vlx", FileTypeId::Native);
    ASSERT_TRUE(opened);
    EXPECT_EQ(opened->layer_count, 2);
    EXPECT_STREQ(layer_at(*opened, 2).name, "ink");
    EXPECT_EQ(opened->current, opened->layers->previous);
    EXPECT_TRUE(opened->flags & kDocNamed);
    EXPECT_FALSE(opened->flags & kDocModified);
    EXPECT_STREQ(opened->file_name, doc->file_name);
    for (int i = 1; i <= 2; ++i)
        EXPECT_TRUE(same_pixels(*layer_at(*opened, i).image, *layer_at(*doc, i).image));
}

TEST_F(OpenSaveTest, ReadersFailCleanlyWhereverASurfaceCannotBeMade) {
    // Every surface an opened picture needs, failing in turn: no document and
    // no object left behind (LeakSanitizer checks the memory), until enough
    // surfaces are allowed for the whole picture.
    for (FileTypeId type : {FileTypeId::Native, FileTypeId::Bmp, FileTypeId::Gif}) {
        SCOPED_TRACE(type_position(type));
        auto doc = picture(9, 4, 2);
        doc->gif_options = kGifAnimation;
        const std::string path =
            folder.file("fail." + std::string(type_entry(read_types, type).extension));
        std::snprintf(doc->file_name, sizeof doc->file_name, "%s", path.c_str());
        doc->file_type = type;
        ASSERT_EQ(save_picture_file(*doc, write_types, {}), 1);
        const int gdi_before = native::live_gdi_objects();
        int allowed = 0;
        for (;; ++allowed) {
            native::fail_dib_sections_after(allowed);
            native::reset_message_boxes();
            DocumentPtr opened(
                open_picture_file(path.c_str(), type, read_types, write_types, nullptr));
            native::fail_dib_sections_after(-1);
            if (opened) break;
            ASSERT_EQ(native::live_gdi_objects(), gdi_before) << allowed;
            // Past the empty document, the native reader tells why; the
            // user hears of every failure once.
            EXPECT_EQ(native::last_message_box().count, 1);
            EXPECT_EQ(native::last_message_box().text,
                      std::string(type == FileTypeId::Native && allowed > 0
                                      ? "Unable to Create Image"
                                      : "Unable to Open Picture") +
                          "\n" + path);
        }
        // Swatch, three surfaces per layer, composite and stroke surface.
        EXPECT_EQ(allowed, type == FileTypeId::Bmp ? 6 : 9);
    }
}

// A GIF whose logical screen is width x height, with one 1 x 1 image of
// colour 0 over a two-colour global table unless without_image.
std::vector<unsigned char> gif_file(int width, int height, bool without_image = false) {
    const BYTE screen[] = {'G',
                           'I',
                           'F',
                           '8',
                           '9',
                           'a',
                           BYTE(width),
                           BYTE(width >> 8),
                           BYTE(height),
                           BYTE(height >> 8),
                           0x80,
                           0,
                           0,
                           0,
                           0,
                           0,
                           255,
                           255,
                           255};
    // Clear, 0, end in 3-bit codes.
    const BYTE image[] = {0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0, 2, 2, 0x44, 0x01, 0};
    std::vector<unsigned char> b;
    for (BYTE byte : screen)
        b.push_back(byte);
    for (BYTE byte : image)
        if (!without_image) b.push_back(byte);
    b.push_back(0x3B);
    return b;
}

int VL_CDECL decode_nothing_here(const char*, AddInImage*) {
    return 0;
}

TEST_F(OpenSaveTest, EveryFailedOpenTellsTheUserOnceWithTheFilesName) {
    ASSERT_TRUE(add_file_type(read_types, "png", "PNG", decode_nothing_here));
    std::vector<unsigned char> text;
    for (int line = 0; line < 10; ++line)
        for (char c : std::string("Not a picture at all.\n"))
            text.push_back(BYTE(c));
    const std::vector<unsigned char> good_gif = gif_file(2, 2);
    struct Case {
        const char* name;
        std::vector<unsigned char> bytes;
        bool missing;
        FileTypeId type;
        const char* text; // the reader's own; null for "Unable to Open Picture"
        const char* caption;
        bool named; // the message names the file
    } cases[] = {
        {"empty.vlx", {}, false, FileTypeId::Native, "Error", "Read Error", true},
        {"text.vlx", text, false, FileTypeId::Native, "It's no for Velmo", "Read Error", true},
        {"missing.vlx", {}, true, FileTypeId::Native, nullptr, "Open Error", true},
        {"empty.bmp", {}, false, FileTypeId::Bmp, "Open Error", "Read Error", false},
        {"text.bmp", text, false, FileTypeId::Bmp, "It's not Bitmap", "Read Error", false},
        {"missing.bmp", {}, true, FileTypeId::Bmp, nullptr, "Open Error", true},
        {"empty.gif", {}, false, FileTypeId::Gif, nullptr, "Open Error", true},
        {"text.gif", text, false, FileTypeId::Gif, nullptr, "Open Error", true},
        {"cut.gif",
         {good_gif.begin(), good_gif.begin() + 10},
         false,
         FileTypeId::Gif,
         nullptr,
         "Open Error",
         true},
        {"no_screen.gif", gif_file(0, 0), false, FileTypeId::Gif, nullptr, "Open Error", true},
        {"no_image.gif", gif_file(2, 2, true), false, FileTypeId::Gif, nullptr, "Open Error", true},
        {"huge.gif", gif_file(65535, 65535), false, FileTypeId::Gif, nullptr, "Open Error", true},
        {"missing.gif", {}, true, FileTypeId::Gif, nullptr, "Open Error", true},
        {"empty.png", {}, false, FileTypeId::FirstAddIn, nullptr, "Open Error", true},
        {"any.txt", text, false, FileTypeId::None, nullptr, "Open Error", true},
        {"any.none", text, false, type_at(7), nullptr, "Open Error", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = folder.file(c.name);
        if (!c.missing) put_file(path, c.bytes);
        native::reset_message_boxes();
        EXPECT_EQ(open_picture_file(path.c_str(), c.type, read_types, write_types, nullptr),
                  nullptr);
        const std::string told = c.text ? c.text : "Unable to Open Picture";
        EXPECT_EQ(native::last_message_box().count, 1);
        EXPECT_EQ(native::last_message_box().text, c.named ? told + "\n" + path : told);
        EXPECT_EQ(native::last_message_box().caption, c.caption);
    }
    // The good GIF the cut one came from opens, and says nothing.
    const std::string good = folder.file("good.gif");
    put_file(good, good_gif);
    native::reset_message_boxes();
    DocumentPtr doc(
        open_picture_file(good.c_str(), FileTypeId::Gif, read_types, write_types, nullptr));
    EXPECT_TRUE(doc);
    EXPECT_EQ(native::last_message_box().count, 0);
}

// ---- Add-In decoders and encoders ----

BITMAPINFOHEADER* frame_dib(int width, int height, BYTE value, BYTE red) {
    BITMAPINFOHEADER* dib = RaskoCreateDIB(width, height);
    std::memset(reinterpret_cast<BYTE*>(dib) + 1064, value, std::size_t((width + 3) & ~3) * height);
    reinterpret_cast<RGBQUAD*>(reinterpret_cast<BYTE*>(dib) + 40)[value].rgbRed = red;
    return dib;
}

AddInImage kept_by_decoder{};

int VL_CDECL decode_two_kept(const char*, AddInImage* image) {
    static BITMAPINFOHEADER* dibs[2];
    static BYTE* bits[2];
    if (!dibs[0]) {
        dibs[0] = frame_dib(3, 2, 5, 50);
        dibs[1] = frame_dib(2, 2, 6, 60);
    }
    for (int i = 0; i < 2; ++i)
        bits[i] = reinterpret_cast<BYTE*>(dibs[i]) + 1064;
    image->flags = kAddInImageAddInOwns | kAddInImageKeyColour;
    image->key_colour = 6;
    image->frame_count = 2;
    image->dibs = dibs;
    image->bits = bits;
    kept_by_decoder = *image;
    return 1;
}

int VL_CDECL decode_handed_over(const char*, AddInImage* image) {
    EXPECT_EQ(image->size, sizeof(AddInImage));
    auto** dibs = static_cast<BITMAPINFOHEADER**>(GlobalAlloc(GPTR, 2 * sizeof(void*)));
    auto** bits = static_cast<BYTE**>(GlobalAlloc(GPTR, 2 * sizeof(void*)));
    for (int i = 0; i < 2; ++i) {
        dibs[i] = frame_dib(2, 1, BYTE(i + 1), 10);
        bits[i] = static_cast<BYTE*>(GlobalAlloc(GPTR, 4));
        bits[i][0] = BYTE(i + 7);
    }
    image->flags = kAddInImageSeparateBits | kAddInImageBackground;
    image->background_colour = 33;
    image->frame_count = 2;
    image->dibs = dibs;
    image->bits = bits;
    return 1;
}

int VL_CDECL decode_nothing(const char*, AddInImage*) {
    return 0;
}

TEST_F(OpenSaveTest, AddInDecoderFramesBecomeLayers) {
    ASSERT_TRUE(add_file_type(read_types, "kep", "Kept", decode_two_kept));
    DocumentPtr doc(
        open_picture_file("any.kep", FileTypeId::FirstAddIn, read_types, write_types, nullptr));
    ASSERT_TRUE(doc);
    EXPECT_EQ(doc->layer_count, 2);
    EXPECT_EQ(doc->current, doc->layers->next);
    EXPECT_TRUE(doc->flags & kDocModified);
    EXPECT_FALSE(doc->flags & kDocNamed) << "no encoder writes .kep";
    EXPECT_EQ(picture_width(*doc), 3);
    Layer& bottom = layer_at(*doc, 1);
    Layer& upper = layer_at(*doc, 2);
    EXPECT_EQ(at(*bottom.image, 2, 1), 5);
    EXPECT_EQ(at(*upper.image, 1, 1), 6);
    EXPECT_EQ(at(*upper.image, 2, 1), 6) << "outside the smaller frame: the key colour fill";
    EXPECT_EQ(bottom.key_colour, 6);
    EXPECT_EQ(upper.key_colour, 6);
    // Every layer has frame 0's colour table.
    EXPECT_EQ(upper.image->colour_table()[5].rgbRed, 50);
    EXPECT_EQ(upper.image->colour_table()[6].rgbRed, 0);
    // The frames are still the Add-In's.
    for (int i = 0; i < 2; ++i)
        RaskoDestroyDIB(kept_by_decoder.dibs[i]);

    ASSERT_TRUE(add_file_type(read_types, "x", "x", nullptr));
    EXPECT_EQ(
        open_picture_file("a.x", type_at(kBuiltInTypes + 1), read_types, write_types, nullptr),
        nullptr);
}

TEST_F(OpenSaveTest, AddInDecoderHandsItsFramesToTheHost) {
    ASSERT_TRUE(add_file_type(read_types, "own", "Own", decode_handed_over));
    DocumentPtr doc(
        open_picture_file("a.own", FileTypeId::FirstAddIn, read_types, write_types, nullptr));
    ASSERT_TRUE(doc);
    EXPECT_EQ(at(*layer_at(*doc, 1).image, 0, 0), 7);
    EXPECT_EQ(at(*layer_at(*doc, 2).image, 0, 0), 8);
    EXPECT_EQ(layer_at(*doc, 2).background_colour, 33);
    EXPECT_EQ(doc->file_type, FileTypeId::Native);
    // LeakSanitizer checks that the frames, rows and arrays were freed.
}

TEST_F(OpenSaveTest, AddInDecoderFailureOpensNothing) {
    ASSERT_TRUE(add_file_type(read_types, "bad", "Bad", decode_nothing));
    EXPECT_EQ(open_picture_file("a.bad", FileTypeId::FirstAddIn, read_types, write_types, nullptr),
              nullptr);
}

int VL_CDECL encode_nothing(const char*, AddInImage*) {
    return 0;
}

TEST_F(OpenSaveTest, AddInDecodedPictureIsSavedAsItsNameSays) {
    ASSERT_TRUE(add_file_type(read_types, "own", "Own", decode_handed_over));
    ASSERT_TRUE(add_file_type(write_types, "png", "PNG", encode_nothing));
    ASSERT_TRUE(add_file_type(write_types, "own", "Own", encode_nothing));
    const FileTypeId png = FileTypeId::FirstAddIn, own = type_at(kBuiltInTypes + 1);
    struct Case {
        const char* name;
        FileTypeId file_type; // a write type
        bool named;
    } cases[] = {
        {"a.own", own, true},             // the encoder of its own format
        {"b.OWN", own, true},             // whatever the case of the extension
        {"sprite.png", png, true},        // decoded by another Add-In than its name says
        {"c.gif", FileTypeId::Gif, true}, // a built-in writer
        {"d.vlx", FileTypeId::Native, true},
        {"e.kep", FileTypeId::Native, false}, // no encoder for it: Save asks for name and type
        {"noextension", FileTypeId::Native, false},
    };
    for (const Case& c : cases) {
        DocumentPtr doc(
            open_picture_file(c.name, FileTypeId::FirstAddIn, read_types, write_types, nullptr));
        ASSERT_TRUE(doc) << c.name;
        EXPECT_EQ(doc->file_type, c.file_type) << c.name;
        EXPECT_EQ(bool(doc->flags & kDocNamed), c.named) << c.name;
        EXPECT_STREQ(doc->file_name, c.name);
    }
}

struct EncoderCall {
    int calls = 0;
    std::string path;
    DWORD flags = 0, frame_count = 0, key = 0, background = 0;
    BYTE first_composite_pixel = 0;
};
EncoderCall encoder_call;

int VL_CDECL encode_record(const char* path, AddInImage* image) {
    ++encoder_call.calls;
    encoder_call.path = path;
    encoder_call.flags = image->flags;
    encoder_call.frame_count = image->frame_count;
    encoder_call.key = image->key_colour;
    encoder_call.background = image->background_colour;
    encoder_call.first_composite_pixel = image->bits[0][0];
    put_file(path, {'o', 'k'});
    return 1;
}

int VL_CDECL encode_failing(const char* path, AddInImage*) {
    put_file(path, {'h', 'a', 'l', 'f'});
    return 0;
}

TEST_F(OpenSaveTest, AddInEncoderGetsTheCompositeAndEveryLayer) {
    ASSERT_TRUE(add_file_type(write_types, "enc", "Enc", encode_record));
    auto doc = picture(4, 4, 3);
    doc->flags |= kDocKeyColourEnabled;
    layer_at(*doc, 3).background_colour = 44;
    layer_at(*doc, 3).key_colour = 55;
    const std::string path = folder.file("out.enc");
    put_file(path, {'o', 'l', 'd'});
    std::snprintf(doc->file_name, sizeof doc->file_name, "%s", path.c_str());
    doc->file_type = FileTypeId::FirstAddIn;
    ASSERT_EQ(save_picture_file(*doc, write_types, {}), 1);
    EXPECT_EQ(encoder_call.frame_count, 4u);
    EXPECT_EQ(encoder_call.flags, 0x32u);
    EXPECT_EQ(encoder_call.key, 55u);
    EXPECT_EQ(encoder_call.background, 44u);
    EXPECT_EQ(encoder_call.first_composite_pixel, doc->composite->bits[0]);
    EXPECT_NE(encoder_call.path, path) << "the encoder writes beside the target";
    EXPECT_EQ(encoder_call.path.substr(encoder_call.path.size() - 4), ".enc");
    EXPECT_EQ(file_bytes(path), (std::vector<unsigned char>{'o', 'k'}));
    EXPECT_EQ(folder.entries(), 1u);
}

TEST_F(OpenSaveTest, FailingOrMissingAddInEncoderLeavesTheOldFile) {
    ASSERT_TRUE(add_file_type(write_types, "bad", "Bad", encode_failing));
    auto doc = picture(4, 4, 1);
    const std::string path = folder.file("out.bad");
    put_file(path, {'o', 'l', 'd'});
    std::snprintf(doc->file_name, sizeof doc->file_name, "%s", path.c_str());
    doc->flags |= kDocModified;
    for (FileTypeId type : {FileTypeId::FirstAddIn, type_at(kBuiltInTypes + 1), FileTypeId::None}) {
        doc->file_type = type;
        EXPECT_EQ(save_picture_file(*doc, write_types, {}), 0);
        EXPECT_TRUE(doc->flags & kDocModified);
        EXPECT_EQ(file_bytes(path), (std::vector<unsigned char>{'o', 'l', 'd'}));
        EXPECT_EQ(folder.entries(), 1u);
    }
}

} // namespace
