// Splits the program's command line into the file names to open.
#pragma once

#include <string>
#include <vector>

// Names are separated by spaces. A name that starts with a double quote runs
// to the closing quote, so paths with spaces open; an unquoted name ends at
// the next space or quote. Empty names are left out.
std::vector<std::string> scan_command_line(const char* text);
