#include "app/windows/document/lettering.h"

#include "app/windows/document/canvas_present.h"
#include "app/windows/document/canvas_wnd.h"
#include "app/windows/document/dib_wnd.h"
#include "app/windows/document/tool_dialogs.h"
#include "app/document/composite.h"
#include "app/tools/lettering_tool.h"
#include "app/tools/view.h"
#include "app/resources/resource_ids.h"
#include "app/resources/tool_dialog_ids.h"
#include "app/session/settings.h"
#include "app/session/shell_state.h"
#include "app/session/tool_protocol.h"
#include "app/session/tool_table.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int kStyleBold = 1, kStyleItalic = 2;
constexpr int kWeightBold = 700, kWeightNormal = 400;
constexpr int kEscapementPerDegree = 10;
struct Range {
    int least, most;
};
constexpr Range kSizes{1, 1024}, kAngles{-360, 360}, kSpacings{0, 1024};
// Text pixels in the stroke surface after rendering; everything else 0.
constexpr BYTE kTextMark = 255, kNoText = 0;

// ---- The text under edit (process-wide, as the dialog) ----

LetteringText text;
RECT box{};                             // the text box while placed
PictureDocument* preview_doc = nullptr; // the document whose composite shows it
HWND dialog = nullptr;
HWND receiver = nullptr; // the canvas told of dialog changes

bool lead_byte(BYTE b) {
    return IsDBCSLeadByte(b) != 0;
}

bool m_held() {
    return GetKeyState('M') < 0;
}

RECT presented(const RECT& r) {
    return {r.left, r.top, r.right + 1, r.bottom + 1};
}

// Removes the frame and the preview of the old box from the screen.
void remove_preview(PictureDocument& doc) {
    doc.flags &= ~kDocFloatingFrame;
    doc.update_rect = presented(box);
    recomposite(doc);
    present_rect(doc, presented(box));
}

// Whether doc is still one of the open pictures.
bool is_open(const PictureDocument* doc) {
    HWND client = shell_windows().mdi_client;
    for (HWND w = client ? GetWindow(client, GW_CHILD) : nullptr; w; w = GetWindow(w, GW_HWNDNEXT))
        if (document_of(w) == doc) return true;
    return false;
}

// ---- Rendering ----

HFONT create_font() {
    const Settings& s = settings();
    HFONT font = CreateFontA(s.input_fontSize, 0, s.input_fontDeg * kEscapementPerDegree, 0,
                             (s.input_fontType & kStyleBold) ? kWeightBold : kWeightNormal,
                             (s.input_fontType & kStyleItalic) ? TRUE : FALSE, FALSE, FALSE,
                             DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                             NONANTIALIASED_QUALITY, DEFAULT_PITCH, s.input_fontName);
    if (!font) set_status_text(kStatusSelection, "Font unavailable: System font used");
    return font;
}

// The index white falls on in the stroke surface's colour table is where
// text lands; the background takes the entry farthest from white so that it
// can never be mistaken for text.
BYTE background_index(const Surface& s) {
    const RGBQUAD* table = s.colour_table();
    int best = 0, farthest = -1;
    for (int i = 0; i < 256; ++i) {
        const int d = 3 * 255 - table[i].rgbRed - table[i].rgbGreen - table[i].rgbBlue;
        if (d > farthest) farthest = d, best = i;
    }
    return BYTE(best);
}

// Measures (and with draw, renders into the stroke surface) the text at the
// anchor; the box becomes the text's. False when the surface has no DC.
bool render(PictureDocument& doc, const char* bytes, int length, bool draw) {
    Surface* s = doc.stroke_surface;
    if (!s || !s->dc) return false;
    HFONT font = create_font();
    const HGDIOBJ old_font =
        SelectObject(s->dc, font ? HGDIOBJ(font) : GetStockObject(SYSTEM_FONT));
    const int old_extra = SetTextCharacterExtra(s->dc, settings().input_fontSpace);
    SIZE extent{};
    GetTextExtentPoint32A(s->dc, bytes, length, &extent);
    box = lettering_box(doc.anchor_point, extent.cx, extent.cy, settings().input_fontDeg);
    if (draw) {
        const BYTE background = background_index(*s);
        const RECT fill{std::max<LONG>(box.left, 0), std::max<LONG>(box.top, 0),
                        std::min<LONG>(box.right, s->width() - 1),
                        std::min<LONG>(box.bottom, s->height() - 1)};
        for (int y = fill.top; y <= fill.bottom; ++y)
            std::memset(s->bits + std::size_t(s->height() - 1 - y) * s->stride() + fill.left,
                        background, std::size_t(std::max<LONG>(fill.right - fill.left + 1, 0)));
        const int old_mode = SetBkMode(s->dc, TRANSPARENT);
        const COLORREF old_colour = SetTextColor(s->dc, PALETTERGB(255, 255, 255));
        TextOutA(s->dc, doc.anchor_point.x, doc.anchor_point.y, bytes, length);
        SetTextColor(s->dc, old_colour);
        SetBkMode(s->dc, old_mode);
        GdiFlush();
        for (int y = fill.top; y <= fill.bottom; ++y) {
            BYTE* row = s->bits + std::size_t(s->height() - 1 - y) * s->stride();
            for (int x = fill.left; x <= fill.right; ++x)
                row[x] = row[x] == background ? kNoText : kTextMark;
        }
    }
    SetTextCharacterExtra(s->dc, old_extra);
    SelectObject(s->dc, old_font);
    if (font) DeleteObject(font);
    doc.floating_rect = box;
    return true;
}

