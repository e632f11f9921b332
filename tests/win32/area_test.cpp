// The selected area under Wine: Select Area and the Scroller driven by mouse
// messages on the real canvas, the Edit commands on the real clipboard,
// Paste to New Picture, the Resize dialogs answered by the harness, and
// Copy to File and Paste from File through the common dialogs.
#include "app/files/clipboard.h"
#include "harness.h"
#include "picture_window_fixture.h"

#include <string>

namespace {

void fill_block(Surface& s, int x0, int y0, int x1, int y1, BYTE value) {
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            pixel(s, x, y) = value;
}

class Areas : public PictureWindow {
  protected:
    // A picture in its window with Select Area chosen.
    PictureDocument& area_picture(int width, int height, BYTE fill = 255) {
        wnd_ = open(width, height, fill);
        canvas_ = canvas_of(wnd_);
        choose_tool(kToolSelectArea);
        return *document_of(wnd_);
    }
    // Drags a selection from a to b on the canvas (zoom 100).
    void select(POINT a, POINT b) {
        press(canvas_, a.x, a.y);
        drag(canvas_, (a.x + b.x) / 2, (a.y + b.y) / 2);
        drag(canvas_, b.x, b.y);
        release(canvas_, b.x, b.y);
    }
    void click(int x, int y) {
        press(canvas_, x, y);
        release(canvas_, x, y);
    }
    HWND wnd_ = nullptr;
    HWND canvas_ = nullptr;
};

TEST_F(Areas, ASelectedAreaIsDraggedAndCommittedAtItsNewPlace) {
    PictureDocument& doc = area_picture(32, 32);
    Surface& image = *current_layer(doc)->image;
    fill_block(image, 2, 2, 5, 5, 9);
    select({1, 1}, {7, 7});
    ASSERT_NE(doc.floating, nullptr);
    EXPECT_EQ(doc.floating_rect.right, 7);
    EXPECT_TRUE(doc.flags & kDocFloatingFrame);

    press(canvas_, 3, 3);
    drag(canvas_, 8, 6);
    drag(canvas_, 13, 11);
    release(canvas_, 13, 11);
    EXPECT_EQ(doc.floating_rect.left, 11);
    EXPECT_EQ(doc.floating_rect.top, 9);
    EXPECT_EQ(pixel(image, 12, 10), 255) << "not written while it floats";
    EXPECT_EQ(pixel(*doc.composite, 12, 10), 9) << "but shown";

    click(30, 30);
    EXPECT_EQ(doc.floating, nullptr);
    EXPECT_EQ(pixel(image, 12, 10), 9);
    EXPECT_EQ(pixel(image, 2, 2), 9) << "the source place keeps its pixels";
    command(CMD_UNDO);
    EXPECT_EQ(pixel(*current_layer(doc)->image, 12, 10), 255);
}

TEST_F(Areas, HoldingRScrollsWithoutCommitting) {
    PictureDocument& doc = area_picture(200, 200);
    command(CMD_ZOOM_RATE_FIRST + 4); // 400%
    ASSERT_EQ(doc.zoom, 400);
    ASSERT_LT(doc.visible_width, 200);
    select({4, 4}, {40, 40});
    ASSERT_NE(doc.floating, nullptr);
    const int origin = doc.view_origin_x;
    hold_keys({'R'});
    press(canvas_, 80, 80);
    drag(canvas_, 40, 40);
    release(canvas_, 40, 40);
    hold_keys({});
    EXPECT_EQ(doc.view_origin_x, origin + 10);
    EXPECT_NE(doc.floating, nullptr) << "the area still floats";
    EXPECT_EQ(GetScrollPos(wnd_, SB_HORZ), doc.view_origin_x);
}

TEST_F(Areas, EscapeLetsGoOfTheAreaWithoutWritingIt) {
    PictureDocument& doc = area_picture(16, 16);
    pixel(*current_layer(doc)->image, 1, 1) = 3;
    select({0, 0}, {2, 2});
    press(canvas_, 1, 1);
    drag(canvas_, 9, 9);
    release(canvas_, 9, 9);
    SendMessageA(canvas_, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(doc.floating, nullptr);
    EXPECT_FALSE(doc.flags & (kDocFloatingFrame | kDocPasted));
    EXPECT_EQ(pixel(*current_layer(doc)->image, 9, 9), 255);
    EXPECT_EQ(pixel(*doc.composite, 9, 9), 255);
}

TEST_F(Areas, DeleteFillsWhereASelectedAreaWasTaken) {
    PictureDocument& doc = area_picture(16, 16, 7);
    select({0, 0}, {3, 3});
    press(canvas_, 1, 1);
    drag(canvas_, 9, 9);
    release(canvas_, 9, 9);
    command(CMD_DELETE);
    Surface& image = *current_layer(doc)->image;
    EXPECT_EQ(doc.floating, nullptr);
    EXPECT_EQ(pixel(image, 0, 0), current_layer(doc)->background_colour);
    EXPECT_EQ(pixel(image, 3, 3), current_layer(doc)->background_colour);
    EXPECT_EQ(pixel(image, 9, 9), 7) << "where the area lay is left alone";
    EXPECT_EQ(pixel(image, 4, 4), 7);
}

TEST_F(Areas, CutThenPasteGoesThroughTheClipboard) {
    PictureDocument& doc = area_picture(16, 16);
    Surface& image = *current_layer(doc)->image;
    pixel(image, 1, 1) = 3;
    pixel(image, 2, 1) = 4;
    select({1, 1}, {2, 1});
    command(CMD_CUT);
    EXPECT_EQ(doc.floating, nullptr);
    EXPECT_EQ(pixel(image, 1, 1), 255);
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_DIB));

