#include "app/shell/save_dlg.h"

#include "app/session/addin_host.h"
#include "app/session/file_dialog_text.h"
#include "app/shell/picture_io.h"
#include "app/session/settings.h"

#include <commdlg.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

bool ask_overwrite(HWND owner, const PictureDocument& doc) {
    char text[kFileNameSize + 64];
    std::snprintf(text, sizeof text, "Overwrite to %s\nAre you sure?", doc.file_name);
    return MessageBoxA(owner, text, "Save Picture", MB_YESNO | MB_ICONQUESTION) == IDYES;
}

// The save dialog; on OK the chosen type and name (with the type's
// extension added where the name lacks one) become the document's.
bool choose_name(HWND owner, PictureDocument& doc) {
    const FileTypeTable& types = addin_host().write_types;
    std::string filters = save_filter_list(types, FileTypeId::Native);
    char path[kPathCapacity] = {};
    std::string initial = initial_save_name(doc.file_name, types);
    std::snprintf(path, sizeof path, "%s", initial.c_str());
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filters.c_str();
    // A type past the table preselects the native type.
    ofn.nFilterIndex = save_filter_of(doc.file_type, FileTypeId::Native, types);
    ofn.lpstrFile = path;
    ofn.nMaxFile = sizeof path;
    ofn.lpstrTitle = "Save Picture";
    ofn.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST;
    if (!GetSaveFileNameA(&ofn)) return false;
    if (name_lost_characters(path)) {
        tell_unusable_name(owner, path, "Save Picture");
        return false;
    }
    const FileTypeId type = saved_type(ofn.nFilterIndex, FileTypeId::Native, types);
    if (type == FileTypeId::None) return false;
    doc.file_type = type;
    std::string name = with_extension(path, type_entry(types, type).extension);
    std::snprintf(doc.file_name, sizeof doc.file_name, "%s", name.c_str());
    return true;
}

} // namespace

int save_picture(HWND owner, PictureDocument& doc, SaveMode mode) {
    const FileTypeTable& types = addin_host().write_types;
    bool named_known =
        (doc.flags & kDocNamed) && find_type_by_extension(doc.file_name, types).found;
    // What the picture was called before: a Save As that writes nothing
    // leaves it so, and the caption and the next Save go on agreeing.
    const std::string old_name = doc.file_name;
    const FileTypeId old_type = doc.file_type;
    const std::uint32_t old_named = doc.flags & kDocNamed;
    if (mode == kSaveAskOverwrite && named_known) {
        if (!ask_overwrite(owner, doc)) return 0;
    } else if (!choose_name(owner, doc)) {
        return 0;
    }
    WriteResult result = write_picture(owner, doc);
    if (result == WriteResult::Failed) {
        char text[kFileNameSize + 64];
        std::snprintf(text, sizeof text, "Unable to Save Picture\n%s", doc.file_name);
        MessageBoxA(owner, text, "Save Error", MB_OK | MB_ICONEXCLAMATION);
    }
    if (result == WriteResult::Written) return 1;
    std::snprintf(doc.file_name, sizeof doc.file_name, "%s", old_name.c_str());
    doc.file_type = old_type;
    doc.flags = (doc.flags & ~kDocNamed) | old_named;
    return 0;
}
