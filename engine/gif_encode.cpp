// GIF89a writers: one picture, or an animation from a GifAnimation record.
// Both share one LZW encoder whose string table is a trie walked once per
// pixel.
#include "engine/codecs.h"
#include "platform/io/dib_layout.h"
#include "platform/io/safe_file.h"

#include <algorithm>
#include <bit>
#include <condition_variable>
#include <cstring>
#include <exception>
#include <mutex>
#include <new>
#include <thread>
#include <vector>

namespace {

using rasko::Output;

constexpr unsigned kMaxCodeBits = 12;
constexpr unsigned kMaxCodes = 1u << kMaxCodeBits;
constexpr unsigned kMaxSide = 0xFFFF;
constexpr char kBanner[] = "\n\nGIF Encoder for Win32 (RASKO32)\n";

// Packs codes least significant bit first into data sub-blocks of 254 bytes.
// Codes gather in a staging area a word at a time, which leaves it in whole
// sub-blocks: the per-code work is a few instructions with no branch on the
// byte count. The packing state is the caller's (a local, so that it stays
// in registers while the stage is written).
class CodeWriter {
  public:
    struct State {
        std::uint64_t bits = 0; // not yet complete bytes, low bits first
        unsigned count = 0;     // how many of them
        std::size_t used = 0;   // complete bytes in the stage
    };

    explicit CodeWriter(Output& out) : out_(out) {}

    void put(State& state, unsigned code, unsigned bits) {
        state.bits |= std::uint64_t(code) << state.count;
        state.count += bits;
        // At most 7 + 12 bits are waiting: the low bytes of the word are
        // complete, the rest is written again by the next store.
        store_word(stage_ + state.used, state.bits);
        state.used += state.count >> 3;
        state.bits >>= state.count & ~7u;
        state.count &= 7;
        if (state.used >= kStageBytes) state.used = send_blocks(state.used, false);
    }

    // Writes the last partial byte and block and the terminating size 0.
    void finish(State state) {
        if (state.count) stage_[state.used++] = BYTE(state.bits);
        send_blocks(state.used, true);
        out_.put(0);
    }

  private:
    static constexpr std::size_t kBlockBytes = 254;
    static constexpr std::size_t kStageBytes = kBlockBytes * 64;
    // A word store may reach this far past the last complete byte.
    static constexpr std::size_t kSlack = sizeof(std::uint64_t);

    static void store_word(BYTE* at, std::uint64_t word) {
        if constexpr (std::endian::native == std::endian::little) {
            std::memcpy(at, &word, sizeof word);
        } else {
            for (std::size_t i = 0; i < sizeof word; ++i)
                at[i] = BYTE(word >> (8 * i));
        }
    }

    // Sends every whole sub-block of the first `used` bytes (and, at the
    // end, the short last one), keeps the rest at the start of the stage and
    // returns its length.
    std::size_t send_blocks(std::size_t used, bool last) {
        std::size_t sent = 0;
        while (used - sent >= kBlockBytes || (last && sent < used)) {
            const std::size_t size = std::min(kBlockBytes, used - sent);
            out_.put(BYTE(size));
            out_.write(stage_ + sent, size);
            sent += size;
        }
        std::memmove(stage_, stage_ + sent, used - sent);
        return used - sent;
    }

    Output& out_;
    BYTE stage_[kStageBytes + kSlack];
};

// The string table. Node number = code. A string of two characters, a
// literal and one more pixel, is found in one step through a table indexed
// by both, which is where nearly every lookup of a noisy picture ends; longer
// strings hang in child lists below their prefix, a later node at the head
// of its parent's list. Code 0 marks an empty slot and ends a list, since no
// node below the root has it.
class StringTable {
  public:
    // A table for 2^literal_bits literals, or null when there is no memory
    // for it.
    static StringTable* create(unsigned literal_bits) {
        const unsigned literals = 1u << literal_bits;
        const std::size_t bytes =
            sizeof(StringTable) + std::size_t(literals) * literals * sizeof(std::uint16_t);
        auto* table = static_cast<StringTable*>(GlobalAlloc(GMEM_FIXED, bytes));
        if (!table) return nullptr;
        table->literals_ = literals;
        table->literal_bits_ = literal_bits;
        std::memset(table->pairs_, 0, std::size_t(literals) * literals * sizeof(std::uint16_t));
        return table;
    }
    static void destroy(StringTable* table) { GlobalFree(table); }

