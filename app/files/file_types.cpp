#include "app/files/file_types.h"

#include <cstring>

namespace {

// In the order of FileTypeId.
const FileType kBuiltIn[kBuiltInTypes] = {
    {"vlx", "Velmo Image(*.VLX)", nullptr},
    {"bmp", "DIB Bitmap(*.BMP)", nullptr},
    {"gif", "GIF Image(*.GIF)", nullptr},
};

void copy_cut(char* dst, LPCSTR src, std::size_t room) {
    const std::size_t length = src ? strnlen(src, room - 1) : 0;
    if (length) std::memcpy(dst, src, length);
    dst[length] = '\0';
}

bool same_ignoring_case(const char* a, const char* b, std::size_t length) {
    for (std::size_t i = 0; i < length; ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = char(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = char(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

} // namespace

bool make_file_type_table(FileTypeTable& table, int addin_count) {
    table = FileTypeTable{};
    if (addin_count < 0 || addin_count > 0x10000) return false;
    const int capacity = kBuiltInTypes + addin_count;
    auto* types = static_cast<FileType*>(GlobalAlloc(GPTR, sizeof(FileType) * capacity));
    if (!types) return false;
    std::memcpy(types, kBuiltIn, sizeof kBuiltIn);
    table.types = types;
    table.capacity = capacity;
    table.count = kBuiltInTypes;
    return true;
}

bool add_file_type(FileTypeTable& table, LPCSTR extension, LPCSTR name, AddInFileProc function) {
    if (table.count >= table.capacity) return false;
    FileType& type = table.types[table.count++];
    copy_cut(type.extension, extension, sizeof type.extension);
    copy_cut(type.name, name, sizeof type.name);
    type.function = function;
    return true;
}

void free_file_type_table(FileTypeTable& table) {
    GlobalFree(table.types);
    table = FileTypeTable{};
}

bool holds_type(const FileTypeTable& table, FileTypeId type) {
    return type_position(type) >= 0 && type_position(type) < table.count;
}

const FileType& type_entry(const FileTypeTable& table, FileTypeId type) {
    return table.types[type_position(type)];
}

FoundType find_type_by_extension(LPCSTR path, const FileTypeTable& table) {
    const std::size_t length = std::strlen(path);
    for (int i = 0; i < table.count; ++i) {
        const char* extension = table.types[i].extension;
        const std::size_t extension_length = std::strlen(extension);
        if (extension_length == 0 || extension_length >= length) continue;
        const std::size_t k = length - extension_length;
        if (k > 1 && path[k - 1] == '.' &&
            same_ignoring_case(path + k, extension, extension_length))
            return {true, type_at(i), int(k - 1)};
    }
    const char* dot = std::strrchr(path, '.');
    return {false, FileTypeId::None, dot ? int(dot - path) : int(length)};
}
