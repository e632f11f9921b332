// The canvas under Wine: strokes drawn with mouse messages to the real
// canvas give exactly the pixels of the portable model; shapes wait for the
// release; the mask, the M key and colour keying protect what they should;
// Undo and the settle points; the Zoom tool, Ctrl + wheel, the keys, colour
// picking and the messages other windows send.
#include "app/tools/drawing.h"
#include "app/tools/pen_tool.h"
#include "app/tools/stroke_shape.h"
#include "app/tools/view.h"
#include "app/session/addin_host.h"
#include "picture_window_fixture.h"

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

void set_colours(PictureDocument& doc, int left, int right, int tone) {
    doc.left_colour = left;
    doc.right_colour = right;
    doc.tone_level = tone;
    drawing_colours_changed(doc);
}

// The same picture drawn by the portable code alone.
struct Model {
    PictureDocument* doc;
    Model(int width, int height, BYTE fill, int left, int right, int tone)
        : doc(new_picture(width, height, pen_slots().slot[0], nullptr)) {
        Surface& image = *current_layer(*doc)->image;
        std::memset(image.bits, fill, image.pixel_bytes());
        set_colours(*doc, left, right, tone);
    }
    ~Model() { free_document(doc); }
    void stroke(int mode, POINT from, POINT to, bool release) {
        build_stroke_shape(*doc->stroke_surface, mode, from, to, *doc->current_pen,
                           doc->stroke_rect);
        pen_paint(*doc, false, release);
    }
    Surface& image() { return *current_layer(*doc)->image; }
};

int count(Surface& s, BYTE value) {
    int n = 0;
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x)
            n += pixel(s, x, y) == value;
    return n;
}

class Canvas : public PictureWindow {
  protected:
    // A picture in its window with the Pen chosen and colours 3 and 5 mixed
    // at level 8.
    PictureDocument& pen_picture(int width, int height, BYTE fill = 255) {
        wnd_ = open(width, height, fill);
        canvas_ = canvas_of(wnd_);
        PictureDocument& doc = *document_of(wnd_);
        set_colours(doc, 3, 5, 8);
        choose_tool(kToolPen);
        return doc;
    }
    void free_hand_stroke() {
        press(canvas_, 10, 10);
        drag(canvas_, 20, 14);
        drag(canvas_, 30, 12);
        release(canvas_, 30, 12);
    }
    HWND wnd_ = nullptr;
    HWND canvas_ = nullptr;
};

TEST_F(Canvas, AFreeHandPenStrokeIsExactlyTheModelsStroke) {
    PictureDocument& doc = pen_picture(64, 48);
    free_hand_stroke();
    Model model(64, 48, 255, 3, 5, 8);
    model.stroke(kShapeFreeHand, {10, 10}, {20, 14}, false);
    model.stroke(kShapeFreeHand, {20, 14}, {30, 12}, false);
    model.stroke(kShapeFreeHand, {30, 12}, {30, 12}, true);
    Surface& image = *current_layer(doc)->image;
    EXPECT_TRUE(same_pixels(image, model.image()));
    EXPECT_GT(count(image, 3), 0);
    EXPECT_GT(count(image, 5), 0);
    EXPECT_TRUE(same_pixels(image, *doc.composite));
    EXPECT_EQ(count(*current_layer(doc)->undo_copy, 255), 64 * 48) << "undo copy at the press";
    EXPECT_TRUE(doc.flags & kDocModified);
    EXPECT_EQ(doc.flags & kNotifyBits, 0u);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(Canvas, ShapeModesPaintOnlyOnTheRelease) {
    const struct {
        int mode;
        POINT end; // (45, 60) from (40, 40) with Shift
    } shapes[] = {{kShapeLine, {40, 60}}, {kShapeRectangle, {60, 60}}, {kShapeEllipse, {60, 60}}};
    for (const auto& shape : shapes) {
        PictureDocument& doc = pen_picture(100, 100);
        shell_state().shape_mode = shape.mode;
        press(canvas_, 40, 40);
        drag(canvas_, 44, 52, MK_SHIFT);
        drag(canvas_, 45, 60, MK_SHIFT);
        Surface& image = *current_layer(doc)->image;
        EXPECT_EQ(count(image, 255), 100 * 100) << shape.mode << " paints nothing while dragged";
        EXPECT_LT(count(*doc.composite, 255), 100 * 100) << shape.mode << " shows a preview";
        release(canvas_, 45, 60, MK_SHIFT);
        Model model(100, 100, 255, 3, 5, 8);
        model.stroke(shape.mode, {40, 40}, shape.end, true);
        EXPECT_TRUE(same_pixels(image, model.image())) << shape.mode;
        EXPECT_TRUE(same_pixels(image, *doc.composite)) << shape.mode << " preview gone";
        SendMessageA(shell_windows().mdi_client, WM_MDIDESTROY, WPARAM(wnd_), 0);
    }
}

TEST_F(Canvas, TheMaskAndTheMKeyKeepProtectedPixels) {
    PictureDocument& doc = pen_picture(64, 48, 9);
    Surface& mask = *current_layer(doc)->mask;
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 20; ++x)
            pixel(mask, x, y) = 0;
    // Undo trades the image for its undo copy: always ask for the current one.
    auto image = [&]() -> Surface& { return *current_layer(doc)->image; };
    auto protected_kept = [&] {
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 20; ++x)
                if (pixel(image(), x, y) != 9) return false;
        return true;
    };
    command(CMD_MASK_ON);
    ASSERT_TRUE(doc.flags & kDocMaskOn);
    free_hand_stroke();
    EXPECT_TRUE(protected_kept());
    EXPECT_LT(count(image(), 9), 64 * 48) << "free pixels are painted";

    command(CMD_MASK_ON);
    command(CMD_UNDO);
    EXPECT_EQ(count(image(), 9), 64 * 48);
    hold_keys({'M'});
    free_hand_stroke();
    EXPECT_TRUE(protected_kept());
    EXPECT_LT(count(image(), 9), 64 * 48);
    hold_keys({});
    free_hand_stroke();
    EXPECT_FALSE(protected_kept()) << "without mask and M the stroke reaches everything";
}

