#include "app/document/composite.h"

#include "engine/rasko.h"
#include "tests/support/drawing_fixture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

namespace {

using drawing_test::at;
using drawing_test::DocumentPtr;
using drawing_test::fill;

// Rows of the composite as text, one character per pixel ('0' + value for
// small values), so a failing grid reads at a glance.
std::string rows(Surface& s) {
    std::string text;
    for (int y = 0; y < s.height(); ++y) {
        for (int x = 0; x < s.width(); ++x) {
            const int v = at(s, x, y);
            text += v < 10 ? char('0' + v) : v == 255 ? 'F' : '?';
        }
        text += '\n';
    }
    return text;
}

// A picture of `layers` layers, the bottom filled with 1, the next with 2
// and so on, current layer on top, the composite cleared to 9.
DocumentPtr picture(int width, int height, int layers) {
    DocumentPtr doc(create_document());
    EXPECT_TRUE(doc && create_bottom_layer(*doc, width, height));
    fill(*bottom_layer(*doc)->image, 1);
    for (int i = 2; i <= layers; ++i)
        fill(*add_layer_above(*doc)->image, BYTE(i));
    fill(*doc->composite, 9);
    doc->update_rect = {0, 0, width, height};
    return doc;
}

Layer& layer_at(PictureDocument& doc, int position) {
    return *layer_node_at(doc, position)->layer;
}

TEST(Recomposite, BottomLayerIsCopiedNotKeyed) {
    auto doc = picture(5, 2, 1);
    Layer& bottom = layer_at(*doc, 1);
    ASSERT_EQ(bottom.key_colour, 255);
    at(*bottom.image, 1, 0) = 255;
    at(*bottom.image, 4, 1) = 255;
    recomposite(*doc);
    EXPECT_EQ(rows(*doc->composite), "1F111\n1111F\n");
}

TEST(Recomposite, UpperLayersLeaveOutTheirKeyColour) {
    auto doc = picture(4, 1, 2);
    Layer& upper = layer_at(*doc, 2);
    upper.key_colour = 2;
    at(*upper.image, 0, 0) = 5;
    at(*upper.image, 3, 0) = 255;
    recomposite(*doc);
    EXPECT_EQ(rows(*doc->composite), "511F\n");
}

TEST(Recomposite, InvisibleBottomShowsItsBackgroundAndInvisibleUpperNothing) {
    auto doc = picture(3, 2, 3);
    layer_at(*doc, 1).flags &= ~kLayerVisible;
    layer_at(*doc, 1).background_colour = 7;
    layer_at(*doc, 2).flags &= ~kLayerVisible;
    fill(*layer_at(*doc, 3).image, 255);
    at(*layer_at(*doc, 3).image, 2, 1) = 3;
    recomposite(*doc);
    EXPECT_EQ(rows(*doc->composite), "777\n773\n");
}

TEST(Recomposite, OpacityEightShowsHalfThePixelsAnchoredToThePicture) {
    auto doc = picture(8, 8, 2);
    Layer& upper = layer_at(*doc, 2);
    upper.flags |= kLayerTranslucent;
    upper.opacity = 8;
    // A rectangle starting at an odd column must not shift the pattern.
    doc->update_rect = {1, 2, 6, 7};
    recomposite(*doc);
    EXPECT_EQ(rows(*doc->composite), "99999999\n"
                                     "99999999\n"
                                     "91212129\n"
                                     "92121219\n"
                                     "91212129\n"
                                     "92121219\n"
                                     "91212129\n"
                                     "92121219\n");
}

TEST(Recomposite, BlendFlagOffDrawsOpaqueWhateverTheOpacity) {
    auto doc = picture(2, 1, 2);
    layer_at(*doc, 2).opacity = 0;
    recomposite(*doc);
    EXPECT_EQ(rows(*doc->composite), "22\n");
}

TEST(Recomposite, MaskPlaneAsOpacity) {
    auto doc = picture(4, 4, 2);
    Layer& upper = layer_at(*doc, 2);
    upper.flags |= kLayerUseMaskAsOpacity;
    fill(*upper.mask, 0);
    for (int x = 0; x < 4; ++x)
        at(*upper.mask, x, 1) = 255;
    at(*upper.mask, 2, 3) = 1; // any non-zero value lets the layer through
    recomposite(*doc);
    EXPECT_EQ(rows(*doc->composite), "1111\n2222\n1111\n1121\n");

    // Translucent as well: the mask and the tone pattern both decide.
    upper.flags |= kLayerTranslucent;
    upper.opacity = 8;
    recomposite(*doc);
    EXPECT_EQ(rows(*doc->composite), "1111\n1212\n1111\n1111\n");
}

TEST(Recomposite, OnlyCurrentLayer) {
    auto doc = picture(4, 1, 3);
    Layer& middle = layer_at(*doc, 2);
    at(*middle.image, 0, 0) = 255; // its key colour: still drawn, it comes first
    doc->current = layer_node_at(*doc, 2);
    doc->flags |= kDocOnlyCurrentLayer;
    recomposite(*doc);
    EXPECT_EQ(rows(*doc->composite), "F222\n");

    // With the layer below, that one comes first and the current one is keyed.
    doc->flags |= kDocWithLayerBelow;
    recomposite(*doc);
    EXPECT_EQ(rows(*doc->composite), "1222\n");

    // Below the bottom layer lies the top layer.
    Layer& top = layer_at(*doc, 3);
    at(*top.image, 1, 0) = 7;
    Layer& bottom = layer_at(*doc, 1);
    at(*bottom.image, 2, 0) = 255;
    doc->current = layer_node_at(*doc, 1);
    recomposite(*doc);
    EXPECT_EQ(rows(*doc->composite), "1131\n");

    // A hidden current layer is still shown: it is the one being edited.
    bottom.flags &= ~kLayerVisible;
    doc->flags &= ~kDocWithLayerBelow;
    recomposite(*doc);
    EXPECT_EQ(rows(*doc->composite), "11F1\n");
}

TEST(Recomposite, OnlyCurrentLayerKeepsAlwaysLayersInView) {
    auto doc = picture(4, 1, 3);
    Layer& top = layer_at(*doc, 3);
    top.flags |= kLayerViewAlways;
    fill(*top.image, 255);
    at(*top.image, 3, 0) = 6;
    doc->current = layer_node_at(*doc, 2);
    doc->flags |= kDocOnlyCurrentLayer | kDocWithLayerBelow;
    recomposite(*doc);
    EXPECT_EQ(rows(*doc->composite), "2226\n");

    // The Always layer below the current one is drawn once, in its place.
    doc->current = layer_node_at(*doc, 1);
    at(*layer_at(*doc, 1).image, 0, 0) = 255;
    recomposite(*doc);
    EXPECT_EQ(rows(*doc->composite), "F116\n");

    // A hidden layer stays hidden even with the box set.
    top.flags &= ~kLayerVisible;
    recomposite(*doc);
    EXPECT_EQ(rows(*doc->composite), "F111\n");
}

TEST(Recomposite, FloatingAreaLiesRightOverTheCurrentLayer) {
    auto doc = picture(5, 3, 3);
    doc->current = layer_node_at(*doc, 2);
    Layer& top = layer_at(*doc, 3);
    fill(*top.image, 255);
    at(*top.image, 2, 1) = 3;
    doc->floating = create_surface(2, 2);
    fill(*doc->floating, 7);
    at(*doc->floating, 0, 0) = 255; // the current layer's key colour
    doc->floating_rect = {1, 1, 2, 2};
    doc->flags |= kDocKeyColourEnabled;
    recomposite(*doc);
    EXPECT_EQ(rows(*doc->composite), "22222\n22322\n27722\n");

    // Opaque when all layers move together.
    doc->flags |= kDocMoveAllLayers;
    recomposite(*doc);
    EXPECT_EQ(rows(*doc->composite), "22222\n2F322\n27722\n");

    // Through the current layer's mask plane when the mask is on.
    doc->flags |= kDocMaskOn;
    at(*layer_at(*doc, 2).mask, 1, 2) = 0;
    recomposite(*doc);
    EXPECT_EQ(rows(*doc->composite), "22222\n2F322\n22722\n");
}

TEST(Recomposite, FloatingAreaIsLimitedToTheUpdateRectangle) {
    auto doc = picture(4, 1, 1);
    doc->floating = create_surface(4, 1);
    fill(*doc->floating, 7);
    doc->floating_rect = {-1, 0, 2, 0};
    doc->update_rect = {1, 0, 1, 0};
    recomposite(*doc);
    EXPECT_EQ(rows(*doc->composite), "9799\n");
}

TEST(Recomposite, MaskViewWithoutOverlapShowsOnlyBlackAndWhite) {
    auto doc = picture(4, 2, 2);
    Layer& upper = layer_at(*doc, 2);
    at(*upper.mask, 1, 0) = 0;
    at(*upper.mask, 2, 1) = 17;
    doc->flags |= kDocMaskView;
    recomposite(*doc);
    // Default palette: white is 255, black 0; protected means "not 255".
    ASSERT_EQ(doc->white_index, 255);
    ASSERT_EQ(doc->black_index, 0);
    EXPECT_EQ(rows(*doc->composite), "F0FF\nFF0F\n");

    // A floating area holds mask values then.
    doc->floating = create_surface(2, 1);
    at(*doc->floating, 0, 0) = 255;
    at(*doc->floating, 1, 0) = 0;
    doc->floating_rect = {2, 0, 3, 0};
    recomposite(*doc);
    EXPECT_EQ(rows(*doc->composite), "F0F0\nFF0F\n");
}

TEST(Recomposite, MaskViewWithOverlapHalfTonesProtectedPixels) {
    auto doc = picture(4, 4, 2);
    fill(*layer_at(*doc, 2).mask, 0);
    at(*layer_at(*doc, 2).mask, 0, 0) = 255;
    doc->flags |= kDocMaskView | kDocOverlapMask;
    recomposite(*doc);
    EXPECT_EQ(rows(*doc->composite), "2202\n2020\n0202\n2020\n");
}

TEST(Recomposite, EmptyUpdateRectangleChangesNothing) {
    auto doc = picture(3, 1, 1);
    doc->update_rect = {2, 0, 1, 0};
    recomposite(*doc);
    EXPECT_EQ(rows(*doc->composite), "999\n");
    doc->update_rect = {0, 1, 2, 0};
    recomposite(*doc);
    EXPECT_EQ(rows(*doc->composite), "999\n");
}

TEST(Recomposite, RectangleIsCutToThePicture) {
    auto doc = picture(4, 2, 1);
    doc->update_rect = {-3, 1, 1, 9};
    recomposite(*doc);
    // The start moves onto the edge and keeps its width: columns 0 to 4 of 4.
    EXPECT_EQ(rows(*doc->composite), "9999\n1111\n");
    doc->update_rect = {6, -2, 9, 0};
    recomposite(*doc);
    EXPECT_EQ(rows(*doc->composite), "9991\n1111\n");
}

struct PenFixture {
    PenFixture() {
        pen = create_surface(32, 32);
        fill(*pen, 255);
        at(*pen, 15, 15) = 0;
        at(*pen, 16, 15) = 0;
        at(*pen, 15, 16) = 0;
        at(*pen, 16, 16) = 0;
    }
    ~PenFixture() { delete pen; }
    Surface* pen;
};

TEST(Overlay, FootprintDrawsThePenInTheToneMixAndRemembersItsBox) {
    PenFixture f;
    auto doc = picture(6, 4, 1);
    doc->current_pen = f.pen;
    doc->left_colour = 4;
    doc->right_colour = 5;
    doc->tone_level = 8;
    doc->update_rect = {0, 0, 0, 0};
    RECT present = draw_footprint(*doc, 2, 1);
    EXPECT_EQ(rows(*doc->composite), "199999\n994599\n995499\n999999\n");
    EXPECT_EQ(present.left, -13);
    EXPECT_EQ(present.top, -14);
    EXPECT_EQ(present.right, 19);
    EXPECT_EQ(present.bottom, 18);
    EXPECT_EQ(doc->update_rect.left, -13);
    EXPECT_EQ(doc->update_rect.bottom, 18);

    // The next footprint recomposites the old box away first.
    present = draw_footprint(*doc, 4, 2);
    EXPECT_EQ(rows(*doc->composite), "111111\n111111\n111154\n111145\n");
    EXPECT_EQ(present.left, -13);
    EXPECT_EQ(present.right, 21);
}

TEST(Overlay, FootprintLeavesOutTheKeyColourWhenKeying) {
    PenFixture f;
    auto doc = picture(4, 4, 1);
    doc->current_pen = f.pen;
    doc->flags |= kDocKeyColourEnabled;
    layer_at(*doc, 1).key_colour = 4;
    doc->tone_level = 4; // pattern 0x0505: (0,0), (2,0), (0,2), (2,2)

    // Left colour is the key: only the right colour's pixels.
    doc->left_colour = 4;
    doc->right_colour = 5;
    draw_footprint(*doc, 1, 1);
    EXPECT_EQ(rows(*doc->composite), "1111\n1111\n1151\n1111\n");

    // Right colour is the key: the left colour where the pattern is clear.
    doc->left_colour = 6;
    doc->right_colour = 4;
    draw_footprint(*doc, 1, 1);
    EXPECT_EQ(rows(*doc->composite), "1111\n1661\n1611\n1111\n");

    // Both are the key: nothing.
    doc->left_colour = 4;
    draw_footprint(*doc, 1, 1);
    EXPECT_EQ(rows(*doc->composite), "1111\n1111\n1111\n1111\n");
    // The shifted tone table was restored.
    doc->flags &= ~kDocKeyColourEnabled;
    doc->left_colour = 6;
    doc->right_colour = 5;
    draw_footprint(*doc, 1, 1);
    EXPECT_EQ(rows(*doc->composite), "1111\n1661\n1651\n1111\n");
}

TEST(Overlay, StrokePreviewDrawsTheStrokeSurfaceInItsBox) {
    auto doc = picture(5, 3, 1);
    Surface& stroke = *doc->stroke_surface;
    fill(stroke, 0); // stale outside the box: must not show
    for (int x = 1; x < 4; ++x)
        at(stroke, x, 1) = 255;
    at(stroke, 2, 1) = 0;
    doc->left_colour = 3;
    doc->right_colour = 3;
    doc->tone_level = 16;
    recomposite(*doc);
    doc->update_rect = {0, 0, 1, 1};
    const RECT present = draw_stroke_preview(*doc, AreaRect{1, 1, 3, 1});
    EXPECT_EQ(rows(*doc->composite), "11111\n11311\n11111\n");
    EXPECT_EQ(present.left, 0);
    EXPECT_EQ(present.top, 0);
    EXPECT_EQ(present.right, 4);
    EXPECT_EQ(present.bottom, 2);
    EXPECT_EQ(doc->update_rect.left, 1);
    EXPECT_EQ(doc->update_rect.top, 1);
    EXPECT_EQ(doc->update_rect.right, 4);
    EXPECT_EQ(doc->update_rect.bottom, 2);
}

} // namespace
