// BMP reader and writers: the header variants, RLE escapes, damaged files,
// the messages, the resource fallback and failed writes.
#include "codec_support.h"

#include <cstring>

using namespace codec_test;

namespace {

void put32(Bytes& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b[at + std::size_t(i)] = BYTE(v >> (8 * i));
}

// A BMP file: file header, an info header of `header_size` bytes (12 = OS/2
// 1.x with 3-byte colour entries), `colours` entries (entry i = i, 2i, 3i),
// a gap, then `pixels` as stored.
struct BmpSpec {
    std::uint32_t header_size = 40;
    std::int32_t width = 1;
    std::int32_t height = 1;
    unsigned bits = 8;
    std::uint32_t compression = BI_RGB;
    std::uint32_t colours_used = 0;
    unsigned colours = 0;
    std::size_t gap = 0;
    Bytes pixels;
};

Bytes make_bmp(const BmpSpec& s) {
    const unsigned entry = s.header_size == 12 ? 3 : 4;
    Bytes b(14 + s.header_size + s.colours * entry + s.gap, 0);
    b[0] = 'B';
    b[1] = 'M';
    put32(b, 10, std::uint32_t(b.size()));
    put32(b, 14, s.header_size);
    if (s.header_size == 12) {
        b[18] = BYTE(s.width);
        b[19] = BYTE(s.width >> 8);
        b[20] = BYTE(s.height);
        b[21] = BYTE(s.height >> 8);
        b[22] = 1;
        b[24] = BYTE(s.bits);
    } else {
        put32(b, 18, std::uint32_t(s.width));
        put32(b, 22, std::uint32_t(s.height));
        b[26] = 1;
        b[28] = BYTE(s.bits);
        put32(b, 30, s.compression);
        put32(b, 46, s.colours_used);
    }
    for (unsigned i = 0; i < s.colours; ++i) {
        BYTE* e = &b[14 + s.header_size + i * entry];
        e[0] = BYTE(i);
        e[1] = BYTE(2 * i);
        e[2] = BYTE(3 * i);
    }
    b.insert(b.end(), s.pixels.begin(), s.pixels.end());
    put32(b, 2, std::uint32_t(b.size()));
    return b;
}

std::string refusal(const Bytes& bytes) {
    native::reset_message_boxes();
    Dib dib = read_bmp(bytes);
    EXPECT_FALSE(dib);
    return native::last_message_box().text + " / " + native::last_message_box().caption;
}

Bytes bmp8_bytes(const BITMAPINFOHEADER* dib, bool four = false) {
    Bytes bytes;
    rasko::Output out(append, &bytes);
    const bool ok = four ? rasko::write_bmp4(out, dib, io::bits_of(dib))
                         : rasko::write_bmp8(out, dib, io::bits_of(dib));
    EXPECT_TRUE(ok);
    return bytes;
}

} // namespace

TEST(BmpReader, RefusalsShowTheReadersMessages) {
    EXPECT_EQ("Open Error / Read Error", refusal(Bytes(13, 'B')));
    Bytes not_bm = make_bmp({});
    not_bm[1] = 'A';
    EXPECT_EQ("It's not Bitmap / Read Error", refusal(not_bm));
    Bytes short_header = make_bmp({});
    short_header.resize(14 + 30);
    EXPECT_EQ("Read Error / Read Error", refusal(short_header));
    for (unsigned bits : {16u, 24u, 32u, 64u})
        EXPECT_EQ("Can't read over 8bit color / Read Error",
                  refusal(make_bmp({.bits = bits, .pixels = Bytes(8, 0)})));
    // Depths, compressions and sizes this reader cannot read safely.
    EXPECT_EQ("Read Error / Read Error", refusal(make_bmp({.bits = 3, .pixels = {0, 0, 0, 0}})));
    EXPECT_EQ("Read Error / Read Error", refusal(make_bmp({.bits = 0, .pixels = {0, 0, 0, 0}})));
    EXPECT_EQ("Read Error / Read Error",
              refusal(make_bmp({.bits = 8, .compression = BI_RLE4, .pixels = {0, 1}})));
    EXPECT_EQ("Read Error / Read Error",
              refusal(make_bmp({.bits = 8, .compression = 3, .pixels = {0, 1}})));
    EXPECT_EQ("Read Error / Read Error", refusal(make_bmp({.width = 0, .pixels = {0, 0, 0, 0}})));
    EXPECT_EQ("Read Error / Read Error", refusal(make_bmp({.height = 0, .pixels = {0, 0, 0, 0}})));
    EXPECT_EQ("Read Error / Read Error", refusal(make_bmp({.width = -4, .pixels = {0, 0, 0, 0}})));
    EXPECT_EQ("Read Error / Read Error",
              refusal(make_bmp({.height = INT32_MIN, .pixels = {0, 0, 0, 0}})));
    Bytes odd_header = make_bmp({});
    put32(odd_header, 14, 8);
    EXPECT_EQ("Read Error / Read Error", refusal(odd_header));
}

