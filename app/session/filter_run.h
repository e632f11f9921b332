// Running an Add-In filter over a document: the pixel side, without the
// setup dialog, the cursor or the windows that are told afterwards.
#pragma once

#include "app/document/picture.h"
#include "app/session/addin_host.h"

struct FilterResult {
    // The filter ran (false only when a temporary surface could not be made).
    bool ran = false;
    // A call changed the colour table: the picture's palette was replaced and
    // the palette views must be told.
    bool palette_changed = false;
};

// Marks the document modified, hands each processed layer (every layer from
// the bottom up with Move All Layers, else the current one) to the filter
// after taking its undo copy, and brings the picture back together: a colour
// table a filter changed becomes the palette of every layer; a floating area
// that was neither moved nor pasted takes the processed pixels under it; the
// whole picture is recomposited.
FilterResult apply_filter(PictureDocument& doc, const FilterEntry& filter, HWND canvas);

// The record for one layer's call, as the host fills it.
FilterRequest make_filter_request(const PictureDocument& doc, const Layer& layer,
                                  const Surface* mask_copy, HWND canvas);