TEST_F(Canvas, KeyingNeverWritesTheKeyColour) {
    PictureDocument& doc = pen_picture(64, 48, 9);
    current_layer(doc)->key_colour = 3;
    command(CMD_ENABLE_KEYCOLOR);
    free_hand_stroke();
    Surface& image = *current_layer(doc)->image;
    EXPECT_EQ(count(image, 3), 0);
    EXPECT_GT(count(image, 5), 0);
    // In mask view keying does not hold: 255 (free) can be painted back.
    command(CMD_VIEW_MASK);
    Surface& mask = *current_layer(doc)->mask;
    std::memset(mask.bits, 0, mask.pixel_bytes());
    current_layer(doc)->key_colour = 255;
    set_colours(doc, 255, 255, 0);
    free_hand_stroke();
    EXPECT_GT(count(mask, 255), 0);
}

TEST_F(Canvas, UndoTwiceBringsTheStrokeBack) {
    PictureDocument& doc = pen_picture(64, 48);
    free_hand_stroke();
    Model drawn(64, 48, 255, 3, 5, 8);
    std::memcpy(drawn.image().bits, current_layer(doc)->image->bits, drawn.image().pixel_bytes());
    command(CMD_UNDO);
    EXPECT_EQ(count(*current_layer(doc)->image, 255), 64 * 48);
    EXPECT_EQ(count(*doc.composite, 255), 64 * 48);
    command(CMD_UNDO);
    EXPECT_TRUE(same_pixels(*current_layer(doc)->image, drawn.image()));
    EXPECT_TRUE(same_pixels(*doc.composite, drawn.image()));
}

TEST_F(Canvas, UndoAfterAChangeOfLayerRevertsOnlyTheNewLayer) {
    PictureDocument& doc = pen_picture(64, 48);
    ASSERT_NE(add_layer_above(doc), nullptr);
    auto make_current = [&](int position) {
        SendMessageA(wnd_, kMsgLayerChanging, 0, 0);
        doc.current = layer_node_at(doc, position);
        SendMessageA(wnd_, kMsgLayerChanged, 1, 0);
    };
    make_current(1);
    free_hand_stroke();
    Layer* bottom = layer_node_at(doc, 1)->layer;
    Layer* top = layer_node_at(doc, 2)->layer;
    const int painted = count(*bottom->image, 255);
    ASSERT_LT(painted, 64 * 48);
    make_current(2);
    press(canvas_, 10, 30);
    drag(canvas_, 40, 30);
    release(canvas_, 40, 30);
    ASSERT_LT(count(*top->image, 255), 64 * 48);
    command(CMD_UNDO);
    EXPECT_EQ(count(*top->image, 255), 64 * 48);
    EXPECT_EQ(count(*bottom->image, 255), painted);
}

