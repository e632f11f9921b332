// GIF reader and writer: exact bytes where the format is fixed, round trips,
// hand-made LZW streams for the decoder's limits, and damaged files.
#include "codec_support.h"

#include <cstring>
#include <map>

using namespace codec_test;

namespace {

// Packs codes of given widths least significant bit first.
class CodePacker {
  public:
    void put(unsigned code, unsigned bits) {
        bits_ |= std::uint64_t(code) << count_;
        count_ += bits;
        while (count_ >= 8) {
            bytes_.push_back(BYTE(bits_));
            bits_ >>= 8;
            count_ -= 8;
        }
    }
    Bytes done() {
        if (count_) bytes_.push_back(BYTE(bits_));
        count_ = 0;
        bits_ = 0;
        return bytes_;
    }

  private:
    Bytes bytes_;
    std::uint64_t bits_ = 0;
    unsigned count_ = 0;
};

// A plain LZW encoder written independently of the engine's: a map from
// (prefix code, pixel) to code. With `clear_when_full` false it never resets
// the table (a "deferred clear" stream) and goes on with 12-bit codes.
Bytes reference_lzw(const Bytes& pixels, unsigned min_code_size, bool clear_when_full) {
    const unsigned clear = 1u << min_code_size;
    std::map<std::pair<unsigned, BYTE>, unsigned> table;
    unsigned next = clear + 2, bits = min_code_size + 1;
    CodePacker packer;
    packer.put(clear, bits);
    unsigned current = pixels[0];
    for (std::size_t i = 1; i < pixels.size(); ++i) {
        const auto found = table.find({current, pixels[i]});
        if (found != table.end()) {
            current = found->second;
            continue;
        }
        packer.put(current, bits);
        if (next < 4096) table[{current, pixels[i]}] = next++;
        if (next == 4096 && clear_when_full) {
            packer.put(clear, bits);
            table.clear();
            next = clear + 2;
            bits = min_code_size + 1;
        } else if (next > (1u << bits) && bits < 12) {
            ++bits;
        }
        current = pixels[i];
    }
    packer.put(current, bits);
    packer.put(clear + 1, bits);
    return packer.done();
}

// Builds GIF files block by block.
class GifBuilder {
  public:
    // A logical screen with a global table of 2^table_bits entries (entry i
    // = i, 2i, 3i), or none when table_bits is 0.
    GifBuilder(unsigned width, unsigned height, unsigned table_bits)
        : bytes_{'G', 'I', 'F', '8', '9', 'a'} {
        word(width);
        word(height);
        bytes_.push_back(table_bits ? BYTE(0x80 | (table_bits - 1)) : 0);
        bytes_.push_back(0);
        bytes_.push_back(0);
        for (unsigned i = 0; table_bits && i < (1u << table_bits); ++i)
            add_colour(BYTE(i), BYTE(2 * i), BYTE(3 * i));
    }
    GifBuilder& raw(const Bytes& more) {
        bytes_.insert(bytes_.end(), more.begin(), more.end());
        return *this;
    }
    GifBuilder& graphic_control(BYTE packed, unsigned delay, BYTE transparent) {
        return raw({0x21, 0xF9, 4, packed, BYTE(delay), BYTE(delay >> 8), transparent, 0});
    }
    GifBuilder& extension(BYTE label, const std::vector<Bytes>& blocks) {
        raw({0x21, label});
        for (const Bytes& b : blocks) {
            bytes_.push_back(BYTE(b.size()));
            raw(b);
        }
        bytes_.push_back(0);
        return *this;
    }
    // An image whose data is `codes` in sub-blocks of up to 255 bytes.
    GifBuilder& image(unsigned left, unsigned top, unsigned width, unsigned height, BYTE flags,
                      unsigned min_code_size, const Bytes& codes, const Bytes& local_rgb = {}) {
        bytes_.push_back(0x2C);
        word(left);
        word(top);
        word(width);
        word(height);
        bytes_.push_back(flags);
        raw(local_rgb);
        bytes_.push_back(BYTE(min_code_size));
        for (std::size_t at = 0; at < codes.size(); at += 255) {
            const std::size_t n = std::min<std::size_t>(255, codes.size() - at);
            bytes_.push_back(BYTE(n));
            bytes_.insert(bytes_.end(), codes.begin() + std::ptrdiff_t(at),
                          codes.begin() + std::ptrdiff_t(at + n));
        }
        bytes_.push_back(0);
        return *this;
    }
    // A whole image of the given pixels (top row first) in a standard stream.
    GifBuilder& image(unsigned width, unsigned height, const Bytes& pixels,
                      unsigned min_code_size = 8, BYTE flags = 0) {
        return image(0, 0, width, height, flags, min_code_size,
                     reference_lzw(pixels, min_code_size, true));
    }
    Bytes end() {
        bytes_.push_back(0x3B);
        return bytes_;
    }
    Bytes unfinished() const { return bytes_; }

  private:
    void word(unsigned v) {
        bytes_.push_back(BYTE(v));
        bytes_.push_back(BYTE(v >> 8));
    }
    void add_colour(BYTE r, BYTE g, BYTE b) { raw({r, g, b}); }
    Bytes bytes_;
};

// Pixels 0, 1, 2, ... (mod 256) in row order.
Bytes counting(std::size_t count, unsigned modulo = 256) {
    Bytes out(count);
    for (std::size_t i = 0; i < count; ++i)
        out[i] = BYTE(i % modulo);
    return out;
}

std::size_t find(const Bytes& haystack, const Bytes& needle) {
    const auto at = std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end());
    return at == haystack.end() ? std::string::npos : std::size_t(at - haystack.begin());
}

} // namespace

