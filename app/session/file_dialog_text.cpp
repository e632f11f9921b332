#include "app/session/file_dialog_text.h"

#include <algorithm>
#include <cstring>

namespace {

void add_entry(std::string& list, const std::string& name, const std::string& pattern) {
    list += name;
    list += '\0';
    list += pattern;
    list += '\0';
}

std::string pattern_of(const FileType& type) {
    return std::string("*.") + type.extension;
}

} // namespace

std::string open_filter_list(const FileTypeTable& read_types) {
    std::string all;
    for (int i = 0; i < read_types.count; ++i) {
        if (i) all += ';';
        all += pattern_of(read_types.types[i]);
    }
    std::string list;
    add_entry(list, "All Image Types", all);
    for (int i = 0; i < read_types.count; ++i)
        add_entry(list, read_types.types[i].name, pattern_of(read_types.types[i]));
    list += '\0';
    return list;
}

std::string save_filter_list(const FileTypeTable& write_types, FileTypeId first) {
    std::string list;
    for (int i = std::max(type_position(first), 0); i < write_types.count; ++i)
        add_entry(list, write_types.types[i].name, pattern_of(write_types.types[i]));
    list += '\0';
    return list;
}

DWORD save_filter_of(FileTypeId type, FileTypeId first, const FileTypeTable& write_types) {
    const int row = type_position(type) - std::max(type_position(first), 0);
    return row >= 0 && holds_type(write_types, type) ? kFirstFilter + DWORD(row) : kFirstFilter;
}

FileTypeId saved_type(DWORD filter_index, FileTypeId first, const FileTypeTable& write_types) {
    if (filter_index < kFirstFilter || filter_index > DWORD(write_types.count))
        return FileTypeId::None;
    const FileTypeId type =
        type_at(std::max(type_position(first), 0) + int(filter_index - kFirstFilter));
    return holds_type(write_types, type) ? type : FileTypeId::None;
}

FileTypeId opened_type(DWORD filter_index, const char* path, const FileTypeTable& read_types) {
    if (filter_index <= kAllTypesFilter) return find_type_by_extension(path, read_types).type;
    if (filter_index > DWORD(read_types.count) + kAllTypesFilter) return FileTypeId::None;
    return type_at(int(filter_index - kAllTypesFilter - kFirstFilter));
}

std::string initial_save_name(const char* path, const FileTypeTable& write_types) {
    FoundType found = find_type_by_extension(path, write_types);
    if (found.found) return std::string(path, std::size_t(found.dot_position));
    return path;
}

std::string with_extension(const std::string& name, const char* extension) {
    std::size_t n = std::strlen(extension);
    if (name.size() > n && name[name.size() - n - 1] == '.') return name;
    return name + "." + extension;
}

bool name_lost_characters(const char* path) {
    return path && std::strchr(path, '?') != nullptr;
}
