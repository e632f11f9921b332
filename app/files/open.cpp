#include "app/files/open.h"

#include "app/document/composite.h"
#include "app/files/byte_source.h"
#include "app/files/file_message.h"
#include "app/files/gif_palette.h"
#include "app/files/native_file.h"
#include "engine/rasko.h"
#include "platform/io/dib_layout.h"
#include "platform/io/little_endian.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

// The most a picture's layers (image, undo copy and mask plane each) may
// take. A 32-bit process cannot hold more; refusing early keeps a GIF that
// announces a huge screen and many frames from exhausting memory first.
constexpr std::uint64_t kMaxLayerBytes = 0x60000000u;

bool layers_fit(int width, int height, std::uint64_t layers) {
    if (width < 1 || height < 1) return false;
    const std::uint64_t plane = std::uint64_t(io::stride_of(width)) * std::uint64_t(height);
    return layers != 0 && plane * 3 * layers <= kMaxLayerBytes;
}

constexpr char kUnableToOpen[] = "Unable to Open Picture";
constexpr char kOpenCaption[] = "Open Error";
constexpr char kMergedColours[] = "The frames hold more colors than one palette can.\n"
                                  "Some colors were replaced by the nearest ones.";
constexpr char kMergedCaption[] = "Open Picture";

// How a reader ended. A reader that failed with a message of its own has
// told the user already; every other failure is told once by the caller.
enum class Opened { Yes, NoAndTold, No };

Opened opened_if(bool ok) {
    return ok ? Opened::Yes : Opened::No;
}

Opened open_native(LPCSTR path, PictureDocument& doc) {
    doc.file_type = FileTypeId::Native;
    doc.gif_colour_bits = 8;
    HANDLE file =
        CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return Opened::No;
    const int ok = read_native_file(file, path, doc);
    CloseHandle(file);
    return ok ? Opened::Yes : Opened::NoAndTold;
}

constexpr int kBmpFileHeaderBytes = 14;
constexpr std::uint32_t kOs2InfoHeaderBytes = 12;
// Where the bit count lies in the info header: OS/2 1.x headers and all
// the others.
constexpr int kOs2BitCountAt = 10;
constexpr int kBitCountAt = 14;
constexpr int kFullDepth = 8;

// The depth of the pixels in the BMP at path (1, 2, 4 or 8) as its headers
// give it; kFullDepth when they cannot be read or name no depth the reader
// takes. The engine's reader hands every BMP over as 8 bits a pixel.
int bmp_file_bits(LPCSTR path) {
    ReadOnlyFile file(path);
    if (!file.is_open()) return kFullDepth;
    FileSource in(file.handle());
    BYTE head[kBmpFileHeaderBytes + kBitCountAt + 2] = {};
    const std::size_t got = in.read(head, sizeof head);
    if (got < kBmpFileHeaderBytes + 4) return kFullDepth;
    const BYTE* info = head + kBmpFileHeaderBytes;
    const std::size_t at = kBmpFileHeaderBytes +
                           (io::get32(info) == kOs2InfoHeaderBytes ? kOs2BitCountAt : kBitCountAt);
    if (got < at + 2) return kFullDepth;
    const int bits = head[at] | head[at + 1] << 8;
    return bits == 1 || bits == 2 || bits == 4 || bits == 8 ? bits : kFullDepth;
}

Opened open_bmp(LPCSTR path, PictureDocument& doc) {
    doc.file_type = FileTypeId::Bmp;
    doc.gif_colour_bits = 8;
    doc.bmp_colour_bits = bmp_file_bits(path);
    // A file that is not there would send the engine's reader looking for
    // a bitmap resource of that name; the user is better told of the file.
    if (!ReadOnlyFile(path).is_open()) return Opened::No;
    // The engine's reader shows its message whenever it gives nothing back.
    BITMAPINFOHEADER* dib = RaskoOpenDIB(nullptr, path);
    if (!dib) return Opened::NoAndTold;
    const int width = dib->biWidth, height = dib->biHeight;
    const bool made = layers_fit(width, height, 1) && create_bottom_layer(doc, width, height);
    if (made) {
        Layer& layer = *bottom_layer(doc);
        Surface& image = *layer.image;
        std::memcpy(image.colour_table(), io::colour_table(dib), io::kPaletteBytes);
        std::memcpy(image.bits, io::bits_of(dib), image.pixel_bytes());
        // A picture read from a BMP has one layer, named apart from the
        // numbered ones that later layers get.
        std::strcpy(layer.name, "Layer:0");
        doc.next_layer_number = 1;
        update_palette(doc);
        image.copy_to(*layer.undo_copy);
    }
    RaskoDestroyDIB(dib);
    return opened_if(made);
}

