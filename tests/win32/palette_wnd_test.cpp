// The palette window, the colour editor and Decrease Colors through the real
// windows: clicks pick the drawing, key and background colours and tell the
// tool window; the track bar and tone strip set the tone level; a Shift-drag
// swaps two colours without changing the screen; palette files go out and
// come back through the menu; the editor applies what is typed in its model
// and ignores what lies outside it; Decrease Colors reduces every layer.
#include "app/files/palette_file.h"
#include "app/windows/palette/palette_wnd.h"
#include "engine/rasko.h"
#include "harness.h"
#include "picture_window_fixture.h"

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// Messages the tool window received, by a subclass of it.
std::vector<UINT> tool_messages;
WNDPROC tool_proc = nullptr;

LRESULT CALLBACK recording_tool_proc(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    if (msg == kMsgColourViews || msg == kMsgPaletteChanged) tool_messages.push_back(msg);
    return CallWindowProcA(tool_proc, wnd, msg, wparam, lparam);
}

class Palette : public PictureWindow {
  protected:
    void SetUp() override {
        PictureWindow::SetUp();
        tool_messages.clear();
        HWND tool = shell_windows().tool_window;
        ASSERT_NE(tool, nullptr);
        tool_proc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(tool, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(recording_tool_proc)));
    }

    // A picture whose pixels are x + 8 y over a palette of distinct colours.
    PictureDocument& open_numbered(HWND& wnd) {
        wnd = open(8, 8);
        PictureDocument& doc = *document_of(wnd);
        Layer& layer = *current_layer(doc);
        for (int i = 0; i < 256; ++i)
            layer.image->colour_table()[i] = RGBQUAD{BYTE(i), BYTE(255 - i), BYTE(i / 2), 0};
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                pixel(*layer.image, x, y) = BYTE(x + 8 * y);
        layer.image->copy_to(*layer.undo_copy);
        SendMessageA(wnd, kMsgPaletteChanged, 0, 0);
        return doc;
    }
    HWND open_palette() {
        command(CMD_PALETTE_WINDOW);
        HWND palette = shell_windows().palette_window;
        EXPECT_NE(palette, nullptr);
        display_ = FindWindowExA(palette, nullptr, kPaletteDisplayClass, nullptr);
        EXPECT_NE(display_, nullptr);
        return palette;
    }
    // The centre of an entry's cell with the first row at the top.
    static LPARAM cell(int index) {
        return MAKELPARAM((index % 16) * 16 + 8, (index / 16) * 12 + 6);
    }
    void click(UINT down, UINT up, int index, WPARAM keys = 0) {
        SendMessageA(display_, down, keys, cell(index));
        if (up) SendMessageA(display_, up, keys, cell(index));
    }
    HWND display_ = nullptr;
};

// What the canvas shows, read back from its window.
std::vector<COLORREF> screen_of(HWND document_window, int width, int height) {
    HWND canvas = canvas_of(document_window);
    HDC dc = GetDC(canvas);
    std::vector<COLORREF> shown;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            shown.push_back(GetPixel(dc, x, y));
    ReleaseDC(canvas, dc);
    return shown;
}

