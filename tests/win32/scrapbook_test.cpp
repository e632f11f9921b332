// The scrapbook through the real windows and the real clipboard: an area
// copied from a picture is kept, renamed, put back on the clipboard and
// pasted back into the picture; keys typed into its name box stay there.
#include "app/files/clipboard.h"
#include "app/session/scrap_book.h"
#include "picture_window_fixture.h"

#include <memory>
#include <string>

namespace {

using Scrapbook = PictureWindow;

std::string item_text(HWND dlg, int id) {
    char text[kScrapNameSize] = {};
    GetDlgItemTextA(dlg, id, text, sizeof text);
    return text;
}

std::string list_entry(HWND dlg, int entry) {
    char text[kScrapNameSize] = {};
    SendDlgItemMessageA(dlg, IDC_SCRAP_LIST, LB_GETTEXT, WPARAM(entry),
                        reinterpret_cast<LPARAM>(text));
    return text;
}

LRESULT list(HWND dlg, UINT msg, WPARAM wparam = 0) {
    return SendDlgItemMessageA(dlg, IDC_SCRAP_LIST, msg, wparam, 0);
}

void click(HWND dlg, int id) {
    SendMessageA(GetDlgItem(dlg, id), BM_CLICK, 0, 0);
}

void choose_entry(HWND dlg, int entry) {
    list(dlg, LB_SETCURSEL, WPARAM(entry));
    SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(IDC_SCRAP_LIST, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(GetDlgItem(dlg, IDC_SCRAP_LIST)));
}

TEST_F(Scrapbook, KeepsACopiedAreaAndPastesItBack) {
    HWND wnd = open(16, 16);
    PictureDocument& doc = *document_of(wnd);
    Surface& image = *current_layer(doc)->image;
    pixel(image, 3, 2) = 7;
    pixel(image, 4, 2) = 8;
    command(CMD_PASTE_FROM_SCRAPBOOK); // nothing kept yet
    EXPECT_EQ(doc.floating, nullptr);
    choose_tool(kToolSelectArea);
    HWND canvas = canvas_of(wnd);
    press(canvas, 3, 2);
    drag(canvas, 4, 2);
    release(canvas, 4, 2);
    ASSERT_NE(doc.floating, nullptr);
    command(CMD_COPY);

    command(CMD_SCRAP_WINDOW);
    HWND dlg = shell_windows().scrapbook;
    ASSERT_NE(dlg, nullptr);
    click(dlg, IDC_SCRAP_PASTE);
    ASSERT_EQ(list(dlg, LB_GETCOUNT), 1);
    EXPECT_EQ(list_entry(dlg, 0), "scrap1");
    EXPECT_EQ(item_text(dlg, IDC_SCRAP_NAME), "scrap1");
    EXPECT_EQ(item_text(dlg, IDC_SCRAP_SIZE), "W: 2  x  H: 1");

    // The document's own copy joins the open list as the current entry.
    pixel(*doc.floating, 0, 0) = 9;
    command(CMD_COPY_TO_SCRAPBOOK);
    ASSERT_EQ(list(dlg, LB_GETCOUNT), 2);
    EXPECT_EQ(list(dlg, LB_GETCURSEL), 1);
    SetDlgItemTextA(dlg, IDC_SCRAP_NAME, "dots");
    EXPECT_EQ(list_entry(dlg, 1), "dots");
    EXPECT_EQ(list(dlg, LB_GETCURSEL), 1);

    // Copy puts the chosen entry back on an emptied clipboard.
    choose_entry(dlg, 0);
    EXPECT_EQ(item_text(dlg, IDC_SCRAP_NAME), "scrap1");
    ASSERT_TRUE(OpenClipboard(frame_));
    EmptyClipboard();
    CloseClipboard();
    click(dlg, IDC_SCRAP_COPY);
    std::unique_ptr<Surface> copied(paste_from_clipboard(frame_));
    ASSERT_NE(copied, nullptr);
    EXPECT_EQ(copied->width(), 2);
    EXPECT_EQ(pixel(*copied, 0, 0), 7);
    EXPECT_EQ(pixel(*copied, 1, 0), 8);

    // Paste from Scrapbook floats the current entry at the picture's corner.
    command(CMD_PASTE_FROM_SCRAPBOOK);
    ASSERT_NE(doc.floating, nullptr);
    EXPECT_TRUE(doc.flags & kDocPasted);
    EXPECT_EQ(doc.floating_rect.left, 0);
    EXPECT_EQ(doc.floating_rect.top, 0);
    EXPECT_EQ(pixel(*doc.floating, 0, 0), 7);
    EXPECT_EQ(pixel(*doc.composite, 1, 0), 8);

    // Deleting the current entry makes the next one current.
    click(dlg, IDC_SCRAP_DELETE);
    ASSERT_EQ(list(dlg, LB_GETCOUNT), 1);
    EXPECT_EQ(list_entry(dlg, 0), "dots");
    EXPECT_EQ(item_text(dlg, IDC_SCRAP_NAME), "dots");
    command(CMD_PASTE_FROM_SCRAPBOOK);
    EXPECT_EQ(pixel(*doc.floating, 0, 0), 9);

    click(dlg, IDOK);
    EXPECT_EQ(shell_windows().scrapbook, nullptr);
    EXPECT_FALSE(GetMenuState(GetMenu(frame_), CMD_SCRAP_WINDOW, MF_BYCOMMAND) & MF_CHECKED);
}

TEST_F(Scrapbook, KeysTypedIntoTheNameBoxEditTheName) {
    HWND wnd = open(4, 4, 3);
    PictureDocument& doc = *document_of(wnd);
    command(CMD_SELECT_ALL);
    command(CMD_COPY_TO_SCRAPBOOK);
    command(CMD_SCRAP_WINDOW);
    HWND dlg = shell_windows().scrapbook;
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(list(dlg, LB_GETCURSEL), 0); // filled and selected on opening
    HWND name = GetDlgItem(dlg, IDC_SCRAP_NAME);
    SetFocus(name);
    SendMessageA(name, EM_SETSEL, 0, 0);
    MSG msg{name, WM_KEYDOWN, VK_DELETE, 1, 0, {}};
    if (!take_message(msg)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    pump();
    EXPECT_STREQ(scrap_book().current->name, "crap1");
    EXPECT_NE(doc.floating, nullptr) << "Delete did not reach the picture";
}

} // namespace
