#include "app/session/tool_layout.h"

#include "app/tools/stroke_shape.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Box {
    int x, y, width, height;
};

Box box(const RECT& r) {
    return {int(r.left), int(r.top), int(r.right - r.left), int(r.bottom - r.top)};
}

bool operator==(const Box& a, const Box& b) {
    return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}

std::ostream& operator<<(std::ostream& out, const Box& b) {
    return out << "(" << b.x << ", " << b.y << ") " << b.width << " x " << b.height;
}

// Every control of a tool window with n tools.
std::vector<RECT> every_control(int n) {
    std::vector<RECT> all;
    for (int t = 0; t < n; ++t)
        all.push_back(tool_button_rect(t));
    for (int mode = kShapeFreeHand; mode <= kShapeFilledEllipse; ++mode)
        all.push_back(shape_button_rect(n, mode));
    for (int id = kPenButton; id <= kPenNumber; ++id)
        all.push_back(tool_control_rect(n, ToolWindowControl(id)));
    return all;
}

bool overlap(const RECT& a, const RECT& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

TEST(ToolLayout, ToolsFillTwoColumnsAndEverythingElseStartsBelowTheLastRow) {
    // y0 is the bottom of the tool rows: an odd count still takes a whole row.
    const struct {
        int tools;
        int y0;
    } windows[] = {{12, 144}, {13, 168}, {14, 168}, {15, 192}};
    for (const auto& w : windows) {
        const int n = w.tools, y0 = w.y0;
        SCOPED_TRACE(n);
        EXPECT_EQ(box(tool_button_rect(n - 1)), (Box{(n - 1) % 2 * 24, (n - 1) / 2 * 24, 24, 24}));
        const struct {
            int mode;
            Box at;
        } shapes[] = {{kShapeFreeHand, {0, y0 + 4, 24, 24}},
                      {kShapeLine, {24, y0 + 4, 24, 24}},
                      {kShapeRectangle, {0, y0 + 28, 24, 24}},
                      {kShapeEllipse, {24, y0 + 28, 24, 24}},
                      {kShapeFilledRectangle, {0, y0 + 52, 24, 24}},
                      {kShapeFilledEllipse, {24, y0 + 52, 24, 24}}};
        for (const auto& s : shapes)
            EXPECT_EQ(box(shape_button_rect(n, s.mode)), s.at) << s.mode;
        const struct {
            ToolWindowControl control;
            Box at;
        } controls[] = {
            {kPenButton, {0, y0 + 76, 32, 32}},         {kPenNumber, {32, y0 + 76, 16, 32}},
            {kMixSwatch, {32, y0 + 108, 16, 32}},       {kLeftSwatch, {0, y0 + 108, 16, 16}},
            {kRightSwatch, {16, y0 + 108, 16, 16}},     {kKeySwatch, {0, y0 + 124, 16, 16}},
            {kBackgroundSwatch, {16, y0 + 124, 16, 16}}};
        for (const auto& c : controls)
            EXPECT_EQ(box(tool_control_rect(n, c.control)), c.at) << c.control;
        EXPECT_EQ(box(tool_window_client(n)), (Box{0, 0, 48, y0 + 140}));
    }
}

TEST(ToolLayout, WithAnyNumberOfAddInPensNoControlsOverlapOrLeaveTheClientArea) {
    for (int n = 12; n <= 40; ++n) {
        const RECT client = tool_window_client(n);
        const std::vector<RECT> all = every_control(n);
        for (std::size_t i = 0; i < all.size(); ++i) {
            const RECT& r = all[i];
            EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= client.right &&
                        r.bottom <= client.bottom)
                << n << " tools, control " << i;
            for (std::size_t j = i + 1; j < all.size(); ++j)
                EXPECT_FALSE(overlap(r, all[j])) << n << " tools, controls " << i << ", " << j;
        }
    }
}

} // namespace
