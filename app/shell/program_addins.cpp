#include "app/shell/program_addins.h"

#include "app/windows/document/canvas_tools.h"
#include "app/session/addin_dll_loader.h"
#include "app/session/addin_host.h"
#include "app/session/shell_state.h"

namespace {

// The DLLs are searched in the current directory, which discovery sets.
DllAddInLoader& loader() {
    static DllAddInLoader instance({}, shell_windows().instance);
    return instance;
}

void load_builtin_tool_resources() {
    ToolTable& tools = addin_host().tools;
    HINSTANCE instance = shell_windows().instance;
    for (int t = 0; t < kBuiltinToolCount && t < tools.count; ++t) {
        const BuiltinTool& b = kBuiltinTools[t];
        ToolEntry& e = tools.entries[t];
        e.button = LoadBitmapA(instance, b.button);
        if (!e.button) e.button = LoadBitmapA(instance, "VL_TOOL_DEFBUTTON");
        e.cursor = b.cursor ? LoadCursorA(instance, b.cursor) : nullptr;
    }
}

} // namespace

void discover_program_addins() {
    const char* folder = shell_state().addin_folder;
    if (folder) {
        SetCurrentDirectoryA(folder);
    } else {
        const std::string program = executable_folder();
        if (!program.empty()) SetCurrentDirectoryA(program.c_str());
    }
    discover_addins(addin_host(), loader(), builtin_tool_handlers());
    load_builtin_tool_resources();
}

void release_program_addins() {
    release_addins(addin_host(), loader());
}
