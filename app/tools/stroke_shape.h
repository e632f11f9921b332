// Stroke shapes: what a pen-type tool paints through. Every pen-type tool
// (Pen, Layer Copy Pen, Color Exchange, the soften family and Add-In pens)
// gets its shape from here and supplies only its own pixel rule.
//
// The stroke surface has the picture's geometry. After a build it holds 255
// outside the shape and other values inside (the pen's own values, or 0 for
// the filled shapes) within the returned stroke rectangle; outside that
// rectangle its content is stale and must not be read.
#pragma once

#include "app/document/picture.h"

// Shape modes of the pen window.
constexpr int kShapeFreeHand = 110;
constexpr int kShapeLine = 111;
constexpr int kShapeRectangle = 112;
constexpr int kShapeEllipse = 113;
constexpr int kShapeFilledRectangle = 114;
constexpr int kShapeFilledEllipse = 115;

// A pen pixel lands at p - (kPenHotSpot, kPenHotSpot) + its own position, so
// pen pixel (15, 15) is under p.
constexpr int kPenHotSpot = 15;
constexpr int kPenExtent = 32;

// Builds the shape of mode from p0 to p1 (free hand and line: the segment;
// rectangles: the corners; ellipses: centre p0, corner p1) into stroke with
// the 32 x 32 pen (key 255). Returns 1, or 0 when an ellipse's box lies
// wholly outside the surface; out is then all zeros. An unknown mode builds
// nothing and returns 0.
int build_stroke_shape(Surface& stroke, int mode, POINT p0, POINT p1, const Surface& pen,
                       AreaRect& out);

// The box that bounds a shape of mode from the anchor to the current point,
// grown by the pen's reach except for the filled shapes (left, top, right,
// bottom). Add-In pens receive it.
RECT shape_bounds(int mode, POINT anchor, POINT current);