    // The node for `prefix` followed by `pixel` (pixel < literals), or 0.
    unsigned find(unsigned prefix, unsigned pixel) const {
        if (prefix < literals_) return pairs_[prefix << literal_bits_ | pixel];
        unsigned child = first_child_[prefix];
        while (child && value_[child] != pixel)
            child = next_sibling_[child];
        return child;
    }

    void add(unsigned prefix, unsigned pixel, unsigned code) {
        parent_[code] = std::uint16_t(prefix);
        value_[code] = BYTE(pixel);
        first_child_[code] = 0;
        if (prefix < literals_) {
            pairs_[prefix << literal_bits_ | pixel] = std::uint16_t(code);
        } else {
            next_sibling_[code] = first_child_[prefix];
            first_child_[prefix] = std::uint16_t(code);
        }
    }

    // Forgets the nodes first to next - 1, leaving the literals.
    void reset(unsigned first, unsigned next) {
        for (unsigned code = first; code < next; ++code)
            if (parent_[code] < literals_)
                pairs_[unsigned(parent_[code]) << literal_bits_ | value_[code]] = 0;
    }

  private:
    unsigned literals_;
    unsigned literal_bits_;
    std::uint16_t parent_[kMaxCodes];
    std::uint16_t first_child_[kMaxCodes];
    std::uint16_t next_sibling_[kMaxCodes];
    BYTE value_[kMaxCodes];
    std::uint16_t pairs_[]; // literals x literals
};

// The rows of a picture in the order a GIF stores them: top row first, or
// the four interlace passes.
class RowOrder {
  public:
    RowOrder(const BITMAPINFOHEADER* header, const BYTE* bits, bool interlaced)
        : bits_(bits), rows_(header->biHeight < 0 ? -header->biHeight : header->biHeight),
          stride_(std::size_t(io::stride_of(header->biWidth))), top_down_(header->biHeight < 0),
          interlaced_(interlaced) {}

    // The next row's pixels, or null after the last.
    const BYTE* next() {
        if (interlaced_) {
            static constexpr int kStart[4] = {0, 4, 2, 1}, kStep[4] = {8, 8, 4, 2};
            while (pass_ < 4 && row_ >= rows_) {
                if (++pass_ < 4) row_ = kStart[pass_];
            }
            if (pass_ == 4) return nullptr;
            const int row = row_;
            row_ += kStep[pass_];
            return address(row);
        }
        return row_ < rows_ ? address(row_++) : nullptr;
    }

  private:
    const BYTE* address(int row) const {
        return bits_ + std::size_t(top_down_ ? row : rows_ - 1 - row) * stride_;
    }

