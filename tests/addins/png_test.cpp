// The PNG Add-Ins' codec against libpng: what we write libpng reads back
// exactly, and what libpng writes in every colour type we read.
#include "addins/png/png_picture.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstring>
#include <zlib.h>

namespace {

struct Memory {
    std::vector<BYTE> bytes;
    std::size_t at = 0;
};

void write_to(png_structp png, png_bytep data, png_size_t length) {
    auto* memory = static_cast<Memory*>(png_get_io_ptr(png));
    memory->bytes.insert(memory->bytes.end(), data, data + length);
}
void flush_nothing(png_structp) {}
void read_from(png_structp png, png_bytep data, png_size_t length) {
    auto* memory = static_cast<Memory*>(png_get_io_ptr(png));
    if (memory->bytes.size() - memory->at < length) png_error(png, "short");
    std::memcpy(data, memory->bytes.data() + memory->at, length);
    memory->at += length;
}

// What libpng sees in a file, without transformations.
struct LibpngImage {
    png_uint_32 width = 0, height = 0;
    int depth = 0, colour_type = 0, interlace = 0;
    std::vector<png_color> palette;
    std::vector<BYTE> alpha;
    std::vector<std::vector<BYTE>> rows;
};

bool read_with_libpng(const std::vector<BYTE>& bytes, LibpngImage& image) {
    Memory memory{bytes, 0};
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    png_set_read_fn(png, &memory, read_from);
    png_read_info(png, info);
    png_get_IHDR(png, info, &image.width, &image.height, &image.depth, &image.colour_type,
                 &image.interlace, nullptr, nullptr);
    png_colorp palette = nullptr;
    int entries = 0;
    if (png_get_PLTE(png, info, &palette, &entries))
        image.palette.assign(palette, palette + entries);
    png_bytep alpha = nullptr;
    int alpha_entries = 0;
    if (png_get_tRNS(png, info, &alpha, &alpha_entries, nullptr) && alpha)
        image.alpha.assign(alpha, alpha + alpha_entries);
    image.rows.assign(image.height, std::vector<BYTE>(png_get_rowbytes(png, info)));
    std::vector<png_bytep> pointers;
    for (auto& row : image.rows)
        pointers.push_back(row.data());
    png_read_image(png, pointers.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    return true;
}

struct LibpngWrite {
    int width, height, depth, colour_type;
    bool interlaced = false;
    std::vector<png_color> palette = {};
    std::vector<BYTE> alpha = {}; // tRNS for indexed pictures
    png_color_16 key{};           // tRNS for grey and truecolour
    bool has_key = false;
    std::vector<std::vector<BYTE>> rows = {};
};

std::vector<BYTE> write_with_libpng(const LibpngWrite& w) {
    Memory memory;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return {};
    }
    png_set_write_fn(png, &memory, write_to, flush_nothing);
    png_set_IHDR(png, info, w.width, w.height, w.depth, w.colour_type,
                 w.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (!w.palette.empty())
        png_set_PLTE(png, info, const_cast<png_colorp>(w.palette.data()), int(w.palette.size()));
    if (!w.alpha.empty())
        png_set_tRNS(png, info, const_cast<png_bytep>(w.alpha.data()), int(w.alpha.size()),
                     nullptr);
    if (w.has_key) png_set_tRNS(png, info, nullptr, 0, const_cast<png_color_16p>(&w.key));
    png_write_info(png, info);
    std::vector<png_bytep> pointers;
    for (const auto& row : w.rows)
        pointers.push_back(const_cast<png_bytep>(row.data()));
    png_write_image(png, pointers.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return memory.bytes;
}

PngPicture test_picture(int width, int height, int transparent) {
    PngPicture p;
    p.width = width;
    p.height = height;
    p.transparent_index = transparent;
    for (int i = 0; i < 256; ++i)
        p.palette[i] = RGBQUAD{BYTE(i), BYTE(255 - i), BYTE(i * 7), 0};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            p.pixels.push_back(BYTE((x * 31 + y * 17) % 256));
    return p;
}

bool decode(const std::vector<BYTE>& bytes, PngPicture& out) {
    return png_decode(bytes.data(), bytes.size(), out);
}

} // namespace

TEST(PngEncode, LibpngReadsIndexesPaletteAndKey) {
    for (int width : {1, 3, 4, 5, 33}) {
        const PngPicture picture = test_picture(width, 7, 9);
        LibpngImage image;
        ASSERT_TRUE(read_with_libpng(png_encode(picture), image)) << width;
        EXPECT_EQ(image.width, png_uint_32(width));
        EXPECT_EQ(image.height, 7u);
        EXPECT_EQ(image.depth, 8);
        EXPECT_EQ(image.colour_type, PNG_COLOR_TYPE_PALETTE);
        ASSERT_EQ(image.palette.size(), 256u);
        EXPECT_EQ(image.palette[200].red, BYTE(200 * 7));
        EXPECT_EQ(image.palette[200].green, 55);
        EXPECT_EQ(image.palette[200].blue, 200);
        ASSERT_EQ(image.alpha.size(), 10u);
        EXPECT_EQ(image.alpha[9], 0);
        EXPECT_EQ(image.alpha[8], 255);
        for (int y = 0; y < 7; ++y)
            for (int x = 0; x < width; ++x)
                ASSERT_EQ(image.rows[y][x], picture.pixels[std::size_t(y) * width + x]);
    }
}

TEST(PngEncode, NoKeyMeansNoTransparency) {
    LibpngImage image;
    ASSERT_TRUE(read_with_libpng(png_encode(test_picture(4, 4, -1)), image));
    EXPECT_TRUE(image.alpha.empty());
}

TEST(PngEncode, RefusesEmptyOrInconsistentPictures) {
    PngPicture picture = test_picture(4, 4, -1);
    picture.pixels.pop_back();
    EXPECT_TRUE(png_encode(picture).empty());
    EXPECT_TRUE(png_encode(PngPicture{}).empty());
}

TEST(PngRoundTrip, DecodeGivesBackWhatEncodeWrote) {
    const PngPicture picture = test_picture(37, 11, 254);
    PngPicture back;
    ASSERT_TRUE(decode(png_encode(picture), back));
    EXPECT_EQ(back.width, 37);
    EXPECT_EQ(back.height, 11);
    EXPECT_EQ(back.transparent_index, 254);
    EXPECT_EQ(back.pixels, picture.pixels);
    EXPECT_EQ(std::memcmp(back.palette, picture.palette, sizeof back.palette), 0);
}

TEST(PngDecode, IndexedLowDepthsUnpackAndKeepTheirTransparentEntry) {
    for (int depth : {1, 2, 4, 8}) {
        LibpngWrite w{
            .width = 13, .height = 3, .depth = depth, .colour_type = PNG_COLOR_TYPE_PALETTE};
        const int colours = 1 << depth;
        for (int i = 0; i < colours; ++i)
            w.palette.push_back({BYTE(i * 10), BYTE(i), 0});
        w.alpha = {255, 40, 0};
        if (depth == 1) w.alpha.resize(2);
        std::vector<int> expected;
        for (int y = 0; y < 3; ++y) {
            std::vector<BYTE> row((13 * depth + 7) / 8);
            for (int x = 0; x < 13; ++x) {
                const int v = (x + y) % colours;
                expected.push_back(v);
                row[x * depth / 8] |= BYTE(v << (8 - depth - (x * depth) % 8));
            }
            w.rows.push_back(row);
        }
        PngPicture p;
        ASSERT_TRUE(decode(write_with_libpng(w), p)) << depth;
        for (std::size_t i = 0; i < expected.size(); ++i)
            ASSERT_EQ(p.pixels[i], expected[i]);
        EXPECT_EQ(p.palette[1].rgbRed, 10);
        EXPECT_EQ(p.transparent_index, depth == 1 ? 1 : 2) << depth;
    }
}

TEST(PngDecode, GreyMapsEachLevelToItsIndex) {
    LibpngWrite w{.width = 4, .height = 1, .depth = 2, .colour_type = PNG_COLOR_TYPE_GRAY};
    w.rows = {{0x1B}}; // 0, 1, 2, 3
    PngPicture p;
    ASSERT_TRUE(decode(write_with_libpng(w), p));
    EXPECT_EQ(p.pixels, (std::vector<BYTE>{0, 1, 2, 3}));
    EXPECT_EQ(p.palette[3].rgbRed, 255);
    EXPECT_EQ(p.palette[1].rgbGreen, 85);

    LibpngWrite g16{.width = 2, .height = 1, .depth = 16, .colour_type = PNG_COLOR_TYPE_GRAY};
    g16.rows = {{0x12, 0x34, 0xAB, 0xCD}};
    g16.has_key = true;
    g16.key.gray = 0xABCD;
    ASSERT_TRUE(decode(write_with_libpng(g16), p));
    EXPECT_EQ(p.pixels, (std::vector<BYTE>{0x12, 0xAB}));
    EXPECT_EQ(p.transparent_index, 0xAB);
}

TEST(PngDecode, FewTruecolourColoursKeepTheirExactValues) {
    for (bool interlaced : {false, true}) {
        LibpngWrite w{.width = 19,
                      .height = 9,
                      .depth = 8,
                      .colour_type = PNG_COLOR_TYPE_RGBA,
                      .interlaced = interlaced};
        for (int y = 0; y < 9; ++y) {
            std::vector<BYTE> row;
            for (int x = 0; x < 19; ++x) {
                const bool clear = x == y;
                row.insert(row.end(), {BYTE(x * 10), BYTE(y * 20), 7, BYTE(clear ? 0 : 255)});
            }
            w.rows.push_back(row);
        }
        PngPicture p;
        ASSERT_TRUE(decode(write_with_libpng(w), p)) << interlaced;
        ASSERT_GE(p.transparent_index, 0);
        for (int y = 0; y < 9; ++y)
            for (int x = 0; x < 19; ++x) {
                const BYTE index = p.pixels[std::size_t(y) * 19 + x];
                if (x == y) {
                    ASSERT_EQ(index, p.transparent_index);
                    continue;
                }
                ASSERT_NE(index, p.transparent_index);
                EXPECT_EQ(p.palette[index].rgbRed, x * 10);
                EXPECT_EQ(p.palette[index].rgbGreen, y * 20);
                EXPECT_EQ(p.palette[index].rgbBlue, 7);
            }
    }
}

TEST(PngDecode, ManyColoursFallBackToTheCube) {
    LibpngWrite w{.width = 64, .height = 16, .depth = 16, .colour_type = PNG_COLOR_TYPE_RGB};
    for (int y = 0; y < 16; ++y) {
        std::vector<BYTE> row;
        for (int x = 0; x < 64; ++x)
            row.insert(row.end(), {BYTE(x * 4), 0, BYTE(y * 16), 0, 255, 0});
        w.rows.push_back(row);
    }
    PngPicture p;
    ASSERT_TRUE(decode(write_with_libpng(w), p));
    EXPECT_EQ(p.transparent_index, -1);
    const RGBQUAD c = p.palette[p.pixels[63]]; // (252, 0, 255)
    EXPECT_EQ(c.rgbRed, 255);
    EXPECT_EQ(c.rgbBlue, 255);
}

TEST(PngDecode, RefusesDamagedInput) {
    const std::vector<BYTE> good = png_encode(test_picture(8, 8, -1));
    PngPicture p;
    ASSERT_TRUE(decode(good, p));
    for (std::size_t cut :
         {std::size_t(0), std::size_t(7), std::size_t(20), good.size() - 13, good.size() - 1})
        EXPECT_FALSE(png_decode(good.data(), cut, p)) << cut;

    std::vector<BYTE> bad_crc = good;
    bad_crc[29] ^= 1; // last CRC byte of IHDR
    EXPECT_FALSE(decode(bad_crc, p));

    std::vector<BYTE> bad_signature = good;
    bad_signature[1] = 'p';
    EXPECT_FALSE(decode(bad_signature, p));
    EXPECT_FALSE(png_decode(nullptr, 0, p));
}

namespace {

// A file whose IHDR says the given size and depth, with a matching CRC.
std::vector<BYTE> with_header(std::vector<BYTE> bytes, std::uint32_t width, std::uint32_t height) {
    for (int i = 0; i < 4; ++i) {
        bytes[16 + i] = BYTE(width >> (24 - 8 * i));
        bytes[20 + i] = BYTE(height >> (24 - 8 * i));
    }
    const uLong crc = crc32(crc32(0, nullptr, 0), bytes.data() + 12, 17);
    for (int i = 0; i < 4; ++i)
        bytes[29 + i] = BYTE(crc >> (24 - 8 * i));
    return bytes;
}

} // namespace

TEST(PngDecode, SizesOutsideTheLimitsOrDataTooShortAreRefused) {
    const std::vector<BYTE> good = png_encode(test_picture(8, 8, -1));
    PngPicture p;
    EXPECT_TRUE(decode(with_header(good, 8, 8), p));
    EXPECT_FALSE(decode(with_header(good, 0, 8), p));
    EXPECT_FALSE(decode(with_header(good, 8, 0), p));
    EXPECT_FALSE(decode(with_header(good, 32768, 1), p));
    EXPECT_FALSE(decode(with_header(good, 0x80000000u, 1), p));
    EXPECT_FALSE(decode(with_header(good, 32767, 32767), p)); // over kPngMaxPixels
    EXPECT_FALSE(decode(with_header(good, 9, 8), p));         // image data too short
}

TEST(PngDib, RowsAreFlippedAndPadded) {
    for (int width : {1, 3, 4, 5}) {
        const PngPicture picture = test_picture(width, 3, 2);
        BITMAPINFOHEADER* dib = png_to_dib(picture);
        ASSERT_NE(dib, nullptr);
        const BYTE* bits = reinterpret_cast<BYTE*>(dib) + 40 + 1024;
        const int stride = (width + 3) & ~3;
        EXPECT_EQ(bits[0], picture.pixels[std::size_t(2) * width]); // bottom row first
        EXPECT_EQ(dib->biHeight, 3);
        PngPicture back;
        ASSERT_TRUE(png_from_dib(dib, bits, 2, back));
        EXPECT_EQ(back.pixels, picture.pixels);
        EXPECT_EQ(back.transparent_index, 2);
        EXPECT_EQ(std::memcmp(back.palette, picture.palette, sizeof back.palette), 0);

        dib->biHeight = -3; // top-down rows read in their own order
        ASSERT_TRUE(png_from_dib(dib, bits, -1, back));
        EXPECT_EQ(back.pixels[0], bits[0]);
        EXPECT_EQ(back.pixels[std::size_t(width)], bits[stride]);
        EXPECT_EQ(back.transparent_index, -1);
        GlobalFree(dib);
    }
}
