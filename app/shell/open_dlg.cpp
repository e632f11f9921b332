#include "app/shell/open_dlg.h"

#include "app/session/addin_host.h"
#include "app/session/file_dialog_text.h"
#include "app/shell/picture_io.h"
#include "app/session/settings.h"

#include <commdlg.h>

OpenedPicture run_open_dialog(HWND owner) {
    const FileTypeTable& types = addin_host().read_types;
    std::string filters = open_filter_list(types);
    char path[kPathCapacity] = {};
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filters.c_str();
    ofn.nFilterIndex = kAllTypesFilter;
    ofn.lpstrFile = path;
    ofn.nMaxFile = sizeof path;
    ofn.lpstrTitle = "Open Picture";
    ofn.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
    if (!GetOpenFileNameA(&ofn)) return {nullptr, {}};
    if (name_lost_characters(path)) {
        tell_unusable_name(owner, path, "Open Picture");
        return {nullptr, {}};
    }
    return {load_picture(path, opened_type(ofn.nFilterIndex, path, types)), path};
}