TEST(BmpReader, SizesTheFileCannotHoldAreRefusedBeforeAllocating) {
    // 50000 x 50000 from a few bytes (and width x height beyond 32 bits).
    EXPECT_EQ("Read Error / Read Error",
              refusal(make_bmp({.width = 50000, .height = 50000, .pixels = Bytes(64, 0)})));
    EXPECT_EQ("Read Error / Read Error",
              refusal(make_bmp({.width = INT32_MAX, .height = INT32_MAX, .pixels = Bytes(64, 0)})));
    EXPECT_EQ("Read Error / Read Error", refusal(make_bmp({.width = 60000,
                                                           .height = 60000,
                                                           .bits = 8,
                                                           .compression = BI_RLE8,
                                                           .pixels = {0, 1}})));
    // A wide row whose block would exceed the engine's limit.
    BmpSpec wide{.width = INT32_MAX - 1, .height = 1, .bits = 1, .pixels = Bytes(1 << 20, 0)};
    EXPECT_EQ("Create Error / Allocate Error", refusal(make_bmp(wide)));
}

TEST(BmpReader, EightBitFileReadsToTheSameDibAndColourTable) {
    Dib dib = noise_dib(9, 5, 8);
    const Bytes bytes = bmp8_bytes(dib.get());
    ASSERT_EQ(1078u + 12 * 5, bytes.size());
    EXPECT_EQ(0x4D42, bytes[0] | bytes[1] << 8);
    EXPECT_EQ(1078u + 60, std::uint32_t(bytes[2] | bytes[3] << 8));
    EXPECT_EQ(1078u, std::uint32_t(bytes[10] | bytes[11] << 8));
    EXPECT_EQ(0, std::memcmp(bytes.data() + 14, dib.get(), 1064));
    Dib back = read_bmp(bytes);
    ASSERT_TRUE(back);
    EXPECT_EQ(0, std::memcmp(back.get(), dib.get(), 1064 + 60));
}

TEST(BmpReader, OneTwoAndFourBitRowsUnpackWithColourTablesFromTheFile) {
    // Width 9: a 1-bit row of 4 bytes, a 2-bit row of 4, a 4-bit row of 8.
    Dib one = read_bmp(make_bmp({.width = 9,
                                 .height = 2,
                                 .bits = 1,
                                 .colours = 2,
                                 .pixels = {0xA5, 0x80, 0, 0, 0x01, 0x7F, 0, 0}}));
    ASSERT_TRUE(one);
    EXPECT_EQ(Bytes({0, 0, 0, 0, 0, 0, 0, 1, 0, 1, 0, 1, 0, 0, 1, 0, 1, 1}),
              pixels_top_first(one.get()));
    Dib two = read_bmp(make_bmp(
        {.width = 9, .height = 1, .bits = 2, .colours = 4, .pixels = {0x1B, 0xE4, 0x80, 0}}));
    ASSERT_TRUE(two);
    EXPECT_EQ(Bytes({0, 1, 2, 3, 3, 2, 1, 0, 2}), pixels_top_first(two.get()));
    EXPECT_EQ(9, io::colour_table(two.get())[3].rgbRed);
    Dib four = read_bmp(make_bmp({.width = 9,
                                  .height = 1,
                                  .bits = 4,
                                  .colours = 16,
                                  .pixels = {0x01, 0x23, 0x45, 0x67, 0xFE, 0, 0, 0}}));
    ASSERT_TRUE(four);
    EXPECT_EQ(Bytes({0, 1, 2, 3, 4, 5, 6, 7, 15}), pixels_top_first(four.get()));
    const RGBQUAD* table = io::colour_table(four.get());
    EXPECT_EQ(45, table[15].rgbRed);
    EXPECT_EQ(30, table[15].rgbGreen);
    EXPECT_EQ(0, table[16].rgbRed);
    EXPECT_EQ(0, table[255].rgbRed); // the default table is cleared
}

