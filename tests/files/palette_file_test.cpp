#include "app/files/palette_file.h"
#include "platform/io/safe_file.h"
#include "tests/support/test_folder.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstring>
#include <memory>

namespace {

using Bytes = std::vector<unsigned char>;

class PaletteFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        native::reset_message_boxes();
        native::fail_writes_after(-1);
    }
    void TearDown() override { native::fail_writes_after(-1); }
    TestFolder folder_;
};

void put32(Bytes& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b[at + i] = BYTE(v >> (8 * i));
}

Bytes palette_file(std::uint32_t count, std::size_t entries, const char* signature = "PF") {
    Bytes b(144 + 4 * entries, 0);
    std::memcpy(b.data(), signature, 2);
    put32(b, 128, 256);
    put32(b, 136, count);
    for (std::size_t i = 0; i < entries; ++i)
        b[144 + 4 * i + 2] = BYTE(i + 1); // red
    return b;
}

std::vector<RGBQUAD> grey_table() {
    std::vector<RGBQUAD> t(256);
    for (int i = 0; i < 256; ++i)
        t[i] = {BYTE(i), BYTE(i), BYTE(i), 0};
    return t;
}

TEST_F(PaletteFileTest, WriterBytesAndRoundTrip) {
    auto table = grey_table();
    const std::string path = folder_.file("grey.vlf");
    ASSERT_EQ(write_palette_file(path.c_str(), table.data()), 1);
    const Bytes bytes = file_bytes(path);
    ASSERT_EQ(bytes.size(), 144u + 1024u);
    const char text[] = "PF\n Velmo ver.2.00 for Windows95\n 256 color Palette file\n";
    EXPECT_EQ(std::memcmp(bytes.data(), text, sizeof text - 1), 0);
    EXPECT_EQ(bytes[128], 0);
    EXPECT_EQ(bytes[129], 1);
    EXPECT_EQ(bytes[137], 1);
    EXPECT_EQ(std::memcmp(bytes.data() + 144, table.data(), 1024), 0);
    std::vector<RGBQUAD> read(256);
    ASSERT_EQ(read_palette_file(path.c_str(), read.data()), 1);
    EXPECT_EQ(std::memcmp(read.data(), table.data(), 1024), 0);
    EXPECT_EQ(folder_.entries(), 1u); // no temporary file left
}

TEST_F(PaletteFileTest, CountsDecideHowManyEntriesChange) {
    const std::string path = folder_.file("p.vlf");
    put_file(path, palette_file(16, 256));
    auto table = grey_table();
    ASSERT_EQ(read_palette_file(path.c_str(), table.data()), 1);
    EXPECT_EQ(table[15].rgbRed, 16);
    EXPECT_EQ(table[16].rgbRed, 16); // untouched grey
    EXPECT_EQ(table[200].rgbRed, 200);

    put_file(path, palette_file(1000, 300));
    table = grey_table();
    ASSERT_EQ(read_palette_file(path.c_str(), table.data()), 1);
    EXPECT_EQ(table[255].rgbRed, 0); // entry 255 holds red 256 & 0xFF

    // Cut short: whole entries that were read, the rest as they were.
    Bytes cut = palette_file(256, 256);
    cut.resize(144 + 4 * 10 + 2);
    put_file(path, cut);
    table = grey_table();
    ASSERT_EQ(read_palette_file(path.c_str(), table.data()), 1);
    EXPECT_EQ(table[9].rgbRed, 10);
    EXPECT_EQ(table[10].rgbRed, 10);
    EXPECT_EQ(table[10].rgbBlue, 10);
}

TEST_F(PaletteFileTest, ForeignAndShortFilesAreRefusedWithTheirMessages) {
    const std::string path = folder_.file("p.vlf");
    auto table = grey_table();
    put_file(path, palette_file(256, 256, "PN"));
    EXPECT_EQ(read_palette_file(path.c_str(), table.data()), 0);
    EXPECT_EQ(native::last_message_box().text, "It's not for Velmo");
    EXPECT_EQ(native::last_message_box().caption, "Read Error");
    EXPECT_EQ(native::last_message_box().type, UINT(MB_ICONEXCLAMATION));
    put_file(path, Bytes(100, 'P'));
    EXPECT_EQ(read_palette_file(path.c_str(), table.data()), 0);
    EXPECT_EQ(native::last_message_box().text, "Error");
    EXPECT_EQ(native::last_message_box().caption, "Read Error");
    EXPECT_EQ(std::memcmp(table.data(), grey_table().data(), 1024), 0);
    native::reset_message_boxes();
    EXPECT_EQ(read_palette_file(folder_.file("missing.vlf").c_str(), table.data()), 0);
    EXPECT_EQ(native::last_message_box().count, 0);
}