// Frees what the GIF reader handed back and has not been used up yet.
void release_gif(GifAnimation& gif) {
    if (gif.frames) {
        for (DWORD i = 0; i < gif.frameCount; ++i) {
            GifFrame* frame = gif.frames[i];
            if (!frame) continue;
            if (frame->dib) RaskoDestroyDIB(frame->dib);
            GlobalFree(frame);
            gif.frames[i] = nullptr;
        }
        GlobalFree(gif.frames);
        gif.frames = nullptr;
    }
    GlobalFree(gif.globalPalette);
    gif.globalPalette = nullptr;
}

void load_gif_frame(PictureDocument& doc, Layer& layer, GifFrame& frame, const GifAnimation& gif,
                    const RGBQUAD* palette) {
    Surface& image = *layer.image;
    const int width = image.width(), height = image.height();
    std::memset(image.bits, int(gif.backgroundIndex & 0xFF), image.pixel_bytes());
    RaskoCopyDIBBits(image.info, image.bits, frame.left, frame.top, frame.dib->biWidth,
                     frame.dib->biHeight, frame.dib, frame.bits, 0, 0);
    image.set_palette(palette);
    image.copy_to(*layer.undo_copy);

    // The area stays inside the picture: at least one pixel wide and high.
    const LONG left = std::clamp<LONG>(frame.left, 0, width - 1);
    const LONG top = std::clamp<LONG>(frame.top, 0, height - 1);
    layer.area = {left, top, std::min<LONG>(frame.dib->biWidth, width - left),
                  std::min<LONG>(frame.dib->biHeight, height - top)};
    layer.interval = frame.delay * 10;
    layer.disposal = frame.disposal;
    if (frame.transparentIndex != -1) {
        layer.key_colour = frame.transparentIndex & 0xFF;
        layer.flags |= kLayerAnimTransparent;
        doc.gif_options |= kGifTransparent;
    }
    if (frame.userInput) layer.flags |= kLayerAnimUserInput;
}

GifBuilt build_layers(PictureDocument& doc, GifAnimation& gif) {
    const int width = int(gif.screenWidth), height = int(gif.screenHeight);
    if (!layers_fit(width, height, gif.frameCount) || !gif.frames) return GifBuilt::No;
    if (!create_bottom_layer(doc, width, height)) return GifBuilt::No;
    for (DWORD i = 1; i < gif.frameCount; ++i) {
        doc.flags |= kDocModified;
        if (!add_layer_above(doc)) return GifBuilt::No;
    }
    RGBQUAD palette[256];
    const bool exact = merge_gif_palettes(gif, palette);
    LayerNode* node = doc.layers->next;
    for (DWORD i = 0; i < gif.frameCount; ++i, node = node->next) {
        GifFrame* frame = gif.frames[i];
        if (frame && frame->dib && frame->bits)
            load_gif_frame(doc, *node->layer, *frame, gif, palette);
        if (frame && frame->dib) RaskoDestroyDIB(frame->dib);
        GlobalFree(frame);
        gif.frames[i] = nullptr;
    }
    if (gif.interlaced) doc.gif_options |= kGifInterlaced;
    if (gif.frameCount > 1) {
        doc.gif_options |= kGifAnimation;
        doc.flags |= kDocOnlyCurrentLayer;
    }
    doc.gif_colour_bits = int(gif.bitsPerPixel);
    doc.gif_repeat_count = gif.loopCount;
    std::memcpy(doc.gif_comment, gif.comment, sizeof doc.gif_comment - 1);
    doc.gif_comment[sizeof doc.gif_comment - 1] = '\0';
    update_palette(doc);
    return exact ? GifBuilt::Exactly : GifBuilt::WithMergedColours;
}

