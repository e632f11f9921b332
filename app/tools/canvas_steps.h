// The canvas window's decisions that need no window: what a pen-type tool's
// left drag builds and shows, and what the end of each message must tell the
// other windows. The window maps points into the document (previous,
// current and anchor point), calls these, then presents and sends messages.
#pragma once

#include "app/document/picture.h"

// What a pen-type drag step asks of the canvas window next.
struct DragStep {
    bool call_tool = false; // pass the move or release on to the tool now
    RECT present{};         // present this rectangle now; empty: nothing to present
};

// A move with the left button held for a pen-type tool, after the canvas
// stored the current point. Recomposites the update rectangle (removing the
// last preview), then builds the stroke shape of shape_mode into the stroke
// surface: free hand from the previous point, the other modes from the
// anchor. Free hand: call_tool is set and nothing is presented. Other modes:
// the shape is drawn as a preview, stroke and update rectangle become its
// box, present is the union of that box and the old update rectangle, and
// the tool is not called. points_only is the Add-In tool flag 0x20000: in
// free hand nothing is built and the tool is not called.
DragStep pen_type_move(PictureDocument& doc, int shape_mode, bool points_only);

// The release of the left button for a pen-type tool, after the canvas
// stored the current point: builds the final shape as a move does. Modes
// other than free hand recomposite the preview away and present the union
// of the shape's box and the old update rectangle. call_tool is set unless
// points_only holds in free hand. The canvas sets the update rectangle to
// the current point after the tool has run.
DragStep pen_type_release(PictureDocument& doc, int shape_mode, bool points_only);

// What the canvas window does at the end of a message, decided from the
// notification bits in the top byte of the document flags.
struct MessageEnd {
    bool present = false;       // present the update rectangle
    bool zoom_window = false;   // send 0x403 to the zoom window when it exists
    bool tool_and_zoom = false; // send 0x404 to the tool window and the zoom window
    bool palette = false;       // send 0x404 to the palette window
    // Non-zero after the tone level was stepped away for the palette window:
    // +1 stepped up (send it WM_HSCROLL SB_LINELEFT), -1 stepped down (send
    // SB_LINERIGHT), so that its own handler steps back and refreshes.
    int palette_tone_step = 0;
};

// Reads and clears the notification bits. The colour bits (0x04000000,
// 0x08000000, 0x40000000) go to the tool and zoom windows without a palette
// window; with one, the tone bit moves the tone level one step away (up
// below 15, else down) and redraws the swatch, the others send it 0x404.
MessageEnd end_of_message(PictureDocument& doc, bool palette_window_open);
