// The zoom editor's geometry: the view area inside the picture, its size
// when the display is offered a new client area in each size mode, the cell
// under a display point, and the square the mini zoomer magnifies.
#pragma once

#include "app/document/picture.h"

inline constexpr int kZoomFactorMin = 1;
inline constexpr int kZoomFactorMax = 32;

// How the view area's size follows the display's: any number of cells, or
// multiples of 10 or of 16.
enum class ZoomSizeMode { free_size, tens, sixteens };

// The area moved and cut into a picture_width x picture_height picture: the
// size 1 .. the picture's, a negative origin 0, an origin whose area would
// pass the far edge pulled back to picture size - size.
AreaRect clamped_view_area(AreaRect area, int picture_width, int picture_height);

// Cells along one axis when the display offers `client` pixels at `factor`
// and the view area had `old_cells`: client / factor, in Free Size one more
// while old_cells x factor fell short of the client, in the other modes the
// nearest multiple of 10 (halves up, at least 10) or 16 (at least 16).
int offered_cells(ZoomSizeMode mode, int client, int factor, int old_cells);

// The view area after the display was offered client_width x client_height
// pixels: offered_cells on both axes from the old area, then clamped into the
// picture.
AreaRect offered_view_area(const AreaRect& old, ZoomSizeMode mode, int client_width,
                           int client_height, int factor, int picture_width, int picture_height);

// The area kept as it is, except that its display (cells x factor) may not
// pass max_width x max_height pixels (the screen's work area): the cells are
// cut to what fits, at least one.
AreaRect capped_view_area(AreaRect area, int factor, int max_width, int max_height);

// The cell under display point (cx, cy): (cx / factor + left, cy / factor +
// top); with `hold` moved onto the nearest cell of the area, so that a drag
// leaving the display keeps drawing on its edge.
POINT zoom_cell(const AreaRect& area, int factor, int cx, int cy, bool hold);
// The display point at the centre of a cell of the area.
POINT cell_centre(const AreaRect& area, int factor, POINT cell);

// The mini zoomer shows the kMiniSpan x kMiniSpan pixels around the pointer,
// kMiniScale times larger, in a kMiniSide square.
inline constexpr int kMiniSpan = 9;
inline constexpr int kMiniScale = 16;
inline constexpr int kMiniSide = kMiniSpan * kMiniScale;

struct MiniZoomCopy {
    bool any;        // some picture pixel lies in the square
    bool cut;        // the square passed an edge: the rest is black
    AreaRect source; // picture pixels to magnify
    POINT target;    // where they go in the mini zoomer
};
// What the mini zoomer copies for pointer position (x, y) in a picture of
// picture_width x picture_height.
MiniZoomCopy mini_zoom_copy(int x, int y, int picture_width, int picture_height);
