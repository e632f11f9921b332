// The view of a picture in its document window: zoom rates, the mapping
// between canvas pixels and picture pixels, snapping, the Shift constraint,
// the layout of the canvas inside the window and scrolling.
#pragma once

#include "app/document/picture.h"

constexpr int kZoomRateCount = 14;
extern const int kZoomRates[kZoomRateCount]; // 50, 100, 200 ... 1600

// Index of zoom in kZoomRates, or -1.
int zoom_index(int zoom);

// A canvas point (signed 16-bit halves of lParam) as a picture point:
// x = mx * 100 / zoom + view origin x, likewise y (truncating).
POINT canvas_to_picture(const PictureDocument& doc, int mx, int my);
// The inverse: (x - view origin x) * zoom / 100, likewise y.
POINT picture_to_canvas(const PictureDocument& doc, int x, int y);

// The nearest grid line on each axis (halves round up), with the document's
// grid size.
POINT snap_to_grid(const PictureDocument& doc, POINT p);

// The Shift constraint of a drag in shape mode against its anchor: line
// mode keeps the longer axis (ties horizontal); the other shape modes make
// the box square on the longer side, signs kept (ties change y). Free hand is
// left alone.
POINT constrain_point(int shape_mode, POINT anchor, POINT p);

// One axis of the layout: the canvas offset and extent in window pixels,
// the visible extent and the view origin in picture pixels.
struct AxisLayout {
    int offset;
    int extent;
    int visible;
    int origin;
};
// Lays one axis out in client extent s for picture extent p at zoom z, the
// view origin given and corrected.
AxisLayout layout_axis(int s, int p, int z, int origin);
// Both axes into the document's view fields.
void layout_view(PictureDocument& doc, int client_width, int client_height);

// The scroll-bar codes the document window acts on.
constexpr int kScrollLineUp = 0, kScrollLineDown = 1, kScrollPageUp = 2, kScrollPageDown = 3,
              kScrollThumbPosition = 4, kScrollThumbTrack = 5;
// The view origin after scroll code on an axis whose origin, visible extent
// and picture extent are given; thumb is the tracked position. False for the
// codes that leave the origin alone.
bool scrolled_origin(int code, int thumb, int origin, int visible, int extent, int& out);
// An origin held within 0 .. extent - visible.
int clamp_origin(int origin, int visible, int extent);

// The wheel's step: WHEEL_DELTA (120) is one notch, positive turned away
// from the user. One line of scrolling is kWheelLineScreenPixels on the
// screen (at least one picture pixel); lines_per_notch is the system's
// setting, kWheelPageScroll for a page (the visible extent) a notch.
constexpr int kWheelDelta = 120;
constexpr int kWheelLineScreenPixels = 16;
constexpr int kWheelPageScroll = -1;
struct WheelStep {
    int origin_change; // picture pixels; the wheel turned away scrolls back
    int unused_delta;  // the part of delta too small for a whole line
};
WheelStep wheel_step(int delta, int lines_per_notch, int visible, int zoom);

// Where a window goes and how large it is.
struct WindowPlace {
    int x;
    int y;
    int width;
    int height;
};
// A document window that wants `wanted` inside a workspace of area_width x
// area_height: no larger than the workspace and moved back into it, so that
// its caption and its buttons stay within reach. A workspace without room
// leaves the window as wanted.
WindowPlace fitted_window(WindowPlace wanted, int area_width, int area_height);
