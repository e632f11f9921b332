#include "app/files/byte_source.h"

#include <cstring>

FileSource::FileSource(HANDLE file) : file_(file) {
    LONG high = 0;
    const DWORD low = SetFilePointer(file, 0, &high, FILE_CURRENT);
    DWORD size_high = 0;
    const DWORD size_low = GetFileSize(file, &size_high);
    if (low == INVALID_SET_FILE_POINTER || size_low == INVALID_FILE_SIZE) return;
    position_ = (std::uint64_t(std::uint32_t(high)) << 32) | low;
    size_ = (std::uint64_t(size_high) << 32) | size_low;
    if (position_ > size_) position_ = size_;
}

std::size_t FileSource::read(void* buffer, std::size_t count) {
    if (count > remaining()) count = std::size_t(remaining());
    std::size_t total = 0;
    while (total < count) {
        const std::size_t left = count - total;
        const DWORD chunk = left > 0x40000000u ? 0x40000000u : DWORD(left);
        DWORD got = 0;
        if (!ReadFile(file_, static_cast<BYTE*>(buffer) + total, chunk, &got, nullptr) ||
            got == 0) {
            size_ = position_;
            break;
        }
        total += got;
        position_ += got;
    }
    return total;
}

bool FileSource::skip(std::uint64_t count) {
    if (count > remaining()) {
        position_ = size_;
        return false;
    }
    const std::uint64_t target = position_ + count;
    LONG high = LONG(target >> 32);
    const DWORD low = SetFilePointer(file_, LONG(target & 0xFFFFFFFFu), &high, FILE_BEGIN);
    if (low == INVALID_SET_FILE_POINTER && (target & 0xFFFFFFFFu) != 0xFFFFFFFFu) {
        size_ = position_;
        return false;
    }
    position_ = target;
    return true;
}

std::size_t MemorySource::read(void* buffer, std::size_t count) {
    if (count > size_ - position_) count = size_ - position_;
    if (count) std::memcpy(buffer, data_ + position_, count);
    position_ += count;
    return count;
}

bool MemorySource::skip(std::uint64_t count) {
    if (count > size_ - position_) {
        position_ = size_;
        return false;
    }
    position_ += std::size_t(count);
    return true;
}
