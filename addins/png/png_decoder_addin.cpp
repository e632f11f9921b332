// png_decoder.dll: opens PNG pictures as one layer.
#include "addins/png/png_file.h"
#include "addins/png/png_picture.h"
#include "addins/sdk/velmo_addin.h"
#include "platform/io/dib_layout.h"

namespace {

// PNG files of pictures the program can hold are far below this.
constexpr std::size_t kMaxFileBytes = 512u * 1024 * 1024;

} // namespace

extern "C" int VL_CDECL VLGetInfo(AddInInfo* info) {
    info->flags = kAddInHostVersion | kAddInDecoder;
    info->name = "PNG Decoder";
    info->description = "PNG Image(*.PNG)";
    info->extension = "png";
    info->about1 = "Opens PNG pictures of every colour type in 256 colours";
    info->about2 = "version 1.0";
    info->about3 = "transparency becomes the key colour";
    return 1;
}

extern "C" int VL_CDECL VLDecode(const char* path, AddInImage* image) {
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
