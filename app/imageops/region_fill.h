// The region of one colour around a pixel, found by a scanline fill and
// marked in a byte plane: what Fluid Fill paints and what the zoom editor's
// fill shares.
#pragma once

#include "app/document/picture.h"

// Marks with `mark` in region (a plane of source's size) every pixel of the
// 4-connected region of source that has the colour of (x, y) and is not yet
// marked; diagonal neighbours are not connected. bounds (left, top, right,
// bottom, inclusive), when given, limits the region; without it the region
// may reach the whole source. marked, when given, receives the box of the
// marked pixels (left, top, right, bottom, inclusive). Pending seeds are one
// per run of fillable pixels beside a span, kept on the heap, so neither
// the call stack nor one entry per pixel limits the size. Returns false,
// marking nothing, when (x, y) lies outside the bounds or the surfaces
// differ in size.
bool region_fill(Surface& region, const Surface& source, int x, int y, BYTE mark,
                 const RECT* bounds = nullptr, RECT* marked = nullptr);
