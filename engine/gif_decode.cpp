// GIF readers: the first image as one DIB, or every image as frames of a
// GifAnimation. Both share one LZW decoder whose string table is a start
// position and a length in the output already written.
#include "engine/codecs.h"
#include "platform/io/dib_layout.h"
#include "platform/io/little_endian.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

using rasko::Input;

constexpr int kMaxCodes = 4096;
constexpr int kMaxCodeBits = 12;
// The decoder copies earlier output in words of kWordBytes and needs kSlack
// bytes after a text for them.
constexpr std::size_t kWordBytes = 16;
constexpr std::size_t kSlack = kWordBytes;

using io::get16;

// The DIB for a GIF image. An image of no pixels is refused, as a file whose
// size fields are zero is damaged and the writers refuse empty pictures.
BITMAPINFOHEADER* create_image(int width, int rows) {
    return width > 0 && rows > 0 ? RaskoCreateDIB(width, rows) : nullptr;
}

// The same for an image the decoder writes every byte of.
BITMAPINFOHEADER* create_image_to_overwrite(int width, int rows) {
    return width > 0 && rows > 0 ? rasko::create_dib_to_overwrite(width, rows) : nullptr;
}

// Stores `entries` colours of three bytes (red, green, blue) as RGBQUADs.
void store_colours(const BYTE* rgb, int entries, RGBQUAD* table) {
    for (int i = 0; i < entries; ++i)
        table[i] = RGBQUAD{rgb[3 * i + 2], rgb[3 * i + 1], rgb[3 * i], 0};
}

// A colour table from the file: 2^(size field + 1) entries, fewer when the
// file ends inside it.
struct ColourTable {
    BYTE rgb[256 * 3];
    int entries = 0;

    void read(Input& in, unsigned flags) {
        const std::size_t wanted = std::size_t(3) << ((flags & 7) + 1);
        entries = int(in.read(rgb, wanted) / 3);
    }
};

// Sub-blocks: a size byte, then that many bytes, until a size of 0.
void skip_sub_blocks(Input& in) {
    for (;;) {
        const int size = in.byte();
        if (size <= 0 || !in.skip(unsigned(size))) return;
    }
}

// The data sub-blocks of one image, read into a window as the decoder
// consumes them, with kSlack zero bytes after the last byte held so that the
// bit reader may load eight bytes at a time.
class SubBlocks {
  public:
    explicit SubBlocks(Input& in) : in_(in) {}

    // Drops the first `consumed` bytes held and reads whole sub-blocks behind
    // the rest while they fit; returns how many bytes are held now.
    std::size_t refill(std::size_t consumed) {
        std::memmove(window_, window_ + consumed, held_ - consumed);
        held_ -= consumed;
        while (!ended_ && held_ + 255 <= kWindowBytes) {
            const int size = in_.byte();
            if (size <= 0) {
                ended_ = true;
                break;
            }
            const std::size_t got = in_.read(window_ + held_, unsigned(size));
            held_ += got;
            ended_ = got < unsigned(size);
        }
        std::memset(window_ + held_, 0, kSlack);
        return held_;
    }
    // Passes over the rest of the data up to its terminator.
    void finish() {
        if (!ended_) skip_sub_blocks(in_);
        ended_ = true;
    }
    bool ended() const { return ended_; }
    const BYTE* data() const { return window_; }

  private:
    static constexpr std::size_t kWindowBytes = 16 * 1024;
    Input& in_;
    std::size_t held_ = 0;
    bool ended_ = false;
    BYTE window_[kWindowBytes + kSlack];
};

// Copies the text of a code, `count` bytes of earlier output from `from`, to
// `to`. An entry's text starts where the code that defined it was written
// and ends with the first byte written after that code, so the distance is at
// least count - 1: only the code defined by the code just before it overlaps
// its own output, and then only by its last byte, which is the first byte
// copied. All but the last byte go forward in words, each word's source
// being written before it is read (the first word is read whole before it is
// stored); the last byte follows. With `room` the output has kSlack bytes
// after the text for the words to run over.
inline void copy_text(BYTE* to, const BYTE* from, std::size_t count, bool room) {
    if (!room) {
        for (std::size_t i = 0; i < count; ++i)
            to[i] = from[i];
        return;
    }
    std::size_t i = 0;
    do {
        BYTE word[kWordBytes];
        std::memcpy(word, from + i, kWordBytes);
        std::memcpy(to + i, word, kWordBytes);
        i += kWordBytes;
    } while (i + 1 < count);
    to[count - 1] = from[count - 1];
}

