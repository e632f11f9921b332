// Lettering in the real canvas: choosing it shows the Lettering dialog
// without taking the activation; a click places the start point, typed
// characters preview in the composite only, Backspace and the numeric pad
// edit the text, Enter commits it with the drawing colours, Escape drops
// it, and another tool closes the dialog.
#include "app/tools/drawing.h"
#include "app/session/tool_protocol.h"
#include "picture_window_fixture.h"

namespace {

class Lettering : public PictureWindow {
  protected:
    void type(const char* bytes) {
        for (const char* c = bytes; *c; ++c)
            SendMessageA(canvas_, WM_CHAR, BYTE(*c), 0);
    }
    int count_colour(Surface& s, BYTE colour) {
        int n = 0;
        for (int y = 0; y < s.height(); ++y)
            for (int x = 0; x < s.width(); ++x)
                n += pixel(s, x, y) == colour;
        return n;
    }
    HWND canvas_ = nullptr;
};

TEST_F(Lettering, TypedTextPreviewsThenCommitsOrDrops) {
    HWND wnd = open(96, 40);
    canvas_ = canvas_of(wnd);
    PictureDocument& doc = *document_of(wnd);
    doc.left_colour = doc.right_colour = 3;
    drawing_colours_changed(doc);
    choose_tool(kToolLettering);
    HWND dlg = tool_dialog();
    ASSERT_NE(dlg, nullptr);
    EXPECT_NE(GetActiveWindow(), dlg) << "shown without taking the activation";
    Surface& image = *current_layer(doc)->image;

    press(canvas_, 6, 6);
    release(canvas_, 6, 6);
    type("HIx");
    EXPECT_GT(count_colour(*doc.composite, 3), 0) << "previewed";
    EXPECT_EQ(count_colour(image, 3), 0) << "not yet in the picture";
    const int three = count_colour(*doc.composite, 3);
    type("\b");
    EXPECT_LT(count_colour(*doc.composite, 3), three) << "Backspace took a character";
    SendMessageA(canvas_, WM_KEYDOWN, VK_NUMPAD4, 0);
    EXPECT_EQ(doc.left_colour, 3) << "the numeric pad types instead of changing colours";
    type("\r");
    const int committed = count_colour(image, 3);
    EXPECT_GT(committed, 0);
    EXPECT_TRUE(same_pixels(image, *doc.composite));
    const RECT box = doc.floating_rect;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 96; ++x) {
            if (pixel(image, x, y) != 3) continue;
            ASSERT_TRUE(x >= box.left && x <= box.right && y >= box.top && y <= box.bottom);
        }
    EXPECT_FALSE(doc.flags & kDocFloatingFrame);

    SendMessageA(canvas_, WM_KEYDOWN, VK_NUMPAD4, 0);
    EXPECT_EQ(doc.left_colour, 2) << "with no text the numeric pad changes colours again";

    press(canvas_, 6, 20);
    release(canvas_, 6, 20);
    type("WW\x1b");
    EXPECT_EQ(count_colour(image, 3), committed) << "Escape drops the text";
    EXPECT_TRUE(same_pixels(image, *doc.composite));

    choose_tool(kToolPen);
    EXPECT_FALSE(IsWindow(dlg));
    EXPECT_EQ(tool_dialog(), nullptr);
}

} // namespace
