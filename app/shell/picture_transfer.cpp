#include "app/shell/picture_transfer.h"

#include "app/files/clipboard.h"
#include "app/files/open.h"
#include "app/files/save.h"
#include "app/session/addin_host.h"
#include "app/session/file_dialog_text.h"
#include "app/session/pen_slots.h"
#include "app/session/settings.h"
#include "app/session/shell_state.h"
#include "app/shell/bmp_dlg.h"
#include "app/shell/frame_wnd.h"
#include "app/shell/gif_dlg.h"
#include "app/shell/hourglass.h"
#include "app/shell/open_dlg.h"
#include "app/shell/picture_io.h"

#include <commdlg.h>

#include <cstdio>
#include <string>

namespace {

constexpr FileTypeId kFirstCopyType = FileTypeId::Bmp;

// The key colour the GIF dialog of Copy to File starts with: what it was
// left at the last time.
int last_gif_key_colour = 0;

// The save dialog without the native type; the write type and the name with
// its extension, or type None.
struct ChosenName {
    FileTypeId file_type = FileTypeId::None;
    std::string path;
};

ChosenName choose_copy_name(HWND owner) {
    const FileTypeTable& types = addin_host().write_types;
    std::string filters = save_filter_list(types, kFirstCopyType);
    char path[kPathCapacity] = {};
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filters.c_str();
    ofn.nFilterIndex = kFirstFilter;
    ofn.lpstrFile = path;
    ofn.nMaxFile = sizeof path;
    ofn.lpstrTitle = "Save Picture";
    ofn.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST;
    if (!GetSaveFileNameA(&ofn)) return {};
    if (name_lost_characters(path)) {
        tell_unusable_name(owner, path, "Save Picture");
        return {};
    }
    const FileTypeId type = saved_type(ofn.nFilterIndex, kFirstCopyType, types);
    if (type == FileTypeId::None) return {};
    return {type, with_extension(path, type_entry(types, type).extension)};
}

} // namespace

Surface* paste_picture_file(HWND owner) {
    const ChosenPicture chosen = choose_picture_file(owner);
    if (chosen.path.empty()) return nullptr;
    Hourglass wait;
    const AddInHost& host = addin_host();
    return flatten_picture_file(chosen.path.c_str(), chosen.type, host.read_types,
                                host.write_types);
}

int copy_surface_to_file(HWND owner, const Surface& s) {
    PictureDocument* active = active_document();
    const ChosenName chosen = choose_copy_name(owner);
    if (chosen.file_type == FileTypeId::None || !active) return 0;
    SaveChoices choices;
    if (chosen.file_type == FileTypeId::Bmp) {
        choices.bmp_bits = run_bmp_dialog(owner, active->bmp_colour_bits);
        if (!choices.bmp_bits) return 0;
    } else if (chosen.file_type == FileTypeId::Gif) {
        if (!run_gif_dialog(owner, *active, last_gif_key_colour)) return 0;
        choices.gif_key_colour = last_gif_key_colour;
    }
    int written;
    {
        Hourglass wait;
        written = save_surface_file(s, chosen.path.c_str(), chosen.file_type,
                                    addin_host().write_types, choices, *active);
    }
    if (!written) {
        char text[kFileNameSize + 64];
        std::snprintf(text, sizeof text, "Unable to Save Picture\n%s", chosen.path.c_str());
        MessageBoxA(owner, text, "Save Error", MB_OK | MB_ICONEXCLAMATION);
    }
    return written;
}

void paste_to_new_picture(HWND owner) {
    Surface* s = paste_from_clipboard(owner);
    if (!s) return;
    PictureDocument* doc = picture_from_surface(*s, pen_slots().slot[0]);
    delete s;
    if (!doc) {
        MessageBoxA(owner, "Unable to Create Image", "Error", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    std::snprintf(doc->file_name, sizeof doc->file_name, "untitled%d.vlx",
                  shell_state().untitled_counter++);
    open_document_window(doc);
}
