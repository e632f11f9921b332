// The tool window, the pen window and the pen editor under Wine: tool
// buttons pressed as a click presses them change the tool, its hint, cursor
// and check mark; the pen window chooses a slot and the pen editor paints the
// shared pen slot.
#include "app/session/addin_host.h"
#include "app/session/tool_layout.h"
#include "app/windows/pen/pen_make_wnd.h"
#include "picture_window_fixture.h"

#include <commctrl.h>

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

TEST_F(ToolWindows, ThePenWindowChoosesASlotAndTheEditorPaintsIt) {
    PictureDocument& doc = *document_of(open(16, 16));
    command(CMD_PEN_WINDOW);
    HWND pens = shell_windows().pen_window;
    ASSERT_NE(pens, nullptr);
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
    EXPECT_EQ(pen_editor(), nullptr) << "owned by the pen window";
}

} // namespace