// The LZW string table and code size between two windows of data. Each
// table entry is defined when the code before its last character is read:
// it starts at that code's output and is one byte longer, its last byte
// being the first of the text that follows.
struct LzwState {
    explicit LzwState(int min_code_size)
        : min_code_size(unsigned(min_code_size)), clear(1u << min_code_size) {
        restart();
    }
    void restart() {
        code_bits = min_code_size + 1;
        next = clear + 2;
    }
    const unsigned min_code_size;
    const unsigned clear;
    unsigned code_bits;
    unsigned next;
    std::uint32_t start[kMaxCodes];
    std::uint16_t length[kMaxCodes];
};

// Decodes the whole codes in data[bit / 8 ...] below bit_end into out[at ...]
// (`total` pixels; `capacity` bytes may be written). Returns false when the
// image's data is over: at the end code, at a code not yet in the table or
// when the output is full; a full table without a clear code goes on with
// 12-bit codes and adds no entries.
bool decode_codes(LzwState& state, const BYTE* data, std::uint64_t& bit, std::uint64_t bit_end,
                  BYTE* out, std::size_t& at, std::size_t total, std::size_t capacity) {
    const unsigned clear = state.clear;
    const unsigned end = clear + 1;
    unsigned code_bits = state.code_bits;
    unsigned mask = (1u << code_bits) - 1;
    unsigned next = state.next;
    std::uint32_t* start = state.start;
    std::uint16_t* length = state.length;
    std::uint64_t b = bit;
    std::size_t o = at;
    bool going = true;
    while (b + code_bits <= bit_end) {
        if (o >= total) {
            going = false;
            break;
        }
        std::uint64_t window;
        std::memcpy(&window, data + (b >> 3), 8);
        const unsigned code = unsigned(window >> (b & 7)) & mask;
        b += code_bits;
        if (code < clear) {
            if (next < kMaxCodes) {
                start[next] = std::uint32_t(o);
                length[next] = 2;
                ++next;
            }
            out[o++] = BYTE(code);
        } else if (code == clear) {
            next = clear + 2;
            code_bits = state.min_code_size + 1;
            mask = (1u << code_bits) - 1;
            continue;
        } else if (code == end || code >= next) {
            going = false;
            break;
        } else {
            const std::size_t text = length[code];
            const std::size_t from = start[code];
            if (next < kMaxCodes) {
                start[next] = std::uint32_t(o);
                length[next] = std::uint16_t(text + 1);
                ++next;
            }
            const std::size_t count = std::min(text, total - o);
            copy_text(out + o, out + from, count, o + count + kSlack <= capacity);
            o += count;
        }
        if (next > mask + 1 && code_bits < kMaxCodeBits) {
            ++code_bits;
            mask = (1u << code_bits) - 1;
        }
    }
    state.code_bits = code_bits;
    state.next = next;
    bit = b;
    at = o;
    return going;
}

// Decodes one image's data sub-blocks (the input just after the minimum code
// size) into `out` and returns how many pixels came; the input is left after
// the data's terminator in every case.
std::size_t decode_image(Input& in, int min_code_size, BYTE* out, std::size_t total,
                         std::size_t capacity) {
    SubBlocks blocks(in);
    LzwState state(min_code_size);
    std::size_t at = 0;
    std::uint64_t bit = 0;
    std::size_t held = blocks.refill(0);
    while (decode_codes(state, blocks.data(), bit, std::uint64_t(held) * 8, out, at, total,
                        capacity) &&
           !blocks.ended()) {
        held = blocks.refill(std::size_t(bit >> 3));
        bit &= 7;
    }
    blocks.finish();
    return at;
}

// Data row i of an image of `rows` rows: its row on the picture. Interlaced
// images send rows 0, 8, 16, ...; 4, 12, ...; 2, 6, ...; 1, 3, 5, ....
int interlaced_row(int i, int rows) {
    const int pass1 = (rows + 7) / 8;
    if (i < pass1) return i * 8;
    i -= pass1;
    const int pass2 = (rows + 3) / 8;
    if (i < pass2) return 4 + i * 8;
    i -= pass2;
    const int pass3 = (rows + 1) / 4;
    if (i < pass3) return 2 + i * 4;
    return 1 + (i - pass3) * 2;
}

