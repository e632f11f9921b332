#include "app/shell/addin_dll_loader.h"

#include "app/windows/document/canvas_tools.h"
#include "app/session/addin_host.h"
#include "app/session/shell_state.h"
#include "platform/module.h"

#include <cstring>

namespace {

class DllAddInLoader : public AddInLoader {
  public:
    std::vector<std::string> candidates() override {
        std::vector<std::string> names;
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA("*.dll", &found);
        if (search == INVALID_HANDLE_VALUE) return names;
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                names.emplace_back(found.cFileName);
        } while (FindNextFileA(search, &found));
        FindClose(search);
        return names;
    }

    bool load(const std::string& name, LoadedAddIn& out) override {
        HMODULE module = LoadLibraryA(name.c_str());
        if (!module) return false;
        out.module = module;
        out.entry.get_info = proc_address<VLGetInfoFn>(module, "_VLGetInfo");
        out.entry.encode = proc_address<VLEncodeFn>(module, "_VLEncode");
        out.entry.decode = proc_address<VLDecodeFn>(module, "_VLDecode");
        out.entry.filter = proc_address<VLFilterFn>(module, "_VLFilter");
        out.entry.filter_setup = proc_address<VLFilterSetupFn>(module, "_VLFilterSetup");
        out.entry.pen = proc_address<VLPenFn>(module, "_VLPen");
        return true;
    }

    void unload(const LoadedAddIn& addin) override {
        if (addin.module) FreeLibrary(addin.module);
    }

    void pen_resources(const LoadedAddIn& addin, HBITMAP& button, HCURSOR& cursor) override {
        button = LoadBitmapA(addin.module, "PEN_BUTTON");
        if (!button) button = LoadBitmapA(shell_windows().instance, "VL_TOOL_DEFBUTTON");
        cursor = LoadCursorA(addin.module, "PEN_CURSOR");
    }

    void free_button(HBITMAP button) override { DeleteObject(button); }
};

DllAddInLoader& loader() {
    static DllAddInLoader instance;
    return instance;
}

void change_to_program_folder() {
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    if (n == 0 || n >= sizeof path) return;
    char* slash = std::strrchr(path, '\\');
    if (!slash) return;
    *slash = '\0';
    SetCurrentDirectoryA(path);
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
    if (folder)
        SetCurrentDirectoryA(folder);
    else
        change_to_program_folder();
    discover_addins(addin_host(), loader(), builtin_tool_handlers());
    load_builtin_tool_resources();
}

void release_program_addins() {
    release_addins(addin_host(), loader());
}