TEST_F(Palette, ClicksPickColoursAndTellTheToolWindow) {
    HWND wnd;
    PictureDocument& doc = open_numbered(wnd);
    open_palette();
    ASSERT_FALSE(HasFailure());
    EXPECT_TRUE(GetMenuState(GetMenu(frame_), CMD_PALETTE_WINDOW, MF_BYCOMMAND) & MF_CHECKED);

    tool_messages.clear();
    click(WM_LBUTTONDOWN, WM_LBUTTONUP, 34);
    EXPECT_EQ(doc.left_colour, 34);
    EXPECT_NE(std::count(tool_messages.begin(), tool_messages.end(), kMsgColourViews), 0);
    EXPECT_EQ(std::count(tool_messages.begin(), tool_messages.end(), kMsgPaletteChanged), 0);
    EXPECT_EQ(pixel(*doc.colour_swatch, 0, 0), 34); // tone 0: all left colour

    tool_messages.clear();
    click(WM_RBUTTONDOWN, 0, 200);
    EXPECT_EQ(doc.right_colour, 200);
    EXPECT_FALSE(tool_messages.empty());

    Layer& layer = *current_layer(doc);
    click(WM_RBUTTONDOWN, 0, 9, MK_CONTROL);
    EXPECT_EQ(layer.key_colour, 9);
    EXPECT_EQ(doc.right_colour, 200);
    click(WM_RBUTTONDOWN, 0, 10, MK_SHIFT);
    EXPECT_EQ(layer.background_colour, 10);
    EXPECT_TRUE(doc.flags & kDocModified);

    // A Shift-drag released outside the grid swaps nothing.
    const RGBQUAD three = layer.image->colour_table()[3];
    SendMessageA(display_, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, cell(3));
    SendMessageA(display_, WM_MOUSEMOVE, MK_LBUTTON | MK_SHIFT, MAKELPARAM(300, 6));
    SendMessageA(display_, WM_LBUTTONUP, MK_SHIFT, MAKELPARAM(300, 6));
    EXPECT_EQ(layer.image->colour_table()[3].rgbBlue, three.rgbBlue);
    EXPECT_EQ(pixel(*layer.image, 3, 0), 3);
}