// Turns rows of `width` bytes packed top row first at the start of `bits`
// into the DIB's bottom-up rows of `stride` bytes with zero padding, in
// place: the order is reversed while the rows are packed, then each row
// moves to its place, the last first.
void unpack_bottom_up(BYTE* bits, std::size_t width, std::size_t rows, std::size_t stride) {
    BYTE swap[4096];
    for (std::size_t i = 0, j = rows - 1; i < j; ++i, --j) {
        BYTE* a = bits + i * width;
        BYTE* b = bits + j * width;
        for (std::size_t x = 0; x < width; x += sizeof swap) {
            const std::size_t part = std::min(sizeof swap, width - x);
            std::memcpy(swap, a + x, part);
            std::memcpy(a + x, b + x, part);
            std::memcpy(b + x, swap, part);
        }
    }
    if (stride == width) return;
    for (std::size_t y = rows; y-- > 0;) {
        std::memmove(bits + y * stride, bits + y * width, width);
        std::memset(bits + y * stride + width, 0, stride - width);
    }
}

// Reads one image's data (the input at its LZW minimum code size) into the
// DIB, writing every byte of its pixels and row pads, since the DIB comes
// unzeroed. The whole data is consumed in every case; false only when memory
// for decoding ran out. Bad or short data leaves the pixels decoded so far
// and 0 after them. Images in row order decode straight into the DIB's
// pixels; interlaced ones go through a work buffer.
bool read_image_data(Input& in, BITMAPINFOHEADER* dib, bool interlaced) {
    const int width = dib->biWidth, rows = dib->biHeight;
    const std::size_t total = std::size_t(width) * std::size_t(rows);
    const std::size_t stride = std::size_t(io::stride_of(width));
    BYTE* bits = io::bits_of(dib);
    const int min_code_size = in.byte();
    if (min_code_size < 1 || min_code_size > 8) {
        std::memset(bits, 0, stride * std::size_t(rows));
        skip_sub_blocks(in);
        return true;
    }
    if (!interlaced) {
        const std::size_t decoded =
            decode_image(in, min_code_size, bits, total, stride * std::size_t(rows));
        std::memset(bits + decoded, 0, total - decoded);
        unpack_bottom_up(bits, std::size_t(width), std::size_t(rows), stride);
        return true;
    }
    BYTE* work = static_cast<BYTE*>(GlobalAlloc(GMEM_FIXED, total + kSlack));
    if (!work) {
        skip_sub_blocks(in);
        return false;
    }
    const std::size_t decoded = decode_image(in, min_code_size, work, total, total + kSlack);
    std::memset(work + decoded, 0, total - decoded);
    for (int i = 0; i < rows; ++i) {
        const int row = interlaced_row(i, rows);
        BYTE* line = bits + std::size_t(rows - 1 - row) * stride;
        std::memcpy(line, work + std::size_t(i) * width, std::size_t(width));
        std::memset(line + width, 0, stride - std::size_t(width));
    }
    GlobalFree(work);
    return true;
}

} // namespace

namespace rasko {

BITMAPINFOHEADER* read_gif(Input& in) {
    BYTE screen[13] = {};
    if (in.read(screen, 13) < 13) return nullptr;
    ColourTable global;
    if (screen[10] & 0x80) global.read(in, screen[10]);

    for (;;) {
        const int introducer = in.byte();
        if (introducer < 0 || introducer == 0x3B) break;
        if (introducer == 0x21) {
            // Extensions are skipped by their sub-blocks, so that a 0x2C in
            // a comment is not taken for an image.
            in.byte();
            skip_sub_blocks(in);
            continue;
        }
        if (introducer != 0x2C) continue;

        BYTE descriptor[9];
        if (in.read(descriptor, 9) < 9) break;
        const int width = int(get16(descriptor + 4)), rows = int(get16(descriptor + 6));
        ColourTable local;
        if (descriptor[8] & 0x80) local.read(in, descriptor[8]);
        if (!plausible_pixel_count(std::uint64_t(width) * rows, in.remaining())) return nullptr;
        BITMAPINFOHEADER* dib = create_image_to_overwrite(width, rows);
        if (!dib) return nullptr;
        store_colours(global.rgb, global.entries, io::colour_table(dib));
        store_colours(local.rgb, local.entries, io::colour_table(dib));
        if (!read_image_data(in, dib, descriptor[8] & 0x40)) {
            RaskoDestroyDIB(dib);
            return nullptr;
        }
        return dib;
    }
    // No image: the logical screen, blank.
    const int width = int(get16(screen + 6)), rows = int(get16(screen + 8));
    if (!plausible_pixel_count(std::uint64_t(width) * rows, in.remaining())) return nullptr;
    BITMAPINFOHEADER* dib = create_image(width, rows);
    if (dib) store_colours(global.rgb, global.entries, io::colour_table(dib));
    return dib;
}

} // namespace rasko

