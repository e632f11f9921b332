// The zoom editor, its tile view and the mini zoomer as the frame opens
// them: a click in the display is one Rotring pixel on the picture and the
// canvas, Undo takes it back, the tile view is three areas square, the mini
// zoomer magnifies around the pointer, and closing or failing to open gives
// the frame's check mark and toolbar button back.
#include "app/tools/drawing.h"
#include "app/tools/zoom_view.h"
#include "app/windows/mini_zoom/mini_zoom_wnd.h"
#include "app/windows/zoom/zoom_wnd.h"
#include "picture_window_fixture.h"

#include <commctrl.h>

namespace {

constexpr BYTE kInk = 3;

class ZoomWindow : public PictureWindow {
  protected:
    // A 64 x 64 picture of 255 with its view area at (0, 0), factor 10,
    // the left colour kInk, and the zoom window open.
    PictureDocument& opened(AreaRect area = {0, 0, 32, 32}) {
        wnd_ = open(64, 64);
        PictureDocument& doc = *document_of(wnd_);
        doc.zoom_window_scale = 10;
        doc.zoom_window_area = area;
        doc.left_colour = doc.right_colour = kInk;
        drawing_colours_changed(doc);
        command(CMD_ZOOM_WINDOW);
        pump();
        zoom_ = shell_windows().zoom_window;
        display_ = zoom_ ? FindWindowExA(zoom_, nullptr, kZoomDisplayClass, nullptr) : nullptr;
        return doc;
    }
    bool frame_checked(UINT command) const {
        return GetMenuState(GetMenu(frame_), command, MF_BYCOMMAND) & MF_CHECKED;
    }
    bool button_pressed(UINT command) const {
        return SendMessageA(shell_windows().toolbar, TB_ISBUTTONCHECKED, command, 0) != 0;
    }
    static COLORREF screen(HWND wnd, int x, int y) {
        GdiFlush();
        HDC dc = GetDC(wnd);
        const COLORREF c = GetPixel(dc, x, y) & 0xFFFFFF;
        ReleaseDC(wnd, dc);
        return c;
    }
    static COLORREF colour_of(const PictureDocument& doc, BYTE index) {
        const RGBQUAD c = current_layer(doc)->image->colour_table()[index];
        return RGB(c.rgbRed, c.rgbGreen, c.rgbBlue);
    }

