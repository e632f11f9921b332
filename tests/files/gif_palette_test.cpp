#include "app/files/gif_palette.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

// Found by argument lookup, so it stays beside RGBQUAD in the global namespace.
static bool operator==(const RGBQUAD& a, const RGBQUAD& b) {
    return a.rgbRed == b.rgbRed && a.rgbGreen == b.rgbGreen && a.rgbBlue == b.rgbBlue;
}

namespace {

constexpr RGBQUAD colour(int red, int green, int blue) {
    return {BYTE(blue), BYTE(green), BYTE(red), 0};
}

// A one-row frame: the global table, or the global table with some entries
// of its own.
struct FrameSpec {
    std::vector<std::pair<int, RGBQUAD>> own; // entries that differ from the global table
    std::vector<BYTE> pixels;
    LONG transparent = -1;
    bool global = false;
};

// Frames and the record that the GIF reader would have handed over.
class Gif {
  public:
    Gif(std::vector<RGBQUAD> global_entries, int bits, const std::vector<FrameSpec>& specs) {
        std::memset(global_, 0, sizeof global_);
        std::copy(global_entries.begin(), global_entries.end(), global_);
        for (const FrameSpec& spec : specs) {
            BITMAPINFOHEADER* dib = RaskoCreateDIB(int(spec.pixels.size()), 1);
            auto* table = reinterpret_cast<RGBQUAD*>(reinterpret_cast<BYTE*>(dib) + dib->biSize);
            // A local table fills only its own entries; the rest keep the
            // new DIB's default colours, as the reader leaves them.
            if (spec.global)
                std::memcpy(table, global_, sizeof global_);
            else
                std::copy(global_entries.begin(), global_entries.end(), table);
            for (const auto& [index, c] : spec.own)
                table[index] = c;
            BYTE* bits_of = reinterpret_cast<BYTE*>(table + 256);
            std::copy(spec.pixels.begin(), spec.pixels.end(), bits_of);
            frames_.push_back({dib, bits_of, 0, 0, spec.transparent, 0, 0, 0});
        }
        for (GifFrame& f : frames_)
            pointers_.push_back(&f);
        gif_.frameCount = DWORD(frames_.size());
        gif_.bitsPerPixel = DWORD(bits);
        gif_.globalPalette = global_;
        gif_.frames = pointers_.data();
    }
    ~Gif() {
        for (GifFrame& f : frames_)
            RaskoDestroyDIB(f.dib);
    }
    const GifAnimation& record() const { return gif_; }
    std::vector<BYTE> pixels(int frame) const {
        const GifFrame& f = frames_[std::size_t(frame)];
        return {f.bits, f.bits + f.dib->biWidth};
    }

  private:
    RGBQUAD global_[256];
    std::vector<GifFrame> frames_;
    std::vector<GifFrame*> pointers_;
    GifAnimation gif_{};
};

const RGBQUAD kBlack = colour(0, 0, 0), kBlue = colour(0, 0, 255), kWhite = colour(255, 255, 255),
              kRed = colour(255, 0, 0);

TEST(GifPalette, LocalColoursTakeFreeEntriesOrTheirTwinsAndKeepTheirTransparentIndex) {
    Gif gif({kBlack, kBlue, kWhite, kRed}, 2,
            {{{}, {1, 2, 3}, -1, true},
             {{{1, colour(60, 0, 255)}}, {1, 0, 1}},
             {{{1, colour(120, 0, 255)}, {3, kBlue}}, {1, 3, 2}},
             {{{1, colour(180, 0, 255)}, {2, colour(9, 9, 9)}}, {1, 2, 1}, 2}});
    RGBQUAD palette[256];
    EXPECT_TRUE(merge_gif_palettes(gif.record(), palette));
    const RGBQUAD expected[] = {
        kBlack, kBlue, kWhite, kRed, colour(60, 0, 255), colour(120, 0, 255), colour(180, 0, 255)};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(palette[i], expected[i]) << i;
    EXPECT_EQ(gif.pixels(0), (std::vector<BYTE>{1, 2, 3}));
    EXPECT_EQ(gif.pixels(1), (std::vector<BYTE>{4, 0, 4}));
    EXPECT_EQ(gif.pixels(2), (std::vector<BYTE>{5, 1, 2})) << "blue at 3 is the global blue";
    EXPECT_EQ(gif.pixels(3), (std::vector<BYTE>{6, 2, 6})) << "the transparent index stays";
}

TEST(GifPalette, EntriesThatGlobalFramesUseAreNotFree) {
    // The global frame uses entry 7, past its two-colour table; the local
    // frame's own index 5 is free and kept.
    Gif gif({colour(1, 1, 1), colour(2, 2, 2)}, 1,
            {{{}, {0, 7}, -1, true},
             {{{0, colour(10, 0, 0)}, {7, colour(70, 0, 0)}, {5, colour(50, 0, 0)}}, {0, 7, 5}}});
    RGBQUAD palette[256];
    EXPECT_TRUE(merge_gif_palettes(gif.record(), palette));
    EXPECT_EQ(gif.pixels(0), (std::vector<BYTE>{0, 7}));
    EXPECT_EQ(gif.pixels(1), (std::vector<BYTE>{2, 3, 5}));
    EXPECT_EQ(palette[2], colour(10, 0, 0));
    EXPECT_EQ(palette[3], colour(70, 0, 0));
    EXPECT_EQ(palette[5], colour(50, 0, 0));
    EXPECT_EQ(palette[7], kBlack);
}

TEST(GifPalette, OnlyColoursThatDoNotFitTakeTheNearest) {
    std::vector<RGBQUAD> greys;
    for (int i = 0; i < 256; ++i)
        greys.push_back(colour(i, i, i));
    Gif gif(greys, 8,
            {{{}, {0}, -1, true},
             {{{0, colour(100, 99, 101)},
               {1, colour(30, 30, 30)},
               {9, colour(5, 5, 5)},
               {5, colour(200, 0, 0)}},
              {0, 1, 9, 5},
              5}});
    RGBQUAD palette[256];
    EXPECT_FALSE(merge_gif_palettes(gif.record(), palette));
    // Exact where the colour is there; the nearest otherwise, but never the
    // frame's transparent index 5.
    EXPECT_EQ(gif.pixels(1), (std::vector<BYTE>{100, 30, 4, 5}));
    for (int i = 0; i < 256; ++i)
        EXPECT_EQ(palette[i], greys[std::size_t(i)]) << i;
}

} // namespace
