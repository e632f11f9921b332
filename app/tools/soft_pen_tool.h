// The Soften, Darken and Lighten pens (tools 9, 10 and 11): each pixel under
// the stroke is recomputed in RGB from itself and its four neighbours as
// they were when the button was pressed, shifted darker or lighter, and
// mapped back to the palette with a two-colour ordered dither.
#pragma once

#include "app/tools/drawing.h"
#include "app/tools/palette_search.h"

enum class SoftMode { soften, darken, lighten };

struct SoftPenValues {
    int weight; // each counted neighbour's weight against the pixel's own 100
    int value;  // Darken: percent of the brightest sum taken off; Lighten:
                // percent of the headroom added; unused by Soften
};

// The target colour of pixel (x, y) of source (a channel may run from -255
// to 510): the weighted mean of the pixel (weight 100) and of its four
// neighbours inside the picture (weight `weight` each; with mask bits only
// neighbours whose mask byte is non-zero), in the colours of table, then
// shifted by the mode.
struct Rgb {
    int red, green, blue;
};
Rgb soft_target(const Surface& source, const RGBQUAD* table, const BYTE* mask_bits, int x, int y,
                SoftMode mode, const SoftPenValues& values);

// The palette index for target at (x, y): the nearest entry, and on pixels
// with x + y even, where that is not exact, the entry nearest the target
// mirrored about it, on the tone pattern of level 16 d1 / (d2 + 2 d1).
int dithered_nearest(PaletteSearch& search, const RGBQUAD* table, Rgb target, int x, int y);

// Filters the document's last stroke shape: every pixel of the stroke
// rectangle whose stroke byte is 0 (and, with the mask on or M held, whose
// mask byte is non-zero) takes its dithered target colour in the current
// layer's image. The source is the layer's undo copy (the press's state, so
// passing over a place again does not strengthen the effect), or the
// composite with move and edit all layers. Sets the update rectangle,
// recomposites and raises the present and zoom-window bits. Nothing in mask
// view or when the current point equals the previous one; false then.
// search is the caller's, kept from move to move so that its remembered
// answers serve the whole stroke.
bool soft_pen_filter(PictureDocument& doc, SoftMode mode, const SoftPenValues& values, bool m_held,
                     PaletteSearch& search);
