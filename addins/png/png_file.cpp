#include "addins/png/png_file.h"

#include "addins/png/png_picture.h"
#include "platform/io/dib_layout.h"
#include "platform/io/safe_file.h"

#include <algorithm>
#include <cstdint>

namespace {

// PNG files of pictures the program can hold are far below this.
constexpr std::size_t kMaxFileBytes = 512u * 1024 * 1024;
// Reads go in pieces of this size, which a DWORD count always holds.
constexpr std::size_t kReadPiece = 1u << 24;

} // namespace

bool read_whole_file(const char* path, std::size_t max_bytes, std::vector<BYTE>& out) {
    HANDLE file =
        CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD high = 0;
    const DWORD low = GetFileSize(file, &high);
    const std::uint64_t size = std::uint64_t(high) << 32 | low;
    bool ok = low != INVALID_FILE_SIZE && size <= max_bytes;
    if (ok) {
        out.resize(std::size_t(size));
        std::size_t done = 0;
        while (ok && done < out.size()) {
            DWORD got = 0;
            const DWORD want = DWORD(std::min(out.size() - done, kReadPiece));
            ok = ReadFile(file, out.data() + done, want, &got, nullptr) && got > 0;
            done += got;
        }
    }
    CloseHandle(file);
    return ok;
}

int png_decode_file(const char* path, AddInImage* image) {
    if (!path || !image) return 0;
    std::vector<BYTE> bytes;
    PngPicture picture;
    if (!read_whole_file(path, kMaxFileBytes, bytes) ||
        !png_decode(bytes.data(), bytes.size(), picture))
        return 0;
    BITMAPINFOHEADER* dib = png_to_dib(picture);
    auto* dibs = static_cast<BITMAPINFOHEADER**>(GlobalAlloc(GPTR, sizeof(BITMAPINFOHEADER*)));
    auto* bits = static_cast<BYTE**>(GlobalAlloc(GPTR, sizeof(BYTE*)));
    if (!dib || !dibs || !bits) {
        GlobalFree(dib);
        GlobalFree(dibs);
        GlobalFree(bits);
        return 0;
    }
    // The rows live in the DIB's own block, so the host frees one block per
    // frame (no kAddInImageSeparateBits).
    dibs[0] = dib;
    bits[0] = io::bits_of(dib);
    image->flags = 0;
    if (picture.transparent_index >= 0) {
        image->flags |= kAddInImageKeyColour;
        image->key_colour = DWORD(picture.transparent_index);
    }
    image->frame_count = 1;
    image->dibs = dibs;
    image->bits = bits;
    return 1;
}

int png_encode_file(const char* path, AddInImage* image) {
    // Frame 0 is the picture as it is shown (the composite); the layers that
    // follow it have no place in a still PNG.
    if (!path || !image || image->frame_count < 1 || !image->dibs || !image->bits) return 0;
    const int key = (image->flags & kAddInImageKeyColour) ? int(image->key_colour & 0xFF) : -1;
    PngPicture picture;
    if (!png_from_dib(image->dibs[0], image->bits[0], key, picture)) return 0;
    const std::vector<BYTE> bytes = png_encode(picture);
    if (bytes.empty()) return 0;
    io::SafeWriter writer(path);
    return writer.open() && writer.write(bytes.data(), bytes.size()) && writer.commit() ? 1 : 0;
}
