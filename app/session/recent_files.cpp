#include "app/session/recent_files.h"

#include <cstdio>
#include <cstring>

namespace {

void value_name(char (&name)[16], int index) {
    std::snprintf(name, sizeof name, "latest_%d", index);
}

bool read_entry(KeyValueStore& store, int index, char (&buffer)[kRecentPathCapacity]) {
    char name[16];
    value_name(name, index);
    return store.read_text(name, buffer, sizeof buffer);
}

void write_entry(KeyValueStore& store, int index, const char* path) {
    char name[16];
    value_name(name, index);
    store.write_text(name, path);
}

} // namespace

std::string recent_entry(KeyValueStore& store, int index) {
    char buffer[kRecentPathCapacity];
    if (index < 0 || index >= kRecentCount || !read_entry(store, index, buffer)) return {};
    return buffer;
}

std::string recent_menu_text(int index, const std::string& path) {
    return "&" + std::to_string(index + 1) + " " + path;
}

RecentAddResult recent_add(KeyValueStore& store, const char* path) {
    // The list has no gaps: the highest present entry gives its length, and
    // the path's own position (or the last slot) is where the shift stops.
    int count = 0;
    int position = kRecentCount - 1;
    char buffer[kRecentPathCapacity];
    for (int i = kRecentCount - 1; i >= 0; --i) {
        if (!read_entry(store, i, buffer)) continue;
        if (count == 0) count = i + 1;
        if (std::strcmp(buffer, path) == 0) {
            position = i;
            break;
        }
    }
    if (count > 0) {
        for (int k = position - 1; k >= 0; --k)
            if (read_entry(store, k, buffer)) write_entry(store, k + 1, buffer);
    }
    write_entry(store, 0, path);
    bool appended = count < kRecentCount && position == kRecentCount - 1;
    if (appended) ++count;
    return {count, appended};
}