Opened open_gif(LPCSTR path, PictureDocument& doc) {
    GifAnimation gif{};
    if (!RaskoOpenGIFEx(path, &gif)) return Opened::No;
    const GifBuilt built = build_document_from_gif(doc, gif);
    if (built == GifBuilt::WithMergedColours)
        show_file_message(kMergedColours, kMergedCaption, path, MB_OK | MB_ICONINFORMATION);
    return opened_if(built != GifBuilt::No);
}

// Frees the frames and arrays an Add-In decoder handed over, unless it
// keeps them.
void release_addin_image(AddInImage& image) {
    if (image.flags & kAddInImageAddInOwns) return;
    for (DWORD i = 0; image.dibs && i < image.frame_count; ++i) {
        if (image.dibs[i]) GlobalFree(image.dibs[i]);
        if ((image.flags & kAddInImageSeparateBits) && image.bits && image.bits[i])
            GlobalFree(image.bits[i]);
    }
    GlobalFree(image.dibs);
    GlobalFree(image.bits);
}

bool usable_frame(const BITMAPINFOHEADER* dib, const BYTE* bits) {
    return dib && bits && dib->biSize >= 40 && dib->biSize <= 124 && dib->biBitCount == 8 &&
           dib->biWidth >= 1 && dib->biHeight >= 1;
}

void load_addin_frame(Layer& layer, const AddInImage& frames, DWORD i, const RGBQUAD* table) {
    Surface& image = *layer.image;
    const BITMAPINFOHEADER* dib = frames.dibs[i];
    RaskoCopyDIBBits(image.info, image.bits, 0, 0, dib->biWidth, dib->biHeight, dib, frames.bits[i],
                     0, 0);
    image.set_palette(table);
    image.copy_to(*layer.undo_copy);
    if (frames.flags & kAddInImageKeyColour) layer.key_colour = int(frames.key_colour & 0xFF);
    if (frames.flags & kAddInImageBackground)
        layer.background_colour = int(frames.background_colour & 0xFF);
}

bool build_from_addin(PictureDocument& doc, const AddInImage& frames) {
    if (frames.frame_count == 0 || !frames.dibs || !frames.bits) return false;
    for (DWORD i = 0; i < frames.frame_count; ++i)
        if (!usable_frame(frames.dibs[i], frames.bits[i])) return false;
    const BITMAPINFOHEADER* first = frames.dibs[0];
    if (!layers_fit(first->biWidth, first->biHeight, frames.frame_count) ||
        !create_bottom_layer(doc, first->biWidth, first->biHeight))
        return false;
    const RGBQUAD* table =
        reinterpret_cast<const RGBQUAD*>(reinterpret_cast<const BYTE*>(first) + first->biSize);
    load_addin_frame(*bottom_layer(doc), frames, 0, table);
    for (DWORD i = 1; i < frames.frame_count; ++i) {
        doc.flags |= kDocModified;
        Layer* layer = add_layer_above(doc);
        if (!layer) return false;
        load_addin_frame(*layer, frames, i, table);
    }
    doc.current = doc.layers->next;
    update_palette(doc);
    return true;
}

// A picture an Add-In decoded is saved by the encoder its name's extension
// names, so that Save never writes another format under that name. Without
// such an encoder the picture is not Named: Save asks for a name and type
// (the native type preselected, the one Save As can always offer).
void choose_write_type(LPCSTR path, const FileTypeTable& write_types, PictureDocument& doc) {
    const FoundType found = find_type_by_extension(path, write_types);
    doc.file_type = found.found ? found.type : FileTypeId::Native;
    if (!found.found) doc.flags &= ~kDocNamed;
}

