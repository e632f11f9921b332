#include "app/session/tool_layout.h"

#include "app/session/pen_slots.h"
#include "app/tools/stroke_shape.h"

namespace {

constexpr int kButton = 24;
constexpr int kColumns = 2;
constexpr int kShapeRows = 3;
// Between the last row of tools and the shapes.
constexpr int kShapeGap = 4;
constexpr int kPenTop = kShapeGap + kShapeRows * kButton;
constexpr int kSwatch = 16;
constexpr int kSwatchTop = kPenTop + kPenSize;
constexpr int kBottom = kSwatchTop + 2 * kSwatch;

struct Place {
    ToolWindowControl control;
    int x;
    int below_tools; // y counted from the bottom of the tool buttons
    int width;
    int height;
};

constexpr Place kPlaces[] = {
    {kPenButton, 0, kPenTop, kPenSize, kPenSize},
    {kPenNumber, kPenSize, kPenTop, kToolWindowWidth - kPenSize, kPenSize},
    {kMixSwatch, 2 * kSwatch, kSwatchTop, kSwatch, 2 * kSwatch},
    {kLeftSwatch, 0, kSwatchTop, kSwatch, kSwatch},
    {kRightSwatch, kSwatch, kSwatchTop, kSwatch, kSwatch},
    {kKeySwatch, 0, kSwatchTop + kSwatch, kSwatch, kSwatch},
    {kBackgroundSwatch, kSwatch, kSwatchTop + kSwatch, kSwatch, kSwatch},
};

RECT at(int x, int y, int width, int height) {
    return {x, y, x + width, y + height};
}

RECT grid_cell(int index, int top) {
    return at(index % kColumns * kButton, top + index / kColumns * kButton, kButton, kButton);
}

// The bottom of the tool buttons: an odd tool count leaves the last row
// half empty.
int tools_bottom(int tool_count) {
    return (tool_count + 1) / kColumns * kButton;
}

} // namespace

RECT tool_button_rect(int tool) {
    return grid_cell(tool, 0);
}

RECT shape_button_rect(int tool_count, int shape_mode) {
    return grid_cell(shape_mode - kShapeFreeHand, tools_bottom(tool_count) + kShapeGap);
}

RECT tool_control_rect(int tool_count, ToolWindowControl control) {
    for (const Place& p : kPlaces)
        if (p.control == control)
            return at(p.x, tools_bottom(tool_count) + p.below_tools, p.width, p.height);
    return {};
}

RECT tool_window_client(int tool_count) {
    return at(0, 0, kToolWindowWidth, tools_bottom(tool_count) + kBottom);
}