TEST_F(Palette, TrackBarAndStripSetTheToneLevel) {
    HWND wnd;
    PictureDocument& doc = open_numbered(wnd);
    HWND palette = open_palette();
    ASSERT_FALSE(HasFailure());
    HWND track = FindWindowExA(palette, nullptr, TRACKBAR_CLASSA, nullptr);
    ASSERT_NE(track, nullptr);
    RECT thumb{}, channel{};
    SendMessageA(track, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    SendMessageA(track, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
    const int y = (thumb.top + thumb.bottom) / 2;
    SendMessageA(track, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM((thumb.left + thumb.right) / 2, y));
    SendMessageA(track, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(channel.right + 20, y));
    SendMessageA(track, WM_LBUTTONUP, 0, MAKELPARAM(channel.right + 20, y));
    EXPECT_EQ(doc.tone_level, 16);

    // The canvas steps the tone through the window without a control.
    SendMessageA(palette, WM_HSCROLL, SB_LINELEFT, 0);
    EXPECT_EQ(doc.tone_level, 15);
    EXPECT_EQ(SendMessageA(track, TBM_GETPOS, 0, 0), 15);

    // Cell 5 of the tone strip under the 16-row grid.
    SendMessageA(palette, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5 * 16 + 3, 192 + 40));
    EXPECT_EQ(doc.tone_level, 5);
}

TEST_F(Palette, ShiftDragSwapsWithoutChangingTheScreenAndUndoComesBack) {
    HWND wnd;
    PictureDocument& doc = open_numbered(wnd);
    open_palette();
    ASSERT_FALSE(HasFailure());
    Layer& layer = *current_layer(doc);
    layer.key_colour = 7;
    const std::vector<COLORREF> before = screen_of(wnd, 8, 8);
    const RGBQUAD three = layer.image->colour_table()[3], seven = layer.image->colour_table()[7];
    tool_messages.clear();
    SendMessageA(display_, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, cell(3));
    SendMessageA(display_, WM_MOUSEMOVE, MK_LBUTTON | MK_SHIFT, cell(7));
    SendMessageA(display_, WM_LBUTTONUP, MK_SHIFT, cell(7));
    pump();
    EXPECT_EQ(pixel(*layer.image, 3, 0), 7);
    EXPECT_EQ(pixel(*layer.image, 7, 0), 3);
    EXPECT_EQ(layer.image->colour_table()[7].rgbBlue, three.rgbBlue);
    EXPECT_EQ(layer.image->colour_table()[3].rgbBlue, seven.rgbBlue);
    EXPECT_EQ(layer.key_colour, 3);
    EXPECT_EQ(doc.composite->colour_table()[7].rgbBlue, three.rgbBlue);
    EXPECT_NE(std::count(tool_messages.begin(), tool_messages.end(), kMsgPaletteChanged), 0);
    EXPECT_EQ(screen_of(wnd, 8, 8), before);

    command(CMD_UNDO);
    EXPECT_EQ(pixel(*current_layer(doc)->image, 3, 0), 3);
    EXPECT_EQ(current_layer(doc)->image->colour_table()[3].rgbBlue, three.rgbBlue);
}

TEST_F(Palette, PaletteFilesGoOutAndComeBackThroughTheMenu) {
    HWND wnd;
    PictureDocument& doc = open_numbered(wnd);
    HWND palette = open_palette();
    ASSERT_FALSE(HasFailure());
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    const std::string path = std::string(temp) + "velmo-palette-test.vlf";
    DeleteFileA(path.c_str());
    {
        DialogAnswerer answerer([&](HWND dlg) { DialogAnswerer::choose_file(dlg, path); });
        SendMessageA(palette, WM_COMMAND, CMD_PAL_SAVE, 0);
    }
    RGBQUAD saved[256] = {};
    ASSERT_EQ(read_palette_file(path.c_str(), saved), 1);
    EXPECT_EQ(saved[9].rgbBlue, 9);

    // Entries 0 and 1 of a file pasted at 250 and 251.
    current_layer(doc)->image->colour_table()[0] = RGBQUAD{0, 0, 0, 0};
    ASSERT_EQ(write_palette_file(path.c_str(), current_layer(doc)->image->colour_table()), 1);
    std::vector<std::string> steps;
    {
        DialogAnswerer answerer([&](HWND dlg) {
            char caption[64] = {};
            GetWindowTextA(dlg, caption, sizeof caption);
            steps.push_back(caption);
            if (steps.size() == 1) return DialogAnswerer::choose_file(dlg, path);
            SetDlgItemTextA(dlg, IDC_LOADPAL_FROM, "0");
            SetDlgItemTextA(dlg, IDC_LOADPAL_TO, "300"); // refused: the dialog stays
            DialogAnswerer::press(dlg, IDOK);
            SetDlgItemTextA(dlg, IDC_LOADPAL_TO, "1");
            SetDlgItemTextA(dlg, IDC_LOADPAL_POSITION, "250");
            DialogAnswerer::press(dlg, IDOK);
        });
        SendMessageA(palette, WM_COMMAND, CMD_PAL_OPEN, 0);
    }
    ASSERT_EQ(steps.size(), 2u);
    EXPECT_EQ(steps[1], "Paste Palette");
    const RGBQUAD* table = current_layer(doc)->image->colour_table();
    EXPECT_EQ(table[250].rgbBlue, 0);
    EXPECT_EQ(table[251].rgbBlue, 1);
    EXPECT_EQ(table[249].rgbBlue, 249);
    EXPECT_TRUE(doc.flags & kDocModified);
    DeleteFileA(path.c_str());
}

TEST_F(Palette, ColourEditorAppliesTypedColoursInItsModel) {
    HWND wnd;
    PictureDocument& doc = open_numbered(wnd);
    HWND palette = open_palette();
    ASSERT_FALSE(HasFailure());
    command(CMD_LAYER_MANAGER);
    SendMessageA(shell_windows().layer_manager, WM_COMMAND, IDC_LAYER_NEW, 0);
    ASSERT_EQ(doc.layer_count, 2);
    click(WM_LBUTTONDOWN, WM_LBUTTONUP, 20);
    SendMessageA(palette, WM_COMMAND, CMD_PAL_MAKE_NEW_COLOR, 0);
    HWND editor = shell_windows().colour_editor;
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(GetDlgItemInt(editor, IDC_PAL_COMPONENT_1, nullptr, FALSE), 10u); // red of entry 20
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(editor, IDC_PAL_LEFT_INDEX)));

    if (IsDlgButtonChecked(editor, IDC_PAL_SYNC) != BST_CHECKED)
        SendMessageA(GetDlgItem(editor, IDC_PAL_SYNC), BM_CLICK, 0, 0);
    SetDlgItemTextA(editor, IDC_PAL_COMPONENT_1, "300"); // outside RGB: ignored
    EXPECT_EQ(current_layer(doc)->image->colour_table()[20].rgbRed, 10);
    SetDlgItemTextA(editor, IDC_PAL_COMPONENT_1, "99");
    for (LayerNode* n = doc.layers->next; n != doc.layers; n = n->next)
        EXPECT_EQ(n->layer->image->colour_table()[20].rgbRed, 99);

    SendMessageA(GetDlgItem(editor, IDC_PAL_HSV), BM_CLICK, 0, 0);
    SetDlgItemTextA(editor, IDC_PAL_COMPONENT_3, "100");
    SetDlgItemTextA(editor, IDC_PAL_COMPONENT_2, "100");
    SetDlgItemTextA(editor, IDC_PAL_COMPONENT_1, "360"); // red, not yellow
    const RGBQUAD& red = current_layer(doc)->image->colour_table()[20];
    EXPECT_EQ(red.rgbRed, 255);
    EXPECT_EQ(red.rgbGreen, 0);
    EXPECT_EQ(red.rgbBlue, 0);

    // The key colour cannot be unset here; setting it redraws the picture.
    SendMessageA(GetDlgItem(editor, IDC_PAL_KEY), BM_CLICK, 0, 0);
    EXPECT_EQ(current_layer(doc)->key_colour, 20);
    SendMessageA(GetDlgItem(editor, IDC_PAL_KEY), BM_CLICK, 0, 0);
    EXPECT_EQ(IsDlgButtonChecked(editor, IDC_PAL_KEY), UINT(BST_CHECKED));
    EXPECT_EQ(current_layer(doc)->key_colour, 20);

    // A click in the palette moves the editor to that colour, without a loop.
    click(WM_LBUTTONDOWN, WM_LBUTTONUP, 30);
    EXPECT_EQ(GetDlgItemInt(editor, IDC_PAL_LEFT_INDEX, nullptr, FALSE), 30u);
    SendMessageA(editor, WM_CLOSE, 0, 0);
    EXPECT_EQ(shell_windows().colour_editor, nullptr);
    EXPECT_EQ(settings().PaletteMakeOn, 0);
}