TEST(BmpReader, HeaderSizesTopDownRowsAndPixelOffset) {
    const Bytes rows = {1, 2, 0, 0, 3, 4, 0, 0}; // 2 x 2, bottom row first
    for (std::uint32_t size : {40u, 52u, 56u, 64u, 108u, 124u, 16u}) {
        Dib dib = read_bmp(make_bmp(
            {.header_size = size, .width = 2, .height = 2, .colours = 256, .pixels = rows}));
        ASSERT_TRUE(dib) << size;
        EXPECT_EQ(Bytes({3, 4, 1, 2}), pixels_top_first(dib.get())) << size;
        EXPECT_EQ(6, io::colour_table(dib.get())[2].rgbRed) << size;
    }
    Dib os2 = read_bmp(
        make_bmp({.header_size = 12, .width = 2, .height = 2, .colours = 256, .pixels = rows}));
    ASSERT_TRUE(os2);
    EXPECT_EQ(Bytes({3, 4, 1, 2}), pixels_top_first(os2.get()));
    EXPECT_EQ(6, io::colour_table(os2.get())[2].rgbRed);
    EXPECT_EQ(4, io::colour_table(os2.get())[2].rgbGreen);

    Dib top_down = read_bmp(make_bmp({.width = 2, .height = -2, .colours = 4, .pixels = rows}));
    ASSERT_TRUE(top_down);
    EXPECT_EQ(2, top_down->biHeight);
    EXPECT_EQ(Bytes({1, 2, 3, 4}), pixels_top_first(top_down.get()));

    // A gap between the table and the rows, as bfOffBits says.
    Dib gap =
        read_bmp(make_bmp({.width = 2, .height = 2, .colours = 4, .gap = 37, .pixels = rows}));
    ASSERT_TRUE(gap);
    EXPECT_EQ(Bytes({3, 4, 1, 2}), pixels_top_first(gap.get()));
}

TEST(BmpReader, ColourCountsAreClampedToTheDepthAndTheRoomBeforeThePixels) {
    // biClrUsed of 300 for 4 bits: 16 entries read, the rest black.
    Dib many = read_bmp(make_bmp({.width = 2,
                                  .height = 1,
                                  .bits = 4,
                                  .colours_used = 300,
                                  .colours = 16,
                                  .pixels = {0xF1, 0, 0, 0}}));
    ASSERT_TRUE(many);
    EXPECT_EQ(Bytes({15, 1}), pixels_top_first(many.get()));
    EXPECT_EQ(45, io::colour_table(many.get())[15].rgbRed);
    EXPECT_EQ(0, io::colour_table(many.get())[16].rgbRed);
    // Without a usable bfOffBits the rows follow all 20 declared entries.
    Bytes no_offset = make_bmp({.width = 2,
                                .height = 1,
                                .bits = 4,
                                .colours_used = 20,
                                .colours = 20,
                                .pixels = {0x2E, 0, 0, 0}});
    put32(no_offset, 10, 0);
    Dib skipped = read_bmp(no_offset);
    ASSERT_TRUE(skipped);
    EXPECT_EQ(Bytes({2, 14}), pixels_top_first(skipped.get()));
    EXPECT_EQ(0, io::colour_table(skipped.get())[16].rgbRed);
    // biClrUsed 0 on an 8-bit file whose rows start after 3 entries.
    Dib few = read_bmp(make_bmp({.width = 1, .height = 1, .colours = 3, .pixels = {2, 0, 0, 0}}));
    ASSERT_TRUE(few);
    EXPECT_EQ(2, pixel(few.get(), 0, 0));
    EXPECT_EQ(6, io::colour_table(few.get())[2].rgbRed);
    EXPECT_EQ(0, io::colour_table(few.get())[3].rgbRed);
}

TEST(BmpReader, DamagedPixelOffsetFallsBackToTheRowsAfterTheTable) {
    Bytes bytes = make_bmp({.width = 2, .height = 1, .colours = 256, .pixels = {7, 8, 0, 0}});
    for (std::uint32_t offset : {0u, 20u, 0xFFFFFFF0u}) {
        put32(bytes, 10, offset);
        Dib dib = read_bmp(bytes);
        ASSERT_TRUE(dib) << offset;
        EXPECT_EQ(Bytes({7, 8}), pixels_top_first(dib.get())) << offset;
    }
}

