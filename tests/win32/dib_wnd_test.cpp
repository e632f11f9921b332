// The document window under Wine: creation fitted to the picture, the
// canvas laid out and scrolled, activation check marks, Close with its
// question, the view toggles, Mirror and Flip, and every canvas painting its
// own picture.
#include "app/windows/document/dib_wnd.h"
#include "harness.h"
#include "picture_window_fixture.h"

#include <commctrl.h>

#include <string>

namespace {

using DocumentWindow = PictureWindow;

RECT canvas_rect(HWND wnd) {
    RECT r;
    GetWindowRect(canvas_of(wnd), &r);
    MapWindowPoints(nullptr, wnd, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// Sizes the window so that its client area is width x height while the
// given scroll bars are shown.
void size_client(HWND wnd, int width, int height, bool hbar, bool vbar) {
    RECT window, client;
    GetWindowRect(wnd, &window);
    GetClientRect(wnd, &client);
    const int fw = (window.right - window.left) - client.right;
    const int fh = (window.bottom - window.top) - client.bottom;
    MoveWindow(wnd, 0, 0, fw + width + (vbar ? GetSystemMetrics(SM_CXVSCROLL) : 0),
               fh + height + (hbar ? GetSystemMetrics(SM_CYHSCROLL) : 0), TRUE);
}

std::string status_text(int part) {
    char text[256] = {};
    SendMessageA(shell_windows().status_bar, SB_GETTEXTA, WPARAM(part), LPARAM(text));
    return text;
}

bool checked(UINT id) {
    return GetMenuState(GetMenu(shell_windows().frame), id, MF_BYCOMMAND) & MF_CHECKED;
}
bool greyed(UINT id) {
    return GetMenuState(GetMenu(shell_windows().frame), id, MF_BYCOMMAND) & MF_GRAYED;
}

TEST_F(DocumentWindow, OpensFittedToThePictureWithItsCaption) {
    HWND wnd = open(160, 48);
    ASSERT_NE(wnd, nullptr);
    char title[256] = {};
    GetWindowTextA(wnd, title, sizeof title);
    EXPECT_STREQ(title, "C:\\pictures\\draw.vlx (160 x 48)");
    RECT client;
    GetClientRect(wnd, &client);
    EXPECT_EQ(client.right, 160);
    EXPECT_EQ(client.bottom, 48);
    EXPECT_FALSE(GetWindowLongA(wnd, GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL));
    const RECT c = canvas_rect(wnd);
    EXPECT_EQ(c.left, 0);
    EXPECT_EQ(c.right - c.left, 160);
    EXPECT_EQ(c.bottom - c.top, 48);
    PictureDocument* doc = document_of(wnd);
    EXPECT_EQ(doc->zoom, 100);
    EXPECT_EQ(doc->visible_width, 160);

    // A picture narrower than the smallest window is centred in it.
    HWND narrow = open(4, 48);
    GetClientRect(narrow, &client);
    EXPECT_EQ(canvas_rect(narrow).left, (client.right - 4) / 2);
    EXPECT_EQ(status_text(0), "Left:Zoom-In Right:Zoom-Out");
}

TEST_F(DocumentWindow, ZoomLaysTheCanvasOutAndTheScrollBarsFollow) {
    // 200 x 100 at zoom 300 in a 400 x 400 client (with the horizontal bar
    // the zoom brings).
    HWND wnd = open(200, 100);
    size_client(wnd, 400, 400, true, false);
    command(CMD_ZOOM_RATE_FIRST + 3);
    PictureDocument* doc = document_of(wnd);
    EXPECT_EQ(doc->zoom, 300);
    EXPECT_TRUE(checked(CMD_ZOOM_RATE_FIRST + 3));
    EXPECT_FALSE(checked(CMD_ZOOM_RATE_FIRST + 1));
    EXPECT_EQ(doc->canvas_left, 0);
    EXPECT_EQ(doc->visible_width, 133);
    EXPECT_EQ(doc->canvas_width, 399);
    EXPECT_EQ(doc->canvas_top, 50);
    EXPECT_EQ(doc->canvas_height, 300);
    EXPECT_EQ(doc->visible_height, 100);
    const RECT c = canvas_rect(wnd);
    EXPECT_EQ(c.left, 0);
    EXPECT_EQ(c.top, 50);
    EXPECT_EQ(c.right, 399);
    EXPECT_EQ(c.bottom, 350);
    // The thumb covers the part shown: 133 of the 200 columns.
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(wnd, SB_HORZ, &info);
    EXPECT_EQ(info.nMin, 0);
    EXPECT_EQ(info.nMax, 199);
    EXPECT_EQ(info.nPage, 133u);
    int low = -1, high = -1;
    GetScrollRange(wnd, SB_VERT, &low, &high);
    EXPECT_EQ(high, 0);
}

TEST_F(DocumentWindow, PagesMoveByHalfTheVisibleExtentWithinThePicture) {
    // 16 x 16 at zoom 1600 in a 100 x 100 client: 6 pixels seen, canvas 96.
    HWND wnd = open(16, 16);
    size_client(wnd, 100, 100, true, true);
    command(CMD_ZOOM_RATE_LAST);
    PictureDocument* doc = document_of(wnd);
    EXPECT_EQ(doc->visible_width, 6);
    EXPECT_EQ(doc->visible_height, 6);
    EXPECT_EQ(doc->canvas_width, 96);
    EXPECT_EQ(doc->canvas_height, 96);
    SendMessageA(wnd, WM_VSCROLL, SB_PAGEDOWN, 0);
    EXPECT_EQ(doc->view_origin_y, 3);
    EXPECT_EQ(GetScrollPos(wnd, SB_VERT), 3);
    for (int i = 0; i < 5; ++i)
        SendMessageA(wnd, WM_VSCROLL, SB_PAGEDOWN, 0);
    EXPECT_EQ(doc->view_origin_y, 10);
    SendMessageA(wnd, WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, 7), 0);
    EXPECT_EQ(doc->view_origin_x, 7);
    SendMessageA(wnd, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 2), 0);
    EXPECT_EQ(doc->view_origin_x, 7);
    for (int i = 0; i < 9; ++i)
        SendMessageA(wnd, WM_HSCROLL, SB_LINELEFT, 0);
    EXPECT_EQ(doc->view_origin_x, 0);
    // The arrow keys at the canvas scroll the same way, Shift by pages.
    SetFocus(canvas_of(wnd));
    SendMessageA(canvas_of(wnd), WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_EQ(doc->view_origin_x, 1);
    hold_keys({VK_SHIFT});
    SendMessageA(canvas_of(wnd), WM_KEYDOWN, VK_UP, 0);
    EXPECT_EQ(doc->view_origin_y, 7);
}

// The wheel reaches the canvas, which has the focus, and the canvas passes
// it on when Ctrl is not held.
TEST_F(DocumentWindow, TheWheelScrollsDownAndWithShiftAcross) {
    UINT lines = 0;
    SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    ASSERT_EQ(lines, 3u) << "the prefix's setting";
    HWND wnd = open(300, 200);
    size_client(wnd, 100, 80, true, true);
    PictureDocument* doc = document_of(wnd);
    HWND canvas = canvas_of(wnd);
    SetFocus(canvas);
    auto wheel = [&](int delta, WORD keys) {
        SendMessageA(canvas, WM_MOUSEWHEEL, MAKEWPARAM(keys, WORD(short(delta))),
                     MAKELPARAM(10, 10));
    };
    wheel(-WHEEL_DELTA, 0);
    EXPECT_EQ(doc->view_origin_y, 48) << "three lines of 16 pixels";
    EXPECT_EQ(GetScrollPos(wnd, SB_VERT), 48);
    wheel(-WHEEL_DELTA / 2, 0);
    wheel(-WHEEL_DELTA / 2, 0);
    EXPECT_EQ(doc->view_origin_y, 96) << "half notches add up";
    wheel(WHEEL_DELTA * 10, 0);
    EXPECT_EQ(doc->view_origin_y, 0);
    wheel(-WHEEL_DELTA, MK_SHIFT);
    EXPECT_EQ(doc->view_origin_x, 48);
    EXPECT_EQ(GetScrollPos(wnd, SB_HORZ), 48);
    EXPECT_EQ(doc->view_origin_y, 0);
    wheel(-WHEEL_DELTA * 100, MK_SHIFT);
    EXPECT_EQ(doc->view_origin_x, 300 - doc->visible_width);
    EXPECT_EQ(doc->zoom, 100);
}

TEST_F(DocumentWindow, APictureLargerThanTheWorkspaceOpensInsideIt) {
    RECT area;
    GetClientRect(shell_windows().mdi_client, &area);
    HWND wnd = open(area.right + 500, area.bottom + 300);
    ASSERT_NE(wnd, nullptr);
    RECT r;
    GetWindowRect(wnd, &r);
    MapWindowPoints(nullptr, shell_windows().mdi_client, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_GE(r.left, 0);
    EXPECT_GE(r.top, 0);
    EXPECT_LE(r.right, area.right);
    EXPECT_LE(r.bottom, area.bottom);
    // It scrolls instead.
    PictureDocument* doc = document_of(wnd);
    EXPECT_LT(doc->visible_width, area.right + 500);
    EXPECT_TRUE(GetWindowLongA(wnd, GWL_STYLE) & WS_HSCROLL);
}

TEST_F(DocumentWindow, APictureOpenedWhileTheActiveOneIsMaximisedIsMaximisedToo) {
    HWND first = open(40, 30);
    SendMessageA(shell_windows().mdi_client, WM_MDIMAXIMIZE, WPARAM(first), 0);
    pump();
    ASSERT_TRUE(IsZoomed(first));
    HWND second = open(60, 20);
    EXPECT_TRUE(IsZoomed(second));
    RECT area, client;
    GetClientRect(shell_windows().mdi_client, &area);
    GetClientRect(second, &client);
    EXPECT_EQ(client.right, area.right);
    EXPECT_EQ(client.bottom, area.bottom);
    // The picture is laid out in the whole workspace, in the middle.
    PictureDocument* doc = document_of(second);
    EXPECT_EQ(doc->canvas_left, (client.right - 60) / 2);
    EXPECT_EQ(doc->canvas_top, (client.bottom - 20) / 2);
    EXPECT_EQ(canvas_rect(second).left, doc->canvas_left);
}

TEST_F(DocumentWindow, ClosingAsksOnlyForAChangedPicture) {
    HWND unchanged = open(8, 8, 255, "C:\\pictures\\unchanged.vlx");
    {
        DialogAnswerer answerer([](HWND box) { DialogAnswerer::press(box, IDCANCEL); });
        command(CMD_CLOSE);
        EXPECT_TRUE(answerer.captions().empty());
    }
    EXPECT_FALSE(IsWindow(unchanged));

    HWND changed = open(8, 8, 255, "C:\\pictures\\changed.vlx");
    document_of(changed)->flags |= kDocModified | kDocNamed;
    std::wstring caption, text;
    auto answer_with = [&](int button) {
        return [&, button](HWND box) {
            wchar_t buf[512] = {};
            GetWindowTextW(box, buf, 512);
            caption = buf;
            GetWindowTextW(GetDlgItem(box, 0xFFFF), buf, 512);
            text = buf;
            DialogAnswerer::press(box, button);
        };
    };
    {
        DialogAnswerer answerer(answer_with(IDCANCEL));
        command(CMD_CLOSE);
    }
    EXPECT_TRUE(IsWindow(changed));
    EXPECT_EQ(caption, L"\u7d75\u3092\u9589\u3058\u308b");
    EXPECT_EQ(text.substr(0, 27), L"C:\\pictures\\changed.vlx\n\n\u7d75\u304c");
    {
        DialogAnswerer answerer(answer_with(IDNO));
        command(CMD_CLOSE);
    }
    EXPECT_FALSE(IsWindow(changed));
    EXPECT_EQ(recent_file(0), "C:\\pictures\\changed.vlx");
}

TEST_F(DocumentWindow, ActivationShowsThePicturesOwnModes) {
    HWND plain = open(8, 8);
    HWND only = open(8, 8);
    PictureDocument* doc = document_of(only);
    doc->flags |= kDocOnlyCurrentLayer | kDocMaskView | kDocGridShown;
    SendMessageA(shell_windows().mdi_client, WM_MDIACTIVATE, WPARAM(plain), 0);
    EXPECT_TRUE(greyed(CMD_WITH_LAYER_BELOW));
    EXPECT_TRUE(checked(CMD_VIEW_PICTURE));
    EXPECT_FALSE(checked(CMD_GRID));
    SendMessageA(shell_windows().mdi_client, WM_MDIACTIVATE, WPARAM(only), 0);
    EXPECT_FALSE(greyed(CMD_WITH_LAYER_BELOW));
    EXPECT_FALSE(checked(CMD_WITH_LAYER_BELOW));
    EXPECT_TRUE(checked(CMD_VIEW_MASK));
    EXPECT_FALSE(checked(CMD_VIEW_PICTURE));
    EXPECT_TRUE(checked(CMD_GRID));
    EXPECT_TRUE(checked(CMD_ONLY_CURRENT_LAYER));
    EXPECT_EQ(status_text(3), current_layer(*doc)->name);
    // The dialog bar shows the picture too.
    EXPECT_EQ(SendDlgItemMessageA(shell_windows().dialog_bar, IDC_BAR_VIEW, CB_GETCURSEL, 0, 0), 1);
}

TEST_F(DocumentWindow, TogglesFlipTheirFlagAndCheckMark) {
    HWND wnd = open(8, 8);
    PictureDocument* doc = document_of(wnd);
    command(CMD_GRID);
    EXPECT_TRUE(doc->flags & kDocGridShown);
    EXPECT_TRUE(checked(CMD_GRID));
    command(CMD_SNAP_TO_GRID);
    EXPECT_TRUE(doc->flags & kDocSnapToGrid);
    command(CMD_ONLY_CURRENT_LAYER);
    EXPECT_FALSE(greyed(CMD_WITH_LAYER_BELOW));
    command(CMD_WITH_LAYER_BELOW);
    EXPECT_TRUE(checked(CMD_WITH_LAYER_BELOW));
    command(CMD_ONLY_CURRENT_LAYER);
    EXPECT_TRUE(greyed(CMD_WITH_LAYER_BELOW));
    EXPECT_TRUE(doc->flags & kDocWithLayerBelow);
    command(CMD_GRID);
    EXPECT_FALSE(doc->flags & kDocGridShown);
    EXPECT_FALSE(checked(CMD_GRID));
    // Cut and Delete without a floating area have nothing to work on.
    const std::uint32_t flags = doc->flags;
    for (UINT id : {CMD_CUT, CMD_DELETE})
        command(id);
    EXPECT_EQ(doc->flags, flags);
    EXPECT_TRUE(IsWindow(wnd));
}

TEST_F(DocumentWindow, MaskViewForcesTheColoursToProtectedOrFree) {
    HWND wnd = open(8, 8);
    PictureDocument* doc = document_of(wnd);
    const RGBQUAD* table = current_layer(*doc)->image->colour_table();
    int dark = -1, light = -1;
    for (int i = 0; i < 256; ++i) {
        const int sum = table[i].rgbRed + table[i].rgbGreen + table[i].rgbBlue;
        if (sum < 384 && i != 0 && dark < 0) dark = i;
        if (sum >= 384 && i != 255 && light < 0) light = i;
    }
    ASSERT_GE(dark, 0);
    ASSERT_GE(light, 0);
    doc->left_colour = light;
    doc->right_colour = dark;
    command(CMD_VIEW_MASK);
    EXPECT_TRUE(doc->flags & kDocMaskView);
    EXPECT_EQ(doc->left_colour, 255);
    EXPECT_EQ(doc->right_colour, 0);
    // The mask plane (all free) shows white.
    EXPECT_EQ(pixel(*doc->composite, 3, 3), doc->white_index);
    command(CMD_VIEW_PICTURE);
    EXPECT_FALSE(doc->flags & kDocMaskView);
}

TEST_F(DocumentWindow, MirrorAndFlipReverseTheWholeLayerAndCanBeUndone) {
    HWND wnd = open(5, 3);
    PictureDocument* doc = document_of(wnd);
    Surface& image = *current_layer(*doc)->image;
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            pixel(image, x, y) = BYTE(10 * y + x);
    command(CMD_MIRROR);
    EXPECT_TRUE(doc->flags & kDocModified);
    EXPECT_EQ(pixel(*current_layer(*doc)->image, 0, 0), 4);
    EXPECT_EQ(pixel(*current_layer(*doc)->image, 4, 2), 20);
    EXPECT_EQ(pixel(*doc->composite, 0, 1), 14);
    command(CMD_FLIP);
    EXPECT_EQ(pixel(*current_layer(*doc)->image, 0, 0), 24);
    EXPECT_EQ(pixel(*current_layer(*doc)->image, 4, 2), 0);
    command(CMD_UNDO);
    EXPECT_EQ(pixel(*current_layer(*doc)->image, 0, 0), 4);

    // With the key colour on, its pixels in the reversed copy leave the old
    // ones in place.
    command(CMD_ENABLE_KEYCOLOR);
    current_layer(*doc)->key_colour = 1;
    command(CMD_MIRROR);
    Surface& now = *current_layer(*doc)->image;
    EXPECT_EQ(pixel(now, 0, 0), 0);
    EXPECT_EQ(pixel(now, 1, 0), 3) << "where the key lands the old pixel stays";
    EXPECT_EQ(pixel(now, 4, 0), 4);
}

TEST_F(DocumentWindow, EveryCanvasPaintsItsOwnPicture) {
    HWND red = open(40, 30, 249);
    HWND blue = open(40, 30, 252);
    // A palette display always presents through the stretching copy.
    document_of(red)->flags |= kDocPaletteDevice;
    command(CMD_TILE);
    pump();
    for (HWND wnd : {red, blue}) {
        InvalidateRect(canvas_of(wnd), nullptr, FALSE);
        UpdateWindow(canvas_of(wnd));
    }
    GdiFlush();
    auto colour_of = [](HWND wnd) {
        HDC dc = GetDC(canvas_of(wnd));
        COLORREF c = GetPixel(dc, 5, 5);
        ReleaseDC(canvas_of(wnd), dc);
        return c;
    };
    const RGBQUAD* table = current_layer(*document_of(red))->image->colour_table();
    EXPECT_EQ(colour_of(red), RGB(table[249].rgbRed, table[249].rgbGreen, table[249].rgbBlue));
    EXPECT_EQ(colour_of(blue), RGB(table[252].rgbRed, table[252].rgbGreen, table[252].rgbBlue));
}

} // namespace