TEST(GifWriter, SmallTransparentPictureWithCommentIsWrittenByteForByte) {
    Dib dib(RaskoCreateDIB(2, 2));
    io::colour_table(dib.get())[0] = RGBQUAD{3, 2, 1, 0};
    io::colour_table(dib.get())[1] = RGBQUAD{6, 5, 4, 0};
    char comment[] = "hi";
    Bytes expected = {'G',  'I',  'F',  '8',  '9', 'a', 2,   0,   2,   0,   0x80, 1,   0, // screen
                      1,    2,    3,    4,    5,   6,                                     // table
                      0x21, 0xF9, 4,    1,    0,   0,   1,   0,           // transparency
                      0x2C, 0,    0,    0,    0,   2,   0,   2,   0,   0, // image
                      2,    2,    0x84, 0x51, 0,      // codes clear 0 6 0 end, 3 bits each
                      0x21, 0xFE, 2,    'h',  'i', 0, // comment
                      0x21, 0xFF, 11,   'R',  'A', 'S', 'K', 'O', '3', '2', ' ',  '1', '.',
                      '0',  34};
    for (char c : std::string("\n\nGIF Encoder for Win32 (RASKO32)\n"))
        expected.push_back(BYTE(c));
    expected.insert(expected.end(), {0, 0x3B});
    EXPECT_EQ(expected, gif_bytes(dib.get(), 1, 0, 1, comment));
}

TEST(GifWriter, ScreenDescriptorAndTableFollowTheDepth) {
    Dib dib = noise_dib(5, 3, 1);
    const Bytes one = gif_bytes(dib.get(), 1);
    EXPECT_EQ(0, std::memcmp(one.data(), "GIF89a", 6));
    EXPECT_EQ(Bytes({5, 0, 3, 0, 0x80, 0, 0}), Bytes(one.begin() + 6, one.begin() + 13));
    // Two table entries (red, green, blue), then the image descriptor and
    // minimum code size 2.
    EXPECT_EQ(Bytes({0, 255, 0, 7, 254, 1}), Bytes(one.begin() + 13, one.begin() + 19));
    EXPECT_EQ(Bytes({0x2C, 0, 0, 0, 0, 5, 0, 3, 0, 0x00, 2}),
              Bytes(one.begin() + 19, one.begin() + 30));

    const Bytes eight = gif_bytes(dib.get(), 8, 1);
    EXPECT_EQ(0xF7, eight[10]);
    EXPECT_EQ(0x2C, eight[13 + 768]);
    EXPECT_EQ(0x40, eight[13 + 768 + 9]);
    EXPECT_EQ(8, eight[13 + 768 + 10]);
}

TEST(GifWriter, TransparencyCountsOnlyInsideTheTable) {
    Dib dib = noise_dib(4, 4, 4);
    const Bytes with = gif_bytes(dib.get(), 4, 0, 5);
    EXPECT_EQ(5, with[11]);
    EXPECT_EQ(13u + 48, find(with, {0x21, 0xF9, 0x04, 0x01, 0x00, 0x00, 0x05, 0x00}));

    const Bytes without = gif_bytes(dib.get(), 4, 0, 16);
    EXPECT_EQ(0, without[11]);
    EXPECT_EQ(std::string::npos, find(without, {0x21, 0xF9}));
    EXPECT_EQ(0x2C, without[13 + 48]);
}

TEST(GifWriter, CommentIsCutTo255BytesInTheCallersText) {
    Dib dib = noise_dib(2, 2, 2);
    std::string text(300, 'c');
    const Bytes bytes = gif_bytes(dib.get(), 2, 0, -1, text.data());
    EXPECT_EQ(255u, std::strlen(text.c_str()));
    const std::size_t at = find(bytes, {0x21, 0xFE});
    ASSERT_NE(std::string::npos, at);
    EXPECT_EQ(255, bytes[at + 2]);
    EXPECT_EQ(0, bytes[at + 3 + 255]);

    Animation read(bytes);
    EXPECT_EQ(std::string(255, 'c'), read.record.comment);

    char empty[] = "";
    EXPECT_EQ(std::string::npos, find(gif_bytes(dib.get(), 2, 0, -1, empty), {0x21, 0xFE}));
}

TEST(GifWriter, EndsWithTheLibraryBannerAndTrailer) {
    Dib dib = noise_dib(3, 3, 8);
    const Bytes bytes = gif_bytes(dib.get(), 8);
    const std::string banner = "\n\nGIF Encoder for Win32 (RASKO32)\n";
    Bytes tail = {0x21, 0xFF, 0x0B};
    for (char c : std::string("RASKO32 1.0"))
        tail.push_back(BYTE(c));
    tail.push_back(BYTE(banner.size()));
    tail.insert(tail.end(), banner.begin(), banner.end());
    tail.push_back(0);
    tail.push_back(0x3B);
    ASSERT_GE(bytes.size(), tail.size());
    EXPECT_EQ(tail, Bytes(bytes.end() - std::ptrdiff_t(tail.size()), bytes.end()));
}

TEST(GifWriter, DataSubBlocksAre254Bytes) {
    Dib dib = noise_dib(200, 200, 8);
    const Bytes bytes = gif_bytes(dib.get(), 8);
    std::size_t at = 13 + 768 + 10 + 1;
    int full = 0;
    while (bytes[at] == 254) {
        at += 255;
        ++full;
    }
    EXPECT_GT(full, 100);
    EXPECT_LT(bytes[at], 254);
    at += bytes[at] + 1u;
    EXPECT_EQ(0, bytes[at]);
}

