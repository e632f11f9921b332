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
// bytes of the row after a text for them; the bit reader loads eight bytes.
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

// The data row that picture row `row` comes in; the inverse of
// interlaced_row.
int interlaced_data_row(int row, int rows) {
    const int pass1 = (rows + 7) / 8, pass2 = (rows + 3) / 8, pass3 = (rows + 1) / 4;
    if (row % 8 == 0) return row / 8;
    if (row % 8 == 4) return pass1 + row / 8;
    if (row % 4 == 2) return pass1 + pass2 + row / 4;
    return pass1 + pass2 + pass3 + row / 2;
}

// Where the decoder writes: each data row goes straight to its bottom-up row
// in the DIB (turning the picture afterwards would cost a pass over it), so
// the output is contiguous only within a row. Places are byte offsets from
// `bits`.
struct RowLayout {
    BYTE* bits;
    std::size_t width;
    std::size_t stride;
    int rows;
    bool interlaced;

    std::size_t row_offset(int data_row) const {
        const int row = interlaced ? interlaced_row(data_row, rows) : data_row;
        return std::size_t(rows - 1 - row) * stride;
    }
    // The data row holding the byte at `offset`.
    int data_row_at(std::size_t offset) const {
        const int row = rows - 1 - int(offset / stride);
        return interlaced ? interlaced_data_row(row, rows) : row;
    }
};

// The next byte the decoder writes: data row `row` (`rows` once the image is
// full), at `at`, with `left` bytes of the row still to come.
struct Cursor {
    int row = 0;
    std::size_t at = 0;
    std::size_t left = 0;
};

// Ends the cursor's row, which the decoder has just filled, with its zero pad
// and moves to the next. Cursors go by value, so that the decoder keeps its
// own in registers rather than reloading it after every byte it stores.
inline Cursor next_row(const RowLayout& layout, Cursor cursor) {
    if (layout.stride != layout.width)
        std::memset(layout.bits + cursor.at, 0, layout.stride - layout.width);
    if (++cursor.row < layout.rows) {
        cursor.at = layout.interlaced ? layout.row_offset(cursor.row)
                                      : cursor.at - layout.width - layout.stride;
        cursor.left = layout.width;
    }
    return cursor;
}

template <std::size_t kBytes> inline void move_word(BYTE* to, const BYTE* from) {
    BYTE word[kBytes];
    std::memcpy(word, from, kBytes);
    std::memcpy(to, word, kBytes);
}

// Copies `count` bytes between places that do not overlap, touching nothing
// outside them: two words of a size that may overlap each other cover every
// count from that size to twice it.
inline void copy_exact(BYTE* to, const BYTE* from, std::size_t count) {
    if (count >= kWordBytes) {
        for (std::size_t i = 0; i + kWordBytes < count; i += kWordBytes)
            move_word<kWordBytes>(to + i, from + i);
        move_word<kWordBytes>(to + count - kWordBytes, from + count - kWordBytes);
    } else if (count >= 8) {
        move_word<8>(to, from);
        move_word<8>(to + count - 8, from + count - 8);
    } else if (count >= 4) {
        move_word<4>(to, from);
        move_word<4>(to + count - 4, from + count - 4);
    } else if (count >= 2) {
        move_word<2>(to, from);
        move_word<2>(to + count - 2, from + count - 2);
    } else if (count == 1) {
        to[0] = from[0];
    }
}

// Copies the text of a code, `count` bytes of earlier output from `from`, to
// `to`, both within one row with kSlack bytes of the row after them. An
// entry's text starts where the code that defined it was written and ends
// with the first byte written after that code, so the distance in the data
// is at least count - 1: only the code defined by the code just before it
// overlaps its own output, and then only by its last byte, which is the
// first byte copied. In one row the distance in memory is the same, and
// texts in different rows do not overlap. All but the last byte go forward
// in words, each word's source being written before it is read (the first
// word is read whole before it is stored); the last byte follows.
inline void copy_text(BYTE* to, const BYTE* from, std::size_t count) {
    std::size_t i = 0;
    do {
        move_word<kWordBytes>(to + i, from + i);
        i += kWordBytes;
    } while (i + 1 < count);
    to[count - 1] = from[count - 1];
}

// The text of a code too near the end of its row or the source's row for
// words, or running over it: copied in pieces that stay within one row on
// both sides, and cut where the image ends. `room` is how many bytes of the
// source's row follow its start. By the distance above, the bytes of a
// piece but its last do not overlap their source.
Cursor copy_text_by_rows(const RowLayout& layout, Cursor cursor, std::size_t from, std::size_t room,
                         std::size_t count) {
    while (count > 0 && cursor.row < layout.rows) {
        const std::size_t piece = std::min({count, room, cursor.left});
        BYTE* to = layout.bits + cursor.at;
        const BYTE* source = layout.bits + from;
        copy_exact(to, source, piece - 1);
        to[piece - 1] = source[piece - 1];
        count -= piece;
        from += piece;
        room -= piece;
        cursor.at += piece;
        cursor.left -= piece;
        if (cursor.left == 0) cursor = next_row(layout, cursor);
        if (room == 0 && count > 0) {
            from = layout.row_offset(layout.data_row_at(from - 1) + 1);
            room = layout.width;
        }
    }
    return cursor;
}

