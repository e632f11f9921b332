#include "addins/png/png_file.h"

#include <algorithm>
#include <cstdint>
#include <string>

bool read_whole_file(const char* path, std::size_t max_bytes, std::vector<BYTE>& out) {
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size{};
    bool ok = GetFileSizeEx(file, &size) && size.QuadPart >= 0 &&
              std::uint64_t(size.QuadPart) <= max_bytes;
    if (ok) {
        out.resize(std::size_t(size.QuadPart));
        std::size_t done = 0;
        while (ok && done < out.size()) {
            DWORD got = 0;
            const DWORD want = DWORD(std::min<std::size_t>(out.size() - done, 1u << 24));
            ok = ReadFile(file, out.data() + done, want, &got, nullptr) && got > 0;
            done += got;
        }
    }
    CloseHandle(file);
    return ok;
}

bool replace_file(const char* path, const std::vector<BYTE>& bytes) {
    const std::string temporary = std::string(path) + ".velmo-tmp";
    HANDLE file = CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    std::size_t done = 0;
    bool ok = true;
    while (ok && done < bytes.size()) {
        DWORD wrote = 0;
        const DWORD want = DWORD(std::min<std::size_t>(bytes.size() - done, 1u << 24));
        ok = WriteFile(file, bytes.data() + done, want, &wrote, nullptr) && wrote == want;
        done += wrote;
    }
    ok = CloseHandle(file) && ok;
    if (ok) ok = MoveFileExA(temporary.c_str(), path, MOVEFILE_REPLACE_EXISTING) != 0;
    if (!ok) DeleteFileA(temporary.c_str());
    return ok;
}
