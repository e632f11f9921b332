// The application shell under Wine: start-up and shut-down with the settings
// in a registry key of the test's own, the frame's menus, dialog bar and
// command routing, the recent-file menu, New Picture and Exit, with every
// dialog and message box answered by the harness.
#include "app/session/pen_slots.h"
#include "harness.h"
#include "shell_fixture.h"

#include <commctrl.h>

#include <cstring>
#include <set>

namespace {

TEST_F(Shell, FirstRunStartsAtTheDefaultPositionAndStoresTheFrameInclusive) {
    HWND frame = start();
    ASSERT_NE(frame, nullptr);
    RECT r;
    GetWindowRect(frame, &r);
    EXPECT_EQ(r.right - r.left, 640);
    EXPECT_EQ(r.bottom - r.top, 480);
    const Settings& s = settings();
    EXPECT_EQ(s.main_left, kDefaultPosition);
    EXPECT_EQ(s.zoom_SizeMode, 146);
    EXPECT_EQ(s.anime_left, 100);
    EXPECT_EQ(s.defaultbmp_width, 640);
    EXPECT_EQ(s.defaultbmp_height, 480);
    EXPECT_STREQ(s.input_fontName, "Arial");
    exit_program();
    EXPECT_FALSE(IsWindow(frame));
    shut_down_velmo();

    RegistryStore store(kShellTestKey);
    std::int32_t left = 0, right = 0, top = 0, bottom = 0, zoom_grid = 0;
    ASSERT_TRUE(store.read_dword("main_left", left));
    ASSERT_TRUE(store.read_dword("main_right", right));
    ASSERT_TRUE(store.read_dword("main_top", top));
    ASSERT_TRUE(store.read_dword("main_bottom", bottom));
    EXPECT_EQ(right - left + 1, r.right - r.left);
    EXPECT_EQ(bottom - top + 1, r.bottom - r.top);
    EXPECT_TRUE(store.read_dword("zoom_ShowGrid", zoom_grid));
    EXPECT_EQ(zoom_grid, 1);
    char path[kPathCapacity] = {};
    EXPECT_TRUE(store.read_text("current_path", path, sizeof path));
}

TEST_F(Shell, AStoredFrameKeepsItsSizeAndOneBeyondTheScreenComesBackAtDefault) {
    {
        RegistryStore store(kShellTestKey);
        store.write_dword("main_left", 30);
        store.write_dword("main_top", 40);
        store.write_dword("main_right", 30 + 500 - 1);
        store.write_dword("main_bottom", 40 + 300 - 1);
        // Value names are one regardless of case.
        store.write_dword("miniON", 1);
        store.write_dword("pal_left", GetSystemMetrics(SM_CXSCREEN) + 1);
        store.write_dword("pal_top", 7);
    }
    HWND frame = start();
    ASSERT_NE(frame, nullptr);
    RECT r;
    GetWindowRect(frame, &r);
    EXPECT_EQ(r.left, 30);
    EXPECT_EQ(r.top, 40);
    EXPECT_EQ(r.right - r.left, 500);
    EXPECT_EQ(r.bottom - r.top, 300);
    EXPECT_EQ(settings().MiniOn, 1);
    EXPECT_EQ(settings().pal_left, 0);
    EXPECT_EQ(settings().pal_top, 7);
    exit_program();
    shut_down_velmo();
    RegistryStore store(kShellTestKey);
    std::int32_t right = 0;
    store.read_dword("main_right", right);
    EXPECT_EQ(right, 529); // no pixel gained per run
    TearDown();

    SetUp();
    {
        RegistryStore beyond(kShellTestKey);
        beyond.write_dword("main_left", GetSystemMetrics(SM_CXSCREEN) + 50);
        beyond.write_dword("main_top", 10);
        beyond.write_dword("main_right", GetSystemMetrics(SM_CXSCREEN) + 700);
        beyond.write_dword("main_bottom", 500);
    }
    frame = start();
    ASSERT_NE(frame, nullptr);
    GetWindowRect(frame, &r);
    EXPECT_LT(r.left, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(r.right - r.left, 640);
}

TEST_F(Shell, MenuBarOrderToolbarStatusBarAndDialogBar) {
    HWND frame = start();
    ASSERT_NE(frame, nullptr);
    HMENU menu = GetMenu(frame);
    auto top = [&](int i) {
        char text[64] = {};
        GetMenuStringA(menu, UINT(i), text, sizeof text, MF_BYPOSITION);
        return std::string(text);
    };
    EXPECT_EQ(top(0), "&File");
    EXPECT_EQ(top(2), "&Filter");
    EXPECT_EQ(top(3), "&Tools");
    EXPECT_EQ(top(7), "&Window");
    EXPECT_EQ(menu_text(menu, CMD_SAVE), "&Save\tCtrl+S");
    EXPECT_EQ(menu_text(menu, 507), "Color E&xchange Ctrl+6");
    EXPECT_EQ(menu_text(menu, 417), "50%(&`)");

    const ShellWindows& w = shell_windows();
    EXPECT_EQ(SendMessageA(w.toolbar, TB_BUTTONCOUNT, 0, 0), 16);
    EXPECT_EQ(SendMessageA(w.status_bar, SB_GETPARTS, 0, 0), 4);
    ASSERT_NE(w.dialog_bar, nullptr);
    EXPECT_EQ(SendDlgItemMessageA(w.dialog_bar, IDC_BAR_ZOOM, CB_GETCOUNT, 0, 0), 14);
    char rate[16] = {};
    SendDlgItemMessageA(w.dialog_bar, IDC_BAR_ZOOM, CB_GETLBTEXT, 13, LPARAM(rate));
    EXPECT_STREQ(rate, "1600%");
    ASSERT_NE(w.tool_window, nullptr);
    char title[16] = {};
    GetWindowTextA(w.tool_window, title, sizeof title);
    EXPECT_STREQ(title, "tool");
    // The accelerator table of the frame menu exists and knows Ctrl+N.
    ASSERT_NE(shell_state().accelerators, nullptr);
    ACCEL keys[64];
    int n = CopyAcceleratorTableA(shell_state().accelerators, keys, 64);
    bool ctrl_n = false;
    for (int i = 0; i < n; ++i)
        ctrl_n |= keys[i].key == 'N' && keys[i].cmd == CMD_NEW && (keys[i].fVirt & FCONTROL);
    EXPECT_TRUE(ctrl_n);
}

// The sixteen default pens come from the program's "VELMO_DEFAULT_PEN":
// each a distinct shape of 0 on 255, with white at entry 255.
TEST_F(Shell, StartUpBuildsSixteenDistinctPensFromTheResource) {
    ASSERT_NE(start(), nullptr);
    std::set<std::string> shapes;
    for (const Surface* pen : pen_slots().slot) {
        ASSERT_NE(pen, nullptr);
        ASSERT_EQ(pen->width(), 32);
        ASSERT_EQ(pen->height(), 32);
        const RGBQUAD& white = pen->colour_table()[255];
        EXPECT_EQ(white.rgbRed + white.rgbGreen + white.rgbBlue, 3 * 255);
        std::string shape(reinterpret_cast<const char*>(pen->bits), 32 * 32);
        int inside = 0;
        for (char c : shape) {
            EXPECT_TRUE(BYTE(c) == 0 || BYTE(c) == 255);
            inside += BYTE(c) == 0;
        }
        EXPECT_GT(inside, 0);
        EXPECT_LT(inside, 32 * 32);
        shapes.insert(shape);
    }
    EXPECT_EQ(shapes.size(), 16u);
    // The one-pixel pen sits under the cursor's hot spot (15, 15): row 16
    // from the bottom.
    EXPECT_EQ(pen_slots().slot[0]->bits[16 * 32 + 15], 0);
}

TEST_F(Shell, MenuItemsAndToolbarButtonsShowTheirCommandsHelpStrings) {
    HWND frame = start();
    ASSERT_NE(frame, nullptr);
    HMENU file = GetSubMenu(GetMenu(frame), 0);
    SendMessageA(frame, WM_MENUSELECT, MAKEWPARAM(CMD_NEW, MF_STRING | MF_HILITE),
                 reinterpret_cast<LPARAM>(file));
    // The help shows in the status bar's simple mode, which its part 0 reads.
    char status[128] = {};
    EXPECT_TRUE(SendMessageA(shell_windows().status_bar, SB_ISSIMPLE, 0, 0));
    SendMessageA(shell_windows().status_bar, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(status));
    EXPECT_STREQ(status, "Create New Picture");

    NMTTDISPINFOA tip{};
    tip.hdr.hwndFrom = shell_windows().toolbar;
    tip.hdr.idFrom = CMD_LAYER_MANAGER;
    tip.hdr.code = TTN_GETDISPINFOA;
    SendMessageA(frame, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&tip));
    char text[128] = {};
    ASSERT_TRUE(IS_INTRESOURCE(tip.lpszText));
    LoadStringA(tip.hinst, UINT(reinterpret_cast<UINT_PTR>(tip.lpszText)), text, sizeof text);
    EXPECT_STREQ(text, "Open Layer Manager");
}

TEST_F(Shell, RecentFilesMoveToTopDropTheOldestAndKeepCase) {
    HWND frame = start();
    ASSERT_NE(frame, nullptr);
    HMENU file = GetSubMenu(GetMenu(frame), 0);
    int items = GetMenuItemCount(file);
    add_recent_file("C:\\a.gif");
    EXPECT_EQ(GetMenuItemCount(file), items + 2); // separator and item 200
    EXPECT_EQ(menu_text(file, 200), "&1 C:\\a.gif");
    add_recent_file("C:\\b.bmp");
    add_recent_file("C:\\c.vlx");
    add_recent_file("C:\\a.gif");
    EXPECT_EQ(menu_text(file, 200), "&1 C:\\a.gif");
    EXPECT_EQ(menu_text(file, 201), "&2 C:\\c.vlx");
    EXPECT_EQ(menu_text(file, 202), "&3 C:\\b.bmp");
    EXPECT_EQ(GetMenuItemCount(file), items + 4);
    add_recent_file("C:\\A.GIF");
    EXPECT_EQ(menu_text(file, 203), "&4 C:\\b.bmp");
    for (const char* p : {"C:\\d", "C:\\e", "C:\\f"})
        add_recent_file(p);
    EXPECT_EQ(GetMenuItemCount(file), items + 6);
    EXPECT_EQ(menu_text(file, 200), "&1 C:\\f");
    EXPECT_EQ(menu_text(file, 204), "&5 C:\\a.gif");
    EXPECT_EQ(recent_file(4), "C:\\a.gif");
    exit_program();

    // The next start lists what the last one left.
    shut_down_velmo();
    TearDown();
    shell_state().registry_key = kShellTestKey;
    {
        RegistryStore store(kShellTestKey);
        store.write_text("latest_0", "C:\\x.gif");
        store.write_text("latest_1", "C:\\y.bmp");
    }
    frame = start();
    ASSERT_NE(frame, nullptr);
    file = GetSubMenu(GetMenu(frame), 0);
    EXPECT_EQ(menu_text(file, 201), "&2 C:\\y.bmp");
}

TEST_F(Shell, NewPictureDialogStaysOpenOnABadSizeAndRemembersTheGoodOne) {
    HWND frame = start();
    ASSERT_NE(frame, nullptr);
    register_test_document_class();
    bool stayed_open = false;
    DialogAnswerer answerer(
        [&](HWND dlg) {
            // The answer may come before the modal loop first shows the
            // dialog; show it as that loop would, since ending hides it.
            ShowWindow(dlg, SW_SHOWNORMAL);
            SetDlgItemTextA(dlg, IDC_NEW_WIDTH, "0");
            DialogAnswerer::press(dlg, IDOK);
            stayed_open = IsWindow(dlg) && IsWindowVisible(dlg);
            SetDlgItemTextA(dlg, IDC_NEW_WIDTH, "24");
            SetDlgItemTextA(dlg, IDC_NEW_HEIGHT, "12");
            DialogAnswerer::press(dlg, IDOK);
        },
        "New Picture");
    SendMessageA(frame, WM_COMMAND, CMD_NEW, 0);
    pump();
    ASSERT_EQ(answerer.captions().size(), 1u);
    EXPECT_TRUE(stayed_open);
    EXPECT_EQ(settings().defaultbmp_width, 24);
    EXPECT_EQ(settings().defaultbmp_height, 12);
    PictureDocument* doc = active_document();
    ASSERT_NE(doc, nullptr);
    EXPECT_STREQ(doc->file_name, "untitled1.vlx");
    EXPECT_EQ(picture_width(*doc), 24);
    EXPECT_EQ(picture_height(*doc), 12);
    EXPECT_EQ(shell_state().untitled_counter, 2);

    DialogAnswerer cancel([](HWND dlg) { DialogAnswerer::press(dlg, IDCANCEL); }, "New Picture");
    HWND before = active_document_window();
    SendMessageA(frame, WM_COMMAND, CMD_NEW, 0);
    EXPECT_EQ(active_document_window(), before);
    EXPECT_EQ(shell_state().untitled_counter, 2);
}

TEST_F(Shell, CommandsGoToTheDocumentAndTogglesShowInTheDialogBar) {
    HWND frame = start();
    ASSERT_NE(frame, nullptr);
    // Without a picture nothing is forwarded and the tool stays.
    SendMessageA(frame, WM_COMMAND, CMD_TOOL_FIRST + 4, 0);
    EXPECT_EQ(shell_state().current_tool, 0);
    ASSERT_NE(open_test_picture(32, 16), nullptr);
    HWND bar = shell_windows().dialog_bar;
    EXPECT_FALSE(IsDlgButtonChecked(bar, IDC_BAR_GRID));
    SendMessageA(frame, WM_COMMAND, CMD_GRID, 0);
    SendMessageA(frame, WM_COMMAND, CMD_MIRROR, 0);
    SendMessageA(frame, WM_COMMAND, CMD_ZOOM_RATE_FIRST + 4, 0);
    EXPECT_TRUE(IsDlgButtonChecked(bar, IDC_BAR_GRID));
    EXPECT_EQ(SendDlgItemMessageA(bar, IDC_BAR_ZOOM, CB_GETCURSEL, 0, 0), 4);
    EXPECT_EQ(forwarded, (std::vector<UINT>{CMD_GRID, CMD_MIRROR, CMD_ZOOM_RATE_FIRST + 4}));

    // A click on the bar's own box goes straight to the picture and is not
    // toggled back.
    forwarded.clear();
    HWND snap = GetDlgItem(bar, IDC_BAR_SNAP);
    SendMessageA(snap, BM_CLICK, 0, 0);
    EXPECT_EQ(forwarded, std::vector<UINT>{CMD_SNAP_TO_GRID});
    EXPECT_TRUE(IsDlgButtonChecked(bar, IDC_BAR_SNAP));

    SendMessageA(frame, WM_COMMAND, CMD_TOOL_FIRST + 4, 0);
    EXPECT_EQ(shell_state().current_tool, 4);
    HMENU menu = GetMenu(frame);
    EXPECT_EQ(GetMenuState(menu, CMD_TOOL_FIRST + 4, MF_BYCOMMAND) & MF_CHECKED, UINT(MF_CHECKED));
    EXPECT_EQ(GetMenuState(menu, CMD_TOOL_FIRST, MF_BYCOMMAND) & MF_CHECKED, 0u);
}

TEST_F(Shell, ExitAsksForEveryModifiedPictureAndCancelStops) {
    HWND frame = start();
    ASSERT_NE(frame, nullptr);
    // A named picture in a folder that does not exist cannot be written.
    const char* unwritable = "C:\\no such folder\\one.vlx";
    ASSERT_NE(open_test_picture(8, 8, kDocModified | kDocNamed, unwritable), nullptr);
    ASSERT_NE(open_test_picture(8, 8, kDocModified, "untitled2.vlx"), nullptr);
    {
        // No for the first picture asked, Cancel for the second: the first is
        // gone, the second stays and so does the program.
        int asked = 0;
        DialogAnswerer answerer(
            [&](HWND box) { DialogAnswerer::press(box, ++asked == 1 ? IDNO : IDCANCEL); }, "Close");
        exit_program();
        EXPECT_EQ(asked, 2);
        EXPECT_TRUE(IsWindow(frame));
        ASSERT_EQ(answerer.texts().size(), 2u);
        EXPECT_EQ(answerer.texts()[0], "Picture has been modified.\nSave Picture before close?\n");
    }
    ASSERT_NE(active_document(), nullptr);
    EXPECT_STREQ(active_document()->file_name, unwritable);
    // The unnamed picture closed with No is no recent file.
    EXPECT_EQ(recent_file(0), "");
    {
        // Yes on the picture that cannot be written: the failure is told, the
        // picture stays modified and the program stays.
        std::vector<std::string> captions;
        DialogAnswerer answerer([&](HWND box) {
            char title[64] = {};
            GetWindowTextA(box, title, sizeof title);
            captions.push_back(title);
            DialogAnswerer::press(box, std::string(title) == "Save Error" ? IDOK : IDYES);
        });
        exit_program();
        EXPECT_TRUE(IsWindow(frame));
        ASSERT_EQ(captions.size(), 3u);
        EXPECT_EQ(captions[0], "Close");
        EXPECT_EQ(captions[1], "Save Picture");
        EXPECT_EQ(captions[2], "Save Error");
        ASSERT_NE(active_document(), nullptr);
        EXPECT_TRUE(active_document()->flags & kDocModified);
    }
    DialogAnswerer no([](HWND box) { DialogAnswerer::press(box, IDNO); }, "Close");
    exit_program();
    EXPECT_FALSE(IsWindow(frame));
    EXPECT_EQ(recent_file(0), unwritable);
}

// The Exit question names no picture, so the picture it asks about comes
// forward first, even when another one was active.
TEST_F(Shell, TheExitQuestionBringsItsPictureForward) {
    HWND frame = start();
    ASSERT_NE(frame, nullptr);
    HWND first = open_test_picture(8, 8, kDocModified, "untitled1.vlx");
    HWND second = open_test_picture(8, 8, kDocModified, "untitled2.vlx");
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    // The active picture below the other one, as after arranging windows.
    SetWindowPos(second, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ASSERT_EQ(active_document_window(), second);
    std::vector<HWND> active_when_asked;
    std::vector<HWND> asked;
    DialogAnswerer answerer(
        [&](HWND box) {
            active_when_asked.push_back(active_document_window());
            // The first document window in the MDI client's order is the one
            // the question is about; No closes it before the next question.
            for (HWND w = GetWindow(shell_windows().mdi_client, GW_CHILD); w;
                 w = GetWindow(w, GW_HWNDNEXT))
                if (document_of(w)) {
                    asked.push_back(w);
                    break;
                }
            DialogAnswerer::press(box, IDNO);
        },
        "Close");
    exit_program();
    EXPECT_FALSE(IsWindow(frame));
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_NE(asked[0], asked[1]);
    EXPECT_EQ(active_when_asked, asked);
}

} // namespace