TEST(GifRoundTrip, EveryDepthWidthAndInterlaceReadsBack) {
    for (int depth = 1; depth <= 8; ++depth)
        for (int width : {1, 4, 7, 8, 9, 15, 33})
            for (int interlace : {0, 1}) {
                SCOPED_TRACE(testing::Message() << depth << " bits, width " << width
                                                << (interlace ? " interlaced" : ""));
                Dib dib = noise_dib(width, 11, depth, unsigned(width * depth));
                Dib back = read_gif(gif_bytes(dib.get(), depth, interlace));
                ASSERT_TRUE(back);
                EXPECT_TRUE(same_pixels(dib.get(), back.get()));
                for (int i = 0; i < (1 << depth); ++i)
                    EXPECT_EQ(0, std::memcmp(&io::colour_table(dib.get())[i],
                                             &io::colour_table(back.get())[i], 3));
            }
}

TEST(GifRoundTrip, PixelsAboveTheDepthAreMasked) {
    Dib dib(RaskoCreateDIB(4, 1));
    for (int x = 0; x < 4; ++x)
        set_pixel(dib.get(), x, 0, 0xF0 | x);
    Dib back = read_gif(gif_bytes(dib.get(), 2));
    for (int x = 0; x < 4; ++x)
        EXPECT_EQ(x, pixel(back.get(), x, 0));
}

TEST(GifRoundTrip, TableResetsAtCode4096AndDecodesAgain) {
    for (int depth : {1, 4, 8}) {
        Dib dib = noise_dib(300, 300, depth, 7);
        const Bytes bytes = gif_bytes(dib.get(), depth);
        Dib back = read_gif(bytes);
        ASSERT_TRUE(back);
        EXPECT_TRUE(same_pixels(dib.get(), back.get()));
    }
    // The engine resets exactly where the reference encoder does, so a
    // noise picture encodes to the same bytes.
    Dib dib = noise_dib(256, 256, 8, 3);
    const Bytes bytes = gif_bytes(dib.get(), 8);
    const Bytes codes = reference_lzw(pixels_top_first(dib.get()), 8, true);
    Bytes unblocked;
    for (std::size_t at = 13 + 768 + 11; bytes[at]; at += bytes[at] + 1u)
        unblocked.insert(unblocked.end(), bytes.begin() + std::ptrdiff_t(at + 1),
                         bytes.begin() + std::ptrdiff_t(at + 1 + bytes[at]));
    EXPECT_EQ(codes, unblocked);
}

TEST(GifRoundTrip, TopDownPicturesAreWrittenTopRowFirst) {
    Dib dib = noise_dib(6, 5, 8);
    Dib flipped(RaskoCreateDIB(6, 5));
    std::memcpy(flipped.get(), dib.get(), 1064);
    flipped->biHeight = -5;
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x)
            set_pixel(flipped.get(), x, y, pixel(dib.get(), x, y));
    Dib back = read_gif(gif_bytes(flipped.get(), 8));
    EXPECT_TRUE(same_pixels(dib.get(), back.get()));
}

TEST(GifWriter, NoMemoryForTheStringTableIsReported) {
    Dib dib = noise_dib(4, 4, 8);
    Bytes bytes;
    rasko::Output out(append, &bytes);
    native::set_global_alloc_failure(true);
    const bool written =
        rasko::write_gif(out, dib.get(), io::bits_of(dib.get()), 8, 0, -1, nullptr);
    native::set_global_alloc_failure(false);
    EXPECT_FALSE(written);
}

TEST(GifWriter, RefusesWhatAGifCannotHold) {
    Dib dib = noise_dib(4, 4, 8);
    Bytes bytes;
    for (int depth : {0, 9, -1}) {
        rasko::Output out(append, &bytes);
        EXPECT_FALSE(
            rasko::write_gif(out, dib.get(), io::bits_of(dib.get()), depth, 0, -1, nullptr));
    }
    Dib wide(RaskoCreateDIB(70000, 1));
    rasko::Output out(append, &bytes);
    EXPECT_FALSE(rasko::write_gif(out, wide.get(), io::bits_of(wide.get()), 8, 0, -1, nullptr));
    EXPECT_TRUE(bytes.empty());
}

namespace {

// A three-frame animation over a 4-colour global palette.
struct AnimationFixture {
    Dib dibs[3] = {noise_dib(5, 4, 2, 1), noise_dib(3, 7, 2, 2), noise_dib(1, 1, 2, 3)};
    GifFrame frames[3] = {};
    GifFrame* pointers[3] = {&frames[0], &frames[1], &frames[2]};
    RGBQUAD palette[256] = {};
    GifAnimation record{};

    AnimationFixture() {
        std::memcpy(palette, io::colour_table(dibs[0].get()), sizeof palette);
        for (auto& d : dibs)
            std::memcpy(io::colour_table(d.get()), palette, sizeof palette);
        io::colour_table(dibs[1].get())[0].rgbRed ^= 1;
        const LONG lefts[3] = {0, 10, 300}, tops[3] = {0, 2, 200};
        const LONG delays[3] = {5, 100, 65535}, disposals[3] = {0, 2, 3};
        for (int i = 0; i < 3; ++i) {
            frames[i] = {dibs[i].get(),
                         io::bits_of(dibs[i].get()),
                         lefts[i],
                         tops[i],
                         -1,
                         delays[i],
                         disposals[i],
                         i == 1};
        }
        frames[2].transparentIndex = 3;
        record.frameCount = 3;
        record.screenWidth = 320;
        record.screenHeight = 240;
        record.backgroundIndex = 2;
        record.aspectRatio = 49;
        record.bitsPerPixel = 2;
        record.loopCount = 7;
        record.globalPalette = palette;
        record.frames = pointers;
        std::strcpy(record.comment, "three frames");
    }
};

} // namespace

