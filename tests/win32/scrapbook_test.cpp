// The scrapbook through the real windows and the real clipboard: an area
// copied from a picture is kept, renamed by keys typed into the name box,
// put back on the clipboard and pasted back into the picture.
#include "app/files/clipboard.h"
#include "picture_window_fixture.h"

#include <memory>
#include <string>

namespace {

using Scrapbook = PictureWindow;

LRESULT list(HWND dlg, UINT msg, WPARAM wparam = 0) {
    return SendDlgItemMessageA(dlg, IDC_SCRAP_LIST, msg, wparam, 0);
}

std::string item_text(HWND dlg, int id) {
    char text[64] = {};
    GetDlgItemTextA(dlg, id, text, sizeof text);
    return text;
}

void click(HWND dlg, int id) {
    SendMessageA(GetDlgItem(dlg, id), BM_CLICK, 0, 0);
}

TEST_F(Scrapbook, KeepsACopiedAreaAndPastesItBack) {
    HWND wnd = open(16, 16);
    PictureDocument& doc = *document_of(wnd);
    pixel(*current_layer(doc)->image, 3, 2) = 7;
    pixel(*current_layer(doc)->image, 4, 2) = 8;
    command(CMD_PASTE_FROM_SCRAPBOOK); // nothing kept yet
    EXPECT_EQ(doc.floating, nullptr);
    choose_tool(kToolSelectArea);
    press(canvas_of(wnd), 3, 2);
    drag(canvas_of(wnd), 4, 2);
    release(canvas_of(wnd), 4, 2);
    ASSERT_NE(doc.floating, nullptr);
    command(CMD_COPY);

    command(CMD_SCRAP_WINDOW);
    HWND dlg = shell_windows().scrapbook;
    ASSERT_NE(dlg, nullptr);
    click(dlg, IDC_SCRAP_PASTE);
    EXPECT_EQ(item_text(dlg, IDC_SCRAP_NAME), "scrap1");
    EXPECT_EQ(item_text(dlg, IDC_SCRAP_SIZE), "W: 2  x  H: 1");
    pixel(*doc.floating, 0, 0) = 9;
    command(CMD_COPY_TO_SCRAPBOOK); // joins the open list as the current entry
    ASSERT_EQ(list(dlg, LB_GETCOUNT), 2);
    EXPECT_EQ(list(dlg, LB_GETCURSEL), 1);

    // Delete typed into the name box edits the name, not the picture.
    HWND name = GetDlgItem(dlg, IDC_SCRAP_NAME);
    SetFocus(name);
    SendMessageA(name, EM_SETSEL, 0, 0);
    MSG key{name, WM_KEYDOWN, VK_DELETE, 1, 0, {}};
    if (!take_message(key)) DispatchMessageA(&key);
    pump();
    EXPECT_NE(doc.floating, nullptr);
    char entry[64] = {};
    SendDlgItemMessageA(dlg, IDC_SCRAP_LIST, LB_GETTEXT, 1, reinterpret_cast<LPARAM>(entry));
    EXPECT_STREQ(entry, "crap2");

    // The first entry goes back on an emptied clipboard and into the picture.
    list(dlg, LB_SETCURSEL, 0);
    SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(IDC_SCRAP_LIST, LBN_SELCHANGE), 0);
    ASSERT_TRUE(OpenClipboard(frame_));
    EmptyClipboard();
    CloseClipboard();
    click(dlg, IDC_SCRAP_COPY);
    std::unique_ptr<Surface> copied(paste_from_clipboard(frame_));
    ASSERT_NE(copied, nullptr);
    EXPECT_EQ(pixel(*copied, 1, 0), 8);
    command(CMD_PASTE_FROM_SCRAPBOOK);
    EXPECT_TRUE(doc.flags & kDocPasted);
    EXPECT_EQ(doc.floating_rect.left, 0);
    EXPECT_EQ(pixel(*doc.composite, 0, 0), 7);

    // Deleting the current entry makes the next one current.
    click(dlg, IDC_SCRAP_DELETE);
    EXPECT_EQ(list(dlg, LB_GETCOUNT), 1);
    command(CMD_PASTE_FROM_SCRAPBOOK);
    EXPECT_EQ(pixel(*doc.composite, 0, 0), 9);
    click(dlg, IDOK);
    EXPECT_EQ(shell_windows().scrapbook, nullptr);
}

} // namespace