TEST_F(Canvas, TheZoomToolAndCtrlWheelKeepThePixelUnderThePointer) {
    HWND wnd = open(200, 200);
    HWND canvas = canvas_of(wnd);
    PictureDocument& doc = *document_of(wnd);
    MoveWindow(wnd, 0, 0, 150, 150, TRUE);
    pump();
    ASSERT_EQ(doc.zoom, 100);
    SendMessageA(wnd, WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, 20), 0);
    const POINT before = canvas_to_picture(doc, 50, 40);
    POINT screen{50, 40};
    ClientToScreen(canvas, &screen);
    SetFocus(canvas);
    SendMessageA(canvas, WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, WHEEL_DELTA),
                 MAKELPARAM(screen.x, screen.y));
    EXPECT_EQ(doc.zoom, 200);
    POINT at{50, 40};
    ScreenToClient(canvas, &screen);
    const POINT after = canvas_to_picture(doc, screen.x, screen.y);
    EXPECT_EQ(after.x, before.x);
    EXPECT_EQ(after.y, before.y);
    EXPECT_EQ(SendDlgItemMessageA(shell_windows().dialog_bar, IDC_BAR_ZOOM, CB_GETCURSEL, 0, 0), 2);
    // Without Ctrl the wheel does not zoom.
    SendMessageA(canvas, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(screen.x, screen.y));
    EXPECT_EQ(doc.zoom, 200);

    choose_tool(0);
    press(canvas, at.x, at.y);
    release(canvas, at.x, at.y);
    EXPECT_EQ(doc.zoom, 300);
    SendMessageA(canvas, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(at.x, at.y));
    EXPECT_EQ(doc.zoom, 200);
    EXPECT_EQ(count(*current_layer(doc)->image, 255), 200 * 200) << "the Zoom tool draws nothing";
    EXPECT_FALSE(doc.flags & kDocModified);
    command(CMD_ZOOM_RATE_LAST);
    press(canvas, 2, 2);
    EXPECT_EQ(doc.zoom, 1600);
    command(CMD_ZOOM_RATE_FIRST);
    SendMessageA(canvas, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(2, 2));
    EXPECT_EQ(doc.zoom, 50);
}

// Step by step from 100 % to 1600 %, the pointer held still over a picture
// larger than the window at every zoom.
TEST_F(Canvas, CtrlWheelKeepsThePixelUnderThePointerAllTheWayUp) {
    HWND wnd = open(400, 300);
    HWND canvas = canvas_of(wnd);
    PictureDocument& doc = *document_of(wnd);
    MoveWindow(wnd, 0, 0, 260, 220, TRUE);
    pump();
    SendMessageA(wnd, WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, 150), 0);
    SendMessageA(wnd, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 100), 0);
    POINT screen{70, 50};
    ClientToScreen(canvas, &screen);
    auto under_pointer = [&] {
        POINT p = screen;
        ScreenToClient(canvas, &p);
        return canvas_to_picture(doc, p.x, p.y);
    };
    const POINT pixel_there = under_pointer();
    SetFocus(canvas);
    for (int step = 2; step < kZoomRateCount; ++step) {
        SendMessageA(canvas, WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, WHEEL_DELTA),
                     MAKELPARAM(screen.x, screen.y));
        ASSERT_EQ(doc.zoom, kZoomRates[step]);
        const POINT now = under_pointer();
        EXPECT_EQ(now.x, pixel_there.x) << doc.zoom;
        EXPECT_EQ(now.y, pixel_there.y) << doc.zoom;
    }
    EXPECT_EQ(doc.zoom, 1600);
}

// Only tools that change pixels take an undo copy and mark the picture
// changed; every built-in tool has work now, so one slot is emptied.
TEST_F(Canvas, AClickWithAToolThatDoesNothingLeavesThePictureUnchanged) {
    PictureDocument& doc = pen_picture(16, 16);
    pixel(*current_layer(doc)->image, 3, 3) = 1;
    choose_tool(kToolSelectArea);
    ToolHandler& slot = addin_host().tools.entries[kToolSelectArea].handler;
    const ToolHandler handler = slot;
    slot = do_nothing_tool;
    press(canvas_, 3, 3);
    release(canvas_, 3, 3);
    slot = handler;
    EXPECT_FALSE(doc.flags & kDocModified);
    EXPECT_EQ(pixel(*current_layer(doc)->undo_copy, 3, 3), 255) << "no undo copy taken";
    command(CMD_UNDO);
    EXPECT_EQ(pixel(*current_layer(doc)->image, 3, 3), 255)
        << "Undo still reverts the change before";
}