TEST(GifAnimationRoundTrip, FramesKeepPositionTimingDisposalAndTables) {
    AnimationFixture fixture;
    const Bytes bytes = gif_bytes(&fixture.record);
    EXPECT_EQ(49, bytes[12]);
    EXPECT_EQ(13u + 12, find(bytes, {0x21, 0xFF, 0x0B}));
    EXPECT_NE(std::string::npos, find(bytes, {3, 1, 7, 0, 0, 0x21, 0xF9}));
    // Frame 1 has user input and disposal 2; frame 2 is transparent.
    EXPECT_NE(std::string::npos, find(bytes, {0x21, 0xF9, 4, 0x0A, 100, 0, 0, 0}));
    EXPECT_NE(std::string::npos, find(bytes, {0x21, 0xF9, 4, 0x0D, 0xFF, 0xFF, 3, 0}));
    // Only the frame whose entry 0 differs carries a local table.
    EXPECT_NE(std::string::npos, find(bytes, {0x2C, 10, 0, 2, 0, 3, 0, 7, 0, 0x81}));
    EXPECT_NE(std::string::npos, find(bytes, {0x2C, 0x2C, 1, 200, 0, 1, 0, 1, 0, 0x00}));

    Animation read(bytes);
    ASSERT_EQ(3u, read.record.frameCount);
    EXPECT_EQ(320u, read.record.screenWidth);
    EXPECT_EQ(240u, read.record.screenHeight);
    EXPECT_EQ(2u, read.record.backgroundIndex);
    EXPECT_EQ(49u, read.record.aspectRatio);
    EXPECT_EQ(2u, read.record.bitsPerPixel);
    EXPECT_EQ(7, read.record.loopCount);
    EXPECT_EQ(0u, read.record.interlaced);
    EXPECT_STREQ("three frames", read.record.comment);
    EXPECT_EQ(0, std::memcmp(read.record.applicationId, "RASKO32 ", 8));
    EXPECT_EQ(0, std::memcmp(read.record.applicationAuth, "1.0", 3));
    for (DWORD i = 0; i < 3; ++i) {
        const GifFrame& in = fixture.frames[i];
        const GifFrame& out = read.frame(i);
        EXPECT_TRUE(same_pixels(in.dib, out.dib));
        EXPECT_EQ(out.bits, io::bits_of(out.dib));
        EXPECT_EQ(in.left, out.left);
        EXPECT_EQ(in.top, out.top);
        EXPECT_EQ(in.delay, out.delay);
        EXPECT_EQ(in.disposal, out.disposal);
        EXPECT_EQ(in.userInput, out.userInput);
        EXPECT_EQ(in.transparentIndex, out.transparentIndex);
        EXPECT_EQ(0, std::memcmp(io::colour_table(in.dib), io::colour_table(out.dib), 16));
    }
}

TEST(GifAnimationRoundTrip, LargeAnimationsEncodedSideBySideReadBackInOrder) {
    // Enough pixels for the frames to be encoded on several threads and to
    // fill the window of frames in flight more than once, whatever the
    // number of cores; one frame is larger than the whole window.
    constexpr DWORD kFrames = 70, kLarge = 40, kLargeSide = 2100;
    std::vector<Dib> dibs;
    std::vector<GifFrame> frames(kFrames);
    std::vector<GifFrame*> pointers;
    for (DWORD i = 0; i < kFrames; ++i) {
        const int side = i == kLarge ? int(kLargeSide) : 256;
        dibs.push_back(noise_dib(side, side - int(i), 8, i));
        frames[i] = {dibs[i].get(), nullptr, 0, 0, -1, 10, 1, 0};
        pointers.push_back(&frames[i]);
    }
    GifAnimation record{};
    record.frameCount = kFrames;
    record.screenWidth = kLargeSide;
    record.screenHeight = kLargeSide;
    record.bitsPerPixel = 8;
    record.globalPalette = io::colour_table(dibs[0].get());
    record.frames = pointers.data();
    Animation read(gif_bytes(&record));
    ASSERT_EQ(kFrames, read.record.frameCount);
    for (DWORD i = 0; i < kFrames; ++i)
        EXPECT_TRUE(same_pixels(dibs[i].get(), read.frame(i).dib)) << "frame " << i;
}

TEST(GifAnimationWriter, LoopCountOneWritesIdZeroAndSingleFramesHaveNoTiming) {
    AnimationFixture fixture;
    fixture.record.loopCount = 1;
    EXPECT_NE(std::string::npos, find(gif_bytes(&fixture.record), {3, 0, 1, 0, 0}));
    fixture.record.loopCount = 0;
    EXPECT_NE(std::string::npos, find(gif_bytes(&fixture.record), {3, 1, 0, 0, 0}));

    fixture.record.frameCount = 1;
    fixture.record.interlaced = 1;
    const Bytes single = gif_bytes(&fixture.record);
    EXPECT_NE(std::string::npos, find(single, {0x21, 0xF9, 4, 0, 0, 0, 0, 0, 0x2C}));
    Animation read(single);
    ASSERT_EQ(1u, read.record.frameCount);
    EXPECT_EQ(1u, read.record.interlaced);
    EXPECT_TRUE(same_pixels(fixture.dibs[0].get(), read.frame(0).dib));
}

TEST(GifAnimationWriter, RefusesRecordsItCannotWriteBeforeWritingAnything) {
    AnimationFixture fixture;
    Bytes bytes;
    auto refused = [&] {
        rasko::Output out(append, &bytes);
        return !rasko::write_gif_animation(out, &fixture.record) && bytes.empty();
    };
    fixture.frames[1].left = -1;
    EXPECT_TRUE(refused());
    fixture.frames[1].left = 0;
    fixture.pointers[2] = nullptr;
    EXPECT_TRUE(refused());
    fixture.pointers[2] = &fixture.frames[2];
    fixture.record.bitsPerPixel = 0;
    EXPECT_TRUE(refused());
    fixture.record.bitsPerPixel = 2;
    fixture.record.frames = nullptr;
    EXPECT_TRUE(refused());
}

