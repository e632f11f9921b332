#include "app/files/save.h"

#include "app/document/composite.h"
#include "app/files/clipboard.h"
#include "app/files/native_file.h"
#include "engine/rasko.h"
#include "platform/io/dib_layout.h"
#include "platform/io/safe_file.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace {

struct DibDeleter {
    void operator()(BITMAPINFOHEADER* dib) const { RaskoDestroyDIB(dib); }
};
using DibPtr = std::unique_ptr<BITMAPINFOHEADER, DibDeleter>;

// Pixels of index 2^bits and above would lose their high bits in a GIF of
// 2^bits colours; they take the nearest of the first 2^bits colours instead
// (sum of absolute differences, lowest index on a tie), as the 4-bit BMP
// writer does.
void map_into_first_colours(BITMAPINFOHEADER* dib, int bits) {
    const int n = 1 << bits;
    const RGBQUAD* table = io::colour_table(dib);
    BYTE map[256];
    for (int i = 0; i < 256; ++i) {
        map[i] = BYTE(i);
        if (i < n) continue;
        int best = 1024;
        for (int j = 0; j < n; ++j) {
            const int d = std::abs(table[i].rgbRed - table[j].rgbRed) +
                          std::abs(table[i].rgbGreen - table[j].rgbGreen) +
                          std::abs(table[i].rgbBlue - table[j].rgbBlue);
            if (d < best) {
                best = d;
                map[i] = BYTE(j);
            }
        }
    }
    const int width = dib->biWidth, stride = io::stride_of(width);
    BYTE* row = io::bits_of(dib);
    for (int y = 0; y < dib->biHeight; ++y, row += stride)
        for (int x = 0; x < width; ++x)
            row[x] = map[row[x]];
}

int gif_bits(const PictureDocument& doc) {
    return std::clamp(doc.gif_colour_bits, 1, 8);
}

// Every save answers 1 or 0.
template <typename Write> int write_safely(const char* name, Write write) {
    return io::write_replacing(name, write) ? 1 : 0;
}

int save_native(PictureDocument& doc) {
    return write_safely(doc.file_name,
                        [&](HANDLE file) { return write_native_file(file, doc) != 0; });
}

int save_bmp(PictureDocument& doc, int bits) {
    const Surface& c = *doc.composite;
    return write_safely(doc.file_name, [&](HANDLE file) {
        return (bits == 4 ? RaskoSaveDIBHandle4bit(file, c.info, c.bits)
                          : RaskoSaveDIBHandle(file, c.info, c.bits)) != 0;
    });
}

int save_still_gif(PictureDocument& doc, int transparent) {
    const Surface& c = *doc.composite;
    const int bits = gif_bits(doc);
    DibPtr reduced;
    if (bits < 8) {
        reduced.reset(RaskoCreateDIBPart(c.info, c.bits, 0, 0, c.width(), c.height()));
        if (!reduced) return 0;
        map_into_first_colours(reduced.get(), bits);
    }
    const BITMAPINFOHEADER* header = reduced ? reduced.get() : c.info;
    const BYTE* pixels = reduced ? io::bits_of(reduced.get()) : c.bits;
    const int interlaced = (doc.gif_options & kGifInterlaced) ? 1 : 0;
    return write_safely(doc.file_name, [&](HANDLE file) {
        return RaskoSaveGIFHandle(file, header, pixels, bits, interlaced, transparent,
                                  doc.gif_comment) != 0;
    });
}

// The layer's animation frame rectangle, kept inside the picture and at
// least one pixel in size.
AreaRect frame_area(const Layer& layer, int width, int height) {
    const LONG left = std::clamp<LONG>(layer.area.left, 0, width - 1);
    const LONG top = std::clamp<LONG>(layer.area.top, 0, height - 1);
    return {left, top, std::clamp<LONG>(layer.area.width, 1, width - left),
            std::clamp<LONG>(layer.area.height, 1, height - top)};
}

int save_animated_gif(PictureDocument& doc) {
    const int width = picture_width(doc), height = picture_height(doc);
    const int bits = gif_bits(doc);
    const Layer& current = *doc.current->layer;
    RGBQUAD palette[256];
    std::memcpy(palette, current.image->colour_table(), sizeof palette);

    std::vector<GifFrame> frames;
    std::vector<DibPtr> made; // frame pictures made here, not the layer images
    for (LayerNode* node = doc.layers->next; node != doc.layers; node = node->next) {
        const Layer& layer = *node->layer;
        const Surface& image = *layer.image;
        const AreaRect area = frame_area(layer, width, height);
        GifFrame frame{};
        if (area.width < width || area.height < height || bits < 8) {
            DibPtr part(RaskoCreateDIBPart(image.info, image.bits, area.left, area.top, area.width,
                                           area.height));
            if (!part) return 0;
            if (bits < 8) map_into_first_colours(part.get(), bits);
            frame.dib = part.get();
            frame.bits = io::bits_of(part.get());
            frame.left = area.left;
            frame.top = area.top;
            made.push_back(std::move(part));
        } else {
            frame.dib = image.info;
            frame.bits = image.bits;
        }
        frame.transparentIndex = (layer.flags & kLayerAnimTransparent) ? layer.key_colour : -1;
        frame.delay = layer.interval / 10;
        frame.disposal = layer.disposal;
        frame.userInput = (layer.flags & kLayerAnimUserInput) ? 1 : 0;
        frames.push_back(frame);
    }
    std::vector<GifFrame*> frame_pointers;
    for (GifFrame& frame : frames)
        frame_pointers.push_back(&frame);

    GifAnimation gif{};
    gif.frameCount = DWORD(frames.size());
    gif.screenWidth = DWORD(width);
    gif.screenHeight = DWORD(height);
    gif.backgroundIndex = DWORD(current.background_colour & 0xFF);
    gif.bitsPerPixel = DWORD(bits);
    gif.interlaced = (doc.gif_options & kGifInterlaced) ? 1 : 0;
    gif.loopCount = WORD(std::clamp(doc.gif_repeat_count, 0, 0xFFFF));
    gif.globalPalette = palette;
    gif.frames = frame_pointers.data();
    std::snprintf(gif.comment, sizeof gif.comment, "%s", doc.gif_comment);
    return write_safely(doc.file_name,
                        [&](HANDLE file) { return RaskoSaveGIFHandleEx(file, &gif) != 0; });
}

