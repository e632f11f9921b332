#include "app/session/addin_dll_loader.h"

#include "platform/module.h"

std::string DllAddInLoader::path_of(const std::string& name) const {
    return folder_.empty() ? name : folder_ + "\\" + name;
}

std::vector<std::string> DllAddInLoader::candidates() {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(path_of("*.dll").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.emplace_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

bool DllAddInLoader::load(const std::string& name, LoadedAddIn& out) {
    HMODULE module = LoadLibraryA(path_of(name).c_str());
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

void DllAddInLoader::unload(const LoadedAddIn& addin) {
    if (addin.module) FreeLibrary(addin.module);
}

void DllAddInLoader::pen_resources(const LoadedAddIn& addin, HBITMAP& button, HCURSOR& cursor) {
    button = LoadBitmapA(addin.module, "PEN_BUTTON");
    if (!button) button = LoadBitmapA(resources_, "VL_TOOL_DEFBUTTON");
    cursor = LoadCursorA(addin.module, "PEN_CURSOR");
}

void DllAddInLoader::free_button(HBITMAP button) {
    DeleteObject(button);
}

std::string executable_folder() {
    char path[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    if (n == 0 || n >= sizeof path) return {};
    const std::string name(path, n);
    const std::size_t slash = name.rfind('\\');
    return slash == std::string::npos ? std::string() : name.substr(0, slash);
}
