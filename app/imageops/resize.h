// Changing sizes: a picture's whole layer set (Resize Picture, and any
// program that resizes pictures), and the selected area (Resize Area).
#pragma once

#include "app/document/picture.h"

// The largest width or height a resized picture or area may have.
constexpr int kMaxResizeSide = 32767;

enum class ResizeMode {
    Crop,    // keep the pixels at their place: cut on the right and bottom
             // or extended there with each layer's background colour (mask
             // 255)
    Stretch, // scale every layer's image and mask to the new size
};

// Gives every layer of doc, its composite and its stroke surface the size
// width x height (1 .. kMaxResizeSide). Every new surface is made first and
// installed only when all exist, so on failure the picture is exactly as
// it was. Afterwards each layer's undo copy equals its image, its animation
// area is the whole picture, the palette is brought up to date and the
// zoom window area kept inside; the whole picture is recomposited. The
// caller lays the view out again. A floating area is not touched: commit
// or drop it first. False when the size is out of range or memory ran out.
bool resize_picture(PictureDocument& doc, int width, int height, ResizeMode mode);

// The part of r (inclusive corners) inside the picture; false when none is.
bool clip_to_picture(const PictureDocument& doc, RECT& r);

// Resize Area: stretches the rectangle source (inclusive, inside the
// picture) to width x height and writes it back at source's corner into
// each layer an area operation concerns (undo copy first; the mask plane and
// the image by the modes, with the area write's rules), marking the
// document modified. The stretched pixels then float there: taken from the
// current layer as it was, as a pasted area, or, with Move All Layers or in
// mask view, as a selected area whose commit reads each layer's own pixels
// again. A floating area present before is dropped. False, with nothing
// changed, when the size is out of range or the surface cannot be made.
bool resize_area(PictureDocument& doc, const RECT& source, int width, int height);

// The size dialogs' three linked fields for a starting size of start_width
// x start_height: typing one of them (with a fixed aspect ratio for width
// and height) gives the other two, computed in 64 bits and capped at
// kMaxResizeSide. A rate below 1 counts as 1.
struct ResizeFields {
    int width;
    int height;
    int rate; // percent
};
ResizeFields fields_for_width(int start_width, int start_height, int width);
ResizeFields fields_for_height(int start_width, int start_height, int height);
ResizeFields fields_for_rate(int start_width, int start_height, int rate);
