// png_encoder.dll: saves the picture as an 8-bit indexed PNG; with colour
// keying on, the key colour is the transparent entry.
#include "addins/png/png_picture.h"
#include "addins/sdk/velmo_addin.h"
#include "platform/io/safe_file.h"

extern "C" int VL_CDECL VLGetInfo(AddInInfo* info) {
    info->flags = kAddInHostVersion | kAddInEncoder;
    info->name = "PNG Encoder";
    info->description = "PNG Image(*.PNG)";
    info->extension = "png";
    info->about1 = "Saves the picture as an 8-bit indexed PNG";
    info->about2 = "version 1.0";
    info->about3 = "the key colour is transparent when keying is on";
    return 1;
}

extern "C" int VL_CDECL VLEncode(const char* path, AddInImage* image) {
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