TEST(BmpReader, TruncatedFilesReadAsFarAsTheDataGoes) {
    Bytes bytes = make_bmp({.width = 3,
                            .height = 3,
                            .bits = 4,
                            .colours = 16,
                            .pixels = {0x12, 0x30, 0, 0, 0x45, 0x60, 0, 0, 0x78, 0x90, 0, 0}});
    bytes.resize(bytes.size() - 7);
    Dib dib = read_bmp(bytes);
    ASSERT_TRUE(dib);
    EXPECT_EQ(Bytes({0, 0, 0, 4, 5, 0, 1, 2, 3}), pixels_top_first(dib.get()));

    Bytes table_cut = make_bmp({.width = 1, .height = 1, .colours = 256, .pixels = {}});
    table_cut.resize(54 + 10);
    Dib no_rows = read_bmp(table_cut);
    ASSERT_TRUE(no_rows);
    EXPECT_EQ(3, io::colour_table(no_rows.get())[1].rgbRed);
    EXPECT_EQ(0, io::colour_table(no_rows.get())[2].rgbRed);
}

TEST(BmpReader, Rle8EscapesRunsAndDeltas) {
    const Bytes data = {3, 5,             // run of three 5s
                        0, 3, 7, 8, 9, 0, // absolute 7 8 9, padded to a word
                        0, 0,             // end of line
                        0, 2, 1, 1,       // delta: right 1, up 1
                        2, 4,             // 4 4 at (1..2, row 2)
                        9, 6,             // a run that leaves the row is cut
                        0, 0,             // end of line
                        0, 2, 0, 9,       // a delta far past the last row ends the data
                        1, 1};
    Dib dib = read_bmp(
        make_bmp({.width = 4, .height = 4, .compression = BI_RLE8, .colours = 16, .pixels = data}));
    ASSERT_TRUE(dib);
    // Rows from the top: row 3 (skipped), row 2, row 1 (empty), row 0.
    EXPECT_EQ(Bytes({0, 0, 0, 0, 0, 4, 4, 6, 0, 0, 0, 0, 5, 5, 5, 7}), pixels_top_first(dib.get()));
}

TEST(BmpReader, Rle4EscapesAndOddCounts) {
    const Bytes data = {5, 0x12,                      // 1 2 1 2 1
                        0, 0,                         // end of line
                        0, 3,    0x34, 0x50,          // absolute 3 4 5 (two bytes, already a word)
                        0, 5,    0x67, 0x89, 0xA0, 0, // absolute 6 7 8 9 10, padded
                        0, 1,                         // end of bitmap
                        4, 0xFF};                     // never read
    Dib dib = read_bmp(make_bmp({.width = 6,
                                 .height = 2,
                                 .bits = 4,
                                 .compression = BI_RLE4,
                                 .colours = 16,
                                 .pixels = data}));
    ASSERT_TRUE(dib);
    EXPECT_EQ(Bytes({3, 4, 5, 6, 7, 8, 1, 2, 1, 2, 1, 0}), pixels_top_first(dib.get()));
}

TEST(BmpReader, RleDataThatStopsEarlyKeepsWhatCame) {
    for (std::size_t cut = 0; cut <= 9; ++cut) {
        const Bytes data = {2, 9, 0, 4, 1, 2, 3, 4, 0};
        Dib dib =
            read_bmp(make_bmp({.width = 8,
                               .height = 2,
                               .compression = BI_RLE8,
                               .pixels = Bytes(data.begin(), data.begin() + std::ptrdiff_t(cut))}));
        ASSERT_TRUE(dib) << cut;
        EXPECT_EQ(cut >= 2 ? 9 : 0, pixel(dib.get(), 1, 1)) << cut;
    }
    // Top-down RLE reads with its rows flipped.
    Dib top_down = read_bmp(make_bmp(
        {.width = 2, .height = -2, .compression = BI_RLE8, .pixels = {2, 1, 0, 0, 2, 3, 0, 1}}));
    ASSERT_TRUE(top_down);
    EXPECT_EQ(Bytes({1, 1, 3, 3}), pixels_top_first(top_down.get()));
}

