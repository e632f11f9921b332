#include "app/windows/tool/tool_wnd.h"

#include "app/resources/resource_ids.h"
#include "app/session/addin_host.h"
#include "app/session/pen_slots.h"
#include "app/session/settings.h"
#include "app/session/shell_state.h"
#include "app/session/tool_layout.h"

#include <commctrl.h>

#include <iterator>

namespace {

constexpr int kInitialWidth = 40;
constexpr int kInitialHeight = 200;
// The frame pictures are 24 x 24; a tool's or a shape's picture, 20 x 20,
// sits inside at (2, 2).
constexpr int kFrameSide = 24;
constexpr int kPictureInset = 2;
constexpr int kPictureSide = 20;
constexpr int kSwatchSide = 16;
// Without a window manager, Wine raises the frame's X window once more after
// the frame has been shown, above the tool window that the Win32 rules keep
// above its owner; a moment later the tool window goes on top again.
constexpr UINT_PTR kRaiseTimer = 1;
constexpr UINT kRaiseDelay = 1000;

struct ShapeButton {
    int mode;
    const char* picture;
};

constexpr ShapeButton kShapes[] = {
    {kShapeFreeHand, "TOOL_FREE_BUTTON"},
    {kShapeLine, "TOOL_LINE_BUTTON"},
    {kShapeRectangle, "TOOL_RECT_BUTTON"},
    {kShapeEllipse, "TOOL_CIRCLE_BUTTON"},
    {kShapeFilledRectangle, "TOOL_RECT_FILL_BUTTON"},
    {kShapeFilledEllipse, "TOOL_CIRCLE_FILL_BUTTON"},
};

// Loaded while the window exists. The tools' own pictures belong to the
// tool table.
struct Pictures {
    HBITMAP frame_on = nullptr;
    HBITMAP frame_off = nullptr;
    HBITMAP shapes[std::size(kShapes)] = {};
};
Pictures pictures;

int tool_count() {
    return addin_host().tools.count;
}

bool is_tool_button(int id) {
    return id >= CMD_TOOL_FIRST && id < CMD_TOOL_FIRST + tool_count();
}

bool is_shape_button(int id) {
    return id >= kShapeFreeHand && id <= kShapeFilledEllipse;
}

void load_pictures() {
    HINSTANCE instance = shell_windows().instance;
    pictures.frame_on = LoadBitmapA(instance, "TOOL_BUTTON_ON");
    pictures.frame_off = LoadBitmapA(instance, "TOOL_BUTTON_OFF");
    for (std::size_t i = 0; i < std::size(kShapes); ++i)
        pictures.shapes[i] = LoadBitmapA(instance, kShapes[i].picture);
}

void free_pictures() {
    DeleteObject(pictures.frame_on);
    DeleteObject(pictures.frame_off);
    for (HBITMAP shape : pictures.shapes)
        DeleteObject(shape);
    pictures = Pictures{};
}

void add_control(HWND wnd, const char* cls, DWORD style, int id, const RECT& r) {
    CreateWindowExA(0, cls, "", WS_CHILD | WS_VISIBLE | style, r.left, r.top, r.right - r.left,
                    r.bottom - r.top, wnd, reinterpret_cast<HMENU>(INT_PTR(id)),
                    shell_windows().instance, nullptr);
}

void add_button(HWND wnd, int id, const RECT& r) {
    add_control(wnd, "BUTTON", BS_OWNERDRAW, id, r);
}

void on_create(HWND wnd) {
    load_pictures();
    const int n = tool_count();
    for (int t = 0; t < n; ++t)
        add_button(wnd, CMD_TOOL_FIRST + t, tool_button_rect(t));
    for (const ShapeButton& s : kShapes)
        add_button(wnd, s.mode, shape_button_rect(n, s.mode));
    add_button(wnd, kPenButton, tool_control_rect(n, kPenButton));
    for (int id = kFirstSwatch; id <= kLastSwatch; ++id)
        add_button(wnd, id, tool_control_rect(n, ToolWindowControl(id)));
    // No buddy: the position arrives with WM_VSCROLL.
    add_control(wnd, UPDOWN_CLASSA, 0, kPenNumber, tool_control_rect(n, kPenNumber));
    SendDlgItemMessageA(wnd, kPenNumber, UDM_SETRANGE32, 0, kPenSlotCount - 1);
}

void redraw(HWND wnd, int id) {
    if (HWND control = GetDlgItem(wnd, id)) InvalidateRect(control, nullptr, FALSE);
}

void redraw_swatches(HWND wnd) {
    for (int id = kFirstSwatch; id <= kLastSwatch; ++id)
        redraw(wnd, id);
}

void redraw_tool_buttons(HWND wnd) {
    for (int t = 0; t < tool_count(); ++t)
        redraw(wnd, CMD_TOOL_FIRST + t);
}

void show_pen(HWND wnd, const PictureDocument* doc) {
    if (doc) SendDlgItemMessageA(wnd, kPenNumber, UDM_SETPOS32, 0, doc->current_pen_index);
    redraw(wnd, kPenButton);
}

// ---- Drawing ----

void blit(HDC dc, int x, int y, int width, int height, HBITMAP picture) {
    if (!picture) return;
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ previous = SelectObject(source, picture);
    BitBlt(dc, x, y, width, height, source, 0, 0, SRCCOPY);
    SelectObject(source, previous);
    DeleteDC(source);
}

void draw_framed(HDC dc, bool on, HBITMAP picture) {
    blit(dc, 0, 0, kFrameSide, kFrameSide, on ? pictures.frame_on : pictures.frame_off);
    blit(dc, kPictureInset, kPictureInset, kPictureSide, kPictureSide, picture);
}

HBITMAP shape_picture(int mode) {
    for (std::size_t i = 0; i < std::size(kShapes); ++i)
        if (kShapes[i].mode == mode) return pictures.shapes[i];
    return nullptr;
}

// The document's colours are palette indexes: its palette stays selected in
// the button's DC while they are painted.
class DocumentPalette {
  public:
    DocumentPalette(HDC dc, const PictureDocument& doc) : dc_(dc) {
        if (!doc.palette) return;
        previous_ = SelectPalette(dc, doc.palette, TRUE);
        RealizePalette(dc);
    }
    ~DocumentPalette() {
        if (previous_) SelectPalette(dc_, previous_, TRUE);
    }
    DocumentPalette(const DocumentPalette&) = delete;
    DocumentPalette& operator=(const DocumentPalette&) = delete;

