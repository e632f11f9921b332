// Select Area (tool 2): a rubber band dragged over the picture lifts the
// rectangle as a floating area (floating_area.h); pressing inside a floating
// area drags it, pressing outside commits it.
#pragma once

#include "app/document/picture.h"

// How a selection drag from a to b ends.
enum class SelectionEnd {
    Outside, // both ends beyond the same edge of the picture: nothing
    Click,   // no rectangle is left after snapping and clamping
    Area,    // out holds the rectangle
};

// The rectangle (inclusive) a drag from a to b selects: from the smaller to
// the larger coordinate, the larger one less 1 with snapping (grid lines
// bound the area), clamped to the picture.
SelectionEnd selection_rect(const PictureDocument& doc, POINT a, POINT b, bool snapping, RECT& out);

// The rubber band between a and b as picture coordinates whose right and
// bottom lie past the far pixel: one more than the larger coordinate
// without snapping, the grid line itself with it.
RECT rubber_band_rect(POINT a, POINT b, bool snapping);

// The left-button press at p (mapped without snapping). Inside a floating
// area it only reports that the moves will drag it. Elsewhere a floating
// area is committed first (committed is then set); the anchor becomes the
// document's current point.
struct SelectPress {
    bool drags = false;
    bool committed = false;
};
SelectPress select_press(PictureDocument& doc, POINT p, bool m_held);

// A move while the floating area is dragged: the rectangle moves by the
// current point less the previous one; the frame is shown, the union of the
// old and the new rectangle recomposited and the present and zoom-window
// bits raised. Returns that union (right and bottom past the area).
RECT drag_floating(PictureDocument& doc);

// The left-button release after a selection drag (the document's anchor
// and current point): lifts the selected rectangle as the floating area
// and recomposites the whole picture. Outside and Click change nothing;
// nor does the release of a drag of a floating area (reported as Outside).
SelectionEnd select_release(PictureDocument& doc);