// The zoom box of the dialog bar keeps the focus after it was used; the
// first right click on the canvas still picks.
TEST_F(Canvas, TheFirstRightClickAfterTheDialogBarPicks) {
    PictureDocument& doc = pen_picture(16, 16, 7);
    pixel(*current_layer(doc)->image, 4, 4) = 12;
    SetFocus(GetDlgItem(shell_windows().dialog_bar, IDC_BAR_ZOOM));
    ASSERT_NE(GetFocus(), canvas_);
    SendMessageA(canvas_, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(4, 4));
    EXPECT_EQ(doc.left_colour, 12);
    EXPECT_EQ(GetFocus(), canvas_);
}

TEST_F(Canvas, KeysChangeColoursToneAndPen) {
    PictureDocument& doc = pen_picture(16, 16);
    SetFocus(canvas_);
    auto key = [&](WPARAM vk) { SendMessageA(canvas_, WM_KEYDOWN, vk, 0); };
    key(VK_TAB);
    EXPECT_EQ(doc.left_colour, 5);
    EXPECT_EQ(doc.right_colour, 3);
    key(VK_TAB);
    EXPECT_EQ(doc.left_colour, 3);
    doc.left_colour = 255;
    key(VK_NUMPAD6);
    EXPECT_EQ(doc.left_colour, 0);
    key(VK_NUMPAD8);
    EXPECT_EQ(doc.left_colour, 240);
    hold_keys({VK_CONTROL});
    key(VK_NUMPAD2);
    EXPECT_EQ(doc.right_colour, 21);
    hold_keys({});
    key(VK_NUMPAD1);
    EXPECT_EQ(doc.left_colour, current_layer(doc)->key_colour);
    doc.tone_level = 15;
    key(VK_PRIOR);
    key(VK_PRIOR);
    EXPECT_EQ(doc.tone_level, 16);
    key(VK_NEXT);
    EXPECT_EQ(doc.tone_level, 15);
    // The swatch follows: level 15 leaves one pixel of the 4 x 4 tile left.
    EXPECT_EQ(count(*doc.colour_swatch, BYTE(doc.left_colour)), 16);
    hold_keys({VK_CONTROL});
    key(VK_NEXT);
    EXPECT_EQ(doc.current_pen_index, 0);
    key(VK_PRIOR);
    EXPECT_EQ(doc.current_pen_index, 1);
    EXPECT_EQ(doc.current_pen, pen_slots().slot[1]);
    doc.current_pen_index = 15;
    key(VK_PRIOR);
    EXPECT_EQ(doc.current_pen_index, 15);
    // Ctrl and + go one zoom step up through the dialog bar's box.
    key(VK_ADD);
    EXPECT_EQ(doc.zoom, 200);
    key(VK_SUBTRACT);
    EXPECT_EQ(doc.zoom, 100);
}

TEST_F(Canvas, TheRightButtonPicksColours) {
    PictureDocument& doc = pen_picture(16, 16, 7);
    pixel(*current_layer(doc)->image, 4, 4) = 12;
    SetFocus(canvas_);
    SendMessageA(canvas_, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(4, 4));
    EXPECT_EQ(doc.left_colour, 12);
    SendMessageA(canvas_, WM_RBUTTONDOWN, MK_RBUTTON | MK_SHIFT, MAKELPARAM(1, 1));
    EXPECT_EQ(doc.right_colour, 7);
    // Dragging with the right button keeps picking.
    SendMessageA(canvas_, WM_MOUSEMOVE, MK_RBUTTON, MAKELPARAM(4, 4));
    EXPECT_EQ(doc.left_colour, 12);
    EXPECT_EQ(count(*current_layer(doc)->image, 7), 16 * 16 - 1) << "picking paints nothing";
}

