// Byte input and output shared by the BMP and GIF codecs (not exported).
// Readers take their bytes from an Input, so that files, memory (resources,
// tests) and fuzz input run through the same code; writers put theirs into an
// Output that remembers whether every write succeeded.
#pragma once

#include "engine/rasko.h"

#include <cstddef>
#include <cstdint>

namespace rasko {

// Sequential reader with seeking, over a memory block or a file handle. A
// file is read through an internal buffer; when the Input ends, the handle's
// file pointer is put back where the reader stopped consuming, so a caller
// that reads on after the picture finds the bytes that follow it.
class Input {
  public:
    Input(const BYTE* data, std::size_t size);
    // Reads from the handle's current position; positions count from the
    // start of the file.
    explicit Input(HANDLE file);
    ~Input();
    Input(const Input&) = delete;
    Input& operator=(const Input&) = delete;

    // Copies up to `count` bytes and returns how many there were.
    std::size_t read(void* destination, std::size_t count);
    // The next byte, or -1 at the end.
    int byte() {
        if (cursor_ == end_ && !refill()) return -1;
        return *cursor_++;
    }
    // Little-endian 16-bit value; false at the end.
    bool word(unsigned& value);
    // Skips forwards; false when the end came first.
    bool skip(std::uint64_t count);
    // Moves to an absolute position; false beyond the end.
    bool seek(std::uint64_t position);
    std::uint64_t position() const { return window_start_ + std::uint64_t(cursor_ - window_); }
    std::uint64_t size() const { return size_; }
    std::uint64_t remaining() const { return size_ > position() ? size_ - position() : 0; }

  private:
    bool refill();

    static constexpr std::size_t kBufferBytes = 64 * 1024;
    HANDLE file_ = nullptr;
    BYTE* buffer_ = nullptr;       // file mode only (GlobalAlloc)
    const BYTE* window_ = nullptr; // bytes at window_start_ in the source
    const BYTE* cursor_ = nullptr;
    const BYTE* end_ = nullptr;
    std::uint64_t window_start_ = 0;
    std::uint64_t size_ = 0;
};

// Buffered writer over a file handle or a caller's sink function. After the
// first failed write nothing more is written and finish() returns false.
class Output {
  public:
    using Sink = bool (*)(void* context, const BYTE* data, std::size_t count);

    explicit Output(HANDLE file);
    Output(Sink sink, void* context);
    Output(const Output&) = delete;
    Output& operator=(const Output&) = delete;

    void put(BYTE value) {
        if (used_ == kBufferBytes) flush();
        buffer_[used_++] = value;
    }
    void word(unsigned value) {
        put(BYTE(value));
        put(BYTE(value >> 8));
    }
    void write(const void* data, std::size_t count);
    // Marks the output failed, for writers that find a problem midway.
    void fail() { failed_ = true; }
    // Writes what is buffered; true when every byte reached the sink.
    bool finish();

  private:
    void flush();

    static constexpr std::size_t kBufferBytes = 16 * 1024;
    HANDLE file_ = nullptr;
    Sink sink_ = nullptr;
    void* context_ = nullptr;
    bool failed_ = false;
    std::size_t used_ = 0;
    BYTE buffer_[kBufferBytes];
};

// Opens an existing file for reading, without sharing; INVALID_HANDLE_VALUE
// when it cannot be opened.
HANDLE open_for_reading(LPCSTR name);

// Whether a picture of `pixels` pixels may be allocated for a file with
// `bytes` bytes left. No BMP or GIF encoding packs more than about 2,700
// pixels into a byte (LZW tops out there; RLE can skip further but then holds
// nothing), so larger claims come from damaged or hostile files; small
// pictures always pass.
bool plausible_pixel_count(std::uint64_t pixels, std::uint64_t bytes);

} // namespace rasko