TEST(GifReader, TwoColourFileKeepsDefaultOrBlackEntriesBeyondTheTable) {
    const Bytes bytes = GifBuilder(2, 1, 1).image(2, 1, {1, 0}, 2).end();
    Dib simple = read_gif(bytes);
    ASSERT_TRUE(simple);
    EXPECT_EQ(1, pixel(simple.get(), 0, 0));
    const RGBQUAD* table = io::colour_table(simple.get());
    EXPECT_EQ(1, table[1].rgbRed);
    EXPECT_EQ(3, table[1].rgbBlue);
    EXPECT_EQ(128, table[2].rgbGreen); // the default table's entry 2
    EXPECT_EQ(255, table[255].rgbRed);

    Animation animation(bytes);
    ASSERT_EQ(1u, animation.record.frameCount);
    const RGBQUAD* frame_table = io::colour_table(animation.frame(0).dib);
    EXPECT_EQ(2, frame_table[1].rgbGreen);
    EXPECT_EQ(0, frame_table[2].rgbGreen);
    EXPECT_EQ(0, frame_table[255].rgbRed);
}

TEST(GifReader, InterlacedRowsArriveInFourPasses) {
    // Data row i holds the value i; the picture's rows must come out in the
    // order 0, 8, 4, 2, 6, 1, 3, 5, 7, 9 of the stream.
    Bytes pixels;
    for (int i = 0; i < 10; ++i)
        pixels.insert(pixels.end(), 3, BYTE(i));
    Dib dib = read_gif(GifBuilder(3, 10, 4).image(3, 10, pixels, 4, 0x40).end());
    ASSERT_TRUE(dib);
    const int order[10] = {0, 8, 4, 2, 6, 1, 3, 5, 7, 9};
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(i, pixel(dib.get(), 1, order[i])) << "data row " << i;
}

TEST(GifReader, GraphicControlAndTablesGoToTheNextFrame) {
    const Bytes bytes = GifBuilder(4, 4, 0)
                            .graphic_control(0x09, 300, 6)
                            .image(1, 2, 2, 2, 0x81, 2, reference_lzw({0, 1, 2, 3}, 2, true),
                                   {9, 8, 7, 6, 5, 4, 3, 2, 1, 0, 0, 0})
                            .image(4, 4, counting(16, 4), 2)
                            .end();
    Animation animation(bytes);
    ASSERT_EQ(2u, animation.record.frameCount);
    const GifFrame& first = animation.frame(0);
    EXPECT_EQ(2, first.disposal);
    EXPECT_EQ(6, first.transparentIndex);
    EXPECT_EQ(0, first.userInput);
    EXPECT_EQ(300, first.delay);
    EXPECT_EQ(1, first.left);
    EXPECT_EQ(2, first.top);
    const GifFrame& second = animation.frame(1);
    EXPECT_EQ(-1, second.transparentIndex);
    EXPECT_EQ(0, second.delay);
    EXPECT_EQ(0, second.disposal);
    // No global table: the palette comes from the first frame's table.
    const RGBQUAD* palette = animation.record.globalPalette;
    ASSERT_NE(nullptr, palette);
    EXPECT_EQ(9, palette[0].rgbRed);
    EXPECT_EQ(7, palette[0].rgbBlue);
    EXPECT_EQ(5, palette[1].rgbGreen);

    // The simple reader returns only the first image, with its local table.
    Dib simple = read_gif(bytes);
    ASSERT_TRUE(simple);
    EXPECT_EQ(2, simple->biWidth);
    EXPECT_EQ(3, pixel(simple.get(), 1, 1));
    EXPECT_EQ(6, io::colour_table(simple.get())[1].rgbRed);
}

TEST(GifReader, StreamWithoutImagesGivesTheBlankScreenOrNoFrames) {
    const Bytes bytes = GifBuilder(7, 3, 2).end();
    Dib dib = read_gif(bytes);
    ASSERT_TRUE(dib);
    EXPECT_EQ(7, dib->biWidth);
    EXPECT_EQ(3, dib->biHeight);
    Animation animation(bytes);
    EXPECT_EQ(0u, animation.record.frameCount);
    const GifFrame* const* frames = animation.record.frames;
    const RGBQUAD* palette = animation.record.globalPalette;
    EXPECT_NE(nullptr, frames);
    EXPECT_NE(nullptr, palette);
}

TEST(GifDecoder, CodeNotYetInTheTableEndsTheImageData) {
    CodePacker codes;
    codes.put(4, 3);
    codes.put(1, 3);
    codes.put(2, 3);
    codes.put(4, 3);
    codes.put(7, 3); // after a clear only codes below 6 exist
    codes.put(1, 3);
    Dib dib = read_gif(GifBuilder(4, 1, 2).image(0, 0, 4, 1, 0, 2, codes.done()).end());
    ASSERT_TRUE(dib);
    EXPECT_EQ(Bytes({1, 2, 0, 0}), pixels_top_first(dib.get()));
}

TEST(GifDecoder, EndCodeEndsTheDataEvenWhenSubBlocksFollow) {
    CodePacker codes;
    codes.put(4, 3);
    codes.put(3, 3);
    codes.put(5, 3);
    codes.put(2, 3);
    Bytes data = codes.done();
    data.resize(255, 0x49); // more codes after the end code stay unread
    Dib dib = read_gif(GifBuilder(3, 1, 2).image(0, 0, 3, 1, 0, 2, data).end());
    ASSERT_TRUE(dib);
    EXPECT_EQ(Bytes({3, 0, 0}), pixels_top_first(dib.get()));
}

