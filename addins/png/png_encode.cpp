#include "addins/png/png_picture.h"

#include <zlib.h>

#include <cstring>

namespace {

void put32(std::vector<BYTE>& out, std::uint32_t v) {
    const BYTE bytes[4] = {BYTE(v >> 24), BYTE(v >> 16), BYTE(v >> 8), BYTE(v)};
    out.insert(out.end(), bytes, bytes + 4);
}

void put_chunk(std::vector<BYTE>& out, const char* type, const BYTE* data, std::size_t length) {
    put32(out, std::uint32_t(length));
    const std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    if (length) out.insert(out.end(), data, data + length);
    put32(out, std::uint32_t(crc32(crc32(0, nullptr, 0), out.data() + start, uInt(length + 4))));
}

} // namespace

std::vector<BYTE> png_encode(const PngPicture& picture) {
    const int w = picture.width, h = picture.height;
    if (w < 1 || h < 1 || w > kPngMaxSide || h > kPngMaxSide) return {};
    if (picture.pixels.size() != std::size_t(w) * std::size_t(h)) return {};
    if (picture.transparent_index > 255) return {};

    // Indexed rows compress best unfiltered: neighbouring indexes carry no
    // arithmetic meaning for the Sub, Up or Paeth predictors.
    std::vector<BYTE> raw;
    raw.reserve((std::size_t(w) + 1) * std::size_t(h));
    for (int y = 0; y < h; ++y) {
        raw.push_back(0);
        const BYTE* row = picture.pixels.data() + std::size_t(y) * w;
        raw.insert(raw.end(), row, row + w);
    }
    uLongf packed_size = compressBound(uLong(raw.size()));
    std::vector<BYTE> packed(packed_size);
    if (compress2(packed.data(), &packed_size, raw.data(), uLong(raw.size()), 9) != Z_OK) return {};

    std::vector<BYTE> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    BYTE header[13] = {};
    for (int i = 0; i < 4; ++i) {
        header[i] = BYTE(std::uint32_t(w) >> (24 - 8 * i));
        header[4 + i] = BYTE(std::uint32_t(h) >> (24 - 8 * i));
    }
    header[8] = 8; // bit depth
    header[9] = 3; // indexed colour
    put_chunk(out, "IHDR", header, sizeof header);

    BYTE palette[256 * 3];
    for (int i = 0; i < 256; ++i) {
        palette[i * 3] = picture.palette[i].rgbRed;
        palette[i * 3 + 1] = picture.palette[i].rgbGreen;
        palette[i * 3 + 2] = picture.palette[i].rgbBlue;
    }
    put_chunk(out, "PLTE", palette, sizeof palette);

    if (picture.transparent_index >= 0) {
        // Entries past the end of tRNS are opaque, so it stops at the key.
        std::vector<BYTE> alpha(std::size_t(picture.transparent_index) + 1, 255);
        alpha.back() = 0;
        put_chunk(out, "tRNS", alpha.data(), alpha.size());
    }
    put_chunk(out, "IDAT", packed.data(), packed_size);
    put_chunk(out, "IEND", nullptr, 0);
    return out;
}
