#include "app/shell/picture_io.h"

#include "app/files/open.h"
#include "app/files/save.h"
#include "app/session/addin_host.h"
#include "app/shell/bmp_dlg.h"
#include "app/shell/gif_dlg.h"
#include "app/shell/hourglass.h"
#include "app/session/pen_slots.h"

#include <string>

PictureDocument* load_picture(const char* path, FileTypeId type) {
    Hourglass wait;
    const AddInHost& host = addin_host();
    return open_picture_file(path, type, host.read_types, host.write_types, pen_slots().slot[0]);
}

PictureDocument* load_picture_by_extension(const char* path) {
    // A name that no read type's extension ends in is still handed on, so
    // that the user hears of it the one way every failed open is told.
    return load_picture(path, find_type_by_extension(path, addin_host().read_types).type);
}

WriteResult write_picture(HWND owner, PictureDocument& doc) {
    SaveChoices choices;
    if (doc.file_type == FileTypeId::Bmp) {
        prepare_composite(doc);
        choices.bmp_bits = run_bmp_dialog(owner, doc.bmp_colour_bits);
        if (!choices.bmp_bits) return WriteResult::Cancelled;
        doc.bmp_colour_bits = choices.bmp_bits;
    } else if (doc.file_type == FileTypeId::Gif) {
        prepare_composite(doc);
        const Layer* layer = current_layer(doc);
        choices.gif_key_colour = layer ? layer->key_colour : 0;
        if (!run_gif_dialog(owner, doc, choices.gif_key_colour)) return WriteResult::Cancelled;
    }
    Hourglass wait;
    return save_picture_file(doc, addin_host().write_types, choices) ? WriteResult::Written
                                                                     : WriteResult::Failed;
}

void tell_unusable_name(HWND owner, const char* path, const char* caption) {
    std::string text = std::string("This file name cannot be used here:\n") + path;
    MessageBoxA(owner, text.c_str(), caption, MB_OK | MB_ICONEXCLAMATION);
}
