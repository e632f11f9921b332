#include "app/windows/document/area_commands.h"

#include "app/windows/document/canvas_present.h"
#include "app/windows/document/dib_wnd.h"
#include "app/document/composite.h"
#include "app/files/clipboard.h"
#include "app/imageops/floating_area.h"
#include "app/session/scrap_book.h"
#include "app/session/shell_state.h"

namespace {

void zoom_notice() {
    send_if_open(shell_windows().zoom_window, kMsgZoomRefresh);
}

// The plane Copy takes without a floating area.
const Surface* copy_source(PictureDocument& doc) {
    if (doc.flags & kDocMoveAllLayers) {
        doc.update_rect = {0, 0, picture_width(doc), picture_height(doc)};
        recomposite(doc);
        return doc.composite;
    }
    const Layer* layer = current_layer(doc);
    if (!layer) return nullptr;
    return (doc.flags & kDocMaskView) ? layer->mask : layer->image;
}

// A surface from outside floats as a pasted area at `at`, after the area
// floating before was committed; one Undo takes the paste back.
void float_new_area(HWND wnd, PictureDocument& doc, Surface* s, POINT at) {
    if (!commit_before_command(wnd, doc)) {
        delete s;
        return;
    }
    take_undo_copy(*current_layer(doc));
    choose_select_area();
    float_pasted(doc, s, at);
    present_view(doc);
}

} // namespace

bool commit_before_command(HWND wnd, PictureDocument& doc) {
    send_if_open(canvas_of(wnd), kMsgDeactivateTool);
    if (document_of(wnd) != &doc || !current_layer(doc)) return false;
    if (doc.floating) commit_floating(doc, false);
    return true;
}

void choose_select_area() {
    shell_state().current_tool = kToolSelectArea;
    send_if_open(shell_windows().tool_window, kMsgActivateTool, kToolSelectArea);
}

void copy_command(HWND, PictureDocument& doc, UINT) {
    const Surface* source = doc.floating ? doc.floating : copy_source(doc);
    if (source) copy_to_clipboard(*source, shell_windows().frame);
}

void cut_command(HWND wnd, PictureDocument& doc, UINT id) {
    if (!doc.floating) return;
    copy_command(wnd, doc, id);
    delete_command(wnd, doc, id);
}

void delete_command(HWND, PictureDocument& doc, UINT) {
    if (!delete_floating(doc)) return;
    present_view(doc);
    zoom_notice();
}

void paste_command(HWND wnd, PictureDocument& doc, UINT) {
    Surface* s = paste_from_clipboard(shell_windows().frame);
    if (!s) return;
    // Where the last area floated or the last stroke was drawn.
    float_new_area(wnd, doc, s, {doc.floating_rect.left, doc.floating_rect.top});
}

void paste_from_file_command(HWND wnd, PictureDocument& doc, UINT) {
    auto* s =
        reinterpret_cast<Surface*>(SendMessageA(shell_windows().frame, kMsgPasteFromFile, 0, 0));
    if (s) float_new_area(wnd, doc, s, {0, 0});
}

void copy_to_file_command(HWND, PictureDocument& doc, UINT) {
    if (doc.floating)
        SendMessageA(shell_windows().frame, kMsgCopyToFile, 0,
                     reinterpret_cast<LPARAM>(doc.floating));
}

void copy_to_scrapbook_command(HWND wnd, PictureDocument& doc, UINT) {
    const Surface* source = doc.floating ? doc.floating : copy_source(doc);
    if (!source) return;
    if (!append_scrap_copy(scrap_book(), *source)) {
        MessageBoxA(wnd, "Can't create Bitmap", "Allocate Error", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    send_if_open(shell_windows().scrapbook, kMsgRedrawPicture);
}

void paste_from_scrapbook_command(HWND wnd, PictureDocument& doc, UINT) {
    if (std::unique_ptr<Surface> s = copy_of_current_scrap(scrap_book()))
        float_new_area(wnd, doc, s.release(), {0, 0});
}

void select_all_command(HWND wnd, PictureDocument& doc, UINT) {
    if (!commit_before_command(wnd, doc)) return;
    take_undo_copy(*current_layer(doc));
    if (!lift_area(doc, {0, 0, picture_width(doc) - 1, picture_height(doc) - 1})) return;
    choose_select_area();
    full_redraw(doc);
}
