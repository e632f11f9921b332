// The call block through which an Add-In pen sees the active document, and
// the merge of what it hands back.
#pragma once

#include "addins/sdk/velmo_addin.h"
#include "app/document/picture.h"

// Fills block from the document for a call in shape_mode; dc is the canvas's
// device context. The update rectangle goes in as zeros.
void fill_pen_call_block(PictureDocument& doc, PenCallBlock& block, HDC dc, int shape_mode);

// Takes back what the pen returned: its notification bits (the top byte of
// flags) into the document flags; with the present or zoom-window bit its
// rectangle as the update rectangle, recomposited unless it says not to;
// with the colours bit the new drawing colours; with the tone bit the new
// tone level (clamped to 0..16). Colour changes redraw the swatch.
void merge_pen_call_result(PictureDocument& doc, const PenCallBlock& block);

// One call of an Add-In pen: fills a block from the document, calls pen with
// the canvas window and the message as Windows gave it, and merges the
// result. Returns what the pen returned.
int call_addin_pen(VLPenFn pen, HWND canvas, UINT message, WPARAM wparam, LPARAM lparam,
                   PictureDocument& doc, HDC dc, int shape_mode);