struct PenSlots {
    explicit PenSlots(int count) {
        for (int i = 0; i < count; ++i) {
            owned.push_back(std::make_unique<Surface>());
            owned.back()->create(32, 32);
            std::memset(owned.back()->bits, i, 1024);
            slots.push_back(owned.back().get());
        }
    }
    std::vector<std::unique_ptr<Surface>> owned;
    std::vector<Surface*> slots;
};

TEST_F(PaletteFileTest, PenFilesFillAsManySlotsAsBothSidesHave) {
    const std::string path = folder_.file("pens.vln");
    PenSlots twenty(20);
    std::memset(twenty.slots[3]->bits + 100, 255, 32);
    ASSERT_EQ(write_pen_file(path.c_str(), twenty.slots.data(), 20), 1);
    const Bytes bytes = file_bytes(path);
    ASSERT_EQ(bytes.size(), 144u + 20u * 1024u);
    const char text[] = "PN\n Velmo ver.2.00 for Windows95\nPen palette file.\n";
    EXPECT_EQ(std::memcmp(bytes.data(), text, sizeof text - 1), 0);
    EXPECT_EQ(bytes[136], 20);

    PenSlots sixteen(16);
    for (auto* s : sixteen.slots)
        std::memset(s->bits, 99, 1024);
    ASSERT_EQ(read_pen_file(path.c_str(), sixteen.slots.data(), 16), 1);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(std::memcmp(sixteen.slots[i]->bits, twenty.slots[i]->bits, 1024), 0) << i;

    PenSlots four(4);
    ASSERT_EQ(write_pen_file(path.c_str(), four.slots.data(), 4), 1);
    for (auto* s : sixteen.slots)
        std::memset(s->bits, 99, 1024);
    ASSERT_EQ(read_pen_file(path.c_str(), sixteen.slots.data(), 16), 1);
    EXPECT_EQ(sixteen.slots[3]->bits[0], 3);
    EXPECT_EQ(sixteen.slots[4]->bits[0], 99);

    // A palette file given to the pen reader: 0 and no message.
    auto table = grey_table();
    ASSERT_EQ(write_palette_file(path.c_str(), table.data()), 1);
    native::reset_message_boxes();
    EXPECT_EQ(read_pen_file(path.c_str(), sixteen.slots.data(), 16), 0);
    EXPECT_EQ(native::last_message_box().count, 0);
    put_file(path, Bytes(100, 'P'));
    EXPECT_EQ(read_pen_file(path.c_str(), sixteen.slots.data(), 16), 0);
}

TEST_F(PaletteFileTest, FailedWritesKeepTheOldFile) {
    const std::string path = folder_.file("keep.vlf");
    auto table = grey_table();
    ASSERT_EQ(write_palette_file(path.c_str(), table.data()), 1);
    const Bytes before = file_bytes(path);
    table[0].rgbRed = 1;
    for (long long after : {0LL, 10LL, 144LL, 1000LL}) {
        native::fail_writes_after(after);
        EXPECT_EQ(write_palette_file(path.c_str(), table.data()), 0) << after;
        native::fail_writes_after(-1);
        EXPECT_EQ(file_bytes(path), before);
        EXPECT_EQ(folder_.entries(), 1u);
    }
    // A folder that does not exist takes no file and loses nothing.
    EXPECT_EQ(write_palette_file(folder_.file("none/x.vlf").c_str(), table.data()), 0);
    PenSlots pens(2);
    EXPECT_EQ(write_pen_file(folder_.file("none/x.vln").c_str(), pens.slots.data(), 2), 0);
}

TEST_F(PaletteFileTest, NewPictureLoadsDefaultPaletteFromTheCurrentFolder) {
    auto table = grey_table();
    ASSERT_EQ(write_palette_file(folder_.file("default.vlf").c_str(), table.data()), 1);
    char previous[4096];
    ASSERT_TRUE(getcwd(previous, sizeof previous));
    ASSERT_EQ(chdir(folder_.path().c_str()), 0);
    PictureDocument* doc = new_picture(4, 4, nullptr, load_default_palette);
    ASSERT_EQ(chdir(previous), 0);
    ASSERT_TRUE(doc);
    EXPECT_EQ(std::memcmp(current_layer(*doc)->image->colour_table(), table.data(), 1024), 0);
    EXPECT_EQ(std::memcmp(doc->composite->colour_table(), table.data(), 1024), 0);
    EXPECT_EQ(std::memcmp(current_layer(*doc)->undo_copy->colour_table(), table.data(), 1024), 0);
    EXPECT_EQ(doc->black_index, 0);
    EXPECT_EQ(doc->white_index, 255);
    free_document(doc);
}

} // namespace
