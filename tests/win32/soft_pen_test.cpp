// The soft pens in the real canvas: choosing one shows its Intensity dialog
// without taking the activation; a stroke of mouse messages gives the
// portable model's pixels with the dialog's values; the keys step the value
// through the dialog; the R key's Scroller keeps the dialog; another tool
// closes it.
#include "app/tools/soft_pen_tool.h"
#include "app/tools/stroke_shape.h"
#include "app/session/settings.h"
#include "app/resources/tool_dialog_ids.h"
#include "app/session/tool_protocol.h"
#include "picture_window_fixture.h"

namespace {

constexpr int kWidth = 40, kHeight = 24;

void paint_noise(PictureDocument& doc) {
    Surface& image = *current_layer(doc)->image;
    RGBQUAD table[256];
    for (int i = 0; i < 256; ++i)
        table[i] = {BYTE(i * 7), BYTE(i * 13), BYTE(i * 29), 0};
    image.set_palette(table);
    update_palette(doc);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            pixel(image, x, y) = BYTE((x * 31 + y * 17) % 256);
    image.copy_to(*current_layer(doc)->undo_copy);
}

class SoftPens : public PictureWindow {};

TEST_F(SoftPens, AStrokeIsTheModelsAndTheDialogFollowsTheTool) {
    settings().soften_intensity = 60;
    HWND wnd = open(kWidth, kHeight);
    HWND canvas = canvas_of(wnd);
    PictureDocument& doc = *document_of(wnd);
    paint_noise(doc);
    choose_tool(kToolSoftenPen);
    HWND dlg = tool_dialog();
    ASSERT_NE(dlg, nullptr);
    EXPECT_TRUE(IsWindowVisible(dlg));
    EXPECT_NE(GetActiveWindow(), dlg) << "shown without taking the activation";
    EXPECT_EQ(GetDlgItemInt(dlg, IDC_INTENSITY_VALUE, nullptr, FALSE), 60u);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dlg, IDC_INTENSITY_SOFTNESS)));

    press(canvas, 5, 5);
    drag(canvas, 15, 8);
    release(canvas, 15, 8);

    PictureDocument* model = new_picture(kWidth, kHeight, pen_slots().slot[0], nullptr);
    paint_noise(*model);
    build_stroke_shape(*model->stroke_surface, kShapeFreeHand, {5, 5}, {15, 8}, *model->current_pen,
                       model->stroke_rect);
    model->previous_point = {5, 5};
    model->current_point = {15, 8};
    PaletteSearch search;
    ASSERT_TRUE(soft_pen_filter(*model, SoftMode::soften, {60, 0}, false, search));
    EXPECT_TRUE(same_pixels(*current_layer(doc)->image, *current_layer(*model)->image));
    EXPECT_FALSE(same_pixels(*current_layer(doc)->image, *current_layer(doc)->undo_copy));
    free_document(model);

    SendMessageA(canvas, WM_KEYDOWN, VK_ADD, 0);
    EXPECT_EQ(settings().soften_intensity, 61);
    SendMessageA(canvas, WM_KEYDOWN, VK_SUBTRACT, 0);
    SendMessageA(canvas, WM_KEYDOWN, VK_SUBTRACT, 0);
    EXPECT_EQ(settings().soften_intensity, 59);
    SetDlgItemTextA(dlg, IDC_INTENSITY_VALUE, "101");
    EXPECT_EQ(settings().soften_intensity, 59) << "out of range: ignored";

    // The R key hands the drag to the Scroller for a moment: the dialog stays.
    hold_keys({'R'});
    press(canvas, 10, 10);
    release(canvas, 10, 10);
    hold_keys({});
    EXPECT_TRUE(IsWindow(dlg));
    EXPECT_EQ(tool_dialog(), dlg);

    choose_tool(kToolDarkenPen);
    EXPECT_FALSE(IsWindow(dlg)) << "another tool closes it";
    HWND darken = tool_dialog();
    ASSERT_NE(darken, nullptr);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(darken, IDC_INTENSITY_SOFTNESS)));
    choose_tool(kToolPen);
    EXPECT_EQ(tool_dialog(), nullptr);
}

} // namespace
