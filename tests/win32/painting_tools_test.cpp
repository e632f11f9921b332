// Fluid Fill, Color Exchange and the Layer Copy Pen in the real canvas: mouse
// messages give exactly the pixels of the portable model, and Undo takes a
// fill back.
#include "app/tools/exchange_tool.h"
#include "app/tools/fill_tool.h"
#include "app/tools/layer_copy_tool.h"
#include "app/tools/stroke_shape.h"
#include "picture_window_fixture.h"

namespace {

class PaintingTools : public PictureWindow {
  protected:
    // A 48 x 32 picture of 255 with an outline of 0 from (5, 5) to (30, 20)
    // and a 7 at (40, 25), its colours set, the tool chosen.
    PictureDocument& outlined(PictureDocument* model, int tool, int left, int right, int tone) {
        wnd_ = open(48, 32);
        canvas_ = canvas_of(wnd_);
        PictureDocument& doc = *document_of(wnd_);
        for (PictureDocument* d : {&doc, model}) {
            Surface& image = *current_layer(*d)->image;
            for (int x = 5; x <= 30; ++x)
                pixel(image, x, 5) = pixel(image, x, 20) = 0;
            for (int y = 5; y <= 20; ++y)
                pixel(image, 5, y) = pixel(image, 30, y) = 0;
            pixel(image, 40, 25) = 7;
            image.copy_to(*current_layer(*d)->undo_copy);
            d->left_colour = left;
            d->right_colour = right;
            d->tone_level = tone;
            drawing_colours_changed(*d);
        }
        choose_tool(tool);
        return doc;
    }
    struct Model {
        PictureDocument* doc = new_picture(48, 32, pen_slots().slot[0], nullptr);
        ~Model() { free_document(doc); }
        Surface& image() { return *current_layer(*doc)->image; }
        void shape(POINT from, POINT to) {
            build_stroke_shape(*doc->stroke_surface, kShapeFreeHand, from, to, *doc->current_pen,
                               doc->stroke_rect);
        }
    };
    void stroke() {
        press(canvas_, 5, 8);
        drag(canvas_, 5, 16);
        release(canvas_, 5, 16);
    }
    // Down the outline's left side: a press at (5, 8), a move to (5, 16) and
    // the release there; paint
    // gets whether it is the release.
    void model_stroke(Model& m, void (*paint)(PictureDocument&, bool)) {
        m.shape({5, 8}, {5, 16});
        paint(*m.doc, false);
        m.shape({5, 16}, {5, 16});
        paint(*m.doc, true);
    }
    HWND wnd_ = nullptr;
    HWND canvas_ = nullptr;
};

TEST_F(PaintingTools, AFillClickIsTheModelsFillAndUndoTakesItBack) {
    Model model;
    PictureDocument& doc = outlined(model.doc, kToolFluidFill, 4, 9, 8);
    press(canvas_, 12, 9);
    release(canvas_, 12, 9);
    model.doc->current_point = {12, 9};
    ASSERT_TRUE(fluid_fill(*model.doc, false));
    EXPECT_TRUE(same_pixels(*current_layer(doc)->image, model.image()));
    EXPECT_EQ(pixel(*current_layer(doc)->image, 12, 9), 4);
    EXPECT_EQ(pixel(*current_layer(doc)->image, 2, 2), 255) << "outside the outline";
    EXPECT_TRUE(same_pixels(*current_layer(doc)->image, *doc.composite));
    EXPECT_EQ(doc.flags & kNotifyBits, 0u);
    command(CMD_UNDO);
    EXPECT_EQ(pixel(*current_layer(doc)->image, 12, 9), 255);
    EXPECT_EQ(pixel(*doc.composite, 12, 9), 255);
}

TEST_F(PaintingTools, AnExchangeStrokeIsTheModelsStroke) {
    Model model;
    PictureDocument& doc = outlined(model.doc, kToolColourExchange, 0, 3, 16);
    stroke();
    model_stroke(
        model, [](PictureDocument& d, bool release) { colour_exchange_paint(d, false, release); });
    EXPECT_TRUE(same_pixels(*current_layer(doc)->image, model.image()));
    EXPECT_EQ(pixel(*current_layer(doc)->image, 5, 12), 3) << "the outline under the stroke";
    EXPECT_EQ(pixel(*current_layer(doc)->image, 40, 25), 7) << "away from the stroke";
}

TEST_F(PaintingTools, ALayerCopyStrokeIsTheModelsStroke) {
    Model model;
    PictureDocument& doc = outlined(model.doc, kToolLayerCopyPen, 0, 0, 0);
    for (PictureDocument* d : {&doc, model.doc}) {
        Layer* top = add_layer_above(*d);
        ASSERT_NE(top, nullptr);
        std::memset(top->image->bits, 6, top->image->pixel_bytes());
        top->image->copy_to(*top->undo_copy);
    }
    SendMessageA(wnd_, kMsgLayerChanged, 1, 0);
    stroke();
    model_stroke(model, [](PictureDocument& d, bool) { layer_copy_paint(d, false); });
    EXPECT_TRUE(same_pixels(*current_layer(doc)->image, model.image()));
    EXPECT_EQ(pixel(*current_layer(doc)->image, 5, 12), 0) << "copied from below";
    EXPECT_EQ(pixel(*current_layer(doc)->image, 40, 25), 6);
}

} // namespace
