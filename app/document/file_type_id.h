// Which file type a picture is saved as, and which one a file is opened as:
// a position in the program's read-type and write-type tables
// (app/files/file_types.h). The built-in types hold the same positions in
// both tables; each table numbers its Add-In types on from FirstAddIn.
#pragma once

#include <cstdint>

enum class FileTypeId : std::int32_t {
    None = -1, // no type: a name whose extension no table holds
    Native = 0,
    Bmp = 1,
    Gif = 2,
    FirstAddIn = 3,
};

// The type's position in its table, and the type at a position.
constexpr int type_position(FileTypeId type) {
    return int(type);
}
constexpr FileTypeId type_at(int position) {
    return FileTypeId(position);
}