TEST_F(Palette, DecreaseColorsReducesEveryLayer) {
    HWND wnd;
    PictureDocument& doc = open_numbered(wnd);
    Layer& layer = *current_layer(doc);
    {
        DialogAnswerer answerer(
            [](HWND dlg) {
                CheckDlgButton(dlg, IDC_DECREASE_128, BST_UNCHECKED);
                CheckDlgButton(dlg, IDC_DECREASE_16, BST_CHECKED);
                CheckDlgButton(dlg, IDC_DECREASE_DITHER, BST_CHECKED);
                DialogAnswerer::press(dlg, IDOK);
            },
            "Decrease Color");
        command(CMD_DECREASE_COLORS);
        EXPECT_EQ(answerer.captions().size(), 1u);
    }
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_LT(pixel(*layer.image, x, y), 16) << x << "," << y;
    EXPECT_EQ(pixel(*layer.undo_copy, 7, 7), 63);
    EXPECT_EQ(doc.composite->colour_table()[40].rgbBlue, 0);
    EXPECT_TRUE(doc.flags & kDocModified);
    {
        DialogAnswerer answerer([](HWND dlg) { DialogAnswerer::press(dlg, IDCANCEL); });
        command(CMD_DECREASE_COLORS);
    }
    EXPECT_EQ(pixel(*layer.undo_copy, 7, 7), 63); // cancelled: no new undo copy
}

} // namespace
