#include "platform/io/safe_file.h"

#include <cstdio>
#include <cstring>

namespace io {

namespace {

// A name may already be taken by a file that an earlier run left behind when
// it was cut off; a few numbers further on one is free.
constexpr int kNameAttempts = 64;
constexpr DWORD kLargestWrite = 0x40000000u;

unsigned next_number() {
    static unsigned counter = 0;
    return ++counter;
}

} // namespace

bool write_all(HANDLE file, const void* data, std::size_t bytes) {
    const auto* p = static_cast<const BYTE*>(data);
    while (bytes > 0) {
        const DWORD chunk = bytes > kLargestWrite ? kLargestWrite : DWORD(bytes);
        DWORD written = 0;
        if (!WriteFile(file, p, chunk, &written, nullptr) || written != chunk) return false;
        p += chunk;
        bytes -= chunk;
    }
    return true;
}

std::size_t folder_part_length(const char* path) {
    std::size_t length = 0;
    for (std::size_t i = 0; path[i]; ++i)
        if (path[i] == '\\' || path[i] == '/' || (i == 1 && path[i] == ':')) length = i + 1;
    return length;
}

SafeWriter::SafeWriter(const char* target) {
    if (!target || !*target)
        failed_ = true;
    else
        target_ = target;
}

SafeWriter::~SafeWriter() {
    if (!committed_) discard();
}

bool SafeWriter::open() {
    if (failed_ || file_ != INVALID_HANDLE_VALUE) return false;
    // The temporary file must share the target's folder so that the final
    // move is a rename on one volume, never a copy that could be cut short.
    // The name is made here rather than by GetTempFileNameA, which refuses
    // folders longer than MAX_PATH - 14 characters that the target may use.
    const std::size_t folder = folder_part_length(target_.c_str());
    const std::size_t dot = target_.rfind('.');
    const std::string extension =
        dot != std::string::npos && dot >= folder ? target_.substr(dot) : "";
    const unsigned process = unsigned(GetCurrentProcessId());
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        char name[32];
        std::snprintf(name, sizeof name, "~vl%X_%X", process, next_number());
        const std::string candidate = target_.substr(0, folder) + name + extension;
        file_ = CreateFileA(candidate.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file_ != INVALID_HANDLE_VALUE) {
            temporary_ = candidate;
            return true;
        }
    }
    failed_ = true;
    return false;
}

bool SafeWriter::write(const void* data, std::size_t bytes) {
    if (failed_ || file_ == INVALID_HANDLE_VALUE) return false;
    if (!write_all(file_, data, bytes)) failed_ = true;
    return !failed_;
}

const char* SafeWriter::hand_over_by_name() {
    if (failed_ || handed_over_ || file_ == INVALID_HANDLE_VALUE) return nullptr;
    CloseHandle(file_);
    file_ = INVALID_HANDLE_VALUE;
    handed_over_ = true;
    return temporary_.c_str();
}

bool SafeWriter::commit() {
    if (committed_ || temporary_.empty()) return false;
    if (handed_over_ && !failed_) {
        // The other writer's bytes may still sit in the system's cache, and
        // one that reported success without writing left the file empty.
        file_ = CreateFileA(temporary_.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD high = 0;
        const DWORD low = file_ != INVALID_HANDLE_VALUE ? GetFileSize(file_, &high) : 0;
        if ((low == INVALID_FILE_SIZE || low == 0) && high == 0) failed_ = true;
    }
    if (file_ == INVALID_HANDLE_VALUE) {
        failed_ = true;
        discard();
        return false;
    }
    bool ok = !failed_ && FlushFileBuffers(file_);
    ok = CloseHandle(file_) && ok;
    file_ = INVALID_HANDLE_VALUE;
    ok = ok && MoveFileExA(temporary_.c_str(), target_.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok) {
        failed_ = true;
        discard();
        return false;
    }
    committed_ = true;
    return true;
}

void SafeWriter::discard() {
    if (file_ != INVALID_HANDLE_VALUE) {
        CloseHandle(file_);
        file_ = INVALID_HANDLE_VALUE;
    }
    if (!temporary_.empty()) {
        DeleteFileA(temporary_.c_str());
        temporary_.clear();
    }
}

} // namespace io