void rerender(PictureDocument& doc) {
    if (text.state < 2) return;
    remove_preview(doc);
    if (!render(doc, text.bytes, text.length, true)) return;
    doc.flags |= kDocFloatingFrame;
    preview_doc = &doc;
    if (box.right >= 0 && box.bottom >= 0 && box.left < picture_width(doc) &&
        box.top < picture_height(doc))
        lettering_preview(doc, kTextMark, box);
    present_rect(doc, presented(box));
}

// ---- The dialog ----

int CALLBACK add_face(const LOGFONTA* font, const TEXTMETRICA*, DWORD, LPARAM list) {
    SendMessageA(HWND(list), LB_ADDSTRING, 0, LPARAM(font->lfFaceName));
    return 1;
}

void init_spin(HWND dlg, int id, Range range, int value) {
    SendDlgItemMessageA(dlg, id, UDM_SETRANGE32, WPARAM(range.least), range.most);
    SendDlgItemMessageA(dlg, id, UDM_SETPOS32, 0, value);
}

void init_dialog(HWND dlg) {
    const Settings& s = settings();
    HWND list = GetDlgItem(dlg, IDC_FONT_LIST);
    HDC screen = GetDC(nullptr);
    EnumFontFamiliesA(screen, nullptr, add_face, LPARAM(list));
    ReleaseDC(nullptr, screen);
    const LRESULT found =
        SendMessageA(list, LB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(s.input_fontName));
    if (found != LB_ERR) SendMessageA(list, LB_SETCURSEL, WPARAM(found), 0);
    init_spin(dlg, IDC_FONT_SIZE_SPIN, kSizes, s.input_fontSize);
    init_spin(dlg, IDC_FONT_ANGLE_SPIN, kAngles, s.input_fontDeg);
    init_spin(dlg, IDC_FONT_SPACING_SPIN, kSpacings, s.input_fontSpace);
    CheckDlgButton(dlg, IDC_FONT_BOLD,
                   (s.input_fontType & kStyleBold) ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dlg, IDC_FONT_ITALIC,
                   (s.input_fontType & kStyleItalic) ? BST_CHECKED : BST_UNCHECKED);
}

// A face name that does not fit the stored field is refused.
bool store_face(HWND dlg) {
    HWND list = GetDlgItem(dlg, IDC_FONT_LIST);
    const LRESULT index = SendMessageA(list, LB_GETCURSEL, 0, 0);
    if (index == LB_ERR) return false;
    const LRESULT length = SendMessageA(list, LB_GETTEXTLEN, WPARAM(index), 0);
    if (length == LB_ERR || length >= kFontNameCapacity) return false;
    char face[kFontNameCapacity] = {};
    SendMessageA(list, LB_GETTEXT, WPARAM(index), LPARAM(face));
    std::memcpy(settings().input_fontName, face, sizeof face);
    return true;
}

bool on_command(HWND dlg, int id, int code) {
    Settings& s = settings();
    switch (id) {
    case IDC_FONT_LIST:
        return code == LBN_SELCHANGE && store_face(dlg);
    case IDC_FONT_SIZE:
        return code == EN_CHANGE &&
               read_number(dlg, id, kSizes.least, kSizes.most, s.input_fontSize);
    case IDC_FONT_ANGLE:
        return code == EN_CHANGE &&
               read_number(dlg, id, kAngles.least, kAngles.most, s.input_fontDeg);
    case IDC_FONT_SPACING:
        return code == EN_CHANGE &&
               read_number(dlg, id, kSpacings.least, kSpacings.most, s.input_fontSpace);
    case IDC_FONT_BOLD:
    case IDC_FONT_ITALIC: {
        const int bit = id == IDC_FONT_BOLD ? kStyleBold : kStyleItalic;
        if (IsDlgButtonChecked(dlg, id) == BST_CHECKED)
            s.input_fontType |= bit;
        else
            s.input_fontType &= ~bit;
        return true;
    }
    }
    return false;
}

