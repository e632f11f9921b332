// The last five pictures opened or saved, kept as the values latest_0 (the
// most recent) to latest_4 beside the settings and read afresh on every use.
// The File menu lists them with command ids 200 to 204; the window code turns
// what these functions report into menu items.
#pragma once

#include "app/session/key_value_store.h"

#include <string>

inline constexpr int kRecentCount = 5;
inline constexpr int kRecentFirstCommand = 200;
inline constexpr int kRecentPathCapacity = 1024;

// latest[index], or an empty string when it is missing or index is out of range.
std::string recent_entry(KeyValueStore& store, int index);

// The menu text of entry index: "&<index + 1> " followed by the path.
std::string recent_menu_text(int index, const std::string& path);

struct RecentAddResult {
    int count;     // entries in the list afterwards
    bool appended; // a new menu item 200 + count - 1 is needed (with a
                   // separator before it when count is 1)
};

// Moves the path to the top of the list, or inserts it there dropping the
// oldest entry of a full list. Paths are compared with case.
RecentAddResult recent_add(KeyValueStore& store, const char* path);
