// A header-and-bits pair for pixel tests whose rows sit between guard bytes,
// with the row pad bytes filled too, so a test can tell any write outside
// the drawable pixels.
#pragma once

#include "platform/win.h"

#include <cstddef>
#include <cstdlib>
#include <vector>

namespace test {

class GuardedDib {
  public:
    static constexpr std::size_t kGuard = 64;
    static constexpr BYTE kGuardByte = 0xA5;

    // A negative height makes a top-down DIB, as biHeight does.
    GuardedDib(int width, int height, BYTE fill = 0)
        : width_(width), height_(std::abs(height)), stride_((width + 3) & ~3),
          block_(2 * kGuard + std::size_t(stride_) * std::size_t(height_), kGuardByte) {
        header_.biSize = 40;
        header_.biWidth = width;
        header_.biHeight = height;
        header_.biPlanes = 1;
        header_.biBitCount = 8;
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x)
                at(x, y) = fill;
    }

    BITMAPINFOHEADER* header() { return &header_; }
    BYTE* bits() { return block_.data() + kGuard; }
    int width() const { return width_; }
    int height() const { return height_; }
    int stride() const { return stride_; }

    // Pixel (x, y), y = 0 the top row, in the DIB's own row order.
    BYTE& at(int x, int y) {
        const int stored = header_.biHeight < 0 ? y : height_ - 1 - y;
        return bits()[std::size_t(stored) * std::size_t(stride_) + std::size_t(x)];
    }

    // True when no guard or row pad byte has changed.
    bool outside_untouched() const {
        const BYTE* b = block_.data();
        const std::size_t rows = std::size_t(stride_) * std::size_t(height_);
        for (std::size_t i = 0; i < kGuard; ++i)
            if (b[i] != kGuardByte || b[kGuard + rows + i] != kGuardByte) return false;
        for (int s = 0; s < height_; ++s)
            for (int x = width_; x < stride_; ++x)
                if (b[kGuard + std::size_t(s) * std::size_t(stride_) + std::size_t(x)] !=
                    kGuardByte)
                    return false;
        return true;
    }

  private:
    int width_;
    int height_;
    int stride_;
    BITMAPINFOHEADER header_{};
    std::vector<BYTE> block_;
};

} // namespace test