// Add-Ins send status texts (0x40C) in UTF-8 or, when older, in the ANSI
// code page: each shows as the characters it means.
TEST_F(Canvas, StatusTextsFromAddInsAreUtf8WhenWellFormedElseAnsi) {
    pen_picture(8, 8);
    const struct {
        const char* sent;
        const wchar_t* shown;
    } cases[] = {
        {"\xE7\xB5\xB5 (3, 4)", L"\u7d75 (3, 4)"},
        {"caf\xE9", L"caf\u00e9"}, // Latin-1 in the test prefix's code page 1252
        {"caf\xC3\xA9", L"caf\u00e9"},
        {"", L""},
    };
    for (const auto& c : cases) {
        SendMessageA(canvas_, kMsgStatusText, 2, reinterpret_cast<LPARAM>(c.sent));
        wchar_t text[64] = {};
        SendMessageW(shell_windows().status_bar, SB_GETTEXTW, 2, reinterpret_cast<LPARAM>(text));
        EXPECT_EQ(std::wstring(text), c.shown) << c.sent;
    }
}

TEST_F(Canvas, TheRotringDrawsItsLineOnTheReleaseAndReportsIt) {
    PictureDocument& doc = pen_picture(32, 32);
    choose_tool(kToolRotring);
    press(canvas_, 2, 5, MK_SHIFT);
    drag(canvas_, 20, 5, MK_SHIFT);
    Surface& image = *current_layer(doc)->image;
    EXPECT_EQ(count(image, 255), 32 * 32);
    char text[64] = {};
    SendMessageA(shell_windows().status_bar, SB_GETTEXTA, 2, LPARAM(text));
    EXPECT_STREQ(text, "Draw Line");
    release(canvas_, 20, 5, MK_SHIFT);
    EXPECT_EQ(count(image, 255), 32 * 32 - 19);
    SendMessageA(shell_windows().status_bar, SB_GETTEXTA, 2, LPARAM(text));
    EXPECT_STREQ(text, "");
}

TEST_F(Canvas, HoveringWithThePenShowsItsFootprintOnlyInTheComposite) {
    PictureDocument& doc = pen_picture(64, 48);
    SetFocus(canvas_);
    SendMessageA(canvas_, WM_MOUSEMOVE, 0, MAKELPARAM(20, 20));
    EXPECT_EQ(count(*current_layer(doc)->image, 255), 64 * 48);
    EXPECT_LT(count(*doc.composite, 255), 64 * 48);
    char text[64] = {};
    SendMessageA(shell_windows().status_bar, SB_GETTEXTA, 1, LPARAM(text));
    EXPECT_STREQ(text, "(   20 ,   20 )");
    // The canvas shows the tool's own cursor.
    SendMessageA(canvas_, WM_SETCURSOR, WPARAM(canvas_), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), addin_host().tools.entries[kToolPen].cursor);
    EXPECT_NE(GetCursor(), nullptr);
    // Leaving the tool takes the footprint away.
    choose_tool(kToolRotring);
    EXPECT_EQ(count(*doc.composite, 255), 64 * 48);
}

TEST_F(Canvas, OtherWindowsConvertPointsAndAskForRedraws) {
    PictureDocument& doc = pen_picture(64, 48);
    command(CMD_ZOOM_RATE_FIRST + 3);
    doc.view_origin_x = 2;
    int x = 5, y = 1;
    EXPECT_EQ(SendMessageA(canvas_, kMsgPictureToCanvas, WPARAM(&x), LPARAM(&y)), 1);
    EXPECT_EQ(x, 9);
    EXPECT_EQ(y, 3 - 3 * doc.view_origin_y);
    x = 10;
    y = 4;
    EXPECT_EQ(SendMessageA(canvas_, kMsgCanvasToPicture, WPARAM(&x), LPARAM(&y)), 1);
    EXPECT_EQ(x, 3 + 2);
    EXPECT_EQ(y, 1 + doc.view_origin_y);

    pixel(*current_layer(doc)->image, 6, 6) = 1;
    RECT r{5, 5, 7, 7};
    EXPECT_EQ(SendMessageA(canvas_, kMsgRecomposite, 0, LPARAM(&r)), 1);
    EXPECT_EQ(pixel(*doc.composite, 6, 6), 1);
    EXPECT_EQ(SendMessageA(canvas_, kMsgPresent, 0, 0), 1);

    PenCallBlock* block = nullptr;
    EXPECT_EQ(SendMessageA(canvas_, kMsgPenCallBlock, 0, LPARAM(&block)), 1);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(block->document, &doc);
    EXPECT_EQ(block->target_bits, current_layer(doc)->image->bits);
    EXPECT_EQ(block->tone_level, 8u);
    EXPECT_EQ(SendMessageA(canvas_, kMsgPenCallBlock, 0, 0), 0);
}

