#include "app/tools/rotring_tool.h"

#include "tests/support/drawing_fixture.h"

#include <gtest/gtest.h>

using namespace drawing_test;

namespace {

// An 8 x 4 picture of 9s with drawing colours 1 (left) and 2 (right).
DocumentPtr rotring_picture(int level) {
    DocumentPtr doc = picture(8, 4, 9);
    doc->left_colour = 1;
    doc->right_colour = 2;
    doc->tone_level = level;
    return doc;
}

Surface& image(PictureDocument& doc) {
    return *current_layer(doc)->image;
}
Surface& mask(PictureDocument& doc) {
    return *current_layer(doc)->mask;
}

TEST(RotringPoint, ToneLevelPicksTheColourByPosition) {
    for (auto [level, expected] : {std::pair{0, "11\n11\n"}, {8, "21\n12\n"}, {16, "22\n22\n"}}) {
        DocumentPtr doc = rotring_picture(level);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 2; ++x)
                rotring_point(*doc, x, y, false);
        EXPECT_EQ(grid(image(*doc), 2).substr(0, 6), expected) << level;
        EXPECT_EQ(doc->update_rect.left, 1);
        EXPECT_EQ(doc->update_rect.bottom, 2);
    }
}

TEST(RotringPoint, KeyColourMaskAndMaskView) {
    DocumentPtr doc = rotring_picture(8);
    doc->flags |= kDocKeyColourEnabled;
    current_layer(*doc)->key_colour = 1;
    rotring_point(*doc, 0, 0, false); // tone bit set: right colour 2
    rotring_point(*doc, 1, 0, false); // clear: would write the key colour
    EXPECT_EQ(grid(image(*doc), 2).substr(0, 2), "29");

    at(mask(*doc), 2, 0) = 0;
    rotring_point(*doc, 2, 0, true);
    EXPECT_EQ(at(image(*doc), 2, 0), 9) << "M held";
    doc->flags |= kDocMaskOn;
    rotring_point(*doc, 2, 0, false);
    EXPECT_EQ(at(image(*doc), 2, 0), 9) << "mask on";

    // Mask view writes the mask plane, keying or not, protected or not.
    doc->flags |= kDocMaskView;
    rotring_point(*doc, 1, 0, false);
    rotring_point(*doc, 2, 0, false);
    EXPECT_EQ(at(mask(*doc), 1, 0), 1);
    EXPECT_EQ(at(mask(*doc), 2, 0), 2);
    EXPECT_EQ(grid(image(*doc), 3).substr(0, 3), "299");

    rotring_point(*doc, -1, 9, false); // outside: nothing, no fault
}

TEST(RotringLine, LevelsZeroEightSixteenAlongARow) {
    for (auto [level, expected] : {std::pair{0, "11111111"}, {8, "12121212"}, {16, "22222222"}}) {
        DocumentPtr doc = rotring_picture(level);
        EXPECT_EQ(rotring_line(*doc, 0, 1, 7, 1, false), 1);
        EXPECT_EQ(grid(image(*doc)).substr(9, 8), expected) << level;
    }
}

TEST(RotringLine, FollowsTheWalkBothEndsIncluded) {
    DocumentPtr doc = rotring_picture(0);
    rotring_line(*doc, 7, 0, 0, 3, false);
    EXPECT_EQ(grid(image(*doc)), "99999911\n"
                                 "99991199\n"
                                 "99119999\n"
                                 "11999999\n");
    EXPECT_EQ(doc->update_rect.left, 0);
    EXPECT_EQ(doc->update_rect.top, 0);
    EXPECT_EQ(doc->update_rect.right, 8);
    EXPECT_EQ(doc->update_rect.bottom, 4);
}

TEST(RotringLine, KeyingAndMaskLeavePixelsAlone) {
    // Left colour = key colour at level 0: nothing changes at all.
    DocumentPtr keyed = rotring_picture(0);
    keyed->flags |= kDocKeyColourEnabled;
    current_layer(*keyed)->key_colour = 1;
    rotring_line(*keyed, 0, 0, 7, 3, false);
    EXPECT_EQ(grid(image(*keyed)), "99999999\n99999999\n99999999\n99999999\n");
    // At level 8 only the right colour lands.
    keyed->tone_level = 8;
    rotring_line(*keyed, 0, 2, 7, 2, false);
    EXPECT_EQ(grid(image(*keyed)).substr(18, 8), "29292929");

    for (bool mask_on : {true, false}) {
        DocumentPtr doc = rotring_picture(16);
        at(mask(*doc), 2, 1) = 0;
        at(mask(*doc), 6, 1) = 0;
        if (mask_on) doc->flags |= kDocMaskOn;
        rotring_line(*doc, 0, 1, 7, 1, !mask_on);
        EXPECT_EQ(grid(image(*doc)).substr(9, 8), "22922292");
    }
}

