// The recent files at the end of the File menu (commands 200 to 204), kept
// in the settings key and read afresh on every use.
#pragma once

#include <string>

// Appends the stored entries to the File menu at start-up.
void build_recent_menu();
// Moves or inserts the path at the top of the list and updates the menu.
void add_recent_file(const char* path);
// Entry index, or "" when there is none.
std::string recent_file(int index);
