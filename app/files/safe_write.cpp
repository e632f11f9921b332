#include "app/files/safe_write.h"

#include <cstring>

bool write_all(HANDLE file, const void* data, std::size_t bytes) {
    const auto* p = static_cast<const BYTE*>(data);
    while (bytes > 0) {
        const DWORD chunk = bytes > 0x40000000u ? 0x40000000u : DWORD(bytes);
        DWORD written = 0;
        if (!WriteFile(file, p, chunk, &written, nullptr) || written != chunk) return false;
        p += chunk;
        bytes -= chunk;
    }
    return true;
}

SafeWriter::SafeWriter(const char* target) {
    if (!target || std::strlen(target) >= sizeof target_) {
        failed_ = true;
        return;
    }
    std::strcpy(target_, target);
}

SafeWriter::~SafeWriter() {
    if (!committed_) discard();
}

bool SafeWriter::open() {
    if (failed_ || file_ != INVALID_HANDLE_VALUE) return false;
    // The temporary file must share the target's folder so that the final
    // move is a rename on one volume, never a copy that could be cut short.
    char folder[sizeof target_];
    std::strcpy(folder, target_);
    char* cut = std::strrchr(folder, '\\');
    if (char* slash = std::strrchr(folder, '/'); !cut || (slash && slash > cut)) cut = slash;
    // A separator at the root ("/x", "C:\\x") stays with the folder.
    if (cut)
        cut[cut == folder || cut[-1] == ':' ? 1 : 0] = '\0';
    else
        std::strcpy(folder, ".");
    if (!GetTempFileNameA(folder, "vlx", 0, temporary_)) {
        temporary_[0] = '\0';
        failed_ = true;
        return false;
    }
    file_ = CreateFileA(temporary_, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file_ == INVALID_HANDLE_VALUE) {
        discard();
        failed_ = true;
        return false;
    }
    return true;
}

bool SafeWriter::write(const void* data, std::size_t bytes) {
    if (failed_ || file_ == INVALID_HANDLE_VALUE) return false;
    if (!write_all(file_, data, bytes)) failed_ = true;
    return !failed_;
}

bool SafeWriter::commit() {
    if (committed_ || file_ == INVALID_HANDLE_VALUE) return false;
    bool ok = !failed_ && FlushFileBuffers(file_);
    ok = CloseHandle(file_) && ok;
    file_ = INVALID_HANDLE_VALUE;
    ok = ok && MoveFileExA(temporary_, target_, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
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
    if (temporary_[0]) {
        DeleteFileA(temporary_);
        temporary_[0] = '\0';
    }
}
