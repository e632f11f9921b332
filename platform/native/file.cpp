#include "platform/win.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// A heap record per open file, so that a handle that is never closed shows
// up as a leak under the sanitizers.
struct FileRecord {
    int fd;
};

long long writes_until_failure = -1;

FileRecord* record_of(HANDLE file) {
    if (!file || file == INVALID_HANDLE_VALUE) return nullptr;
    return static_cast<FileRecord*>(file);
}

bool is_file(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string program_folder() {
    char buffer[4096];
    const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0) return {};
    std::string path(buffer, std::size_t(n));
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

DWORD copy_result(const std::string& found, DWORD size, LPSTR buffer, LPSTR* file_part) {
    if (found.size() + 1 > size || !buffer) return DWORD(found.size() + 1);
    std::memcpy(buffer, found.c_str(), found.size() + 1);
    if (file_part) {
        const auto slash = found.rfind('/');
        *file_part = buffer + (slash == std::string::npos ? 0 : slash + 1);
    }
    return DWORD(found.size());
}

} // namespace

HANDLE CreateFileA(LPCSTR name, DWORD access, DWORD, void*, DWORD disposition, DWORD, HANDLE) {
    if (!name) return INVALID_HANDLE_VALUE;
    int flags = O_CLOEXEC;
    const bool reading = access & GENERIC_READ, writing = access & GENERIC_WRITE;
    flags |= reading && writing ? O_RDWR : writing ? O_WRONLY : O_RDONLY;
    switch (disposition) {
    case CREATE_NEW:
        flags |= O_CREAT | O_EXCL;
        break;
    case CREATE_ALWAYS:
        flags |= O_CREAT | O_TRUNC;
        break;
    case OPEN_EXISTING:
        break;
    case OPEN_ALWAYS:
        flags |= O_CREAT;
        break;
    case TRUNCATE_EXISTING:
        flags |= O_TRUNC;
        break;
    default:
        return INVALID_HANDLE_VALUE;
    }
    const int fd = ::open(name, flags, 0644);
    if (fd < 0) return INVALID_HANDLE_VALUE;
    // Windows does not open folders as files.
    struct stat st {};
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        ::close(fd);
        return INVALID_HANDLE_VALUE;
    }
    return new FileRecord{fd};
}

BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD count, DWORD* read, void*) {
    if (read) *read = 0;
    FileRecord* f = record_of(file);
    if (!f || (!buffer && count)) return FALSE;
    DWORD total = 0;
    while (total < count) {
        const ssize_t n = ::read(f->fd, static_cast<char*>(buffer) + total, count - total);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return FALSE;
        if (n == 0) break;
        total += DWORD(n);
        if (read) *read = total;
    }
    return TRUE;
}

BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD count, DWORD* written, void*) {
    if (written) *written = 0;
    FileRecord* f = record_of(file);
    if (!f || (!buffer && count)) return FALSE;
    DWORD total = 0;
    while (total < count) {
        DWORD chunk = count - total;
        if (writes_until_failure >= 0) {
            if (writes_until_failure == 0) return FALSE;
            if (chunk > writes_until_failure) chunk = DWORD(writes_until_failure);
        }
        const ssize_t n = ::write(f->fd, static_cast<const char*>(buffer) + total, chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return FALSE;
        if (writes_until_failure > 0) writes_until_failure -= n;
        total += DWORD(n);
        if (written) *written = total;
    }
    return TRUE;
}

DWORD SetFilePointer(HANDLE file, LONG distance, LONG* distance_high, DWORD method) {
    FileRecord* f = record_of(file);
    if (!f || method > FILE_END) return INVALID_SET_FILE_POINTER;
    const int whence = method == FILE_BEGIN     ? SEEK_SET
                       : method == FILE_CURRENT ? SEEK_CUR
                                                : SEEK_END;
    off_t offset = distance;
    if (distance_high)
        offset =
            off_t((std::uint64_t(std::uint32_t(*distance_high)) << 32) | std::uint32_t(distance));
    const off_t at = ::lseek(f->fd, offset, whence);
    if (at < 0) return INVALID_SET_FILE_POINTER;
    if (distance_high) *distance_high = LONG(std::uint64_t(at) >> 32);
    return DWORD(std::uint64_t(at) & 0xFFFFFFFFu);
}

DWORD GetFileSize(HANDLE file, DWORD* size_high) {
    FileRecord* f = record_of(file);
    struct stat st {};
    if (!f || ::fstat(f->fd, &st) != 0) return INVALID_FILE_SIZE;
    if (size_high) *size_high = DWORD(std::uint64_t(st.st_size) >> 32);
    return DWORD(std::uint64_t(st.st_size) & 0xFFFFFFFFu);
}

BOOL FlushFileBuffers(HANDLE file) {
    FileRecord* f = record_of(file);
    return f && ::fsync(f->fd) == 0 ? TRUE : FALSE;
}

BOOL CloseHandle(HANDLE object) {
    FileRecord* f = record_of(object);
    if (!f) return FALSE;
    const int result = ::close(f->fd);
    delete f;
    return result == 0 ? TRUE : FALSE;
}

BOOL DeleteFileA(LPCSTR name) {
    return name && ::unlink(name) == 0 ? TRUE : FALSE;
}

BOOL MoveFileExA(LPCSTR from, LPCSTR to, DWORD flags) {
    if (!from || !to) return FALSE;
    if (!(flags & MOVEFILE_REPLACE_EXISTING) && ::access(to, F_OK) == 0) return FALSE;
    return ::rename(from, to) == 0 ? TRUE : FALSE;
}

DWORD GetCurrentProcessId() {
    return DWORD(::getpid());
}

DWORD SearchPathA(LPCSTR path, LPCSTR file, LPCSTR extension, DWORD size, LPSTR buffer,
                  LPSTR* file_part) {
    if (!file) return 0;
    std::string name = file;
    if (extension && name.find('.') == std::string::npos) name += extension;
    if (name.find('/') != std::string::npos)
        return is_file(name) ? copy_result(name, size, buffer, file_part) : 0;
    std::string folders;
    if (path) {
        folders = path;
    } else {
        folders = program_folder() + ":.";
        if (const char* env = std::getenv("PATH")) folders += std::string(":") + env;
    }
    std::size_t start = 0;
    while (start <= folders.size()) {
        const std::size_t end = std::min(folders.find_first_of(":;", start), folders.size());
        const std::string folder = folders.substr(start, end - start);
        start = end + 1;
        if (folder.empty()) continue;
        const std::string candidate = folder + "/" + name;
        if (is_file(candidate)) {
            char resolved[4096];
            const std::string full = ::realpath(candidate.c_str(), resolved) ? resolved : candidate;
            return copy_result(full, size, buffer, file_part);
        }
    }
    return 0;
}

namespace native {
void fail_writes_after(long long bytes) {
    writes_until_failure = bytes;
}
} // namespace native