TEST(GifDecoder, FullTableWithoutClearKeepsDecodingTwelveBitCodes) {
    std::mt19937 random(5);
    Bytes pixels(120 * 120);
    for (BYTE& p : pixels)
        p = BYTE(random() % 16);
    const Bytes codes = reference_lzw(pixels, 4, false);
    Dib dib = read_gif(GifBuilder(120, 120, 4).image(0, 0, 120, 120, 0, 4, codes).end());
    ASSERT_TRUE(dib);
    EXPECT_EQ(pixels, pixels_top_first(dib.get()));
}

TEST(GifDecoder, OutputPastTheImageIsDropped) {
    // Twelve pixels of data for a 3 x 2 image, and a following image.
    const Bytes bytes = GifBuilder(3, 2, 4)
                            .image(0, 0, 3, 2, 0, 4, reference_lzw(counting(12, 16), 4, true))
                            .image(2, 1, {9, 9})
                            .end();
    Animation animation(bytes);
    ASSERT_EQ(2u, animation.record.frameCount);
    EXPECT_EQ(Bytes({0, 1, 2, 3, 4, 5}), pixels_top_first(animation.frame(0).dib));
    EXPECT_EQ(Bytes({9, 9}), pixels_top_first(animation.frame(1).dib));
}

TEST(GifDecoder, LongRunsCopyEarlierOutput) {
    // Runs longer than the wide-copy width and codes that repeat their own
    // entry (the KwKwK case).
    Bytes pixels;
    for (int run = 1; run < 60; ++run)
        pixels.insert(pixels.end(), std::size_t(run), BYTE(run % 3));
    for (int i = 0; i < 500; ++i)
        pixels.push_back(7);
    const unsigned width = unsigned(pixels.size());
    Dib dib = read_gif(GifBuilder(width, 1, 3).image(width, 1, pixels, 3).end());
    ASSERT_TRUE(dib);
    EXPECT_EQ(pixels, pixels_top_first(dib.get()));
}

TEST(GifDecoder, CodesSplitAcrossTinySubBlocksAndLongDataDecode) {
    // One-byte sub-blocks put nearly every code across a block boundary;
    // 40000 of them outgrow the decoder's window several times.
    std::mt19937 random(9);
    Bytes pixels(200 * 100);
    for (BYTE& p : pixels)
        p = BYTE(random() % 8);
    const Bytes codes = reference_lzw(pixels, 3, true);
    Bytes bytes = GifBuilder(200, 100, 3).unfinished();
    bytes.insert(bytes.end(), {0x2C, 0, 0, 0, 0, 200, 0, 100, 0, 0, 3});
    for (BYTE code_byte : codes)
        bytes.insert(bytes.end(), {1, code_byte});
    bytes.insert(bytes.end(), {0, 0x3B});
    Dib dib = read_gif(bytes);
    ASSERT_TRUE(dib);
    EXPECT_EQ(pixels, pixels_top_first(dib.get()));
}

TEST(GifDecoder, ShortDataLeavesZeroPixelsAndPaddingInTheDib) {
    // Width 5 (stride 8): the data decodes 7 pixels of 15 straight into the
    // DIB, whose rows are then put bottom-up with zero padding.
    const Bytes codes = reference_lzw({1, 1, 1, 1, 1, 1, 1, 2, 2}, 2, true);
    const Bytes bytes =
        GifBuilder(5, 3, 2).image(0, 0, 5, 3, 0, 2, Bytes(codes.begin(), codes.end() - 2)).end();
    Dib dib = read_gif(bytes);
    ASSERT_TRUE(dib);
    const Bytes bits(io::bits_of(dib.get()), io::bits_of(dib.get()) + 24);
    EXPECT_EQ(Bytes({0, 0, 0, 0, 0, 0, 0, 0,   // bottom row: nothing came
                     1, 1, 0, 0, 0, 0, 0, 0,   // middle row: two pixels
                     1, 1, 1, 1, 1, 0, 0, 0}), // top row
              bits);
}

// The whole pixel area a DIB of `pixels` (stream order, cut or padded with
// zeros to width x rows) must hold: rows bottom-up, pads zero; interlaced
// streams send rows 0, 8, ...; 4, 12, ...; 2, 6, ...; 1, 3, ....
Bytes expected_bits(Bytes pixels, unsigned width, unsigned rows, bool interlaced) {
    pixels.resize(std::size_t(width) * rows, 0);
    std::vector<unsigned> order;
    if (!interlaced)
        for (unsigned row = 0; row < rows; ++row)
            order.push_back(row);
    else
        for (const auto& [first, step] : {std::pair{0u, 8u}, {4u, 8u}, {2u, 4u}, {1u, 2u}})
            for (unsigned row = first; row < rows; row += step)
                order.push_back(row);
    const unsigned stride = (width + 3) & ~3u;
    Bytes bits(std::size_t(stride) * rows, 0);
    for (unsigned i = 0; i < rows; ++i)
        std::copy_n(pixels.begin() + std::ptrdiff_t(i * width), width,
                    bits.begin() + std::ptrdiff_t((rows - 1 - order[i]) * stride));
    return bits;
}

