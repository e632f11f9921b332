#include "app/windows/document/dib_wnd.h"

#include "app/windows/document/area_commands.h"
#include "app/windows/document/canvas_present.h"
#include "app/windows/document/canvas_wnd.h"
#include "app/document/composite.h"
#include "app/imageops/reverse.h"
#include "app/tools/drawing.h"
#include "app/tools/view.h"
#include "app/resources/resource_ids.h"
#include "app/session/addin_host.h"
#include "app/windows/document/document_caption.h"
#include "app/windows/document/layer_commands.h"
#include "app/windows/document/decrease_dlg.h"
#include "app/windows/document/resize_dlg.h"
#include "app/session/shell_state.h"
#include "engine/rasko.h"

#include <algorithm>
#include <memory>
#include <string>

namespace {

HMENU frame_menu() {
    return GetMenu(shell_windows().frame);
}

void check_menu(UINT command, bool checked) {
    CheckMenuItem(frame_menu(), command, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

void zoom_notice() {
    send_if_open(shell_windows().zoom_window, kMsgZoomRefresh);
}

void send_to_canvas(HWND wnd, UINT msg, WPARAM wparam = 0, LPARAM lparam = 0) {
    send_if_open(canvas_of(wnd), msg, wparam, lparam);
}

const char* current_tool_hint() {
    const ToolTable& tools = addin_host().tools;
    const int tool = shell_state().current_tool;
    return tool >= 0 && tool < tools.count ? tools.entries[tool].hint : "";
}

const char* current_layer_name(const PictureDocument& doc) {
    const Layer* layer = current_layer(doc);
    return layer ? layer->name : "";
}

// ---- Layout and scrolling ----

void lay_out_for_client(HWND wnd, PictureDocument& doc) {
    RECT client;
    GetClientRect(wnd, &client);
    layout_view(doc, client.right, client.bottom);
}

void move_canvas(HWND wnd, const PictureDocument& doc) {
    HWND canvas = canvas_of(wnd);
    if (canvas)
        MoveWindow(canvas, doc.canvas_left, doc.canvas_top, doc.canvas_width, doc.canvas_height,
                   TRUE);
}

// The window keeps its place and gets the picture's size as its client
// area, without scroll bars, as far as the workspace allows: a larger
// picture gets a window the size of the workspace, moved into it, so that
// its caption buttons can be reached. A window opened maximised (the
// active one was) keeps the workspace.
void fit_window_to_picture(HWND wnd, const PictureDocument& doc) {
    if (IsZoomed(wnd)) return;
    ShowScrollBar(wnd, SB_BOTH, FALSE);
    RECT window, client, area;
    GetWindowRect(wnd, &window);
    GetClientRect(wnd, &client);
    GetClientRect(GetParent(wnd), &area);
    POINT origin{window.left, window.top};
    ScreenToClient(GetParent(wnd), &origin);
    const int frame_width = (window.right - window.left) - client.right;
    const int frame_height = (window.bottom - window.top) - client.bottom;
    const WindowPlace place = fitted_window(
        {origin.x, origin.y, frame_width + picture_width(doc), frame_height + picture_height(doc)},
        area.right, area.bottom);
    MoveWindow(wnd, place.x, place.y, place.width, place.height, TRUE);
}

void on_size(HWND wnd, PictureDocument& doc, WPARAM type, LPARAM lparam) {
    if (type != SIZE_RESTORED && type != SIZE_MAXIMIZED) return;
    layout_view(doc, LOWORD(lparam), HIWORD(lparam));
    update_scroll_bars(wnd);
    move_canvas(wnd, doc);
    send_if_open(shell_windows().zoom_window, kMsgZoomLayout, 0);
}

// Puts the view origin of one axis at origin (held within the picture) and
// shows the picture from there.
void scroll_view(HWND wnd, PictureDocument& doc, int bar, int origin) {
    if (bar == SB_HORZ)
        doc.view_origin_x = origin;
    else
        doc.view_origin_y = origin;
    doc.view_origin_x = clamp_origin(doc.view_origin_x, doc.visible_width, picture_width(doc));
    doc.view_origin_y = clamp_origin(doc.view_origin_y, doc.visible_height, picture_height(doc));
    SetScrollPos(wnd, bar, bar == SB_HORZ ? doc.view_origin_x : doc.view_origin_y, TRUE);
    present_view(doc);
    send_if_open(shell_windows().zoom_window, kMsgZoomLayout, 0);
}

// False for the codes that scroll nothing (they get the default processing).
bool on_scroll(HWND wnd, PictureDocument& doc, int bar, WPARAM wparam) {
    const bool horizontal = bar == SB_HORZ;
    const int origin = horizontal ? doc.view_origin_x : doc.view_origin_y;
    const int visible = horizontal ? doc.visible_width : doc.visible_height;
    const int extent = horizontal ? picture_width(doc) : picture_height(doc);
    int moved;
    if (!scrolled_origin(LOWORD(wparam), HIWORD(wparam), origin, visible, extent, moved))
        return false;
    scroll_view(wnd, doc, bar, moved);
    return true;
}

// What the last wheel messages turned too little for a whole line; wheels
// with finer steps send many small turns.
int wheel_rest = 0;

// The wheel scrolls the picture, with Shift across; with Ctrl it zooms,
// which is the canvas's (the wheel reaches this window when the canvas
// passes it on or does not have the focus).
void on_wheel(HWND wnd, PictureDocument& doc, WPARAM wparam, LPARAM lparam) {
    const WORD keys = GET_KEYSTATE_WPARAM(wparam);
    if (keys & MK_CONTROL) {
        send_to_canvas(wnd, WM_MOUSEWHEEL, wparam, lparam);
        return;
    }
    UINT lines = 3;
    SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    const bool across = keys & MK_SHIFT;
    const WheelStep step = wheel_step(wheel_rest + GET_WHEEL_DELTA_WPARAM(wparam),
                                      lines == WHEEL_PAGESCROLL ? kWheelPageScroll : int(lines),
                                      across ? doc.visible_width : doc.visible_height, doc.zoom);
    wheel_rest = step.unused_delta;
    if (!step.origin_change) return;
    const int origin = across ? doc.view_origin_x : doc.view_origin_y;
    scroll_view(wnd, doc, across ? SB_HORZ : SB_VERT, origin + step.origin_change);
}

// ---- Creation and destruction ----

LRESULT on_create(HWND wnd, const CREATESTRUCTA* cs) {
    const auto* mdi = static_cast<const MDICREATESTRUCTA*>(cs->lpCreateParams);
    auto* doc = reinterpret_cast<PictureDocument*>(mdi->lParam);
    if (!doc) return -1;
    const int width = picture_width(*doc), height = picture_height(*doc);
    doc->update_rect = {0, 0, width, height};
    recomposite(*doc);
    HWND canvas = CreateWindowExA(0, kCanvasClass, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, width,
                                  height, wnd, nullptr, shell_windows().instance, nullptr);
    if (!canvas) {
        // The window owns the document from here on, also when it cannot live.
        free_document(doc);
        return -1;
    }
    doc->window_dc = GetDC(canvas);
    doc->previous_palette = SelectPalette(doc->window_dc, doc->palette, FALSE);
    RealizePalette(doc->window_dc);
    if (GetVersion() & 0x80000000) {
        SetStretchBltMode(doc->window_dc, HALFTONE);
        SetBrushOrgEx(doc->window_dc, 0, 0, nullptr);
    }
    update_palette(*doc);
    SetPropA(wnd, kDocumentProperty, doc);
    set_document_caption(wnd);
    set_status_text(kStatusToolHint, current_tool_hint());
    fit_window_to_picture(wnd, *doc);
    return 0;
}

void on_destroy(HWND wnd) {
    auto* doc = static_cast<PictureDocument*>(RemovePropA(wnd, kDocumentProperty));
    if (doc) close_animation_player_of(*doc);
    // The Layer Manager shows the active picture's layers; this one's go now.
    if (doc) send_if_open(shell_windows().layer_manager, kMsgDocumentActivated, 0, 0);
    free_document(doc);
}

// ---- Activation and palettes ----

struct Toggle {
    UINT command;
    std::uint32_t flag;
    enum Redraw { none, full, view } redraw;
};

// The document flags the View, Mask and Layer menus show as check marks.
constexpr Toggle kToggles[] = {
    {CMD_MASK_ON, kDocMaskOn, Toggle::none},
    {CMD_OVERLAP_MASK, kDocOverlapMask, Toggle::full},
    {CMD_ENABLE_KEYCOLOR, kDocKeyColourEnabled, Toggle::full},
    {CMD_MOVE_ALL_LAYERS, kDocMoveAllLayers, Toggle::none},
    {CMD_MOVE_WITH_MASK, kDocMoveWithMask, Toggle::none},
    {CMD_SNAP_TO_GRID, kDocSnapToGrid, Toggle::none},
    {CMD_GRID, kDocGridShown, Toggle::view},
    {CMD_ONLY_CURRENT_LAYER, kDocOnlyCurrentLayer, Toggle::full},
    {CMD_WITH_LAYER_BELOW, kDocWithLayerBelow, Toggle::full},
};

// Item 194 only means something in only-current-layer mode.
void show_layer_below_item(const PictureDocument& doc) {
    const bool only_current = doc.flags & kDocOnlyCurrentLayer;
    EnableMenuItem(frame_menu(), CMD_WITH_LAYER_BELOW,
                   MF_BYCOMMAND | (only_current ? MF_ENABLED : MF_GRAYED));
    check_menu(CMD_WITH_LAYER_BELOW, only_current && (doc.flags & kDocWithLayerBelow));
}

void show_check_marks(const PictureDocument& doc) {
    const bool mask_view = doc.flags & kDocMaskView;
    check_menu(CMD_VIEW_MASK, mask_view);
    check_menu(CMD_VIEW_PICTURE, !mask_view);
    for (const Toggle& t : kToggles)
        if (t.command != CMD_WITH_LAYER_BELOW) check_menu(t.command, doc.flags & t.flag);
    show_layer_below_item(doc);
}

void on_activated(PictureDocument& doc) {
    if (doc.flags & kDocPaletteDevice) update_palette(doc);
    const ShellWindows& w = shell_windows();
    const LPARAM self = reinterpret_cast<LPARAM>(&doc);
    for (HWND window : {w.palette_window, w.tool_window, w.pen_window, w.zoom_window,
                        w.layer_manager, w.dialog_bar})
        send_if_open(window, kMsgDocumentActivated, 0, self);
    send_if_open(w.animation_view, kMsgDocumentActivated, 0, 0);
    send_if_open(w.mini_zoomer, kMsgDocumentActivated, 0, 0);
    show_check_marks(doc);
    set_status_text(kStatusLayerName, current_layer_name(doc));
}

// Another window realised its palette: ours goes to the background.
void on_palette_changed(PictureDocument& doc) {
    if (!(doc.flags & kDocPaletteDevice)) return;
    update_palette(doc);
    if (!doc.window_dc) return;
    SelectPalette(doc.window_dc, doc.palette, TRUE);
    RealizePalette(doc.window_dc);
}

// wparam kColourValuesOnly: no pixel changed its index, so the composite
// holds the right indexes and only its colour table is new, unless the
// nearest white or black moved (overlays are drawn in them).
constexpr WPARAM kColourValuesOnly = 1;

void palette_changed(PictureDocument& doc, WPARAM wparam) {
    const std::int32_t white = doc.white_index, black = doc.black_index;
    update_palette(doc);
    if (wparam == kColourValuesOnly && white == doc.white_index && black == doc.black_index)
        present_view(doc);
    else
        full_redraw(doc);
}

void on_layer_changed(HWND wnd, PictureDocument& doc, WPARAM wparam, LPARAM lparam) {
    const ShellWindows& w = shell_windows();
    send_if_open(w.palette_window, kMsgLayerChanged);
    send_if_open(w.tool_window, kMsgLayerChanged);
    // The window that made the change is not told again.
    if (wparam && w.layer_manager)
        SendMessageA(w.layer_manager, kMsgLayerChanged, 0, 0);
    else
        send_if_open(w.dialog_bar, kMsgLayerChanged);
    send_to_canvas(wnd, kMsgLayerChanged, wparam, lparam);
    settle_undo_copies(doc);
    set_status_text(kStatusLayerName, current_layer_name(doc));
    if (!(doc.flags & kDocOnlyCurrentLayer)) return;
    const RECT* r = reinterpret_cast<const RECT*>(lparam);
    doc.update_rect = r ? *r : RECT{0, 0, picture_width(doc), picture_height(doc)};
    recomposite(doc);
    present_view(doc);
    zoom_notice();
}

// ---- Commands ----

using Command = void (*)(HWND wnd, PictureDocument& doc, UINT id);

void close_command(HWND wnd, PictureDocument& doc, UINT) {
    if (doc.flags & kDocModified) {
        // The question names the file in the program's code page; its own
        // words are fixed Japanese text, so it is asked in UTF-16.
        wchar_t name[kFileNameSize];
        if (!MultiByteToWideChar(CP_ACP, 0, doc.file_name, -1, name, kFileNameSize)) name[0] = 0;
        std::wstring text = std::wstring(name) +
                            L"\n\n\u7d75\u304c\u66f4\u65b0\u3055\u308c\u3066\u3044\u307e\u3059"
                            L"\uff0e\n\u9589\u3058\u308b\u524d\u306b\u4fdd\u5b58\u3057\u307e"
                            L"\u3059\u304b\uff1f";
        const int answer = MessageBoxW(nullptr, text.c_str(), L"\u7d75\u3092\u9589\u3058\u308b",
                                       MB_YESNOCANCEL | MB_ICONQUESTION);
        if (answer == IDCANCEL) return;
        if (answer == IDYES && !SendMessageA(shell_windows().frame, kMsgSavePicture,
                                             kSaveAskOverwrite, reinterpret_cast<LPARAM>(&doc)))
            return;
    }
    if (doc.flags & kDocNamed)
        SendMessageA(shell_windows().frame, kMsgAddRecentFile, 0,
                     reinterpret_cast<LPARAM>(doc.file_name));
    if (shell_windows().animation_view) DestroyWindow(shell_windows().animation_view);
    SendMessageA(shell_windows().mdi_client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(wnd), 0);
}

void undo_command(HWND wnd, PictureDocument& doc, UINT) {
    undo_exchange(doc);
    recomposite(doc);
    present_view(doc);
    zoom_notice();
    send_if_open(shell_windows().palette_window, kMsgPaletteChanged, 0,
                 reinterpret_cast<LPARAM>(&doc));
    send_to_canvas(wnd, kMsgDropFloating);
}

void toggle_command(HWND, PictureDocument& doc, UINT id) {
    for (const Toggle& t : kToggles) {
        if (t.command != id) continue;
        const bool on = !(doc.flags & t.flag);
        // Keying off lets the key colour be painted: what the other layers
        // hold now is what Undo must come back to.
        if (id == CMD_ENABLE_KEYCOLOR && !on) settle_undo_copies(doc);
        doc.flags ^= t.flag;
        if (id == CMD_ONLY_CURRENT_LAYER)
            show_layer_below_item(doc);
        else
            check_menu(id, on);
        if (t.redraw == Toggle::full) {
            full_redraw(doc);
            zoom_notice();
        } else if (t.redraw == Toggle::view) {
            present_view(doc);
        }
        return;
    }
}

void picture_view_command(HWND wnd, PictureDocument& doc, UINT) {
    doc.flags &= ~kDocMaskView;
    check_menu(CMD_VIEW_PICTURE, true);
    check_menu(CMD_VIEW_MASK, false);
    full_redraw(doc);
    zoom_notice();
    send_to_canvas(wnd, kMsgDropFloating);
}

void mask_view_command(HWND wnd, PictureDocument& doc, UINT) {
    doc.flags |= kDocMaskView;
    check_menu(CMD_VIEW_MASK, true);
    check_menu(CMD_VIEW_PICTURE, false);
    full_redraw(doc);
    drawing_colours_changed(doc);
    update_palette(doc);
    send_if_open(shell_windows().palette_window, kMsgColourViews);
    zoom_notice();
    send_to_canvas(wnd, kMsgDropFloating);
}

void mirror_command(HWND, PictureDocument& doc, UINT id) {
    if (!reverse_picture(doc, id == CMD_MIRROR ? ReverseAxis::LeftRight : ReverseAxis::TopBottom))
        return;
    full_redraw(doc);
    zoom_notice();
}

void decrease_command(HWND wnd, PictureDocument& doc, UINT) {
    if (!decrease_colours_command(wnd, doc)) return;
    send_if_open(shell_windows().palette_window, kMsgPaletteChanged, 0,
                 reinterpret_cast<LPARAM>(&doc));
    full_redraw(doc);
    zoom_notice();
}

void zoom_rate_command(HWND wnd, PictureDocument& doc, UINT id) {
    relayout_for_zoom(wnd, doc, kZoomRates[id - CMD_ZOOM_RATE_FIRST]);
    present_view(doc);
    update_scroll_bars(wnd);
    send_if_open(shell_windows().zoom_window, kMsgZoomLayout, 1);
}

// One row a command; the numbered families (zoom rates) are one row with
// their last id.
struct DocumentCommand {
    UINT id;
    Command run;   // null: routed here, but not built yet
    UINT last = 0; // a family's last id; 0 for a single command
};

constexpr DocumentCommand kCommands[] = {
    {CMD_CLOSE, close_command},
    {CMD_UNDO, undo_command},
    {CMD_COPY, copy_command},
    {CMD_PASTE, paste_command},
    {CMD_CUT, cut_command},
    {CMD_DELETE, delete_command},
    {CMD_NEW_LAYER_WITH_COLOR, colour_to_layer_command},
    {CMD_ADD_COLOR_TO_LAYER, colour_to_layer_command},
    {CMD_MASK_ON, toggle_command},
    {CMD_VIEW_PICTURE, picture_view_command},
    {CMD_VIEW_MASK, mask_view_command},
    {CMD_MIRROR, mirror_command},
    {CMD_FLIP, mirror_command},
    {CMD_CLEAR_MASK, mask_plane_command},
    {CMD_INVERT_MASK, mask_plane_command},
    {CMD_MASK_WITH_COLOR, colour_mask_command},
    {CMD_NEW_LAYER_WITH_AREA, area_to_layer_command},
    {CMD_ADD_COLOR_TO_MASK, colour_mask_command},
    {CMD_ADD_AREA_TO_LAYER, area_to_layer_command},
    {CMD_PASTE_FROM_FILE, paste_from_file_command},
    {CMD_COPY_TO_FILE, copy_to_file_command},
    {CMD_OVERLAP_MASK, toggle_command},
    {CMD_ENABLE_KEYCOLOR, toggle_command},
    {CMD_MOVE_ALL_LAYERS, toggle_command},
    {CMD_COPY_TO_SCRAPBOOK, copy_to_scrapbook_command},
    {CMD_PASTE_FROM_SCRAPBOOK, paste_from_scrapbook_command},
    {CMD_MASK_WITH_OTHER_COLORS, colour_mask_command},
    {CMD_RESIZE_AREA, resize_area_command},
    {CMD_ADD_OTHER_COLORS_TO_MASK, colour_mask_command},
    {CMD_SELECT_ALL, select_all_command},
    {CMD_AREA_TO_ANIMATION, animation_area_command},
    {CMD_DECREASE_COLORS, decrease_command},
    {CMD_MOVE_WITH_MASK, toggle_command},
    {CMD_SNAP_TO_GRID, toggle_command},
    {CMD_GRID, toggle_command},
    {CMD_RESIZE_PICTURE, resize_picture_command},
    {CMD_ONLY_CURRENT_LAYER, toggle_command},
    {CMD_WITH_LAYER_BELOW, toggle_command},
    {CMD_ZOOM_RATE_FIRST, zoom_rate_command, CMD_ZOOM_RATE_LAST},
};

// False for commands that are not the document's (default processing).
bool run_command(HWND wnd, PictureDocument& doc, UINT id) {
    for (const DocumentCommand& c : kCommands) {
        if (id < c.id || id > std::max(c.id, c.last)) continue;
        if (c.run) c.run(wnd, doc, id);
        return true;
    }
    return false;
}

LPARAM shifted_to_canvas(const PictureDocument& doc, LPARAM lparam) {
    return MAKELPARAM(short(LOWORD(lparam)) - doc.canvas_left,
                      short(HIWORD(lparam)) - doc.canvas_top);
}

// The messages that need the document; false sends the message on to the
// default MDI child processing.
bool handle(HWND wnd, PictureDocument& doc, UINT msg, WPARAM wparam, LPARAM lparam,
            LRESULT& result) {
    result = 0;
    switch (msg) {
    case WM_SIZE:
        on_size(wnd, doc, wparam, lparam);
        return false;
    case WM_HSCROLL:
    case WM_VSCROLL:
        return on_scroll(wnd, doc, msg == WM_HSCROLL ? SB_HORZ : SB_VERT, wparam);
    case WM_MOUSEWHEEL:
        on_wheel(wnd, doc, wparam, lparam);
        return true;
    case WM_MOUSEMOVE:
        send_to_canvas(wnd, WM_MOUSEMOVE, 0, shifted_to_canvas(doc, lparam));
        return true;
    case WM_LBUTTONDOWN:
        send_to_canvas(wnd, WM_LBUTTONDOWN, wparam, shifted_to_canvas(doc, lparam));
        return true;
    case WM_MDIACTIVATE:
        if (reinterpret_cast<HWND>(lparam) == wnd) on_activated(doc);
        send_to_canvas(wnd, kMsgDocumentActivated, wparam, lparam);
        return true;
    case WM_PALETTECHANGED:
        if (reinterpret_cast<HWND>(wparam) != wnd) on_palette_changed(doc);
        return false;
    case kMsgPaletteChanged:
        palette_changed(doc, wparam);
        send_to_canvas(wnd, msg, wparam, lparam);
        return true;
    case kMsgColourViews:
    case kMsgDeactivateTool:
    case kMsgLayerChanging:
        send_to_canvas(wnd, msg, wparam, lparam);
        return true;
    case kMsgLayerChanged:
        on_layer_changed(wnd, doc, wparam, lparam);
        return true;
    case kMsgRedrawPicture: {
        const RECT* r = reinterpret_cast<const RECT*>(lparam);
        doc.update_rect = r ? *r : RECT{0, 0, picture_width(doc), picture_height(doc)};
        recomposite(doc);
        present_view(doc);
        return true;
    }
    case kMsgActivateTool:
        if (&doc == active_document()) settle_undo_copies(doc);
        set_status_text(kStatusToolHint, current_tool_hint());
        set_status_text(kStatusSelection, "");
        send_to_canvas(wnd, msg, wparam, lparam);
        return true;
    case WM_COMMAND:
        return run_command(wnd, doc, LOWORD(wparam));
    }
    return false;
}

} // namespace

LRESULT CALLBACK VLDIBWndProc(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    switch (msg) {
    case WM_CREATE:
        return on_create(wnd, reinterpret_cast<const CREATESTRUCTA*>(lparam));
    case WM_DESTROY:
        on_destroy(wnd);
        return 0;
    case WM_SETFOCUS:
        if (reinterpret_cast<HWND>(wparam) != wnd && canvas_of(wnd)) SetFocus(canvas_of(wnd));
        break;
    case WM_RBUTTONDOWN:
        if (canvas_of(wnd)) SetFocus(canvas_of(wnd));
        return 0;
    case WM_SYSCOMMAND:
        if ((wparam & 0xFFF0) == SC_CLOSE) {
            SendMessageA(wnd, WM_COMMAND, CMD_CLOSE, 0);
            return 0;
        }
        break;
    default:
        if (PictureDocument* doc = document_of(wnd)) {
            LRESULT result;
            if (handle(wnd, *doc, msg, wparam, lparam, result)) return result;
        } else if (msg == WM_MDIACTIVATE) {
            return 0;
        }
    }
    return DefMDIChildProcA(wnd, msg, wparam, lparam);
}

namespace {

// The thumb is as long, against the bar, as the part of the picture shown.
void set_scroll_bar(HWND wnd, int bar, int origin, int visible, int extent) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMax = extent - 1;
    info.nPage = UINT(visible);
    info.nPos = origin;
    SetScrollInfo(wnd, bar, &info, TRUE);
}

} // namespace

void update_scroll_bars(HWND wnd) {
    PictureDocument* doc = document_of(wnd);
    if (!doc) return;
    const int width = picture_width(*doc), height = picture_height(*doc);
    if (doc->visible_width < width) {
        set_scroll_bar(wnd, SB_HORZ, doc->view_origin_x, doc->visible_width, width);
    } else {
        SetScrollRange(wnd, SB_HORZ, 0, 0, TRUE);
        // The bar's room may have gone to the client area.
        lay_out_for_client(wnd, *doc);
    }
    if (doc->visible_height < height)
        set_scroll_bar(wnd, SB_VERT, doc->view_origin_y, doc->visible_height, height);
    else
        SetScrollRange(wnd, SB_VERT, 0, 0, TRUE);
}

void relayout_for_zoom(HWND wnd, PictureDocument& doc, int zoom) {
    const int index = zoom_index(zoom);
    if (index < 0) return;
    for (UINT id = CMD_ZOOM_RATE_FIRST; id <= CMD_ZOOM_RATE_LAST; ++id)
        check_menu(id, false);
    doc.zoom = zoom;
    RECT canvas{};
    if (HWND c = canvas_of(wnd)) GetClientRect(c, &canvas);
    layout_view(doc, canvas.right, canvas.bottom);
    check_menu(CMD_ZOOM_RATE_FIRST + UINT(index), true);
    lay_out_for_client(wnd, doc);
    move_canvas(wnd, doc);
}

void lay_out_again(HWND wnd) {
    PictureDocument* doc = document_of(wnd);
    if (!doc) return;
    lay_out_for_client(wnd, *doc);
    update_scroll_bars(wnd);
    move_canvas(wnd, *doc);
    present_view(*doc);
    send_if_open(shell_windows().zoom_window, kMsgZoomLayout, 0);
}

void full_redraw(PictureDocument& doc) {
    doc.update_rect = {0, 0, picture_width(doc), picture_height(doc)};
    recomposite(doc);
    present_view(doc);
}
