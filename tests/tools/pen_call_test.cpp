#include "app/tools/pen_call.h"

#include "app/tools/drawing.h"
#include "app/tools/stroke_shape.h"
#include "tests/support/drawing_fixture.h"

#include <gtest/gtest.h>

using namespace drawing_test;

namespace {

struct CallPicture {
    DocumentPtr doc = picture(8, 6, 9);
    std::unique_ptr<Surface> pen = pen_of({{0, 0}});
    CallPicture() {
        doc->current_pen = pen.get();
        doc->left_colour = 1;
        doc->right_colour = 2;
        doc->tone_level = 5;
        doc->flags = kDocMaskOn | kDocKeyColourEnabled | kNotifyPresent;
        doc->anchor_point = {4, 3};
        doc->current_point = {6, 4};
        doc->stroke_rect = {1, 2, 3, 4};
        Layer& layer = *current_layer(*doc);
        layer.key_colour = 7;
        layer.background_colour = 8;
    }
    Layer& layer() { return *current_layer(*doc); }
};

TEST(PenCallBlock, CarriesTheDocumentAndTheShapeBounds) {
    CallPicture p;
    PenCallBlock b;
    HDC dc = reinterpret_cast<HDC>(0x1234);
    fill_pen_call_block(*p.doc, b, dc, kShapeEllipse);
    EXPECT_EQ(b.size, sizeof(PenCallBlock));
    EXPECT_EQ(b.target, p.layer().image->info);
    EXPECT_EQ(b.target_bits, p.layer().image->bits);
    EXPECT_EQ(b.mask_bits, p.layer().mask->bits);
    EXPECT_EQ(b.composite_bits, p.doc->composite->bits);
    EXPECT_EQ(b.pen, p.pen->info);
    EXPECT_EQ(b.pen_bits, p.pen->bits);
    EXPECT_EQ(b.flags, kDocMaskOn | kDocKeyColourEnabled) << "top byte cleared";
    EXPECT_EQ(b.left_colour, 1u);
    EXPECT_EQ(b.right_colour, 2u);
    EXPECT_EQ(b.key_colour, 7u);
    EXPECT_EQ(b.background_colour, 8u);
    EXPECT_EQ(b.tone_level, 5u);
    EXPECT_EQ(b.x, 6);
    EXPECT_EQ(b.y, 4);
    EXPECT_EQ(b.update.left | b.update.top | b.update.right | b.update.bottom, 0);
    EXPECT_EQ(b.dc, dc);
    EXPECT_EQ(b.document, p.doc.get());
    EXPECT_EQ(b.stroke_bits, p.doc->stroke_surface->bits);
    EXPECT_EQ(b.stroke_x, 1);
    EXPECT_EQ(b.stroke_height, 4);
    // Centred on the anchor (2, 2) .. (6, 4), grown by the pen's reach.
    EXPECT_EQ(b.shape_bounds.left, 2 - 15);
    EXPECT_EQ(b.shape_bounds.top, 2 - 15);
    EXPECT_EQ(b.shape_bounds.right, 6 + 16);
    EXPECT_EQ(b.shape_bounds.bottom, 4 + 16);

    p.doc->flags |= kDocMaskView;
    fill_pen_call_block(*p.doc, b, dc, kShapeFilledRectangle);
    EXPECT_EQ(b.target, p.layer().mask->info);
    EXPECT_EQ(b.target_bits, p.layer().mask->bits);
    EXPECT_EQ(b.mask_bits, b.target_bits);
    EXPECT_EQ(b.shape_bounds.left, 4);
    EXPECT_EQ(b.shape_bounds.right, 6);
}

TEST(PenCallMerge, RectangleIsRecompositedUnlessThePenSaysNot) {
    CallPicture p;
    p.doc->flags = 0;
    fill(*p.doc->composite, 5);
    PenCallBlock b;
    fill_pen_call_block(*p.doc, b, nullptr, kShapeFreeHand);
    b.flags = kNotifyZoomWindow | kNotifyNoRecomposite;
    b.update = {1, 1, 2, 2};
    merge_pen_call_result(*p.doc, b);
    EXPECT_EQ(p.doc->flags, kNotifyZoomWindow | kNotifyNoRecomposite);
    EXPECT_EQ(p.doc->update_rect.right, 2);
    EXPECT_EQ(at(*p.doc->composite, 1, 1), 5);

    b.flags = kNotifyPresent;
    merge_pen_call_result(*p.doc, b);
    EXPECT_EQ(at(*p.doc->composite, 1, 1), 9);
    EXPECT_EQ(at(*p.doc->composite, 2, 2), 9) << "inclusive";
    EXPECT_EQ(at(*p.doc->composite, 3, 3), 5);

    // Without either bit the rectangle is not taken.
    b.flags = kNotifyColourViews;
    b.update = {0, 0, 7, 5};
    merge_pen_call_result(*p.doc, b);
    EXPECT_EQ(p.doc->update_rect.right, 2);
}

TEST(PenCallMerge, ColoursAndToneComeBackOnlyWithTheirBits) {
    CallPicture p;
    PenCallBlock b;
    fill_pen_call_block(*p.doc, b, nullptr, kShapeFreeHand);
    b.left_colour = 0x1FE;
    b.right_colour = 0x103;
    b.tone_level = 40;
    b.flags = 0;
    merge_pen_call_result(*p.doc, b);
    EXPECT_EQ(p.doc->left_colour, 1);
    EXPECT_EQ(p.doc->tone_level, 5);

    b.flags = kNotifyColours | kNotifyToneLevel;
    merge_pen_call_result(*p.doc, b);
    EXPECT_EQ(p.doc->left_colour, 0xFE);
    EXPECT_EQ(p.doc->right_colour, 3);
    EXPECT_EQ(p.doc->tone_level, 16);
    EXPECT_EQ(at(*p.doc->colour_swatch, 1, 0), 3) << "swatch redrawn at level 16";

    b.tone_level = DWORD(-3);
    merge_pen_call_result(*p.doc, b);
    EXPECT_EQ(p.doc->tone_level, 0);
}

TEST(PenCallMerge, MaskViewForcesReturnedColoursToBlackOrWhite) {
    CallPicture p;
    p.doc->flags |= kDocMaskView;
    RGBQUAD* table = p.layer().image->colour_table();
    table[10] = {200, 200, 100, 0}; // 500: light
    table[11] = {100, 100, 100, 0}; // 300: dark
    PenCallBlock b;
    fill_pen_call_block(*p.doc, b, nullptr, kShapeFreeHand);
    b.left_colour = 10;
    b.right_colour = 11;
    b.flags = kNotifyColours;
    merge_pen_call_result(*p.doc, b);
    EXPECT_EQ(p.doc->left_colour, 255);
    EXPECT_EQ(p.doc->right_colour, 0);
}

// A pen as an Add-In writes one: paints its point in the left colour and
// hands back the point's rectangle and a new right colour.
int VL_CDECL dot_pen(HWND, UINT message, WPARAM, LPARAM, PenCallBlock* b) {
    if (message != 0x200) return 0;
    const int stride = (b->target->biWidth + 3) & ~3;
    b->target_bits[(b->target->biHeight - 1 - b->y) * stride + b->x] = BYTE(b->left_colour);
    b->update = {b->x, b->y, b->x, b->y};
    b->right_colour = 6;
    b->flags = kNotifyPresent | kNotifyColours;
    return 1;
}

TEST(AddInPenCall, FillsCallsAndMerges) {
    CallPicture p;
    p.doc->flags = 0;
    EXPECT_EQ(call_addin_pen(dot_pen, nullptr, 0x200, 0, 0, *p.doc, nullptr, kShapeFreeHand), 1);
    EXPECT_EQ(at(*p.layer().image, 6, 4), 1);
    EXPECT_EQ(at(*p.doc->composite, 6, 4), 1) << "recomposited";
    EXPECT_EQ(p.doc->right_colour, 6);
    EXPECT_EQ(p.doc->flags, kNotifyPresent | kNotifyColours);
    EXPECT_EQ(call_addin_pen(nullptr, nullptr, 0x200, 0, 0, *p.doc, nullptr, kShapeFreeHand), 0);
}

} // namespace
