// The Rotring (tool 3): single pixels, one-pixel lines and rectangle outlines
// in the tone mix of the drawing colours.
#pragma once

#include "app/tools/drawing.h"

// How a Rotring drag draws, chosen at each left-button press.
enum class RotringMode { free, line, rectangle };

// Draws one pixel at (x, y): the right colour where the level's tone bit is
// set, else the left one; nothing where it would write the key colour
// (keying on, outside mask view) or where the mask protects the pixel. Sets
// the update rectangle (x, y, x + 1, y + 1) and recomposites.
void rotring_point(PictureDocument& doc, int x, int y, bool m_held);

// Draws the line from (x0, y0) to (x1, y1), both ends included, with the
// tone tile under the same key and mask rules; the update rectangle becomes
// the clipped line's box and is recomposited. Returns 0, drawing nothing,
// when the line misses the picture.
int rotring_line(PictureDocument& doc, int x0, int y0, int x1, int y1, bool m_held);

// The outline of the rectangle spanned by a and c as four Rotring lines,
// each recomposited; the update rectangle becomes (min x, min y, max x + 1,
// max y + 1) for presenting.
void rotring_rectangle(PictureDocument& doc, POINT a, POINT c, bool m_held);

// The tool's steps, called by the canvas window with the document's points
// already mapped; m_held says whether the M key is down. Each step that
// draws raises the present and zoom-window bits.

// Left-button press: the anchor becomes the current point and the mode is
// chosen (Shift: line; Ctrl without Shift: rectangle; else free, which
// draws a point at once). The caller keeps the mode until the next press.
RotringMode rotring_press(PictureDocument& doc, bool shift, bool ctrl, bool m_held);

// Move with the left button: free mode draws the line from the previous to
// the current point. Line and rectangle modes draw nothing into the picture;
// the window shows their rubber band (anchor to previous point erased,
// anchor to current point drawn) and rotring_drag_status.
void rotring_move(PictureDocument& doc, RotringMode mode, bool m_held);

// Release: line mode draws the line from the anchor to the current point,
// rectangle mode the four sides; free mode does nothing more.
void rotring_release(PictureDocument& doc, RotringMode mode, bool m_held);

// Status-bar part 2 while a line or rectangle is dragged: "Draw Line",
// "Draw Rectangle"; "" in free mode (and to clear it on the release).
const char* rotring_mode_status(RotringMode mode);

// Status-bar part 1 during a line or rectangle drag, in UTF-8: the anchor
// and the current point as "始点:(%d,%d)-終点:(%d,%d)" (line) or
// "(%d,%d)-(%d,%d)" (rectangle); "" in free mode.
void rotring_drag_status(const PictureDocument& doc, RotringMode mode, char (&text)[96]);