// The LZW string table and code size between two windows of data. Each
// table entry is defined when the code before its last character is read:
// it starts at that code's output and is one byte longer, its last byte
// being the first of the text that follows. `span` holds an entry's length
// in its low 16 bits and above them how many bytes of its row follow its
// start (a GIF is at most 65535 pixels wide and a text at most 4096 long).
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
    std::uint32_t span[kMaxCodes];
};

constexpr unsigned kSpanLengthBits = 16;
constexpr std::uint32_t kSpanLengthMask = (1u << kSpanLengthBits) - 1;

std::uint32_t span_of(std::size_t length, std::size_t room) {
    return std::uint32_t(length | room << kSpanLengthBits);
}

// Decodes the whole codes in data[bit / 8 ...] below bit_end into the DIB at
// the cursor. Returns false when the image's data is over: at the end code,
// at a code not yet in the table or when the image is full; a full table
// without a clear code goes on with 12-bit codes and adds no entries.
bool decode_codes(LzwState& state, const BYTE* data, std::uint64_t& bit, std::uint64_t bit_end,
                  const RowLayout& layout, Cursor& cursor) {
    Cursor c = cursor;
    const int rows = layout.rows;
    const unsigned clear = state.clear;
    const unsigned end = clear + 1;
    unsigned code_bits = state.code_bits;
    unsigned mask = (1u << code_bits) - 1;
    unsigned next = state.next;
    std::uint32_t* start = state.start;
    std::uint32_t* span = state.span;
    BYTE* const bits = layout.bits;
    std::uint64_t b = bit;
    bool going = true;
    while (b + code_bits <= bit_end) {
        if (c.row >= rows) {
            going = false;
            break;
        }
        std::uint64_t window;
        std::memcpy(&window, data + (b >> 3), 8);
        const unsigned code = unsigned(window >> (b & 7)) & mask;
        b += code_bits;
        if (code < clear) {
            if (next < kMaxCodes) {
                start[next] = std::uint32_t(c.at);
                span[next] = span_of(2, c.left);
                ++next;
            }
            bits[c.at++] = BYTE(code);
            if (--c.left == 0) c = next_row(layout, c);
        } else if (code == clear) {
            next = clear + 2;
            code_bits = state.min_code_size + 1;
            mask = (1u << code_bits) - 1;
            continue;
        } else if (code == end || code >= next) {
            going = false;
            break;
        } else {
            const std::uint32_t text_span = span[code];
            const std::size_t text = text_span & kSpanLengthMask;
            const std::size_t room = text_span >> kSpanLengthBits;
            const std::size_t from = start[code];
            if (next < kMaxCodes) {
                start[next] = std::uint32_t(c.at);
                span[next] = span_of(text + 1, c.left);
                ++next;
            }
            if (text + kSlack <= std::min(room, c.left)) {
                copy_text(bits + c.at, bits + from, text);
                c.at += text;
                c.left -= text;
            } else {
                c = copy_text_by_rows(layout, c, from, room, text);
            }
        }
        if (next > mask + 1 && code_bits < kMaxCodeBits) {
            ++code_bits;
            mask = (1u << code_bits) - 1;
        }
    }
    state.code_bits = code_bits;
    state.next = next;
    bit = b;
    cursor = c;
    return going;
}

// Decodes one image's data sub-blocks (the input just after the minimum code
// size) into the DIB from the cursor on; the input is left after the data's
// terminator in every case.
void decode_image(Input& in, int min_code_size, const RowLayout& layout, Cursor& cursor) {
    SubBlocks blocks(in);
    LzwState state(min_code_size);
    std::uint64_t bit = 0;
    std::size_t held = blocks.refill(0);
    while (decode_codes(state, blocks.data(), bit, std::uint64_t(held) * 8, layout, cursor) &&
           !blocks.ended()) {
        held = blocks.refill(std::size_t(bit >> 3));
        bit &= 7;
    }
    blocks.finish();
}

// Reads one image's data (the input at its LZW minimum code size) into the
// DIB, writing every byte of its pixels and row pads, since the DIB comes
// unzeroed. The whole data is consumed in every case. Bad or short data
// leaves the pixels decoded so far and 0 after them.
void read_image_data(Input& in, BITMAPINFOHEADER* dib, bool interlaced) {
    const int width = dib->biWidth;
    const RowLayout layout{io::bits_of(dib), std::size_t(width), std::size_t(io::stride_of(width)),
                           dib->biHeight, interlaced};
    Cursor cursor{0, layout.row_offset(0), layout.width};
    const int min_code_size = in.byte();
    if (min_code_size >= 1 && min_code_size <= 8)
        decode_image(in, min_code_size, layout, cursor);
    else
        skip_sub_blocks(in);
    if (cursor.row >= layout.rows) return;
    std::memset(layout.bits + cursor.at, 0, cursor.left + layout.stride - layout.width);
    for (int row = cursor.row + 1; row < layout.rows; ++row)
        std::memset(layout.bits + layout.row_offset(row), 0, layout.stride);
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
        read_image_data(in, dib, descriptor[8] & 0x40);
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
    read_image_data(in, dib, flags & 0x40);
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