int save_gif(PictureDocument& doc, int key_colour) {
    const int transparent = (doc.gif_options & kGifTransparent) ? key_colour : -1;
    if (!(doc.gif_options & kGifAnimation) || doc.layer_count < 2)
        return save_still_gif(doc, transparent);
    return save_animated_gif(doc);
}

// Add-In encoders write by name, so they get the safe writer's temporary
// file, which ends in the target's extension (encoders may go by it); only a
// file that the encoder reported complete and that holds bytes replaces the
// target.
int encode_beside(const char* target, AddInFileProc encode, AddInImage& image) {
    io::SafeWriter writer(target);
    if (!writer.open()) return 0;
    const char* temporary = writer.hand_over_by_name();
    if (encode(temporary, &image) != 1) writer.fail();
    return writer.commit() ? 1 : 0;
}

int save_addin(PictureDocument& doc, const FileTypeTable& write_types) {
    if (type_position(doc.file_type) < kBuiltInTypes || !holds_type(write_types, doc.file_type))
        return 0;
    AddInFileProc encode = type_entry(write_types, doc.file_type).function;
    if (!encode) return 0;
    const Layer& current = *doc.current->layer;
    const DWORD count = DWORD(doc.layer_count) + 1;
    auto** dibs = static_cast<BITMAPINFOHEADER**>(GlobalAlloc(GPTR, count * sizeof(void*)));
    auto** rows = static_cast<BYTE**>(GlobalAlloc(GPTR, count * sizeof(void*)));
    int result = 0;
    if (dibs && rows) {
        dibs[0] = doc.composite->info;
        rows[0] = doc.composite->bits;
        DWORD i = 1;
        for (LayerNode* node = doc.layers->next; node != doc.layers && i < count;
             node = node->next, ++i) {
            dibs[i] = node->layer->image->info;
            rows[i] = node->layer->image->bits;
        }
        AddInImage image{};
        image.size = sizeof image;
        image.flags = kAddInImageSeparateBits | kAddInImageBackground;
        if (doc.flags & kDocKeyColourEnabled) image.flags |= kAddInImageKeyColour;
        image.key_colour = DWORD(current.key_colour);
        image.background_colour = DWORD(current.background_colour);
        image.frame_count = i;
        image.dibs = dibs;
        image.bits = rows;
        result = encode_beside(doc.file_name, encode, image);
    }
    GlobalFree(dibs);
    GlobalFree(rows);
    return result;
}

} // namespace

void prepare_composite(PictureDocument& doc) {
    update_palette(doc);
    doc.update_rect = {0, 0, picture_width(doc), picture_height(doc)};
    recomposite(doc);
}

int save_picture_file(PictureDocument& doc, const FileTypeTable& write_types,
                      const SaveChoices& choices) {
    int result = 0;
    if (current_layer(doc)) {
        if (doc.file_type != FileTypeId::Native) prepare_composite(doc);
        switch (doc.file_type) {
        case FileTypeId::Native:
            result = save_native(doc);
            break;
        case FileTypeId::Bmp:
            result = save_bmp(doc, choices.bmp_bits);
            break;
        case FileTypeId::Gif:
            result = save_gif(doc, choices.gif_key_colour);
            break;
        default:
            result = save_addin(doc, write_types);
            break;
        }
    }
    doc.flags |= kDocNamed;
    if (result == 1) doc.flags &= ~kDocModified;
    return result;
}

int save_surface_file(const Surface& s, const char* path, FileTypeId file_type,
                      const FileTypeTable& write_types, const SaveChoices& choices,
                      const PictureDocument& settings) {
    if (file_type == FileTypeId::None || file_type == FileTypeId::Native) return 0;
    std::unique_ptr<PictureDocument, void (*)(PictureDocument*)> doc(
        picture_from_surface(s, nullptr), free_document);
    if (!doc) return 0;
    std::snprintf(doc->file_name, sizeof doc->file_name, "%s", path);
    doc->file_type = file_type;
    doc->gif_colour_bits = settings.gif_colour_bits;
    doc->gif_options = settings.gif_options & ~kGifAnimation;
    std::memcpy(doc->gif_comment, settings.gif_comment, sizeof doc->gif_comment);
    return save_picture_file(*doc, write_types, choices);
}