TEST(GifDecoder, EveryByteOfTheNewDibIsWrittenOverUnzeroedMemory) {
    // Decoded DIBs are not zeroed first: here their blocks come filled with
    // 0xCD, so a pixel, pad or tail the decoder leaves unwritten shows. The
    // runs reach the last byte of outputs without room after them, where
    // texts overlapping their own output cannot go as words; repeating
    // patterns whose period does not divide the width make long texts that
    // start in one row and end in another, on the picture's rows and in the
    // interlaced order.
    struct Fill {
        Fill() { native::set_unzeroed_alloc_fill(0xCD); }
        ~Fill() { native::set_unzeroed_alloc_fill(-1); }
    } fill;
    Bytes runs;
    for (int run = 1; run < 40; ++run)
        runs.insert(runs.end(), std::size_t(run), BYTE(run % 5));
    const struct {
        const char* name;
        unsigned width, rows;
        Bytes pixels;
        unsigned min_code_size; // above 8: the file's is refused
        BYTE flags;
    } cases[] = {
        {"one run, no pads", 4, 8, Bytes(32, 3), 2, 0},
        {"one run, pads", 5, 7, Bytes(35, 1), 2, 0},
        {"run past the end", 4, 2, Bytes(300, 2), 2, 0},
        {"runs of every length", 33, 24, runs, 3, 0},
        {"short data", 9, 4, counting(20, 16), 4, 0},
        {"interlaced, pads", 5, 10, counting(50, 16), 4, 0x40},
        {"interlaced run", 7, 9, Bytes(63, 6), 3, 0x40},
        {"interlaced short data", 3, 11, counting(12, 4), 2, 0x40},
        {"long texts across rows", 13, 30, counting(390, 5), 3, 0},
        {"interlaced long texts across rows", 13, 30, counting(390, 5), 3, 0x40},
        {"interlaced runs, short data", 100, 12, runs, 3, 0x40},
        {"refused code size", 6, 3, counting(18, 4), 12, 0},
    };
    for (const auto& c : cases) {
        const bool refused = c.min_code_size > 8;
        const Bytes codes = reference_lzw(c.pixels, refused ? 8 : c.min_code_size, true);
        const Bytes bytes = GifBuilder(c.width, c.rows, 4)
                                .image(0, 0, c.width, c.rows, c.flags, c.min_code_size, codes)
                                .end();
        const Bytes expected =
            expected_bits(refused ? Bytes{} : c.pixels, c.width, c.rows, c.flags & 0x40);
        Dib simple = read_gif(bytes);
        Animation animation(bytes);
        ASSERT_TRUE(simple) << c.name;
        ASSERT_EQ(1u, animation.record.frameCount) << c.name;
        for (const BITMAPINFOHEADER* dib : {simple.get(), animation.frame(0).dib}) {
            const BYTE* bits = io::bits_of(dib);
            EXPECT_EQ(expected, Bytes(bits, bits + expected.size())) << c.name;
            EXPECT_EQ(0u, dib->biCompression) << c.name;
            EXPECT_EQ(0u, dib->biSizeImage) << c.name;
            const RGBQUAD beyond = io::colour_table(dib)[100];
            EXPECT_EQ(0, beyond.rgbRed | beyond.rgbGreen | beyond.rgbBlue | beyond.rgbReserved)
                << c.name;
        }
    }
}
TEST(GifReader, ExtensionsAreSkippedByTheirSubBlocks) {
    // A comment holding 0x2C and 0x3B must not be taken for an image or the
    // trailer; an unknown extension with several sub-blocks is passed over.
    const Bytes bytes =
        GifBuilder(2, 1, 2)
            .extension(0xFE, {{0x2C, 0x3B, 0x2C, 1, 0, 1, 0}})
            .extension(0x01, {Bytes(12, 0x2C), Bytes(3, 0x3B)})
            .extension(0xFF, {Bytes{'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0'},
                              Bytes{1, 0x34, 0x12}, Bytes{0x2C}})
            .image(2, 1, {3, 1}, 2)
            .end();
    Dib dib = read_gif(bytes);
    ASSERT_TRUE(dib);
    EXPECT_EQ(Bytes({3, 1}), pixels_top_first(dib.get()));
    Animation animation(bytes);
    ASSERT_EQ(1u, animation.record.frameCount);
    EXPECT_EQ(0x1234, animation.record.loopCount);
    EXPECT_EQ(0, std::memcmp(animation.record.comment, "\x2C\x3B\x2C\x01\x00", 5));
}

TEST(GifReader, BothReadersStopAtTheEndOfTheFile) {
    const Bytes whole = GifBuilder(16, 16, 4).image(16, 16, counting(256, 16), 4).end();
    for (std::size_t cut = 0; cut < whole.size(); ++cut) {
        const Bytes part(whole.begin(), whole.begin() + std::ptrdiff_t(cut));
        Dib dib = read_gif(part);
        Animation animation(part);
        if (cut > 13 + 48 + 12 && cut < whole.size() - 1) {
            ASSERT_TRUE(dib) << cut;
            EXPECT_EQ(16, dib->biWidth);
        }
    }
    // Cut inside the pixel data: the rows decoded so far are kept.
    const Bytes part(whole.begin(), whole.begin() + std::ptrdiff_t(whole.size() / 2 + 40));
    Dib dib = read_gif(part);
    ASSERT_TRUE(dib);
    EXPECT_EQ(0, pixel(dib.get(), 0, 0));
    EXPECT_EQ(5, pixel(dib.get(), 5, 0));
    EXPECT_EQ(0, pixel(dib.get(), 15, 15));
}

TEST(GifReader, FramesThatCannotBeMadeAreSkippedWholeAndReadingGoesOn) {
    // A zero-width image with real data and a local table, then a good one.
    const Bytes bytes =
        GifBuilder(4, 4, 2)
            .image(0, 0, 0, 4, 0x81, 2, reference_lzw(counting(300, 4), 2, true), Bytes(12, 0x2C))
            .image(4, 1, {1, 2, 3, 0}, 2)
            .end();
    Animation animation(bytes);
    ASSERT_EQ(1u, animation.record.frameCount);
    EXPECT_EQ(Bytes({1, 2, 3, 0}), pixels_top_first(animation.frame(0).dib));
    EXPECT_FALSE(read_gif(bytes));
}

