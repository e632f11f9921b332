// The texts the open and save dialogs are built from and the names they
// give back: filter lists from the file-type tables, the initial save name,
// the extension rule and the type a chosen filter stands for.
#pragma once

#include "app/files/file_types.h"

#include <string>

// "All Image Types" with every read type's "*.ext" joined by ';', then one
// entry per type; entries and the list end as the common dialogs want them
// (each text NUL-terminated, an empty text after the last).
std::string open_filter_list(const FileTypeTable& read_types);
// The common dialogs number their filters from 1; the open dialog's first
// filter is "All Image Types".
constexpr DWORD kFirstFilter = 1;
constexpr DWORD kAllTypesFilter = 1;

// One entry per write type from `first` on; no entry for all types.
std::string save_filter_list(const FileTypeTable& write_types, FileTypeId first);
// The dialogs number their filters from 1 and give back the one chosen; in
// the save dialog's list of save_filter_list(write_types, first), filter k
// is the k-th type from `first` on. The filter that preselects `type`: the
// first one when the list does not offer the type.
DWORD save_filter_of(FileTypeId type, FileTypeId first, const FileTypeTable& write_types);
// The type a chosen save filter stands for; None when the list has no such
// filter.
FileTypeId saved_type(DWORD filter_index, FileTypeId first, const FileTypeTable& write_types);
// The type an open-dialog choice stands for: filter 1 ("All Image Types")
// looks the name's extension up; filter k > 1 is the (k - 1)-th read type.
// None when the name matches no type.
FileTypeId opened_type(DWORD filter_index, const char* path, const FileTypeTable& read_types);
// The save dialog's initial name: without its extension when that extension
// is a write type's, else unchanged.
std::string initial_save_name(const char* path, const FileTypeTable& write_types);
// Appends "." and the extension unless the name already ends in a '.'
// followed by as many characters as the extension has.
std::string with_extension(const std::string& name, const char* extension);
// True when a name came back from the system with characters it could not
// give in the program's code page: they arrive as '?', which no file name
// holds. (Where the system runs the program in UTF-8 every name arrives
// whole.)
bool name_lost_characters(const char* path);