// What the screen shows: the grid and the floating frame invert the picture
// under them, one picture pixel wide.
TEST_F(Canvas, TheGridAndTheFloatingFrameInvertWhatTheyCover) {
    PictureDocument& doc = pen_picture(40, 30);
    auto screen = [&](int x, int y) {
        GdiFlush();
        return GetPixel(doc.window_dc, x, y) & 0xFFFFFF;
    };
    const COLORREF white = screen(5, 5);
    const COLORREF inverted = ~white & 0xFFFFFF;
    command(CMD_GRID);
    EXPECT_EQ(screen(16, 5), inverted);
    EXPECT_EQ(screen(5, 16), inverted);
    EXPECT_EQ(screen(15, 5), white);
    command(CMD_GRID);
    EXPECT_EQ(screen(16, 5), white);

    // At zoom 300 an area from (2, 2) to (4, 4) gets its frame on canvas
    // pixels 6 to 8 and 12 to 14.
    MoveWindow(wnd_, 0, 0, 300, 300, TRUE);
    command(CMD_ZOOM_RATE_FIRST + 3);
    ASSERT_EQ(doc.canvas_height, 90);
    doc.floating = create_surface(3, 3);
    ASSERT_NE(doc.floating, nullptr);
    std::memset(doc.floating->bits, 255, doc.floating->pixel_bytes());
    doc.floating_rect = {2, 2, 4, 4};
    doc.flags |= kDocFloatingFrame;
    SendMessageA(wnd_, kMsgRedrawPicture, 0, 0);
    EXPECT_EQ(screen(6, 10), inverted);
    EXPECT_EQ(screen(8, 10), inverted);
    EXPECT_EQ(screen(9, 10), white);
    EXPECT_EQ(screen(14, 10), inverted);
    EXPECT_EQ(screen(15, 10), white);
    EXPECT_EQ(screen(10, 12), inverted);
    EXPECT_EQ(screen(5, 10), white);
}

// An Add-In pen found beside the program is a tool like the built-in ones:
// the canvas builds its stroke and it paints through the call block.
TEST_F(Canvas, TheMirrorPenAddInPaintsTheStrokeAndItsMirror) {
    const ToolTable& tools = addin_host().tools;
    int mirror = -1;
    for (int t = kBuiltinToolCount; t < tools.count; ++t)
        if (std::string(tools.entries[t].name) == "Mirror Pen") mirror = t;
    ASSERT_GE(mirror, 0) << "mirror_pen.dll beside the test program";
    PictureDocument& doc = pen_picture(40, 20, 9);
    choose_tool(mirror);
    press(canvas_, 5, 10);
    drag(canvas_, 9, 10);
    release(canvas_, 9, 10);
    Surface& image = *current_layer(doc)->image;
    for (int x = 5; x <= 9; ++x) {
        EXPECT_NE(pixel(image, x, 10), 9) << x;
        EXPECT_NE(pixel(image, 39 - x, 10), 9) << 39 - x;
    }
    EXPECT_EQ(pixel(image, 20, 10), 9);
    EXPECT_TRUE(same_pixels(image, *doc.composite));
    EXPECT_EQ(doc.flags & kNotifyBits, 0u);
}

// Space lends the Zoom tool (with Ctrl) whatever tool is chosen. The chosen
// tool still gets the press, so a release after Space is let go puts one
// pen dot down.
TEST_F(Canvas, SpaceAndCtrlZoomWithAnyTool) {
    PictureDocument& doc = pen_picture(64, 48);
    hold_keys({VK_SPACE, VK_CONTROL});
    press(canvas_, 10, 10, MK_CONTROL);
    EXPECT_EQ(doc.zoom, 200);
    SendMessageA(canvas_, WM_RBUTTONDOWN, MK_RBUTTON | MK_CONTROL, MAKELPARAM(10, 10));
    EXPECT_EQ(doc.zoom, 100);
    release(canvas_, 10, 10, MK_CONTROL);
    EXPECT_EQ(GetCapture(), canvas_) << "the release waits for Space to go";
    hold_keys({});
    release(canvas_, 10, 10);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(count(*current_layer(doc)->image, 255), 64 * 48 - 1);
    EXPECT_NE(pixel(*current_layer(doc)->image, 10, 10), 255);
}

} // namespace