TEST(BmpWriter, FourBitFileMapsEachColourToTheNearestOfTheFirstSixteen) {
    Dib dib = noise_dib(9, 3, 4);
    RGBQUAD* table = io::colour_table(dib.get());
    table[20] = table[3];
    table[21] = RGBQUAD{BYTE(table[5].rgbBlue + 1), table[5].rgbGreen, table[5].rgbRed, 0};
    set_pixel(dib.get(), 0, 0, 20);
    set_pixel(dib.get(), 8, 2, 21);
    const Bytes bytes = bmp8_bytes(dib.get(), true);
    ASSERT_EQ(118u + 3 * 8, bytes.size());
    EXPECT_EQ(118u, std::uint32_t(bytes[10]));
    EXPECT_EQ(4, bytes[14 + 14]);
    EXPECT_EQ(16, bytes[14 + 32]);
    Dib back = read_bmp(bytes);
    ASSERT_TRUE(back);
    EXPECT_EQ(3, pixel(back.get(), 0, 0));
    EXPECT_EQ(5, pixel(back.get(), 8, 2));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 9; ++x)
            if ((x || y) && (x != 8 || y != 2)) {
                EXPECT_EQ(pixel(dib.get(), x, y), pixel(back.get(), x, y));
            }
    EXPECT_EQ(0, std::memcmp(io::colour_table(back.get()), table, 64));
}

TEST(BmpFiles, NamesWithoutExtensionGetBmp) {
    TempFolder folder;
    Dib dib = noise_dib(3, 2, 8);
    ASSERT_EQ(1, RaskoSaveDIB((folder / "picture.bmp").c_str(), dib.get(), io::bits_of(dib.get())));
    ASSERT_EQ(1, RaskoSaveDIB((folder / "a.bmp").c_str(), dib.get(), io::bits_of(dib.get())));
    ASSERT_EQ(1, RaskoSaveDIB((folder / "ab.c.bmp").c_str(), dib.get(), io::bits_of(dib.get())));
    for (const char* name : {"picture", "a.bmp", "ab.c"}) {
        Dib back(RaskoOpenDIB(nullptr, (folder / name).c_str()));
        ASSERT_TRUE(back) << name;
        EXPECT_TRUE(same_pixels(dib.get(), back.get())) << name;
    }
    EXPECT_FALSE(RaskoOpenDIB(nullptr, nullptr));
}

TEST(BmpFiles, MissingFilesFallBackToCheckedBitmapResources) {
    native::clear_resources();
    native::reset_message_boxes();
    const HMODULE module = reinterpret_cast<HMODULE>(0x1000);
    EXPECT_FALSE(RaskoOpenDIB(module, "/nonexistent/TOOL_BUTTON"));
    EXPECT_EQ("リソースがないよ", native::last_message_box().text);
    EXPECT_EQ("DIB open error", native::last_message_box().caption);

    // A packed DIB without file header; 4-bit resources are converted.
    const Bytes file =
        make_bmp({.width = 3, .height = 1, .bits = 4, .colours = 16, .pixels = {0x12, 0x30, 0, 0}});
    native::add_resource(module, RT_BITMAP, "/nonexistent/TOOL_BUTTON", file.data() + 14,
                         file.size() - 14);
    Dib dib(RaskoOpenDIB(module, "/nonexistent/TOOL_BUTTON"));
    ASSERT_TRUE(dib);
    EXPECT_EQ(Bytes({1, 2, 3}), pixels_top_first(dib.get()));
    EXPECT_EQ(6, io::colour_table(dib.get())[2].rgbRed);

    // A 24-bit resource is refused, not copied.
    const Bytes deep = make_bmp({.bits = 24, .pixels = Bytes(4, 0)});
    native::add_resource(module, RT_BITMAP, "DEEP", deep.data() + 14, deep.size() - 14);
    native::reset_message_boxes();
    EXPECT_FALSE(RaskoOpenDIB(module, "DEEP"));
    EXPECT_EQ("Can't read over 8bit color", native::last_message_box().text);
    native::clear_resources();
}