INT_PTR CALLBACK font_proc(HWND dlg, UINT msg, WPARAM wparam, LPARAM) {
    switch (msg) {
    case WM_INITDIALOG:
        init_dialog(dlg);
        return FALSE; // no focus: the canvas keeps the keyboard and the frame stays active
    case WM_COMMAND:
        if (on_command(dlg, LOWORD(wparam), HIWORD(wparam)) && receiver)
            SendMessageA(receiver, kMsgRedrawPicture, 0, 0);
        return TRUE;
    case WM_DESTROY:
        remember_place(dlg, settings().font_left, settings().font_top);
        return TRUE;
    }
    return FALSE;
}

void open_dialog(HWND canvas) {
    receiver = canvas;
    if (!dialog)
        dialog = open_tool_dialog("FONT_DIALOG", font_proc, 0, settings().font_left,
                                  settings().font_top);
}

// ---- The tool's steps ----

// Drops the text and removes its preview from whichever document holds it.
void drop(PictureDocument* doc) {
    if (text.state != 0 && doc && is_open(doc)) remove_preview(*doc);
    drop_text(text);
    preview_doc = nullptr;
}

void place(PictureDocument& doc, LPARAM lparam) {
    if (text.state >= 2) {
        const POINT p = canvas_to_picture(doc, short(LOWORD(lparam)), short(HIWORD(lparam)));
        if (p.x >= box.left && p.x <= box.right && p.y >= box.top && p.y <= box.bottom)
            return;                      // inside the box: the anchor stays and a drag moves it
        doc.flags &= ~kDocFloatingFrame; // the release commits
        return;
    }
    if (text.state == 1) remove_preview(doc);
    doc.anchor_point = doc.current_point;
    start_text(text);
    if (!render(doc, " ", 1, false)) return;
    doc.flags |= kDocFloatingFrame;
    preview_doc = &doc;
    present_rect(doc, presented(box));
}

void commit(PictureDocument& doc) {
    lettering_commit(doc, kTextMark, box, m_held());
    drop_text(text);
    preview_doc = nullptr;
}

void on_char(HWND canvas, PictureDocument& doc, WPARAM c) {
    switch (type_byte(text, BYTE(c), lead_byte)) {
    case TypingResult::ignored:
        break;
    case TypingResult::changed:
        rerender(doc);
        break;
    case TypingResult::emptied:
        remove_preview(doc);
        break;
    case TypingResult::commit: {
        doc.flags &= ~kDocFloatingFrame;
        SetCapture(canvas);
        const POINT p = picture_to_canvas(doc, doc.current_point.x, doc.current_point.y);
        SendMessageA(canvas, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
        break;
    }
    case TypingResult::drop:
        remove_preview(doc);
        preview_doc = nullptr;
        break;
    }
}

} // namespace

bool lettering_takes_keys() {
    return text.state != 0;
}

int lettering_tool(HWND canvas, UINT msg, WPARAM wparam, LPARAM lparam, void* record) {
    PictureDocument& doc = *static_cast<PictureDocument*>(record);
    switch (msg) {
    case kMsgActivateTool:
        drop_text(text);
        open_dialog(canvas);
        break;
    case kMsgDeactivateTool:
        if (lparam == kDeactivateOnlyPreviews) {
            // The text and the dialog stay; the next keystroke shows it again.
            if (text.state != 0) remove_preview(doc);
            break;
        }
        close_tool_dialog(dialog);
        drop(preview_doc ? preview_doc : &doc);
        break;
    case kMsgDocumentActivated:
        drop(preview_doc);
        break;
    case kMsgPaletteChanged:
    case kMsgColourViews:
    case kMsgRedrawPicture:
        rerender(doc);
        break;
    case WM_LBUTTONDOWN:
        place(doc, lparam);
        break;
    case WM_MOUSEMOVE:
        if ((wparam & MK_LBUTTON) && text.state >= 2 && (doc.flags & kDocFloatingFrame)) {
            doc.anchor_point.x -= doc.previous_point.x - doc.current_point.x;
            doc.anchor_point.y -= doc.previous_point.y - doc.current_point.y;
            rerender(doc);
        }
        break;
    case WM_LBUTTONUP:
        if (text.state >= 2 && !(doc.flags & kDocFloatingFrame)) commit(doc);
        break;
    case WM_CHAR:
        on_char(canvas, doc, wparam);
        break;
    }
    return 0;
}
