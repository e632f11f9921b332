#include "app/shell/open_dlg.h"

#include "app/session/addin_host.h"
#include "app/session/file_dialog_text.h"
#include "app/shell/picture_io.h"
#include "app/session/settings.h"

#include <commdlg.h>

ChosenPicture choose_picture_file(HWND owner) {
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
    if (!GetOpenFileNameA(&ofn)) return {{}, FileTypeId::None};
    if (name_lost_characters(path)) {
        tell_unusable_name(owner, path, "Open Picture");
        return {{}, FileTypeId::None};
    }
    return {path, opened_type(ofn.nFilterIndex, path, types)};
}

OpenedPicture run_open_dialog(HWND owner) {
    ChosenPicture chosen = choose_picture_file(owner);
    if (chosen.path.empty()) return {nullptr, {}};
    return {load_picture(chosen.path.c_str(), chosen.type), chosen.path};
}