TEST(BmpFiles, FailedWritesAreReportedAndLeaveTheOldFile) {
    TempFolder folder;
    const std::string name = folder / "keep.bmp";
    Dib small = noise_dib(4, 4, 8);
    ASSERT_EQ(1, RaskoSaveDIB(name.c_str(), small.get(), io::bits_of(small.get())));
    const Bytes before = file_bytes(name);

    Dib dib = noise_dib(64, 64, 8);
    for (long long limit : {0LL, 13LL, 1100LL, 3000LL}) {
        native::fail_writes_after(limit);
        EXPECT_EQ(0, RaskoSaveDIB(name.c_str(), dib.get(), io::bits_of(dib.get())));
        EXPECT_EQ(0, RaskoSaveDIB4bit(name.c_str(), dib.get(), io::bits_of(dib.get())));
        native::fail_writes_after(-1);
        EXPECT_EQ(before, file_bytes(name)) << limit;
        EXPECT_EQ(1u, folder.file_count()) << limit;
    }

    HANDLE file = CreateFileA((folder / "direct.bmp").c_str(), GENERIC_WRITE, 0, nullptr,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    native::fail_writes_after(100);
    EXPECT_EQ(0, RaskoSaveDIBHandle(file, dib.get(), io::bits_of(dib.get())));
    EXPECT_EQ(0, RaskoSaveDIBHandle4bit(file, dib.get(), io::bits_of(dib.get())));
    native::fail_writes_after(-1);
    EXPECT_EQ(1, RaskoSaveDIBHandle4bit(file, dib.get(), io::bits_of(dib.get())));
    CloseHandle(file);
    EXPECT_EQ(0,
              RaskoSaveDIB((folder / "missing/x.bmp").c_str(), dib.get(), io::bits_of(dib.get())));
}

TEST(BmpReader, EveryByteOfTheNewDibIsWrittenOverUnzeroedMemory) {
    // Read DIBs are not zeroed first: each file is read over blocks filled
    // with 0xCD and over blocks filled with 0, and the pixel areas, pads and
    // the pixels the data never reaches included, must come out the same.
    const struct {
        const char* name;
        BmpSpec spec;
    } cases[] = {
        {"8-bit, pads, cut in a row",
         {.width = 5, .height = 3, .colours = 16, .pixels = {1, 2, 3, 4, 5, 9, 9, 9, 6, 7}}},
        {"8-bit top-down, cut",
         {.width = 3, .height = -3, .colours = 16, .pixels = {1, 2, 3, 0, 4, 5}}},
        {"8-bit, no rows", {.width = 6, .height = 2, .colours = 4, .pixels = {}}},
        {"4-bit, cut", {.width = 3, .height = 3, .bits = 4, .pixels = {0x12, 0x30, 0, 0, 0x45}}},
        {"2-bit top-down", {.width = 7, .height = -2, .bits = 2, .pixels = {0x1B, 0xE4, 0, 0}}},
        {"1-bit", {.width = 9, .height = 2, .bits = 1, .pixels = {0xA5, 0x80, 0, 0, 0x5A}}},
        {"RLE8 deltas, line ends, cut runs",
         {.width = 6, .height = 5, .compression = BI_RLE8, .pixels = {3, 5, 0, 2, 1, 1, 2,
                                                                      4, 9, 6, 0, 0, 0, 3,
                                                                      7, 8, 9, 0, 0, 1}}},
        {"RLE8 top-down, data ends in a row",
         {.width = 5, .height = -3, .compression = BI_RLE8, .pixels = {2, 1, 0, 0, 1, 3}}},
        {"RLE4 odd counts, delta past the end",
         {.width = 7,
          .height = 4,
          .bits = 4,
          .compression = BI_RLE4,
          .pixels = {5, 0x12, 0, 0, 0, 3, 0x34, 0x50, 0, 2, 1, 9}}},
    };
    for (const auto& c : cases) {
        const Bytes bytes = make_bmp(c.spec);
        Bytes areas[2];
        for (const int fill : {0xCD, 0}) {
            native::set_unzeroed_alloc_fill(fill);
            Dib dib = read_bmp(bytes);
            native::set_unzeroed_alloc_fill(-1);
            ASSERT_TRUE(dib) << c.name;
            const BYTE* bits = io::bits_of(dib.get());
            areas[fill == 0].assign(bits, bits + io::stride_of(dib->biWidth) *
                                                     std::size_t(rows_of(dib.get())));
            EXPECT_EQ(0u, dib->biSizeImage) << c.name;
        }
        EXPECT_EQ(areas[1], areas[0]) << c.name;
    }
}