    command(CMD_PASTE);
    ASSERT_NE(doc.floating, nullptr);
    EXPECT_TRUE(doc.flags & kDocPasted);
    EXPECT_EQ(doc.floating->width(), 2);
    EXPECT_EQ(pixel(*doc.floating, 0, 0), 3);
    EXPECT_EQ(doc.floating_rect.left, 1);
    click(12, 12);
    EXPECT_EQ(pixel(*current_layer(doc)->image, 2, 1), 4);
    // A second paste commits the first; one Undo takes one paste back.
    command(CMD_PASTE);
    command(CMD_UNDO);
    EXPECT_EQ(doc.floating, nullptr);
    EXPECT_EQ(pixel(*current_layer(doc)->image, 2, 1), 4);
}

TEST_F(Areas, PasteToNewPictureOpensAnUntitledPicture) {
    std::unique_ptr<Surface> s(create_surface(16, 16));
    ASSERT_NE(s, nullptr);
    pixel(*s, 5, 6) = 42;
    copy_to_clipboard(*s, frame_);
    command(CMD_PASTE_TO_NEW_PICTURE);
    HWND wnd = active_document_window();
    ASSERT_NE(wnd, nullptr);
    char caption[128] = {};
    GetWindowTextA(wnd, caption, sizeof caption);
    const std::string text = caption;
    EXPECT_EQ(text.rfind("untitled", 0), 0u) << text;
    EXPECT_NE(text.find("(16 x 16)"), std::string::npos) << text;
    EXPECT_EQ(pixel(*current_layer(*document_of(wnd))->image, 5, 6), 42);
}

TEST_F(Areas, ResizePictureShrinksAndGrowsEveryLayer) {
    PictureDocument& doc = area_picture(32, 32, 5);
    auto resize_to = [&](const char* width) {
        DialogAnswerer answerer(
            [&](HWND dlg) {
                SetDlgItemTextA(dlg, IDC_RESIZE_WIDTH, width);
                DialogAnswerer::press(dlg, IDOK);
            },
            "Resize");
        command(CMD_RESIZE_PICTURE);
        EXPECT_EQ(answerer.captions().size(), 1u);
    };
    resize_to("16");
    EXPECT_EQ(picture_width(doc), 16);
    EXPECT_EQ(picture_height(doc), 16) << "the aspect ratio is kept";
    char caption[128] = {};
    GetWindowTextA(wnd_, caption, sizeof caption);
    EXPECT_NE(std::string(caption).find("(16 x 16)"), std::string::npos) << caption;
    resize_to("48");
    EXPECT_EQ(picture_height(doc), 48);
    Layer& layer = *current_layer(doc);
    EXPECT_EQ(pixel(*layer.image, 10, 10), 5);
    EXPECT_EQ(pixel(*layer.image, 40, 40), layer.background_colour);
    EXPECT_EQ(pixel(*layer.mask, 40, 40), 255);
    EXPECT_EQ(doc.composite->width(), 48);
}

TEST_F(Areas, ResizeAreaStretchesTheSelection) {
    PictureDocument& doc = area_picture(32, 32);
    fill_block(*current_layer(doc)->image, 0, 0, 3, 3, 6);
    select({0, 0}, {3, 3});
    DialogAnswerer answerer(
        [&](HWND dlg) {
            SetDlgItemTextA(dlg, IDC_RESIZE_RATE, "200");
            DialogAnswerer::press(dlg, IDOK);
        },
        "Resize");
    command(CMD_RESIZE_AREA);
    ASSERT_NE(doc.floating, nullptr);
    EXPECT_EQ(doc.floating->width(), 8);
    EXPECT_EQ(pixel(*current_layer(doc)->image, 7, 7), 6);
}

TEST_F(Areas, CopyToFileAndPasteFromFile) {
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    const std::string path =
        std::string(temp) + "velmo-area-" + std::to_string(GetCurrentProcessId()) + ".bmp";
    PictureDocument& doc = area_picture(16, 16);
    fill_block(*current_layer(doc)->image, 2, 2, 4, 3, 8);
    select({2, 2}, {4, 3});
    {
        DialogAnswerer answerer([&](HWND dlg) {
            char title[64] = {};
            GetWindowTextA(dlg, title, sizeof title);
            if (std::string(title) == "Save Picture")
                DialogAnswerer::choose_file(dlg, path);
            else
                DialogAnswerer::press(dlg, IDOK);
        });
        command(CMD_COPY_TO_FILE);
        EXPECT_EQ(answerer.captions(),
                  (std::vector<std::string>{"Save Picture", "Save As Bitmap"}));
    }
    click(12, 12);
    ASSERT_EQ(doc.floating, nullptr);
    {
        DialogAnswerer answerer([&](HWND dlg) { DialogAnswerer::choose_file(dlg, path); });
        command(CMD_PASTE_FROM_FILE);
    }
    DeleteFileA(path.c_str());
    ASSERT_NE(doc.floating, nullptr);
    EXPECT_TRUE(doc.flags & kDocPasted);
    EXPECT_EQ(doc.floating->width(), 3);
    EXPECT_EQ(doc.floating->height(), 2);
    EXPECT_EQ(pixel(*doc.floating, 0, 0), 8);
    EXPECT_EQ(doc.floating_rect.left, 0);
}

} // namespace
