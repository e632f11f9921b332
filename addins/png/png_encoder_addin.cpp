// png_encoder.dll: saves the picture as an 8-bit indexed PNG; with colour
// keying on, the key colour is the transparent entry.
#include "addins/png/png_file.h"
#include "addins/sdk/velmo_addin.h"

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
    return png_encode_file(path, image);
}