    const BYTE* bits_;
    int rows_;
    std::size_t stride_;
    bool top_down_;
    bool interlaced_;
    int pass_ = 0;
    int row_ = 0;
};

// The codes of one picture's rows. A string ends at a pixel the table has
// no child for: its code goes out, the longer string becomes a new code, and
// a full table starts again after a clear code.
template <bool kMasked>
void encode_rows(StringTable& table, CodeWriter& writer, RowOrder& rows, int width,
                 unsigned min_code_size, BYTE pixel_mask) {
    const unsigned clear = 1u << min_code_size;
    unsigned next = clear + 2;
    unsigned code_bits = min_code_size + 1;
    // The next code past this one needs a wider code, or a clear when the
    // table is full: one comparison a code for both.
    unsigned last_at_width = 1u << code_bits;
    CodeWriter::State packing;
    writer.put(packing, clear, code_bits);

    unsigned current = ~0u;
    while (const BYTE* row = rows.next()) {
        int x = 0;
        if (current == ~0u) current = kMasked ? row[x++] & pixel_mask : row[x++];
        for (; x < width; ++x) {
            const unsigned pixel = kMasked ? row[x] & pixel_mask : row[x];
            const unsigned child = table.find(current, pixel);
            if (child) {
                current = child;
                continue;
            }
            table.add(current, pixel, next);
            writer.put(packing, current, code_bits);
            current = pixel;
            if (++next <= last_at_width) continue;
            if (next == kMaxCodes) {
                writer.put(packing, clear, code_bits);
                table.reset(clear + 2, next);
                next = clear + 2;
                code_bits = min_code_size + 1;
            } else {
                ++code_bits;
            }
            last_at_width = code_bits < kMaxCodeBits ? 1u << code_bits : kMaxCodes - 1;
        }
    }
    writer.put(packing, current, code_bits);
    writer.put(packing, clear + 1, code_bits);
    writer.finish(packing);
}

// Writes the LZW minimum code size and the image data sub-blocks; false
// when there was no memory for the string table (nothing is written then).
bool encode_image(Output& out, const BITMAPINFOHEADER* header, const BYTE* bits, int depth,
                  bool interlaced) {
    const unsigned min_code_size = depth < 2 ? 2u : unsigned(depth);
    const BYTE pixel_mask = BYTE((1u << depth) - 1);
    StringTable* table = StringTable::create(min_code_size);
    if (!table) return false;
    out.put(BYTE(min_code_size));
    CodeWriter writer(out);
    RowOrder rows(header, bits, interlaced);
    if (pixel_mask == 0xFF)
        encode_rows<false>(*table, writer, rows, header->biWidth, min_code_size, pixel_mask);
    else
        encode_rows<true>(*table, writer, rows, header->biWidth, min_code_size, pixel_mask);
    StringTable::destroy(table);
    return true;
}

void write_colour_table(Output& out, const RGBQUAD* table, unsigned entries) {
    for (unsigned i = 0; i < entries; ++i) {
        const RGBQUAD c = table ? table[i] : RGBQUAD{};
        out.put(c.rgbRed);
        out.put(c.rgbGreen);
        out.put(c.rgbBlue);
    }
}

// Whether a DIB can be stored as a GIF image: 1 to 65535 pixels each way.
bool fits_gif(const BITMAPINFOHEADER* header) {
    if (!header || header->biWidth < 1 || unsigned(header->biWidth) > kMaxSide) return false;
    const std::int64_t rows =
        header->biHeight < 0 ? -std::int64_t(header->biHeight) : header->biHeight;
    return rows >= 1 && rows <= kMaxSide;
}

unsigned rows_of(const BITMAPINFOHEADER* header) {
    return unsigned(header->biHeight < 0 ? -header->biHeight : header->biHeight);
}

void write_screen(Output& out, unsigned width, unsigned height, int depth, unsigned background,
                  unsigned aspect) {
    out.write("GIF89a", 6);
    out.word(width);
    out.word(height);
    const unsigned size = unsigned(depth) - 1;
    out.put(BYTE(0x80 | size << 4 | size));
    out.put(BYTE(background));
    out.put(BYTE(aspect));
}

void write_graphic_control(Output& out, unsigned packed, unsigned delay, unsigned transparent) {
    const BYTE head[3] = {0x21, 0xF9, 0x04};
    out.write(head, 3);
    out.put(BYTE(packed));
    out.word(delay & 0xFFFF);
    out.put(BYTE(transparent));
    out.put(0);
}

// A comment extension for a non-empty text; text longer than 255 bytes is
// cut in the caller's memory, as the callers expect to see it.
void write_comment(Output& out, char* comment) {
    if (!comment || !*comment) return;
    std::size_t length = 0;
    while (length < 256 && comment[length])
        ++length;
    if (length > 255) {
        comment[255] = 0;
        length = 255;
    }
    const BYTE head[3] = {0x21, 0xFE, BYTE(length)};
    out.write(head, 3);
    out.write(comment, length);
    out.put(0);
}

void write_banner_and_trailer(Output& out) {
    const BYTE head[3] = {0x21, 0xFF, 0x0B};
    out.write(head, 3);
    out.write("RASKO32 1.0", 11);
    out.put(BYTE(sizeof kBanner - 1));
    out.write(kBanner, sizeof kBanner - 1);
    out.put(0);
    out.put(0x3B);
}

bool differs(const RGBQUAD* a, const RGBQUAD* b, unsigned entries) {
    for (unsigned i = 0; i < entries; ++i) {
        const RGBQUAD y = b ? b[i] : RGBQUAD{};
        if (a[i].rgbRed != y.rgbRed || a[i].rgbGreen != y.rgbGreen || a[i].rgbBlue != y.rgbBlue)
            return true;
    }
    return false;
}

// Whether every frame can be written, checked before the first byte goes out
// so that a refused animation writes nothing.
bool animation_fits(const GifAnimation* animation) {
    if (animation->bitsPerPixel < 1 || animation->bitsPerPixel > 8) return false;
    if (animation->screenWidth > kMaxSide || animation->screenHeight > kMaxSide) return false;
    if (animation->frameCount && !animation->frames) return false;
    for (DWORD i = 0; i < animation->frameCount; ++i) {
        const GifFrame* frame = animation->frames[i];
        if (!frame || !fits_gif(frame->dib)) return false;
        if (frame->left < 0 || frame->left > LONG(kMaxSide) || frame->top < 0 ||
            frame->top > LONG(kMaxSide))
            return false;
    }
    return true;
}

// Appends an Output's bytes to a std::vector<BYTE>.
bool append_bytes(void* context, const BYTE* data, std::size_t count) {
    auto* bytes = static_cast<std::vector<BYTE>*>(context);
    try {
        bytes->insert(bytes->end(), data, data + count);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

// The image data of an animation's frames, encoded on several threads when
// the machine has the cores and the frames are worth it. The frames are
// independent: each thread takes the next frame not yet taken, encodes it
// into memory, and the writing thread sends finished frames out in order,
// encoding frames itself while the one it waits for is not done. A frame is
// taken only while the frames from the next one to write up to it hold at
// most kWindowPixels pixels, so the encoded bytes waiting stay a few
// megabytes however large the animation.
class FrameEncoder {
  public:
    FrameEncoder(const GifAnimation& animation, int depth) : animation_(animation), depth_(depth) {
        const unsigned threads = threads_for(animation);
        if (threads < 2) return;
        try {
            start_.resize(animation.frameCount + 1);
            for (DWORD i = 0; i < animation.frameCount; ++i)
                start_[i + 1] = start_[i] + pixels_of(*animation.frames[i]);
            slots_.resize(animation.frameCount);
            for (unsigned t = 1; t < threads; ++t)
                helpers_.emplace_back(&FrameEncoder::help, this);
        } catch (const std::exception&) {
            // No memory for the slots or no more threads: fewer helpers, or
            // none and the frames encoded one by one as they are written.
        }
    }

    FrameEncoder(const FrameEncoder&) = delete;
    FrameEncoder& operator=(const FrameEncoder&) = delete;
    ~FrameEncoder() { stop(); }

    // Writes frame i's image data; frames come in order. False when memory
    // ran out.
    bool write(Output& out, DWORD i) {
        if (helpers_.empty()) return encode_image(out, frame(i));
        std::unique_lock<std::mutex> lock(mutex_);
        while (slots_[i].state == Slot::kPending) {
            if (can_take()) {
                encode_next(lock);
            } else {
                done_.wait(lock);
            }
        }
        Slot& slot = slots_[i];
        lock.unlock();
        out.write(slot.bytes.data(), slot.bytes.size());
        const bool ok = slot.state == Slot::kEncoded;
        std::vector<BYTE>().swap(slot.bytes);
        lock.lock();
        written_ = i + 1;
        lock.unlock();
        more_.notify_all();
        return ok;
    }

  private:
    static constexpr unsigned kMostThreads = 8;
    // Below this many pixels in all, starting threads costs more than it saves.
    static constexpr std::uint64_t kParallelPixels = std::uint64_t(1) << 18;
    static constexpr std::uint64_t kWindowPixels = std::uint64_t(1) << 22;

    struct Frame {
        const BITMAPINFOHEADER* dib;
        const BYTE* bits;
    };

    struct Slot {
        enum State : BYTE { kPending, kEncoded, kFailed };
        std::vector<BYTE> bytes;
        State state = kPending;
    };

    static std::uint64_t pixels_of(const GifFrame& frame) {
        return std::uint64_t(frame.dib->biWidth) * rows_of(frame.dib);
    }

    static unsigned threads_for(const GifAnimation& animation) {
        std::uint64_t pixels = 0;
        for (DWORD i = 0; i < animation.frameCount; ++i)
            pixels += pixels_of(*animation.frames[i]);
        if (animation.frameCount < 2 || pixels < kParallelPixels) return 1;
        return std::clamp(std::thread::hardware_concurrency(), 1u, kMostThreads);
    }

    Frame frame(DWORD i) const {
        const GifFrame& f = *animation_.frames[i];
        return {f.dib, f.bits ? f.bits : io::bits_of(f.dib)};
    }

    bool encode_image(Output& out, const Frame& f) const {
        return ::encode_image(out, f.dib, f.bits, depth_, animation_.interlaced != 0);
    }

    // Whether the next frame may be taken now (under the lock).
    bool can_take() const {
        return taken_ < slots_.size() &&
               (taken_ == written_ || start_[taken_ + 1] - start_[written_] <= kWindowPixels);
    }

    // Takes the next frame and encodes it with the lock released.
    void encode_next(std::unique_lock<std::mutex>& lock) {
        const DWORD i = taken_++;
        lock.unlock();
        std::vector<BYTE> bytes;
        Output memory(append_bytes, &bytes);
        const bool ok = encode_image(memory, frame(i)) && memory.finish();
        lock.lock();
        slots_[i].bytes.swap(bytes);
        slots_[i].state = ok ? Slot::kEncoded : Slot::kFailed;
        done_.notify_one();
    }

    void help() {
        std::unique_lock<std::mutex> lock(mutex_);
        for (;;) {
            more_.wait(lock, [this] { return stopping_ || can_take(); });
            if (stopping_) return;
            encode_next(lock);
        }
    }

    void stop() {
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            stopping_ = true;
        }
        more_.notify_all();
        for (std::thread& helper : helpers_)
            helper.join();
        helpers_.clear();
    }

    const GifAnimation& animation_;
    const int depth_;
    std::vector<std::uint64_t> start_; // pixels of the frames before each
    std::vector<Slot> slots_;
    std::vector<std::thread> helpers_;
    std::mutex mutex_;
    std::condition_variable done_; // a frame was encoded
    std::condition_variable more_; // a frame may be taken, or stopping
    DWORD taken_ = 0;
    DWORD written_ = 0;
    bool stopping_ = false;
};

} // namespace

namespace rasko {

bool write_gif(Output& out, const BITMAPINFOHEADER* header, const BYTE* bits, int bits_per_pixel,
               int interlace, int transparent_index, char* comment) {
    if (!fits_gif(header) || !bits || bits_per_pixel < 1 || bits_per_pixel > 8) return false;
    const unsigned entries = 1u << bits_per_pixel;
    const bool transparent = transparent_index >= 0 && unsigned(transparent_index) < entries;
    const unsigned width = unsigned(header->biWidth), height = rows_of(header);
    write_screen(out, width, height, bits_per_pixel, transparent ? unsigned(transparent_index) : 0,
                 0);
    write_colour_table(out, io::colour_table(header), entries);
    if (transparent) write_graphic_control(out, 0x01, 0, unsigned(transparent_index));
    out.put(0x2C);
    out.word(0);
    out.word(0);
    out.word(width);
    out.word(height);
    out.put(interlace ? 0x40 : 0x00);
    if (!encode_image(out, header, bits, bits_per_pixel, interlace != 0)) out.fail();
    write_comment(out, comment);
    write_banner_and_trailer(out);
    return out.finish();
}

bool write_gif_animation(Output& out, GifAnimation* animation) {
    if (!animation || !animation_fits(animation)) return false;
    const int depth = int(animation->bitsPerPixel);
    const unsigned entries = 1u << depth;
    write_screen(out, animation->screenWidth, animation->screenHeight, depth,
                 animation->backgroundIndex & 0xFF, animation->aspectRatio & 0xFF);
    write_colour_table(out, animation->globalPalette, entries);

    // The looping extension; a loop count of 1 (play once) is written with
    // sub-block id 0, which players take as "no looping".
    const BYTE loop_head[3] = {0x21, 0xFF, 0x0B};
    out.write(loop_head, 3);
    out.write("NETSCAPE2.0", 11);
    const unsigned loops = animation->loopCount;
    out.put(0x03);
    out.put(loops == 1 ? 0 : 1);
    out.word(loops);
    out.put(0);

    const bool several = animation->frameCount > 1;
    FrameEncoder encoder(*animation, depth);
    for (DWORD i = 0; i < animation->frameCount; ++i) {
        const GifFrame* frame = animation->frames[i];
        const BITMAPINFOHEADER* dib = frame->dib;
        unsigned packed = 0, delay = 0;
        if (several) {
            packed = (unsigned(frame->disposal) << 2) & 0xFF;
            if (frame->userInput) packed |= 0x02;
            delay = unsigned(frame->delay);
        }
        const bool transparent =
            frame->transparentIndex >= 0 && unsigned(frame->transparentIndex) < entries;
        if (transparent) packed |= 0x01;
        write_graphic_control(out, packed, delay,
                              transparent ? unsigned(frame->transparentIndex) : 0);

        const bool local = differs(io::colour_table(dib), animation->globalPalette, entries);
        BYTE flags = animation->interlaced ? 0x40 : 0x00;
        if (local) flags |= BYTE(0x80 | (depth - 1));
        out.put(0x2C);
        out.word(unsigned(frame->left));
        out.word(unsigned(frame->top));
        out.word(unsigned(dib->biWidth));
        out.word(rows_of(dib));
        out.put(flags);
        if (local) write_colour_table(out, io::colour_table(dib), entries);
        if (!encoder.write(out, i)) out.fail();
    }
    write_comment(out, animation->comment);
    write_banner_and_trailer(out);
    return out.finish();
}

} // namespace rasko

namespace {

struct GifSave {
    const BITMAPINFOHEADER* header;
    const BYTE* bits;
    int bits_per_pixel;
    int interlace;
    int transparent_index;
    char* comment;
    GifAnimation* animation;
};

int save_gif_file(LPCSTR name, const GifSave& job) {
    return io::write_replacing(name,
                               [&](HANDLE file) {
                                   Output out(file);
                                   if (job.animation)
                                       return rasko::write_gif_animation(out, job.animation);
                                   return rasko::write_gif(out, job.header, job.bits,
                                                           job.bits_per_pixel, job.interlace,
                                                           job.transparent_index, job.comment);
                               })
               ? 1
               : 0;
}

} // namespace

extern "C" int RaskoSaveGIFHandle(HANDLE file, const BITMAPINFOHEADER* header, const BYTE* bits,
                                  int bits_per_pixel, int interlace, int transparent_index,
                                  char* comment) {
    Output out(file);
    return rasko::write_gif(out, header, bits, bits_per_pixel, interlace, transparent_index,
                            comment)
               ? 1
               : 0;
}

extern "C" int RaskoSaveGIF(LPCSTR name, const BITMAPINFOHEADER* header, const BYTE* bits,
                            int bits_per_pixel, int interlace, int transparent_index,
                            char* comment) {
    GifSave job{header, bits, bits_per_pixel, interlace, transparent_index, comment, nullptr};
    return save_gif_file(name, job);
}

extern "C" int RaskoSaveGIFHandleEx(HANDLE file, GifAnimation* animation) {
    Output out(file);
    return rasko::write_gif_animation(out, animation) ? 1 : 0;
}

extern "C" int RaskoSaveGIFEx(LPCSTR name, GifAnimation* animation) {
    GifSave job{nullptr, nullptr, 0, 0, 0, nullptr, animation};
    return save_gif_file(name, job);
}
