#include "app/windows/document/layer_commands.h"

#include "app/imageops/mask_ops.h"
#include "app/resources/resource_ids.h"
#include "app/session/shell_state.h"
#include "app/windows/document/dib_wnd.h"
#include "app/windows/document/select_dialogs.h"

namespace {

void redraw_and_tell_zoom(PictureDocument& doc) {
    full_redraw(doc);
    send_if_open(shell_windows().zoom_window, kMsgZoomRefresh);
}

// A modal dialog lets other messages run: the window may have lost its
// document meanwhile.
bool still_open(HWND wnd, const PictureDocument& doc) {
    return document_of(wnd) == &doc && current_layer(doc);
}

// A new top layer for the command to fill; the current layer stays current.
// The windows that list the layers are told.
Layer* new_target_layer(PictureDocument& doc) {
    const int position = layer_position(doc, doc.current);
    hold_animation_player();
    Layer* layer = add_layer_above(doc);
    if (layer && is_layer_position(doc, position)) doc.current = layer_node_at(doc, position);
    resume_animation_player();
    if (!layer) return nullptr;
    const ShellWindows& w = shell_windows();
    send_if_open(w.layer_manager, kMsgDocumentActivated, 0, reinterpret_cast<LPARAM>(&doc));
    send_if_open(w.dialog_bar, kMsgRedrawPicture);
    return layer;
}

// The layer the user chose; null when cancelled or when the window lost its
// document.
Layer* chosen_layer(HWND wnd, PictureDocument& doc) {
    const int position = run_select_layer_dialog(doc);
    if (!still_open(wnd, doc) || !is_layer_position(doc, position)) return nullptr;
    return layer_node_at(doc, position)->layer;
}

} // namespace

void mask_plane_command(HWND, PictureDocument& doc, UINT id) {
    Layer* layer = current_layer(doc);
    if (!layer) return;
    doc.flags |= kDocModified;
    if (id == CMD_CLEAR_MASK)
        clear_mask(*layer);
    else
        invert_mask(*layer);
    if (doc.flags & kDocMaskView) redraw_and_tell_zoom(doc);
}

void colour_mask_command(HWND wnd, PictureDocument& doc, UINT id) {
    if (doc.flags & kDocMaskView) return;
    doc.flags |= kDocModified;
    const int colour = run_select_colour_dialog(doc.left_colour);
    if (colour < 0 || !still_open(wnd, doc)) return;
    const bool selected = id == CMD_MASK_WITH_COLOR || id == CMD_ADD_COLOR_TO_MASK;
    const bool clear_first = id == CMD_MASK_WITH_COLOR || id == CMD_MASK_WITH_OTHER_COLORS;
    mask_from_colour(doc, colour, selected ? ColourMatch::Selected : ColourMatch::NotSelected,
                     clear_first ? MaskStart::Clear : MaskStart::Keep);
}

void colour_to_layer_command(HWND wnd, PictureDocument& doc, UINT id) {
    doc.flags |= kDocModified;
    if (doc.flags & kDocMaskView) return;
    const int colour = run_select_colour_dialog(doc.left_colour);
    if (colour < 0 || !still_open(wnd, doc)) return;
    Layer* target = nullptr;
    if (id == CMD_NEW_LAYER_WITH_COLOR) {
        target = new_target_layer(doc);
    } else {
        target = chosen_layer(wnd, doc);
        if (!target || target == current_layer(doc)) return;
        take_undo_copy(*target);
    }
    if (!target) return;
    copy_colour_to_layer(doc, *target, colour);
    redraw_and_tell_zoom(doc);
}

void area_to_layer_command(HWND wnd, PictureDocument& doc, UINT id) {
    doc.flags |= kDocModified;
    Layer* target = nullptr;
    if (id == CMD_NEW_LAYER_WITH_AREA) {
        target = new_target_layer(doc);
    } else {
        target = chosen_layer(wnd, doc);
        if (target) take_undo_copy(*target);
    }
    if (!target) return;
    copy_area_to_layer(doc, *target);
    redraw_and_tell_zoom(doc);
}

void animation_area_command(HWND, PictureDocument& doc, UINT) {
    Layer* layer = current_layer(doc);
    if (!layer) return;
    layer->area = selected_animation_area(doc);
    // The area is what a GIF saves of the layer: Close must ask.
    doc.flags |= kDocModified;
    send_if_open(shell_windows().layer_manager, kMsgColourViews, 0, reinterpret_cast<LPARAM>(&doc));
}