TEST(GifReader, SizesTheFileCannotFillAreNotAllocated) {
    native::reset_message_boxes();
    const Bytes bytes =
        GifBuilder(65535, 65535, 1).image(0, 0, 65535, 65535, 0, 2, {0x04, 0x05}).end();
    EXPECT_FALSE(read_gif(bytes));
    Animation animation(bytes);
    EXPECT_EQ(0u, animation.record.frameCount);
    EXPECT_FALSE(read_gif(GifBuilder(65535, 65535, 1).end()));
    // Refused for size, not for memory: no allocation message.
    EXPECT_EQ(0, native::last_message_box().count);

    // Many frames that each pass alone must not add up to a giant total.
    GifBuilder many(2048, 2048, 1);
    for (int i = 0; i < 64; ++i)
        many.image(0, 0, 2048, 2048, 0, 2, {0x04});
    Animation lots(many.end());
    EXPECT_LE(lots.record.frameCount, 1u);
}

TEST(GifReader, BadMinimumCodeSizesLeaveTheImageBlank) {
    for (unsigned size : {0u, 9u, 12u, 255u}) {
        const Bytes bytes = GifBuilder(2, 2, 2).image(0, 0, 2, 2, 0, size, {0xFF, 0xFF}).end();
        Dib dib = read_gif(bytes);
        ASSERT_TRUE(dib) << size;
        EXPECT_EQ(Bytes(4, 0), pixels_top_first(dib.get()));
    }
}

TEST(GifFiles, NameAndHandleFormsRoundTripAndReportFailures) {
    TempFolder folder;
    const std::string name = folder / "picture.gif";
    Dib dib = noise_dib(37, 21, 8);
    ASSERT_EQ(1, RaskoSaveGIF(name.c_str(), dib.get(), io::bits_of(dib.get()), 8, 1, 3, nullptr));
    Dib back(RaskoOpenGIF(name.c_str()));
    ASSERT_TRUE(back);
    EXPECT_TRUE(same_pixels(dib.get(), back.get()));
    EXPECT_EQ(1u, folder.file_count());

    AnimationFixture fixture;
    ASSERT_EQ(1, RaskoSaveGIFEx(name.c_str(), &fixture.record));
    GifAnimation record{};
    ASSERT_EQ(1, RaskoOpenGIFEx(name.c_str(), &record));
    EXPECT_EQ(3u, record.frameCount);
    for (DWORD i = 0; i < record.frameCount; ++i) {
        RaskoDestroyDIB(record.frames[i]->dib);
        GlobalFree(record.frames[i]);
    }
    GlobalFree(record.frames);
    GlobalFree(record.globalPalette);

    EXPECT_FALSE(RaskoOpenGIF((folder / "missing.gif").c_str()));
    EXPECT_EQ(0, RaskoOpenGIFEx((folder / "missing.gif").c_str(), &record));
    EXPECT_EQ(0, RaskoSaveGIF((folder / "no/such/folder.gif").c_str(), dib.get(),
                              io::bits_of(dib.get()), 8, 0, -1, nullptr));
}

TEST(GifFiles, FailedWriteIsReportedAndLeavesTheOldFile) {
    TempFolder folder;
    const std::string name = folder / "keep.gif";
    Dib old_picture = noise_dib(8, 8, 4);
    ASSERT_EQ(1, RaskoSaveGIF(name.c_str(), old_picture.get(), io::bits_of(old_picture.get()), 4, 0,
                              -1, nullptr));
    const Bytes before = file_bytes(name);

    Dib dib = noise_dib(300, 300, 8);
    native::fail_writes_after(5000);
    EXPECT_EQ(0, RaskoSaveGIF(name.c_str(), dib.get(), io::bits_of(dib.get()), 8, 0, -1, nullptr));
    native::fail_writes_after(-1);
    EXPECT_EQ(before, file_bytes(name));
    EXPECT_EQ(1u, folder.file_count());

    AnimationFixture fixture;
    native::fail_writes_after(100);
    EXPECT_EQ(0, RaskoSaveGIFEx(name.c_str(), &fixture.record));
    native::fail_writes_after(-1);
    EXPECT_EQ(before, file_bytes(name));

    HANDLE file = CreateFileA((folder / "direct.gif").c_str(), GENERIC_WRITE, 0, nullptr,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    native::fail_writes_after(10);
    EXPECT_EQ(0, RaskoSaveGIFHandle(file, dib.get(), io::bits_of(dib.get()), 8, 0, -1, nullptr));
    native::fail_writes_after(-1);
    CloseHandle(file);
}

TEST(GifFiles, HandleReadersStartAtTheFilePointerAndLeaveItAfterThePicture) {
    TempFolder folder;
    const Bytes gif = GifBuilder(2, 1, 2).image(2, 1, {2, 3}, 2).end();
    Bytes bytes = {'x', 'y', 'z'};
    bytes.insert(bytes.end(), gif.begin(), gif.end());
    bytes.push_back('!');
    write_file(folder / "embedded", bytes);
    HANDLE file = rasko::open_for_reading((folder / "embedded").c_str());
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    SetFilePointer(file, 3, nullptr, FILE_BEGIN);
    Dib dib(RaskoOpenGIFHandle(file));
    ASSERT_TRUE(dib);
    EXPECT_EQ(Bytes({2, 3}), pixels_top_first(dib.get()));
    // The simple reader stops after the first image, before the trailer.
    EXPECT_EQ(DWORD(3 + gif.size() - 1), SetFilePointer(file, 0, nullptr, FILE_CURRENT));
    SetFilePointer(file, 3, nullptr, FILE_BEGIN);
    Animation animation;
    EXPECT_EQ(1, RaskoOpenGIFHandleEx(file, &animation.record));
    EXPECT_EQ(1u, animation.record.frameCount);
    EXPECT_EQ(DWORD(3 + gif.size()), SetFilePointer(file, 0, nullptr, FILE_CURRENT));
    CloseHandle(file);
}
