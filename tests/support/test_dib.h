// Helpers for the engine tests: owned DIBs, pixel access by image row and a
// reproducible random fill.
#pragma once

#include "engine/rasko.h"

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <random>
#include <vector>

namespace test_dib {

struct Deleter {
    void operator()(BITMAPINFOHEADER* dib) const { RaskoDestroyDIB(dib); }
};
using DibPtr = std::unique_ptr<BITMAPINFOHEADER, Deleter>;

inline BYTE* bits(BITMAPINFOHEADER* dib) {
    return reinterpret_cast<BYTE*>(dib) + dib->biSize + 1024;
}

inline RGBQUAD* table(BITMAPINFOHEADER* dib) {
    return reinterpret_cast<RGBQUAD*>(reinterpret_cast<BYTE*>(dib) + dib->biSize);
}

inline int stride(const BITMAPINFOHEADER* dib) {
    return (dib->biWidth + 3) & ~3;
}

// Pixel (x, y) with y = 0 the top row of a bottom-up DIB.
inline BYTE& at(BITMAPINFOHEADER* dib, int x, int y) {
    return bits(dib)[(dib->biHeight - 1 - y) * stride(dib) + x];
}

// A bottom-up DIB whose pixels and row padding are random; the padding is
// kept so that tests can check it was never written.
inline DibPtr random_dib(int width, int height, std::mt19937& rng, int colours = 256) {
    DibPtr dib(RaskoCreateDIB(width, height));
    std::uniform_int_distribution<int> pick(0, colours - 1);
    for (int i = 0; i < stride(dib.get()) * height; ++i)
        bits(dib.get())[i] = BYTE(pick(rng));
    return dib;
}

inline std::vector<BYTE> pixels_of(BITMAPINFOHEADER* dib) {
    return std::vector<BYTE>(bits(dib), bits(dib) + stride(dib) * std::abs(dib->biHeight));
}

} // namespace test_dib
