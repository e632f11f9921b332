#include "app/session/file_dialog_text.h"

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

std::string save_filter_list(const FileTypeTable& write_types, int first) {
    std::string list;
    for (int i = first < 0 ? 0 : first; i < write_types.count; ++i)
        add_entry(list, write_types.types[i].name, pattern_of(write_types.types[i]));
    list += '\0';
    return list;
}

int opened_type(int filter_index, const char* path, const FileTypeTable& read_types) {
    if (filter_index <= 1) {
        FoundType found = find_type_by_extension(path, read_types);
        return found.found ? found.index : -1;
    }
    int type = filter_index - 2;
    return type < read_types.count ? type : -1;
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
