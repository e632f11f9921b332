// The tool window, the pen window and the pen editor under Wine: buttons
// pressed as a click presses them change the tool (its hint, cursor and
// check mark), the shape mode and the pen; the swatches follow a colour the
// canvas picked; the pen window chooses a slot and the pen editor paints the
// shared pen slot.
#include "app/session/addin_host.h"
#include "app/session/tool_layout.h"
#include "app/tools/drawing.h"
#include "app/windows/pen/pen_make_wnd.h"
#include "picture_window_fixture.h"

#include <commctrl.h>

#include <set>

#include <string>

namespace {

class ToolWindows : public PictureWindow {
  protected:
    HWND tool() { return shell_windows().tool_window; }
    void click(HWND parent, int id) {
        SendMessageA(parent, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(parent, id)));
        pump();
    }
    void double_click(HWND parent, int id) {
        SendMessageA(parent, WM_COMMAND, MAKEWPARAM(id, BN_DOUBLECLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(parent, id)));
        pump();
    }
    std::string status(int part) {
        char text[256] = {};
        SendMessageA(shell_windows().status_bar, SB_GETTEXTA, part, reinterpret_cast<LPARAM>(text));
        return text;
    }
};

TEST_F(ToolWindows, EachToolButtonMakesItsToolCurrentWithItsHintAndCursor) {
    click(tool(), CMD_TOOL_FIRST + kToolPen);
    EXPECT_EQ(shell_state().current_tool, kToolZoom) << "no picture open";
    HWND canvas = canvas_of(open(32, 32));
    for (int t = addin_host().tools.count - 1; t >= 0; --t) {
        click(tool(), CMD_TOOL_FIRST + t);
        const ToolEntry& e = addin_host().tools.entries[t];
        EXPECT_EQ(shell_state().current_tool, t);
        EXPECT_EQ(status(kStatusToolHint), e.hint) << t;
        SendMessageA(canvas, WM_SETCURSOR, WPARAM(canvas), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        EXPECT_EQ(GetCursor(), e.cursor ? e.cursor : LoadCursorA(nullptr, IDC_ARROW)) << t;
        EXPECT_EQ(GetMenuState(GetMenu(frame_), CMD_TOOL_FIRST + t, MF_BYCOMMAND) & MF_CHECKED,
                  UINT(MF_CHECKED));
    }
}

// Each shape draws a different number of pixels for the same drag.
TEST_F(ToolWindows, AShapeButtonChangesHowTheNextPenDragDraws) {
    std::set<int> counts;
    for (int mode = kShapeFreeHand; mode <= kShapeFilledEllipse; ++mode) {
        HWND wnd = open(64, 64);
        PictureDocument& doc = *document_of(wnd);
        doc.left_colour = doc.right_colour = 3;
        doc.tone_level = 8;
        drawing_colours_changed(doc);
        choose_tool(kToolPen);
        click(tool(), mode);
        EXPECT_EQ(shell_state().shape_mode, mode);
        HWND canvas = canvas_of(wnd);
        // Free hand follows the bend; the shapes take only the ends.
        press(canvas, 20, 20);
        drag(canvas, 20, 45);
        drag(canvas, 40, 30);
        release(canvas, 40, 30);
        int painted = 0;
        Surface& image = *current_layer(doc)->image;
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x)
                painted += pixel(image, x, y) == 3;
        EXPECT_GT(painted, 0) << mode;
        counts.insert(painted);
        SendMessageA(shell_windows().mdi_client, WM_MDIDESTROY, WPARAM(wnd), 0);
        pump();
    }
    EXPECT_EQ(counts.size(), 6u);
}

TEST_F(ToolWindows, ThePenNumberStepsThePenAndTheSwatchesFollowTheColours) {
    PictureDocument& doc = *document_of(open(16, 16, 7));
    SendMessageA(tool(), WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 5),
                 reinterpret_cast<LPARAM>(GetDlgItem(tool(), kPenNumber)));
    EXPECT_EQ(doc.current_pen_index, 5);
    EXPECT_EQ(doc.current_pen, pen_slots().slot[5]);
    SendMessageA(tool(), WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 16), 0);
    EXPECT_EQ(doc.current_pen_index, 5) << "beyond the slots";

    // The right button of a drawing tool picks the left colour.
    choose_tool(kToolPen);
    HWND canvas = canvas_of(active_document_window());
    SetFocus(canvas);
    SendMessageA(canvas, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(3, 3));
    pump();
    EXPECT_EQ(doc.left_colour, 7);
    HWND left = GetDlgItem(tool(), kLeftSwatch);
    UpdateWindow(left);
    HDC dc = GetDC(left);
    const RGBQUAD c = current_layer(doc)->image->colour_table()[7];
    EXPECT_EQ(GetPixel(dc, 8, 8), RGB(c.rgbRed, c.rgbGreen, c.rgbBlue));
    ReleaseDC(left, dc);
}

TEST_F(ToolWindows, ThePenWindowChoosesASlotAndTheEditorPaintsIt) {
    settings().pen_left = 40;
    settings().pen_top = 30;
    double_click(tool(), kPenButton);
    EXPECT_EQ(shell_windows().pen_window, nullptr) << "no picture open";
    PictureDocument& doc = *document_of(open(16, 16));
    // The tool window's pen button opens it as the frame does, where it was.
    double_click(tool(), kPenButton);
    HWND pens = shell_windows().pen_window;
    ASSERT_NE(pens, nullptr);
    RECT r;
    GetWindowRect(pens, &r);
    EXPECT_EQ(r.left, 40);
    EXPECT_EQ(r.top, 30);
    EXPECT_EQ(GetMenuState(GetMenu(frame_), CMD_PEN_WINDOW, MF_BYCOMMAND) & MF_CHECKED,
              UINT(MF_CHECKED));
    click(pens, 100 + 3);
    EXPECT_EQ(doc.current_pen_index, 3);
    EXPECT_EQ(doc.current_pen, pen_slots().slot[3]);
    double_click(pens, 100 + 3);
    HWND editor = pen_editor();
    ASSERT_NE(editor, nullptr);
    Surface& pen = *pen_slots().slot[3];
    pixel(pen, 0, 0) = kPenBackground;
    SendMessageA(editor, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(pixel(pen, 0, 0), kPenShape);
    SendMessageA(editor, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(pixel(pen, 0, 0), kPenBackground);
    command(CMD_PEN_WINDOW);
    EXPECT_EQ(shell_windows().pen_window, nullptr);
    EXPECT_EQ(GetMenuState(GetMenu(frame_), CMD_PEN_WINDOW, MF_BYCOMMAND) & MF_CHECKED, 0u);
    EXPECT_EQ(pen_editor(), nullptr) << "owned by the pen window";
}

} // namespace