TEST(RotringLine, MaskViewPaintsTheMaskPlaneIgnoringKeying) {
    DocumentPtr doc = rotring_picture(0);
    fill(mask(*doc), 0);
    doc->flags |= kDocMaskView | kDocKeyColourEnabled | kDocMaskOn;
    current_layer(*doc)->key_colour = 255;
    doc->left_colour = 255;
    rotring_line(*doc, 1, 3, 6, 3, false);
    EXPECT_EQ(grid(mask(*doc)).substr(27, 8), "0......0");
    EXPECT_EQ(grid(image(*doc)).substr(27, 8), "99999999");
}

TEST(RotringLine, IsClippedAndMissingThePictureDrawsNothing) {
    DocumentPtr doc = rotring_picture(0);
    EXPECT_EQ(rotring_line(*doc, -5, 2, 3, 2, false), 1);
    EXPECT_EQ(grid(image(*doc)).substr(18, 8), "11119999");
    EXPECT_EQ(doc->update_rect.left, 0);
    EXPECT_EQ(doc->update_rect.right, 4);
    EXPECT_EQ(doc->update_rect.top, 2);
    EXPECT_EQ(doc->update_rect.bottom, 3);
    doc->update_rect = {1, 1, 1, 1};
    EXPECT_EQ(rotring_line(*doc, -5, -1, 20, -1, false), 0);
    EXPECT_EQ(doc->update_rect.right, 1);
}

TEST(RotringTool, FreeDragDrawsThePointThenSegments) {
    DocumentPtr doc = rotring_picture(0);
    doc->current_point = {1, 1};
    EXPECT_EQ(rotring_press(*doc, false, false, false), RotringMode::free);
    EXPECT_EQ(doc->flags & kNotifyPresent, kNotifyPresent);
    EXPECT_EQ(at(image(*doc), 1, 1), 1);
    doc->previous_point = {1, 1};
    doc->current_point = {4, 1};
    rotring_move(*doc, RotringMode::free, false);
    rotring_release(*doc, RotringMode::free, false);
    EXPECT_EQ(grid(image(*doc)).substr(9, 8), "91111999");
    EXPECT_STREQ(rotring_mode_status(RotringMode::free), "");
}

TEST(RotringTool, LineAndRectangleDrawOnlyOnTheRelease) {
    DocumentPtr doc = rotring_picture(0);
    doc->current_point = {1, 0};
    EXPECT_EQ(rotring_press(*doc, true, true, false), RotringMode::line) << "Shift wins";
    EXPECT_STREQ(rotring_mode_status(RotringMode::line), "Draw Line");
    doc->previous_point = {1, 0};
    doc->current_point = {6, 0};
    rotring_move(*doc, RotringMode::line, false);
    EXPECT_EQ(grid(image(*doc)).substr(0, 8), "99999999");
    char text[96];
    rotring_drag_status(*doc, RotringMode::line, text);
    EXPECT_STREQ(text, "\u59cb\u70b9:(1,0)-\u7d42\u70b9:(6,0)");
    rotring_release(*doc, RotringMode::line, false);
    EXPECT_EQ(grid(image(*doc)).substr(0, 8), "91111119");

    doc->current_point = {6, 3};
    EXPECT_EQ(rotring_press(*doc, false, true, false), RotringMode::rectangle);
    EXPECT_STREQ(rotring_mode_status(RotringMode::rectangle), "Draw Rectangle");
    doc->current_point = {3, 1};
    rotring_drag_status(*doc, RotringMode::rectangle, text);
    EXPECT_STREQ(text, "(6,3)-(3,1)");
    doc->flags = 0;
    rotring_release(*doc, RotringMode::rectangle, false);
    EXPECT_EQ(grid(image(*doc)), "91111119\n"
                                 "99911119\n"
                                 "99919919\n"
                                 "99911119\n");
    EXPECT_EQ(doc->update_rect.left, 3);
    EXPECT_EQ(doc->update_rect.top, 1);
    EXPECT_EQ(doc->update_rect.right, 7);
    EXPECT_EQ(doc->update_rect.bottom, 4);
    EXPECT_EQ(at(*doc->composite, 3, 2), 1) << "the sides are recomposited";
    EXPECT_EQ(doc->flags & kNotifyZoomWindow, kNotifyZoomWindow);
}

} // namespace
