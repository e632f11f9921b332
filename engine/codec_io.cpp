#include "engine/codec_io.h"
#include "platform/io/safe_file.h"

#include <algorithm>
#include <cstring>

namespace rasko {

namespace {

std::uint64_t file_pointer(HANDLE file) {
    LONG high = 0;
    const DWORD low = SetFilePointer(file, 0, &high, FILE_CURRENT);
    if (low == INVALID_SET_FILE_POINTER && high == 0) return 0;
    return (std::uint64_t(std::uint32_t(high)) << 32) | low;
}

bool set_file_pointer(HANDLE file, std::uint64_t position) {
    LONG high = LONG(position >> 32);
    const DWORD low = SetFilePointer(file, LONG(position & 0xFFFFFFFFu), &high, FILE_BEGIN);
    return !(low == INVALID_SET_FILE_POINTER && high == -1) &&
           ((std::uint64_t(std::uint32_t(high)) << 32) | low) == position;
}

std::uint64_t file_size(HANDLE file) {
    DWORD high = 0;
    const DWORD low = GetFileSize(file, &high);
    if (low == INVALID_FILE_SIZE && high == 0) return 0;
    return (std::uint64_t(high) << 32) | low;
}

// Reads into `destination` at the file's current pointer; returns the count.
std::size_t read_file(HANDLE file, BYTE* destination, std::size_t count) {
    std::size_t total = 0;
    while (total < count) {
        const DWORD chunk = DWORD(std::min<std::size_t>(count - total, 1u << 30));
        DWORD got = 0;
        if (!ReadFile(file, destination + total, chunk, &got, nullptr) || got == 0) break;
        total += got;
    }
    return total;
}

} // namespace

Input::Input(const BYTE* data, std::size_t size)
    : window_(data), cursor_(data), end_(data + size), size_(size) {}

Input::Input(HANDLE file) : file_(file) {
    buffer_ = static_cast<BYTE*>(GlobalAlloc(GMEM_FIXED, kBufferBytes));
    window_start_ = file_pointer(file);
    // Without a buffer the input is empty and every reader refuses the file.
    size_ = buffer_ ? std::max(file_size(file), window_start_) : window_start_;
    window_ = cursor_ = end_ = buffer_;
}

Input::~Input() {
    if (!file_) return;
    set_file_pointer(file_, position());
    GlobalFree(buffer_);
}

bool Input::refill() {
    if (!file_ || !buffer_) return false;
    const std::uint64_t at = position();
    if (at >= size_ || !set_file_pointer(file_, at)) return false;
    const std::size_t got = read_file(file_, buffer_, kBufferBytes);
    window_start_ = at;
    window_ = cursor_ = buffer_;
    end_ = buffer_ + got;
    return got != 0;
}

std::size_t Input::read(void* destination, std::size_t count) {
    BYTE* out = static_cast<BYTE*>(destination);
    std::size_t done = std::min<std::size_t>(count, std::size_t(end_ - cursor_));
    if (done) std::memcpy(out, cursor_, done);
    cursor_ += done;
    if (done == count || !file_ || !buffer_) return done;
    if (count - done >= kBufferBytes) {
        // Large reads go straight to the caller's memory.
        const std::uint64_t at = position();
        if (!set_file_pointer(file_, at)) return done;
        const std::size_t got = read_file(file_, out + done, count - done);
        window_start_ = at + got;
        window_ = cursor_ = end_ = buffer_;
        return done + got;
    }
    while (done < count && refill()) {
        const std::size_t part = std::min<std::size_t>(count - done, std::size_t(end_ - cursor_));
        std::memcpy(out + done, cursor_, part);
        cursor_ += part;
        done += part;
    }
    return done;
}

bool Input::word(unsigned& value) {
    const int low = byte();
    const int high = byte();
    if (high < 0) return false;
    value = unsigned(low) | unsigned(high) << 8;
    return true;
}

bool Input::seek(std::uint64_t target) {
    if (target > size_) return false;
    if (target >= window_start_ && target - window_start_ <= std::uint64_t(end_ - window_)) {
        cursor_ = window_ + (target - window_start_);
        return true;
    }
    if (!file_) return false;
    window_start_ = target;
    window_ = cursor_ = end_ = buffer_;
    return true;
}

bool Input::skip(std::uint64_t count) {
    const std::uint64_t at = position();
    if (count > size_ - std::min(at, size_)) {
        seek(size_);
        return false;
    }
    return seek(at + count);
}

Output::Output(HANDLE file) : file_(file) {}

Output::Output(Sink sink, void* context) : sink_(sink), context_(context) {}

void Output::flush() {
    if (!failed_ && used_) {
        if (sink_) {
            failed_ = !sink_(context_, buffer_, used_);
        } else {
            failed_ = !io::write_all(file_, buffer_, used_);
        }
    }
    used_ = 0;
}

void Output::write(const void* data, std::size_t count) {
    const BYTE* in = static_cast<const BYTE*>(data);
    while (count) {
        if (used_ == kBufferBytes) flush();
        const std::size_t part = std::min(count, kBufferBytes - used_);
        std::memcpy(buffer_ + used_, in, part);
        used_ += part;
        in += part;
        count -= part;
    }
}

bool Output::finish() {
    flush();
    return !failed_;
}

HANDLE open_for_reading(LPCSTR name) {
    if (!name) return INVALID_HANDLE_VALUE;
    return CreateFileA(name, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
}

bool plausible_pixel_count(std::uint64_t pixels, std::uint64_t bytes) {
    constexpr std::uint64_t kAlwaysAllowed = std::uint64_t(1) << 20;
    constexpr std::uint64_t kPixelsPerByte = 4096;
    return pixels <= kAlwaysAllowed || pixels / kPixelsPerByte <= bytes;
}

} // namespace rasko
