// Helpers for the BMP and GIF tests: owned DIBs, pictures with known pixels,
// codecs run on memory, and a private temporary folder per test.
#pragma once

#include "engine/codecs.h"
#include "platform/io/dib_layout.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace codec_test {

using Bytes = std::vector<BYTE>;

struct DibDeleter {
    void operator()(BITMAPINFOHEADER* dib) const { RaskoDestroyDIB(dib); }
};
using Dib = std::unique_ptr<BITMAPINFOHEADER, DibDeleter>;

inline int rows_of(const BITMAPINFOHEADER* dib) {
    return dib->biHeight < 0 ? -dib->biHeight : dib->biHeight;
}

// Pixel (x, y), y = 0 the top row.
inline BYTE pixel(const BITMAPINFOHEADER* dib, int x, int y) {
    return BYTE(RaskoGetPixel(dib, io::bits_of(dib), x, y));
}

// Every pixel, top row first.
inline std::vector<BYTE> pixels_top_first(const BITMAPINFOHEADER* dib) {
    std::vector<BYTE> out;
    for (int y = 0; y < rows_of(dib); ++y)
        for (int x = 0; x < dib->biWidth; ++x)
            out.push_back(pixel(dib, x, y));
    return out;
}

inline void set_pixel(BITMAPINFOHEADER* dib, int x, int y, int value) {
    RaskoPutPixel(dib, io::bits_of(dib), x, y, value);
}

// A width x height DIB of pixels below 2^depth from a fixed seed, with a
// colour table of distinct colours.
inline Dib noise_dib(int width, int height, int depth, unsigned seed = 1) {
    Dib dib(RaskoCreateDIB(width, height));
    std::mt19937 random(seed);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            set_pixel(dib.get(), x, y, int(random() % (1u << depth)));
    RGBQUAD* table = io::colour_table(dib.get());
    for (int i = 0; i < 256; ++i)
        table[i] = RGBQUAD{BYTE(i), BYTE(255 - i), BYTE(i * 7), 0};
    return dib;
}

// Every pixel of two DIBs equal (by position, whatever their row order).
inline ::testing::AssertionResult same_pixels(const BITMAPINFOHEADER* a,
                                              const BITMAPINFOHEADER* b) {
    if (a->biWidth != b->biWidth || rows_of(a) != rows_of(b))
        return ::testing::AssertionFailure() << "sizes differ";
    for (int y = 0; y < rows_of(a); ++y)
        for (int x = 0; x < a->biWidth; ++x)
            if (pixel(a, x, y) != pixel(b, x, y))
                return ::testing::AssertionFailure()
                       << "pixel (" << x << ", " << y << "): " << int(pixel(a, x, y)) << " vs "
                       << int(pixel(b, x, y));
    return ::testing::AssertionSuccess();
}

inline bool append(void* context, const BYTE* data, std::size_t count) {
    auto* bytes = static_cast<Bytes*>(context);
    bytes->insert(bytes->end(), data, data + count);
    return true;
}

inline Bytes gif_bytes(const BITMAPINFOHEADER* dib, int depth, int interlace = 0,
                       int transparent = -1, char* comment = nullptr) {
    Bytes bytes;
    rasko::Output out(append, &bytes);
    EXPECT_TRUE(
        rasko::write_gif(out, dib, io::bits_of(dib), depth, interlace, transparent, comment));
    return bytes;
}

inline Bytes gif_bytes(GifAnimation* animation) {
    Bytes bytes;
    rasko::Output out(append, &bytes);
    EXPECT_TRUE(rasko::write_gif_animation(out, animation));
    return bytes;
}

inline Dib read_gif(const Bytes& bytes) {
    rasko::Input in(bytes.data(), bytes.size());
    return Dib(rasko::read_gif(in));
}

inline Dib read_bmp(const Bytes& bytes) {
    rasko::Input in(bytes.data(), bytes.size());
    return Dib(rasko::read_bmp(in, rasko::BmpSource::File, "Allocate Error"));
}

// A GifAnimation read from memory, freed with everything it holds.
struct Animation {
    // Aligned so that the record's 32-bit fields are; its pointers are
    // unaligned in any case (the record is packed) and are read by copying.
    alignas(8) GifAnimation record{};
    explicit Animation(const Bytes& bytes) {
        rasko::Input in(bytes.data(), bytes.size());
        rasko::read_gif_animation(in, &record);
    }
    Animation() = default;
    Animation(const Animation&) = delete;
    ~Animation() {
        for (DWORD i = 0; i < record.frameCount; ++i) {
            RaskoDestroyDIB(record.frames[i]->dib);
            GlobalFree(record.frames[i]);
        }
        GlobalFree(record.frames);
        GlobalFree(record.globalPalette);
    }
    GifFrame& frame(DWORD i) { return *record.frames[i]; }
};

inline Bytes file_bytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), {});
}

inline void write_file(const std::filesystem::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// A fresh folder for one test, removed afterwards.
class TempFolder {
  public:
    TempFolder() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        path_ = std::filesystem::temp_directory_path() /
                (std::string("velmo_") + info->test_suite_name() + "_" + info->name() + "_" +
                 std::to_string(::getpid()));
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() { std::filesystem::remove_all(path_); }
    std::string operator/(const std::string& name) const { return (path_ / name).string(); }
    const std::filesystem::path& path() const { return path_; }
    std::size_t file_count() const {
        return std::size_t(std::distance(std::filesystem::directory_iterator(path_), {}));
    }

  private:
    std::filesystem::path path_;
};

} // namespace codec_test