namespace {

// The graphic control extension that applies to the next image.
struct GraphicControl {
    bool pending = false;
    BYTE packed = 0;
    unsigned delay = 0;
    BYTE transparent = 0;
};

// Frames read so far, in file order.
class FrameList {
  public:
    ~FrameList() { std::free(frames_); }
    bool add(GifFrame* frame) {
        if (count_ == capacity_) {
            const std::size_t grown = capacity_ ? capacity_ * 2 : 16;
            auto* more = static_cast<GifFrame**>(std::realloc(frames_, grown * sizeof *frames_));
            if (!more) return false;
            frames_ = more;
            capacity_ = grown;
        }
        frames_[count_++] = frame;
        return true;
    }
    std::size_t count() const { return count_; }
    GifFrame* const* frames() const { return frames_; }

  private:
    GifFrame** frames_ = nullptr;
    std::size_t count_ = 0;
    std::size_t capacity_ = 0;
};

void read_extension(Input& in, GifAnimation* animation, GraphicControl& control) {
    const int label = in.byte();
    const int size = in.byte();
    if (size <= 0) return;
    switch (label) {
    case 0xF9: {
        BYTE block[4];
        if (size >= 4 && in.read(block, 4) == 4) {
            control.pending = true;
            control.packed = block[0];
            control.delay = get16(block + 1);
            control.transparent = block[3];
            in.skip(unsigned(size) - 4);
        } else {
            in.skip(unsigned(size));
        }
        break;
    }
    case 0xFE: {
        // The comment is the first sub-block, always terminated.
        const std::size_t got = in.read(animation->comment, unsigned(size));
        animation->comment[got] = 0;
        break;
    }
    case 0xFF: {
        BYTE id[11];
        if (size < 11 || in.read(id, 11) < 11) {
            in.skip(unsigned(size));
            break;
        }
        std::memcpy(animation->applicationId, id, 8);
        std::memcpy(animation->applicationAuth, id + 8, 3);
        in.skip(unsigned(size) - 11);
        if (std::memcmp(id, "NETSCAPE2.0", 11) == 0) {
            const int block = in.byte();
            if (block <= 0) return;
            if (block == 3) {
                unsigned loop = 0;
                in.byte();
                if (in.word(loop)) animation->loopCount = WORD(loop);
            } else {
                in.skip(unsigned(block));
            }
        }
        break;
    }
    default:
        in.skip(unsigned(size));
        break;
    }
    skip_sub_blocks(in);
}

// Reads one image into a new frame; null when it had to be dropped (its data
// is skipped either way). `pixels` counts the frame pixels of the whole file.
GifFrame* read_frame(Input& in, GifAnimation* animation, GraphicControl& control,
                     std::uint64_t& pixels) {
    BYTE descriptor[9];
    if (in.read(descriptor, 9) < 9) return nullptr;
    const int width = int(get16(descriptor + 4)), rows = int(get16(descriptor + 6));
    const BYTE flags = descriptor[8];
    ColourTable local;
    if (flags & 0x80) local.read(in, flags);
    if (flags & 0x40) animation->interlaced = 1;

    // Every frame is kept, so the file as a whole must be able to fill them.
    pixels += std::uint64_t(width) * rows;
    const GraphicControl used = control;
    control.pending = false;
    BITMAPINFOHEADER* dib = rasko::plausible_pixel_count(pixels, in.size())
                                ? create_image_to_overwrite(width, rows)
                                : nullptr;
    auto* frame = dib ? static_cast<GifFrame*>(GlobalAlloc(GPTR, sizeof(GifFrame))) : nullptr;
    if (!frame) {
        RaskoDestroyDIB(dib);
        in.byte();
        skip_sub_blocks(in);
        return nullptr;
    }
    RGBQUAD* table = io::colour_table(dib);
    if (flags & 0x80)
        store_colours(local.rgb, local.entries, table);
    else if (animation->globalPalette)
        std::memcpy(table, animation->globalPalette, io::kPaletteBytes);
    if (!read_image_data(in, dib, flags & 0x40)) {
        RaskoDestroyDIB(dib);
        GlobalFree(frame);
        return nullptr;
    }
    frame->dib = dib;
    frame->bits = io::bits_of(dib);
    frame->left = LONG(get16(descriptor));
    frame->top = LONG(get16(descriptor + 2));
    frame->transparentIndex = -1;
    if (used.pending) {
        if (used.packed & 1) frame->transparentIndex = used.transparent;
        frame->userInput = (used.packed >> 1) & 1;
        frame->disposal = used.packed >> 2;
        frame->delay = LONG(used.delay);
    }
    return frame;
}

void destroy_frame(GifFrame* frame) {
    RaskoDestroyDIB(frame->dib);
    GlobalFree(frame);
}

} // namespace

