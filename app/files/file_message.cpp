#include "app/files/file_message.h"

#include <string>

void show_file_message(LPCSTR text, LPCSTR caption, LPCSTR path, UINT type) {
    std::string message = text;
    message += '\n';
    message += path ? path : "";
    // Owned by the window the user works in, so that it cannot open behind it.
    MessageBoxA(GetActiveWindow(), message.c_str(), caption, type);
}