  private:
    HDC dc_;
    HPALETTE previous_ = nullptr;
};

void fill_index(HDC dc, const RECT& r, int index) {
    HBRUSH brush = CreateSolidBrush(PALETTEINDEX(WORD(index)));
    FillRect(dc, &r, brush);
    DeleteObject(brush);
}

void draw_swatch(HDC dc, const RECT& r, int id, const PictureDocument& doc) {
    DocumentPalette palette(dc, doc);
    const Layer* layer = current_layer(doc);
    switch (id) {
    case kMixSwatch:
        if (const Surface* mix = doc.colour_swatch) {
            BitBlt(dc, 0, 0, kSwatchSide, kSwatchSide, mix->dc, 0, 0, SRCCOPY);
            BitBlt(dc, 0, kSwatchSide, kSwatchSide, kSwatchSide, mix->dc, 0, 0, SRCCOPY);
        }
        break;
    case kLeftSwatch:
        fill_index(dc, r, doc.left_colour);
        break;
    case kRightSwatch:
        fill_index(dc, r, doc.right_colour);
        break;
    case kKeySwatch:
        if (layer) fill_index(dc, r, layer->key_colour);
        break;
    case kBackgroundSwatch:
        if (layer) fill_index(dc, r, layer->background_colour);
        break;
    }
}

void draw_item(const DRAWITEMSTRUCT& item) {
    const int id = int(item.CtlID);
    HDC dc = item.hDC;
    if (is_tool_button(id)) {
        const int tool = id - CMD_TOOL_FIRST;
        draw_framed(dc, tool == shell_state().current_tool,
                    addin_host().tools.entries[tool].button);
        return;
    }
    if (is_shape_button(id)) {
        draw_framed(dc, id == shell_state().shape_mode, shape_picture(id));
        return;
    }
    FillRect(dc, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
    const PictureDocument* doc = active_document();
    if (!doc) return;
    if (id == kPenButton) {
        if (doc->current_pen)
            BitBlt(dc, 0, 0, kPenSize, kPenSize, doc->current_pen->dc, 0, 0, SRCCOPY);
        return;
    }
    draw_swatch(dc, item.rcItem, id, *doc);
}

// ---- Choosing ----

void choose_shape(HWND wnd, int mode) {
    const int previous = shell_state().shape_mode;
    if (mode == previous) return;
    shell_state().shape_mode = mode;
    redraw(wnd, previous);
    redraw(wnd, mode);
}

void choose_pen(HWND wnd, int index) {
    PictureDocument* doc = active_document();
    if (!doc || index < 0 || index >= kPenSlotCount) return;
    doc->current_pen_index = index;
    doc->current_pen = pen_slots().slot[index];
    send_if_open(shell_windows().pen_window, kMsgPenChanged);
    redraw(wnd, kPenButton);
}

// The pen window opens where the frame opens it from its own button.
void open_pen_window() {
    const ShellWindows& w = shell_windows();
    if (!w.pen_window && active_document_window())
        SendMessageA(w.frame, WM_COMMAND, CMD_PEN_WINDOW, 0);
}

void on_command(HWND wnd, int id, int code) {
    if (is_tool_button(id) && code == BN_CLICKED) {
        // The frame changes tools for the menu and the keys as well.
        SendMessageA(shell_windows().frame, WM_COMMAND, WPARAM(id), 0);
    } else if (is_shape_button(id) && code == BN_CLICKED) {
        choose_shape(wnd, id);
    } else if (id == kPenButton && code == BN_DOUBLECLICKED) {
        open_pen_window();
    }
}

// Wine keeps the Win32 order and believes the window is already on top, so
// it would send the X server nothing: the window goes down once and up again.
void raise_above_owner(HWND wnd) {
    constexpr UINT kOrderOnly = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    SetWindowPos(wnd, HWND_BOTTOM, 0, 0, 0, 0, kOrderOnly);
    SetWindowPos(wnd, HWND_TOP, 0, 0, 0, 0, kOrderOnly);
}

void remember_position(HWND wnd) {
    RECT r;
    if (!GetWindowRect(wnd, &r)) return;
    settings().tool_left = r.left;
    settings().tool_top = r.top;
}

} // namespace

LRESULT CALLBACK VLToolWndProc(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    switch (msg) {
    case WM_CREATE:
        on_create(wnd);
        return 0;
    case WM_SIZE:
        if (wparam == SIZE_RESTORED) {
            const RECT client = tool_window_client(tool_count());
            fit_client_area(wnd, client.right, client.bottom);
        }
        return 0;
    case WM_DRAWITEM:
        draw_item(*reinterpret_cast<const DRAWITEMSTRUCT*>(lparam));
        return TRUE;
    case WM_COMMAND:
        on_command(wnd, LOWORD(wparam), HIWORD(wparam));
        return 0;
    case WM_VSCROLL:
        if (LOWORD(wparam) == SB_THUMBPOSITION) choose_pen(wnd, short(HIWORD(wparam)));
        return 0;
    case kMsgDocumentActivated:
        redraw_swatches(wnd);
        show_pen(wnd,
                 lparam ? reinterpret_cast<const PictureDocument*>(lparam) : active_document());
        return 0;
    case kMsgColourViews:
        send_if_open(active_document_window(), kMsgColourViews);
        redraw_swatches(wnd);
        return 0;
    case kMsgPaletteChanged:
    case kMsgLayerChanged:
        redraw_swatches(wnd);
        return 0;
    case kMsgPenChanged:
        show_pen(wnd, active_document());
        return 0;
    case kMsgActivateTool:
        redraw_tool_buttons(wnd);
        SendMessageA(shell_windows().frame, kMsgActivateTool, WPARAM(shell_state().current_tool),
                     0);
        return 0;
    case WM_SHOWWINDOW:
        if (wparam) SetTimer(wnd, kRaiseTimer, kRaiseDelay, nullptr);
        break;
    case WM_TIMER:
        if (wparam == kRaiseTimer) {
            KillTimer(wnd, kRaiseTimer);
            raise_above_owner(wnd);
        }
        return 0;
    case WM_DESTROY:
        remember_position(wnd);
        free_pictures();
        shell_windows().tool_window = nullptr;
        return 0;
    }
    return DefWindowProcA(wnd, msg, wparam, lparam);
}

HWND create_tool_window(HWND frame) {
    ShellWindows& w = shell_windows();
    const Settings& s = settings();
    w.tool_window = CreateWindowExA(
        WS_EX_TOOLWINDOW, kToolWindowClass, "tool", WS_POPUP | WS_CAPTION | WS_VISIBLE, s.tool_left,
        s.tool_top, kInitialWidth, kInitialHeight, frame, nullptr, w.instance, nullptr);
    return w.tool_window;
}