namespace rasko {

int read_gif_animation(Input& in, GifAnimation* animation) {
    BYTE screen[13] = {};
    in.read(screen, 13);
    animation->screenWidth = get16(screen + 6);
    animation->screenHeight = get16(screen + 8);
    animation->backgroundIndex = screen[11];
    animation->aspectRatio = screen[12];
    animation->comment[0] = 0;
    animation->bitsPerPixel = (screen[10] & 7) + 1u;
    animation->globalPalette = nullptr;
    if (screen[10] & 0x80) {
        ColourTable global;
        global.read(in, screen[10]);
        animation->globalPalette = static_cast<RGBQUAD*>(GlobalAlloc(GPTR, io::kPaletteBytes));
        if (animation->globalPalette)
            store_colours(global.rgb, global.entries, animation->globalPalette);
    }

    FrameList list;
    GraphicControl control;
    std::uint64_t pixels = 0;
    for (;;) {
        const int introducer = in.byte();
        if (introducer < 0 || introducer == 0x3B) break;
        if (introducer == 0x21) {
            read_extension(in, animation, control);
        } else if (introducer == 0x2C) {
            GifFrame* frame = read_frame(in, animation, control, pixels);
            if (frame && !list.add(frame)) destroy_frame(frame);
        }
    }

    const std::size_t count = list.count();
    animation->frames = static_cast<GifFrame**>(
        GlobalAlloc(GPTR, std::max<std::size_t>(count, 1) * sizeof(GifFrame*)));
    if (!animation->frames) {
        for (std::size_t i = 0; i < count; ++i)
            destroy_frame(list.frames()[i]);
        animation->frameCount = 0;
    } else {
        if (count) std::memcpy(animation->frames, list.frames(), count * sizeof(GifFrame*));
        animation->frameCount = DWORD(count);
    }
    if (!animation->globalPalette && animation->frameCount > 0) {
        animation->globalPalette = static_cast<RGBQUAD*>(GlobalAlloc(GPTR, io::kPaletteBytes));
        if (animation->globalPalette)
            std::memcpy(animation->globalPalette, io::colour_table(animation->frames[0]->dib),
                        io::kPaletteBytes);
    }
    return 1;
}

} // namespace rasko

extern "C" BITMAPINFOHEADER* RaskoOpenGIFHandle(HANDLE file) {
    Input in(file);
    return rasko::read_gif(in);
}

extern "C" BITMAPINFOHEADER* RaskoOpenGIF(LPCSTR name) {
    HANDLE file = rasko::open_for_reading(name);
    if (file == INVALID_HANDLE_VALUE) return nullptr;
    BITMAPINFOHEADER* dib = RaskoOpenGIFHandle(file);
    CloseHandle(file);
    return dib;
}

extern "C" int RaskoOpenGIFHandleEx(HANDLE file, GifAnimation* animation) {
    if (!animation) return 0;
    Input in(file);
    return rasko::read_gif_animation(in, animation);
}

extern "C" int RaskoOpenGIFEx(LPCSTR name, GifAnimation* animation) {
    if (!animation) return 0;
    HANDLE file = rasko::open_for_reading(name);
    if (file == INVALID_HANDLE_VALUE) return 0;
    const int result = RaskoOpenGIFHandleEx(file, animation);
    CloseHandle(file);
    return result;
}