    HWND wnd_ = nullptr;
    HWND zoom_ = nullptr;
    HWND display_ = nullptr;
};

TEST_F(ZoomWindow, AClickIsOnePixelOnThePictureAndTheCanvasAndUndoTakesItBack) {
    PictureDocument& doc = opened();
    ASSERT_NE(display_, nullptr);
    EXPECT_TRUE(frame_checked(CMD_ZOOM_WINDOW));
    EXPECT_TRUE(button_pressed(CMD_ZOOM_WINDOW));
    RECT client;
    GetClientRect(display_, &client);
    EXPECT_EQ(client.right, 320);
    EXPECT_EQ(client.bottom, 320);

    Surface before;
    ASSERT_TRUE(before.create(64, 64));
    current_layer(doc)->image->copy_to(before);
    SendMessageA(display_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(25, 37));
    SendMessageA(display_, WM_LBUTTONUP, 0, MAKELPARAM(25, 37));
    Surface& image = *current_layer(doc)->image;
    EXPECT_EQ(pixel(image, 2, 3), kInk);
    pixel(before, 2, 3) = kInk;
    EXPECT_TRUE(same_pixels(image, before)) << "only the pixel under the click changes";
    EXPECT_EQ(screen(canvas_of(wnd_), 2, 3), colour_of(doc, kInk));
    EXPECT_EQ(screen(display_, 25, 35), colour_of(doc, kInk)) << "the display shows it too";

    command(CMD_UNDO);
    EXPECT_EQ(pixel(*current_layer(doc)->image, 2, 3), 255);
}

TEST_F(ZoomWindow, SpaceDrawsLikeAClickAndItsRepeatsDoNothing) {
    PictureDocument& doc = opened();
    ASSERT_NE(display_, nullptr);
    POINT p{45, 15}; // cell (4, 1)
    ClientToScreen(display_, &p);
    SetCursorPos(p.x, p.y);
    SendMessageA(display_, WM_KEYDOWN, VK_SPACE, 0);
    Surface& image = *current_layer(doc)->image;
    EXPECT_EQ(pixel(image, 4, 1), kInk);
    // Held down, the key repeats: no second press, no second undo copy.
    pixel(image, 4, 1) = 255;
    SendMessageA(display_, WM_KEYDOWN, VK_SPACE, LPARAM(1) << 30);
    EXPECT_EQ(pixel(image, 4, 1), 255);
    SendMessageA(display_, WM_KEYUP, VK_SPACE, 0);
    EXPECT_NE(GetCapture(), display_);
}

TEST_F(ZoomWindow, SelectViewAreaMovesTheAreaUnderThePointerUntilAClick) {
    PictureDocument& doc = opened({0, 0, 16, 16});
    ASSERT_NE(zoom_, nullptr);
    HWND canvas = canvas_of(wnd_);
    const auto point_at = [&](int x, int y) {
        POINT p{x, y};
        ClientToScreen(canvas, &p);
        SetCursorPos(p.x, p.y);
        SendMessageA(zoom_, WM_MOUSEMOVE, 0, 0);
    };
    SendMessageA(zoom_, WM_COMMAND, CMD_ZOOM_SELECT_VIEW_AREA, 0);
    EXPECT_EQ(GetCapture(), zoom_);
    point_at(8, 12);
    EXPECT_EQ(doc.zoom_window_area.left, 8);
    EXPECT_EQ(doc.zoom_window_area.top, 12);
    point_at(60, 60); // the area would leave the picture: it stays
    EXPECT_EQ(doc.zoom_window_area.left, 8);
    SendMessageA(zoom_, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    EXPECT_NE(GetCapture(), zoom_);
    point_at(20, 20);
    EXPECT_EQ(doc.zoom_window_area.left, 8) << "the selection ended with the click";
}

TEST_F(ZoomWindow, TheTileViewIsThreeAreasSquare) {
    opened({0, 0, 16, 16});
    ASSERT_NE(zoom_, nullptr);
    SendMessageA(zoom_, WM_COMMAND, CMD_ZOOM_TILE_VIEW, 0);
    pump();
    HWND tiles = FindWindowA(kTileViewClass, nullptr);
    ASSERT_NE(tiles, nullptr);
    RECT client;
    GetClientRect(tiles, &client);
    EXPECT_EQ(client.right, 48);
    EXPECT_EQ(client.bottom, 48);
    EXPECT_TRUE(GetMenuState(GetMenu(zoom_), CMD_ZOOM_TILE_VIEW, MF_BYCOMMAND) & MF_CHECKED);
    // The tile view goes with the zoom window.
    DestroyWindow(zoom_);
    EXPECT_FALSE(IsWindow(tiles));
}

TEST_F(ZoomWindow, ClosingStoresThePlaceAndGivesTheFrameItsButtonBack) {
    opened();
    ASSERT_NE(zoom_, nullptr);
    SetWindowPos(zoom_, nullptr, 123, 45, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SendMessageA(zoom_, WM_COMMAND, CMD_ZOOM_DRAW_GRID, 0);
    SendMessageA(zoom_, WM_COMMAND, CMD_ZOOM_CLOSE, 0);
    EXPECT_EQ(shell_windows().zoom_window, nullptr);
    EXPECT_FALSE(frame_checked(CMD_ZOOM_WINDOW));
    EXPECT_FALSE(button_pressed(CMD_ZOOM_WINDOW));
    EXPECT_EQ(settings().zoom_left, 123);
    EXPECT_EQ(settings().zoom_top, 45);
    EXPECT_EQ(settings().zoom_ShowGrid, 0);
}

TEST_F(ZoomWindow, WithoutAPictureNothingOpensAndNothingStaysPressed) {
    for (const UINT command_id : {UINT(CMD_ZOOM_WINDOW), UINT(CMD_MINI_ZOOMER)}) {
        command(command_id);
        EXPECT_FALSE(frame_checked(command_id)) << command_id;
        EXPECT_FALSE(button_pressed(command_id)) << command_id;
    }
    // Created directly, as another start-up path might, they refuse too.
    EXPECT_EQ(create_zoom_window(frame_), nullptr);
    EXPECT_EQ(create_mini_zoomer(frame_), nullptr);
    EXPECT_EQ(shell_windows().zoom_window, nullptr);
    EXPECT_EQ(shell_windows().mini_zoomer, nullptr);
}

TEST_F(ZoomWindow, TheMiniZoomerMagnifiesAroundThePointer) {
    wnd_ = open(64, 64);
    PictureDocument& doc = *document_of(wnd_);
    command(CMD_MINI_ZOOMER);
    pump();
    HWND mini = shell_windows().mini_zoomer;
    ASSERT_NE(mini, nullptr);
    RECT client;
    GetClientRect(mini, &client);
    EXPECT_EQ(client.right, kMiniSide);
    EXPECT_EQ(client.bottom, kMiniSide);
    // The pointer at (0, 0): four black cells left and above, then the
    // picture's white.
    doc.current_point = {0, 0};
    SendMessageA(mini, kMsgMousePosition, 0, 0);
    EXPECT_EQ(screen(mini, 10, 10), RGB(0, 0, 0));
    EXPECT_EQ(screen(mini, 100, 100), colour_of(doc, 255));
    // The centre pixel's frame is inverted across the window: white over
    // the border, black over the picture.
    EXPECT_EQ(screen(mini, 100, 63), RGB(255, 255, 255));
    EXPECT_EQ(screen(mini, 100, 80), RGB(0, 0, 0));
    EXPECT_EQ(screen(mini, 80, 100), RGB(0, 0, 0));
    command(CMD_MINI_ZOOMER);
    EXPECT_EQ(shell_windows().mini_zoomer, nullptr);
    EXPECT_FALSE(button_pressed(CMD_MINI_ZOOMER));
}

} // namespace
