// png_decoder.dll: opens PNG pictures as one layer.
#include "addins/png/png_file.h"
#include "addins/sdk/velmo_addin.h"

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
    return png_decode_file(path, image);
}
