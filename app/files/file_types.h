// The tables of picture file types that opening and saving choose from, and
// the record through which Add-In decoders and encoders exchange frames.
#pragma once

#include "addins/sdk/velmo_addin.h"
#include "app/document/file_type_id.h"
#include "platform/win.h"

#include <cstddef>

// _VLDecode and _VLEncode share one signature: (file path, image) -> non-zero
// on success.
using AddInFileProc = VLDecodeFn;

constexpr int kExtensionChars = 8; // 7 characters and the NUL
constexpr int kTypeNameChars = 64; // 63 characters and the NUL

struct FileType {
    char extension[kExtensionChars]; // without the dot
    char name[kTypeNameChars];       // shown in the file dialogs
    AddInFileProc function;          // null for the built-in types
};

// The built-in types come first in both tables; Add-In types follow.
constexpr int kBuiltInTypes = type_position(FileTypeId::FirstAddIn);

// A read-type or write-type table. The Add-In host builds one of each at
// start-up with make_file_type_table and add_file_type, and frees them with
// free_file_type_table at shut-down.
struct FileTypeTable {
    int count = 0;
    int capacity = 0;
    FileType* types = nullptr; // GlobalAlloc'd, capacity entries
};

// Allocates room for the built-in types and addin_count more and fills the
// built-in entries. Returns false, leaving the table empty, when memory runs
// out or addin_count is negative.
bool make_file_type_table(FileTypeTable& table, int addin_count);
// Appends an Add-In type; texts longer than their entries are cut. Returns
// false when the table is full.
bool add_file_type(FileTypeTable& table, LPCSTR extension, LPCSTR name, AddInFileProc function);
void free_file_type_table(FileTypeTable& table);

// Whether the table has an entry for the type, and that entry.
bool holds_type(const FileTypeTable& table, FileTypeId type);
const FileType& type_entry(const FileTypeTable& table, FileTypeId type);

struct FoundType {
    bool found;
    FileTypeId type;  // None when not found
    int dot_position; // of the extension's dot; when not found, of the last
                      // '.' in the path, or the path's length
};

// The type whose extension ends the path after a dot that has at least one
// character before it ("a.gif" is a GIF, ".gif" is nothing), ignoring case.
FoundType find_type_by_extension(LPCSTR path, const FileTypeTable& table);
