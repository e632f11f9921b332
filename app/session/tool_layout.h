// Where the tool window puts its controls: two columns of tool buttons, the
// six shape buttons below them, then the current pen with its number and the
// colour swatches. Everything below the tool buttons moves down a row for
// every two Add-In pens.
#pragma once

#include "platform/win.h"

// The controls below the tool and shape buttons; the values are their
// child-window ids.
enum ToolWindowControl : int {
    kPenButton = 100,
    kMixSwatch = 101, // the drawing colours in their tone mix, twice
    kLeftSwatch = 102,
    kRightSwatch = 103,
    kKeySwatch = 104,        // the current layer's key colour
    kBackgroundSwatch = 105, // the current layer's background colour
    kPenNumber = 106,        // up-down control of the pen index
};
inline constexpr ToolWindowControl kFirstSwatch = kMixSwatch;
inline constexpr ToolWindowControl kLastSwatch = kBackgroundSwatch;

inline constexpr int kToolWindowWidth = 48;

// Tool t's button.
RECT tool_button_rect(int tool);
// The button of a shape mode, 110 (free hand) to 115 (filled ellipse).
RECT shape_button_rect(int tool_count, int shape_mode);
RECT tool_control_rect(int tool_count, ToolWindowControl control);
// The client area: 48 wide, down to the bottom of the swatches.
RECT tool_window_client(int tool_count);
