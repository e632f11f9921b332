// The zoom editor's drawing beyond the Rotring's point and line: the box of
// a Ctrl drag, the previews of line and box drags, and the colour source of
// its Copy. The fill of Ctrl+F is Fluid Fill held inside the view area
// (fill_tool.h).
#pragma once

#include "app/tools/drawing.h"

// The box spanned by cells a and c (both included), inclusive corners.
RECT box_of(POINT a, POINT c);

// Fills the box with the tone mix of the drawing colours into the drawing
// target (mask plane in mask view; else the image, through the mask when it
// is on or M is held, the key colour left out while keying). The update
// rectangle becomes the box (right and bottom exclusive), recomposited.
void zoom_box_fill(PictureDocument& doc, POINT a, POINT c, bool m_held);

// The previews of a drag, drawn into the composite only: the view area is
// recomposited first, so that the previous preview goes. The line is drawn
// with RaskoDrawLineEx in the drawing colours; the box with the tone mix,
// the key colour left out while keying.
void zoom_line_preview(PictureDocument& doc, const AreaRect& area, POINT a, POINT c);
void zoom_box_preview(PictureDocument& doc, const AreaRect& area, POINT a, POINT c);

// What Copy reads: the mask plane in mask view, the composite with Move All
// Layers, else the current layer's image. Null without a layer.
const Surface* copy_source(const PictureDocument& doc);
