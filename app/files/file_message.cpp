#include "app/files/file_message.h"

#include <string>

void show_file_message(LPCSTR text, LPCSTR caption, LPCSTR path, UINT type) {
    std::string message = text;
    message += '\n';
    message += path ? path : "";
    MessageBoxA(nullptr, message.c_str(), caption, type);
}
