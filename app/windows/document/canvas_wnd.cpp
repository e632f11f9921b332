#include "app/windows/document/canvas_wnd.h"

#include "app/windows/document/canvas_present.h"
#include "app/tools/canvas_steps.h"
#include "app/windows/document/canvas_tools.h"
#include "app/windows/document/lettering.h"
#include "app/document/composite.h"
#include "app/tools/drawing.h"
#include "app/tools/pen_call.h"
#include "app/tools/view.h"
#include "app/resources/resource_ids.h"
#include "app/session/addin_host.h"
#include "app/session/outside_text_wide.h"
#include "app/session/shell_state.h"
#include "app/session/tool_protocol.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <utility>

namespace {

bool key_held(int key) {
    return GetKeyState(key) < 0;
}

const ToolEntry* tool_entry(int tool) {
    const ToolTable& tools = addin_host().tools;
    return tool >= 0 && tool < tools.count ? &tools.entries[tool] : nullptr;
}

int current_tool() {
    return shell_state().current_tool;
}

bool is_pen_type(int tool) {
    const ToolEntry* e = tool_entry(tool);
    return e && (e->flags & kToolPenType);
}

int call_tool(HWND canvas, int tool, UINT msg, WPARAM wparam, LPARAM lparam, PictureDocument& doc) {
    const ToolEntry* e = tool_entry(tool);
    if (!e) return 0;
    if (e->pen)
        return call_addin_pen(e->pen, canvas, msg, wparam, lparam, doc, doc.window_dc,
                              shell_state().shape_mode);
    return e->handler(canvas, msg, wparam, lparam, &doc);
}

// Acts on the notification bits the message raised, then clears them.
void end_message(PictureDocument& doc) {
    const ShellWindows& w = shell_windows();
    const MessageEnd end = end_of_message(doc, w.palette_window != nullptr);
    if (end.present) present_update(doc);
    if (end.zoom_window) send_if_open(w.zoom_window, kMsgZoomRefresh);
    if (end.tool_and_zoom) {
        send_if_open(w.tool_window, kMsgColourViews);
        send_if_open(w.zoom_window, kMsgColourViews);
    }
    if (end.palette) send_if_open(w.palette_window, kMsgColourViews);
    if (end.palette_tone_step)
        send_if_open(w.palette_window, WM_HSCROLL,
                     end.palette_tone_step > 0 ? SB_LINELEFT : SB_LINERIGHT);
}

POINT mapped(const PictureDocument& doc, LPARAM lparam) {
    return canvas_to_picture(doc, short(LOWORD(lparam)), short(HIWORD(lparam)));
}

POINT snapped(const PictureDocument& doc, POINT p) {
    return (doc.flags & kDocSnapToGrid) ? snap_to_grid(doc, p) : p;
}

void tell_mini_zoomer(WPARAM wparam, LPARAM lparam) {
    send_if_open(shell_windows().mini_zoomer, kMsgMousePosition, wparam, lparam);
}

bool is_empty(const RECT& r) {
    return r.right <= r.left || r.bottom <= r.top;
}

// ---- Mouse ----

LRESULT on_left_down(HWND wnd, WPARAM wparam, LPARAM lparam) {
    SetCapture(wnd);
    PictureDocument* doc = active_document();
    if (!doc) return 0;
    if (GetFocus() != wnd) SetFocus(wnd);
    const int tool = current_tool();
    const ToolEntry* entry = tool_entry(tool);
    if (tool != kToolZoom && tool != kToolScroller && entry && tool_has_work(*entry)) {
        take_undo_copy(*current_layer(*doc));
        doc->flags |= kDocModified;
    }
    doc->current_point = snapped(*doc, mapped(*doc, lparam));
    if (is_pen_type(tool)) doc->anchor_point = doc->current_point;
    recomposite(*doc);
    if (key_held('R')) {
        call_tool(wnd, tool, kMsgDeactivateTool, WPARAM(kToolScroller), kDeactivateOnlyPreviews,
                  *doc);
        call_tool(wnd, kToolScroller, WM_LBUTTONDOWN, wparam, lparam, *doc);
    } else {
        if (key_held(VK_SPACE))
            call_tool(wnd, (wparam & MK_CONTROL) ? kToolZoom : kToolScroller, WM_LBUTTONDOWN,
                      wparam, lparam, *doc);
        call_tool(wnd, tool, WM_LBUTTONDOWN, wparam, lparam, *doc);
    }
    doc->previous_point = doc->current_point;
    end_message(*doc);
    return 0;
}

// A left drag: false when the move ends here (without reaching the tool).
bool left_drag(HWND wnd, PictureDocument& doc, int tool, WPARAM wparam, LPARAM lparam) {
    if (GetCapture() != wnd) return false;
    if (key_held('R')) {
        tell_mini_zoomer(wparam, lparam);
        call_tool(wnd, tool, kMsgDeactivateTool, WPARAM(kToolScroller), kDeactivateOnlyPreviews,
                  doc);
        call_tool(wnd, kToolScroller, WM_MOUSEMOVE, wparam, lparam, doc);
        doc.previous_point = doc.current_point;
        end_message(doc);
        return false;
    }
    if (key_held(VK_SPACE)) {
        if (!(wparam & MK_CONTROL))
            call_tool(wnd, kToolScroller, WM_MOUSEMOVE, wparam, lparam, doc);
        return false;
    }
    if (!is_pen_type(tool)) return true;
    tell_mini_zoomer(wparam, lparam);
    const DragStep step =
        pen_type_move(doc, shell_state().shape_mode, tool_entry(tool)->flags & kToolRecordPoints);
    if (!is_empty(step.present)) present_rect(doc, step.present);
    return step.call_tool;
}

LRESULT on_move(HWND wnd, WPARAM wparam, LPARAM lparam) {
    if (GetFocus() != wnd) return 0;
    PictureDocument* doc = active_document();
    if (!doc) return 0;
    const bool left = wparam & MK_LBUTTON, right = wparam & MK_RBUTTON;
    POINT p = mapped(*doc, lparam);
    if (!right) p = snapped(*doc, p);
    if (left && (wparam & MK_SHIFT))
        p = constrain_point(shell_state().shape_mode, doc->anchor_point, p);
    char text[40];
    std::snprintf(text, sizeof text, "( %4d , %4d )", int(p.x), int(p.y));
    set_status_text(kStatusPosition, text);
    doc->current_point = p;
    const int tool = current_tool();
    if (left) {
        if (!left_drag(wnd, *doc, tool, wparam, lparam)) return 0;
    } else {
        tell_mini_zoomer(wparam, lparam);
        const ToolEntry* e = tool_entry(tool);
        if (right && tool >= kFirstDrawingTool)
            pick_colour(*doc, p.x, p.y, wparam & MK_SHIFT);
        else if (!right && e && e->preview)
            present_rect(*doc, draw_footprint(*doc, p.x, p.y));
    }
    call_tool(wnd, tool, WM_MOUSEMOVE, wparam, lparam, *doc);
    doc->previous_point = doc->current_point;
    end_message(*doc);
    return 0;
}

LRESULT on_left_up(HWND wnd, WPARAM wparam, LPARAM lparam) {
    if (GetFocus() != wnd || key_held(VK_SPACE)) return 0;
    PictureDocument* doc = active_document();
    if (!doc) return 0;
    POINT p = snapped(*doc, mapped(*doc, lparam));
    if (wparam & MK_SHIFT) p = constrain_point(shell_state().shape_mode, doc->anchor_point, p);
    doc->current_point = p;
    if (GetCapture() != wnd) return 0;
    ReleaseCapture();
    const int tool = current_tool();
    bool call = true;
    if (is_pen_type(tool)) {
        const DragStep step = pen_type_release(*doc, shell_state().shape_mode,
                                               tool_entry(tool)->flags & kToolRecordPoints);
        if (!is_empty(step.present)) present_rect(*doc, step.present);
        call = step.call_tool;
    }
    if (call) call_tool(wnd, tool, WM_LBUTTONUP, wparam, lparam, *doc);
    doc->previous_point = doc->current_point;
    end_message(*doc);
    doc->update_rect = {p.x, p.y, p.x, p.y};
    return 0;
}

// A press while another window (a dialog-bar control, say) has the focus
// takes the focus and picks all the same: the user aimed at a colour.
LRESULT on_right_down(HWND wnd, WPARAM wparam, LPARAM lparam) {
    if (GetFocus() != wnd) SetFocus(wnd);
    PictureDocument* doc = active_document();
    if (!doc) return 0;
    const POINT p = mapped(*doc, lparam);
    doc->current_point = p;
    const int tool = current_tool();
    const ToolEntry* e = tool_entry(tool);
    if (!(wparam & MK_LBUTTON) && e && e->preview) {
        // The footprint goes from the composite and from the screen.
        const RECT footprint = doc->update_rect;
        recomposite(*doc);
        present_rect(*doc, footprint);
    }
    if (key_held(VK_SPACE) && (wparam & MK_CONTROL)) {
        call_tool(wnd, kToolZoom, WM_RBUTTONDOWN, wparam, lparam, *doc);
        return 0;
    }
    if (tool >= kFirstDrawingTool) pick_colour(*doc, p.x, p.y, wparam & MK_SHIFT);
    call_tool(wnd, tool, WM_RBUTTONDOWN, wparam, lparam, *doc);
    doc->flags |= kNotifyColourViews;
    end_message(*doc);
    return 0;
}

// Ctrl and the wheel zoom about the pointer; lparam is a screen point.
void on_wheel(HWND wnd, int delta, LPARAM lparam) {
    PictureDocument* doc = active_document();
    if (!doc || delta == 0) return;
    POINT p{short(LOWORD(lparam)), short(HIWORD(lparam))};
    ScreenToClient(wnd, &p);
    zoom_about(wnd, *doc, p.x, p.y, delta > 0);
}

// ---- Keys ----

void colours_changed(PictureDocument& doc) {
    drawing_colours_changed(doc);
    doc.flags |= kNotifyColourViews;
    end_message(doc);
}

void step_tone(PictureDocument& doc, int step) {
    if (HWND palette = shell_windows().palette_window) {
        SendMessageA(palette, WM_HSCROLL, step > 0 ? SB_LINERIGHT : SB_LINELEFT, 0);
        return;
    }
    doc.tone_level = std::clamp(doc.tone_level + step, 0, 16);
    colours_changed(doc);
}

// The dialog bar's zoom box moves one entry and tells the bar, which sends
// the zoom command to the active picture.
void step_zoom_box(int step) {
    HWND bar = shell_windows().dialog_bar;
    HWND box = bar ? GetDlgItem(bar, IDC_BAR_ZOOM) : nullptr;
    if (!box) return;
    const LRESULT index = SendMessageA(box, CB_GETCURSEL, 0, 0) + step;
    if (index < 0 || index >= SendMessageA(box, CB_GETCOUNT, 0, 0)) return;
    SendMessageA(box, CB_SETCURSEL, WPARAM(index), 0);
    SendMessageA(bar, WM_COMMAND, MAKEWPARAM(IDC_BAR_ZOOM, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(box));
}

void scroll_parent(HWND wnd, UINT msg, int line_code, int page_code) {
    SendMessageA(GetParent(wnd), msg, key_held(VK_SHIFT) ? page_code : line_code, 0);
}

// Keys that type into Lettering's text rather than change colours.
bool types_text(WPARAM key) {
    return (key >= VK_NUMPAD0 && key <= VK_NUMPAD9) || key == VK_DIVIDE;
}

// False for the keys that go to the current tool.
bool on_key(HWND wnd, PictureDocument& doc, WPARAM key) {
    if (current_tool() == kToolLettering && lettering_takes_keys() && types_text(key)) return false;
    const bool ctrl = key_held(VK_CONTROL);
    const Layer* layer = current_layer(doc);
    int& arrow_colour = (ctrl || key_held(VK_NUMPAD0)) ? doc.right_colour : doc.left_colour;
    switch (key) {
    case VK_TAB:
    case VK_DIVIDE:
        std::swap(doc.left_colour, doc.right_colour);
        break;
    case VK_PRIOR:
        ctrl ? step_current_pen(doc, 1) : step_tone(doc, 1);
        return true;
    case VK_NEXT:
        ctrl ? step_current_pen(doc, -1) : step_tone(doc, -1);
        return true;
    case VK_LEFT:
        scroll_parent(wnd, WM_HSCROLL, SB_LINELEFT, SB_PAGELEFT);
        return true;
    case VK_RIGHT:
        scroll_parent(wnd, WM_HSCROLL, SB_LINERIGHT, SB_PAGERIGHT);
        return true;
    case VK_UP:
        scroll_parent(wnd, WM_VSCROLL, SB_LINEUP, SB_PAGEUP);
        return true;
    case VK_DOWN:
        scroll_parent(wnd, WM_VSCROLL, SB_LINEDOWN, SB_PAGEDOWN);
        return true;
    case VK_ADD:
    case VK_OEM_PLUS:
        if (!ctrl) return false;
        step_zoom_box(1);
        return true;
    case VK_INSERT:
    case VK_SUBTRACT:
        if (!ctrl) return false;
        step_zoom_box(-1);
        return true;
    case VK_NUMPAD1:
        doc.left_colour = layer->key_colour;
        break;
    case VK_NUMPAD3:
        doc.right_colour = layer->key_colour;
        break;
    case VK_NUMPAD7:
        doc.left_colour = layer->background_colour;
        break;
    case VK_NUMPAD9:
        doc.right_colour = layer->background_colour;
        break;
    case VK_NUMPAD4:
        arrow_colour -= 1;
        break;
    case VK_NUMPAD6:
        arrow_colour += 1;
        break;
    case VK_NUMPAD8:
        arrow_colour -= 16;
        break;
    case VK_NUMPAD2:
        arrow_colour += 16;
        break;
    default:
        return false;
    }
    colours_changed(doc);
    return true;
}

// ---- Messages from other windows ----

LRESULT convert_point(const PictureDocument& doc, UINT msg, WPARAM wparam, LPARAM lparam) {
    auto* x = reinterpret_cast<int*>(wparam);
    auto* y = reinterpret_cast<int*>(lparam);
    if (!x || !y) return 0;
    const POINT p = msg == kMsgPictureToCanvas ? picture_to_canvas(doc, *x, *y)
                                               : canvas_to_picture(doc, *x, *y);
    *x = p.x;
    *y = p.y;
    return 1;
}

LRESULT on_document_message(HWND wnd, PictureDocument& doc, UINT msg, WPARAM wparam,
                            LPARAM lparam) {
    const RECT* r = reinterpret_cast<const RECT*>(lparam);
    switch (msg) {
    case kMsgPictureToCanvas:
    case kMsgCanvasToPicture:
        return convert_point(doc, msg, wparam, lparam);
    case kMsgRecomposite:
        doc.update_rect = r ? *r : RECT{0, 0, picture_width(doc), picture_height(doc)};
        recomposite(doc);
        return 1;
    case kMsgPresent:
        if (r) doc.update_rect = *r;
        present_update(doc);
        return 1;
    case kMsgPenCallBlock: {
        auto** out = reinterpret_cast<PenCallBlock**>(lparam);
        if (!out) return 0;
        fill_pen_call_block(doc, canvas_state().block, doc.window_dc, shell_state().shape_mode);
        *out = &canvas_state().block;
        return 1;
    }
    }
    // Everything else is the current tool's.
    const LRESULT result = call_tool(wnd, current_tool(), msg, wparam, lparam, doc);
    end_message(doc);
    return result;
}

bool needs_document(UINT msg) {
    switch (msg) {
    case kMsgDocumentActivated:
    case kMsgPaletteChanged:
    case kMsgColourViews:
    case kMsgLayerChanged:
    case kMsgRedrawPicture:
    case kMsgDeactivateTool:
    case kMsgActivateTool:
    case kMsgDropFloating:
    case kMsgLayerChanging:
    case kMsgToolCommand:
    case kMsgPictureToCanvas:
    case kMsgCanvasToPicture:
    case kMsgRecomposite:
    case kMsgPresent:
    case kMsgPenCallBlock:
    case WM_KEYUP:
    case WM_CHAR:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_RBUTTONUP:
        return true;
    }
    return false;
}

// Each canvas paints its own picture, so tiled windows all show theirs.
void on_paint(HWND wnd) {
    PAINTSTRUCT ps;
    BeginPaint(wnd, &ps);
    if (PictureDocument* doc = document_of(GetParent(wnd))) present_view(*doc);
    EndPaint(wnd, &ps);
    // The zoom window's view-area mark lies over the canvas: painting wiped
    // it where the canvas had been covered.
    send_if_open(shell_windows().zoom_window, kMsgZoomLayout, 0);
}

bool on_set_cursor(HWND wnd, WPARAM wparam, LPARAM lparam) {
    if (reinterpret_cast<HWND>(wparam) != wnd || LOWORD(lparam) != HTCLIENT) return false;
    const ToolEntry* e = tool_entry(current_tool());
    SetCursor(e && e->cursor ? e->cursor : LoadCursorA(nullptr, IDC_ARROW));
    return true;
}

} // namespace

CanvasState& canvas_state() {
    static CanvasState state;
    return state;
}

void set_status_text(int part, const char* text) {
    HWND bar = shell_windows().status_bar;
    if (!bar) return;
    const std::wstring wide = widen_outside_text(text);
    SendMessageW(bar, SB_SETTEXTW, WPARAM(part), reinterpret_cast<LPARAM>(wide.c_str()));
}

LRESULT CALLBACK VLDIBDispWndProc(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    switch (msg) {
    case WM_PAINT:
        on_paint(wnd);
        return 0;
    case WM_SETCURSOR:
        if (on_set_cursor(wnd, wparam, lparam)) return TRUE;
        break;
    case WM_LBUTTONDOWN:
        return on_left_down(wnd, wparam, lparam);
    case WM_MOUSEMOVE:
        return on_move(wnd, wparam, lparam);
    case WM_LBUTTONUP:
        return on_left_up(wnd, wparam, lparam);
    case WM_RBUTTONDOWN:
        return on_right_down(wnd, wparam, lparam);
    case WM_MOUSEWHEEL:
        if (!(GET_KEYSTATE_WPARAM(wparam) & MK_CONTROL)) break;
        on_wheel(wnd, GET_WHEEL_DELTA_WPARAM(wparam), lparam);
        return 0;
    case kMsgStatusText:
        set_status_text(int(wparam), reinterpret_cast<const char*>(lparam));
        return 0;
    case WM_KEYDOWN: {
        PictureDocument* doc = active_document();
        if (doc && on_key(wnd, *doc, wparam)) return 0;
        if (doc) return on_document_message(wnd, *doc, msg, wparam, lparam);
        return 0;
    }
    default:
        if (msg != 0 && msg == shell_state().wheel_message && key_held(VK_CONTROL)) {
            on_wheel(wnd, int(short(wparam)), lparam);
            return 0;
        }
        if (needs_document(msg)) {
            PictureDocument* doc = active_document();
            return doc ? on_document_message(wnd, *doc, msg, wparam, lparam) : 0;
        }
    }
    return DefWindowProcA(wnd, msg, wparam, lparam);
}
