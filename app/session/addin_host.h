// The Add-In host: finds the Add-In DLLs beside the program, accepts or
// refuses each, and builds the global tables through which the program
// reaches both the built-in formats and tools and the Add-Ins: read and write
// file types, filters, tools and the kept modules.
//
// The two passes of discovery and all table building are portable; the
// system side (listing "*.dll", loading, looking up exports, loading pen
// resources) comes through AddInLoader.
#pragma once

#include "addins/sdk/velmo_addin.h"
#include "app/files/file_types.h"
#include "platform/win.h"
#include "app/session/tool_table.h"

#include <string>
#include <vector>

// The exports of one loaded DLL; null where the DLL has none.
struct AddInEntryPoints {
    VLGetInfoFn get_info = nullptr;
    VLEncodeFn encode = nullptr;
    VLDecodeFn decode = nullptr;
    VLFilterFn filter = nullptr;
    VLFilterSetupFn filter_setup = nullptr; // optional for filters
    VLPenFn pen = nullptr;
};

// The one acceptance test both passes use: the kind is exactly one of
// encoder, decoder, filter or pen; the required version is at most the
// host's; the entry point of that kind is present. Returns the kind, or 0
// when the Add-In is refused.
DWORD accepted_kind(const AddInInfo& info, const AddInEntryPoints& entry);

struct FilterEntry {
    char name[kToolTextSize]; // the "Add-In &Filter" menu item
    VLFilterFn filter;
    VLFilterSetupFn setup; // null: the filter runs without asking
};

// A DLL kept loaded because it registered something.
struct AddInModule {
    HMODULE module;
    VLGetInfoFn get_info; // asked again by the About Add-In dialog
};

struct AddInCounts {
    int encoders = 0;
    int decoders = 0;
    int filters = 0;
    int pens = 0;
    int total() const { return encoders + decoders + filters + pens; }
};

struct AddInHost {
    FileTypeTable read_types;       // built-in decoders, then Add-In decoders
    FileTypeTable write_types;      // built-in encoders, then Add-In encoders
    FilterEntry* filters = nullptr; // GlobalAlloc'd; null without filters
    int filter_count = 0;
    ToolTable tools;
    int pen_count = 0;              // tools from kBuiltinToolCount on
    AddInModule* modules = nullptr; // GlobalAlloc'd; null without Add-Ins
    int module_count = 0;
    // What the counting pass found: registration never goes past it.
    AddInCounts capacity;
};

// One DLL as the loader hands it over.
struct LoadedAddIn {
    HMODULE module = nullptr;
    AddInEntryPoints entry{};
};

// The system side of discovery. The window build implements it with
// FindFirstFile, LoadLibrary and GetProcAddress; tests with plain records.
class AddInLoader {
  public:
    virtual ~AddInLoader() = default;
    // The names of the candidate files ("*.dll" in the current directory),
    // listed afresh for each pass.
    virtual std::vector<std::string> candidates() = 0;
    // Loads one candidate; false when it cannot be loaded.
    virtual bool load(const std::string& name, LoadedAddIn& out) = 0;
    virtual void unload(const LoadedAddIn& addin) = 0;
    // A registered pen's button ("PEN_BUTTON", else the default button) and
    // cursor ("PEN_CURSOR", may be null).
    virtual void pen_resources(const LoadedAddIn& addin, HBITMAP& button, HCURSOR& cursor) = 0;
    // Frees a tool button of the table (built-in or Add-In) at shut-down.
    virtual void free_button(HBITMAP button) = 0;
};

// Both passes of discovery, then every table at its final size. Built-in
// handlers may be null (every built-in tool then does nothing). Returns
// false only when memory runs out; the built-in tables exist even when no
// DLL was found.
bool discover_addins(AddInHost& host, AddInLoader& loader, const ToolHandler* builtin_handlers);

// Frees every table, its buttons and unloads every kept module through the
// loader.
void release_addins(AddInHost& host, AddInLoader& loader);

// One line of the About Add-In list:
// name (or "...") " : " about1 "(" about2 ") " "[" about3 "]", each part only
// when present.
std::string about_line(const AddInInfo& info);

// The program's one host, built at start-up and released at shut-down.
AddInHost& addin_host();
