// Arbitrary bytes for the PNG Add-In's reader: every input is either refused
// or gives a picture whose indexes and DIB are complete and consistent.
#include "addins/png/png_picture.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    PngPicture picture;
    if (!png_decode(data, size, picture)) return 0;
    if (picture.width < 1 || picture.height < 1 ||
        picture.pixels.size() != std::size_t(picture.width) * std::size_t(picture.height) ||
        picture.transparent_index > 255)
        std::abort();
    BITMAPINFOHEADER* dib = png_to_dib(picture);
    if (dib) GlobalFree(dib);
    return 0;
}
