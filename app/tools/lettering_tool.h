// Lettering (tool 8): a line of typed text, rendered by the window level into
// the stroke surface, previewed in the composite and committed into the
// current layer with the Pen's colour rules. Here: the text under edit and
// its byte-wise editing (double-byte characters stay whole), the text box
// of a rotated line, and the painting of the rendered text.
#pragma once

#include "app/tools/drawing.h"

// Bytes the text may hold, without its terminator.
constexpr int kLetteringCapacity = 1023;

// Whether a byte starts a double-byte character in the system's code page.
using LeadByteTest = bool (*)(BYTE);

struct LetteringText {
    char bytes[kLetteringCapacity + 1] = {};
    int length = 0;
    // 0 nothing placed; 1 a start point placed, the text empty; n >= 2 the
    // text holds n - 1 bytes.
    int state = 0;
    bool expect_trail = false; // the last byte appended was a lead byte
    bool drop_trail = false;   // a lead byte was refused: refuse its trail too
};

// What a typed byte asks of the window.
enum class TypingResult {
    ignored, // nothing changed
    changed, // the text changed: render it again
    emptied, // the last character went: remove the old box's preview
    commit,  // Enter: commit as a release outside the box does
    drop,    // Escape: the text is dropped, state 0
};

// Backspace steps back one whole character (a lead byte and its trail go
// together) and does nothing on empty text; Tab and line feed are ignored;
// any other byte is appended while it fits, and a lead byte that would be
// the last byte the buffer holds is refused with its trail byte. Nothing
// happens in state 0.
TypingResult type_byte(LetteringText& text, BYTE c, LeadByteTest is_lead);

// Places a new start point: empty text, state 1.
void start_text(LetteringText& text);
// Forgets the text: state 0.
void drop_text(LetteringText& text);

// The box (left, top, right, bottom, inclusive) of a line of cx x cy pixels
// turned by degrees counter-clockwise about its top-left corner at anchor:
// the smallest rectangle holding the four corners, each product truncated
// toward zero.
RECT lettering_box(POINT anchor, int cx, int cy, int degrees);

// Paints the rendered text (the stroke surface's pixels equal to text_mark
// inside box) into the composite with the drawing colours, leaving out the
// key colour while keying is on, as a preview.
void lettering_preview(PictureDocument& doc, BYTE text_mark, const RECT& box);

// Commits the rendered text into the drawing target (the mask plane in mask
// view; otherwise the image, where the mask, when on or with M held, keeps
// protected pixels out of the text and keying leaves the key colour out):
// the update rectangle becomes the box with right and bottom plus 1,
// recomposited, and the present and zoom-window bits are raised.
void lettering_commit(PictureDocument& doc, BYTE text_mark, const RECT& box, bool m_held);
