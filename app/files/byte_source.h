// The one input the file readers take their bytes from, so that files,
// memory blocks and fuzz input run the same code.
#pragma once

#include "platform/win.h"

#include <cstddef>
#include <cstdint>

class ByteSource {
  public:
    virtual ~ByteSource() = default;
    // Reads up to count bytes and returns how many it read; fewer only at
    // the end of the input (or on a read error, which ends the input).
    virtual std::size_t read(void* buffer, std::size_t count) = 0;
    // Bytes between the current position and the end.
    virtual std::uint64_t remaining() const = 0;
    // Moves forward by count bytes; false, at the end, when fewer were left.
    virtual bool skip(std::uint64_t count) = 0;
};

// A file opened for reading as the readers open theirs (read access, no
// sharing, existing files only); closed when it goes out of scope.
class ReadOnlyFile {
  public:
    explicit ReadOnlyFile(const char* path)
        : file_(CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                            nullptr)) {}
    ~ReadOnlyFile() {
        if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
    }
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;
    bool is_open() const { return file_ != INVALID_HANDLE_VALUE; }
    HANDLE handle() const { return file_; }

  private:
    HANDLE file_;
};

// An open file from its current position; the caller keeps and closes it.
class FileSource : public ByteSource {
  public:
    explicit FileSource(HANDLE file);
    std::size_t read(void* buffer, std::size_t count) override;
    std::uint64_t remaining() const override { return size_ - position_; }
    bool skip(std::uint64_t count) override;

  private:
    HANDLE file_;
    std::uint64_t position_ = 0;
    std::uint64_t size_ = 0;
};

class MemorySource : public ByteSource {
  public:
    MemorySource(const void* data, std::size_t size)
        : data_(static_cast<const BYTE*>(data)), size_(size) {}
    std::size_t read(void* buffer, std::size_t count) override;
    std::uint64_t remaining() const override { return size_ - position_; }
    bool skip(std::uint64_t count) override;

  private:
    const BYTE* data_;
    std::size_t size_;
    std::size_t position_ = 0;
};