Opened open_addin(LPCSTR path, AddInFileProc decode, PictureDocument& doc) {
    doc.file_type = FileTypeId::Native;
    doc.gif_colour_bits = 8;
    if (!decode) return Opened::No;
    AddInImage frames{};
    frames.size = sizeof frames;
    const bool decoded = decode(path, &frames) != 0;
    const bool built = decoded && build_from_addin(doc, frames);
    if (decoded) release_addin_image(frames);
    return opened_if(built);
}

PictureDocument* refuse_to_open(LPCSTR path, PictureDocument* doc) {
    free_document(doc);
    show_file_message(kUnableToOpen, kOpenCaption, path, MB_OK | MB_ICONEXCLAMATION);
    return nullptr;
}

} // namespace

GifBuilt build_document_from_gif(PictureDocument& doc, GifAnimation& gif) {
    const GifBuilt built = build_layers(doc, gif);
    release_gif(gif);
    doc.file_type = FileTypeId::Gif;
    return built;
}

PictureDocument* read_picture_file(LPCSTR path, FileTypeId type, const FileTypeTable& read_types,
                                   const FileTypeTable& write_types, Surface* pen) {
    if (!path) return nullptr;
    if (!holds_type(read_types, type)) return refuse_to_open(path, nullptr);
    PictureDocument* doc = create_document();
    if (!doc) return refuse_to_open(path, nullptr);
    Opened opened;
    switch (type) {
    case FileTypeId::Native:
        opened = open_native(path, *doc);
        break;
    case FileTypeId::Bmp:
        opened = open_bmp(path, *doc);
        break;
    case FileTypeId::Gif:
        opened = open_gif(path, *doc);
        break;
    default:
        opened = open_addin(path, type_entry(read_types, type).function, *doc);
        break;
    }
    if (opened == Opened::NoAndTold) {
        free_document(doc);
        return nullptr;
    }
    if (opened == Opened::No) return refuse_to_open(path, doc);
    std::snprintf(doc->file_name, sizeof doc->file_name, "%s", path);
    doc->update_rect = {0, 0, picture_width(*doc), picture_height(*doc)};
    doc->current_pen = pen;
    doc->current_pen_index = 0;
    doc->flags |= kDocNamed;
    if (type_position(type) < kBuiltInTypes)
        doc->flags &= ~kDocModified;
    else
        choose_write_type(path, write_types, *doc);
    return doc;
}

PictureDocument* open_picture_file(LPCSTR path, FileTypeId type, const FileTypeTable& read_types,
                                   const FileTypeTable& write_types, Surface* pen) {
    PictureDocument* doc = read_picture_file(path, type, read_types, write_types, pen);
    if (doc) recomposite(*doc);
    return doc;
}

Surface* flatten_picture_file(LPCSTR path, FileTypeId type, const FileTypeTable& read_types,
                              const FileTypeTable& write_types) {
    if (type == FileTypeId::Gif) {
        BITMAPINFOHEADER* dib = RaskoOpenGIF(path);
        if (!dib) {
            refuse_to_open(path, nullptr);
            return nullptr;
        }
        Surface* s = create_surface(dib->biWidth, dib->biHeight);
        if (s) {
            s->set_palette(io::colour_table(dib));
            RaskoCopyDIBBits(s->info, s->bits, 0, 0, s->width(), s->height(), dib, io::bits_of(dib),
                             0, 0);
        }
        RaskoDestroyDIB(dib);
        return s;
    }
    PictureDocument* doc = read_picture_file(path, type, read_types, write_types, nullptr);
    if (!doc) return nullptr;
    // An animated GIF opens showing one layer; a flattened picture shows all.
    doc->flags &= ~(kDocOnlyCurrentLayer | kDocMaskView);
    doc->update_rect = {0, 0, picture_width(*doc), picture_height(*doc)};
    recomposite(*doc);
    Surface* s = create_surface(doc->composite->width(), doc->composite->height());
    if (s) doc->composite->copy_to(*s);
    free_document(doc);
    return s;
}
