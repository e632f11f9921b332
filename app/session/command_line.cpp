#include "app/session/command_line.h"

std::vector<std::string> scan_command_line(const char* text) {
    std::vector<std::string> names;
    if (!text) return names;
    const char* p = text;
    while (*p) {
        const char* end;
        if (*p == '"') {
            ++p;
            end = p;
            while (*end && *end != '"')
                ++end;
            if (end > p) names.emplace_back(p, end);
            p = *end ? end + 1 : end;
            continue;
        }
        end = p;
        while (*end && *end != ' ' && *end != '"')
            ++end;
        if (end > p) names.emplace_back(p, end);
        // A quote right after a name starts the next, quoted name.
        p = *end == ' ' ? end + 1 : end;
    }
    return names;
}
