// Decrease Colors: every layer of a picture keeps only the first few colours
// of a palette, optionally mixed by ordered dithering, so that the picture
// saves with a small colour table. Each layer's key colour is kept: its
// pixels stay the key (a transparent area stays transparent), no other pixel
// of that layer turns into it, and its entry keeps its colour when it lies
// beyond the kept ones. Portable; the dialog is the document window's.
#pragma once

#include "app/document/picture.h"

inline constexpr int kDecreaseMinColours = 2;
inline constexpr int kDecreaseMaxColours = 128;

struct DecreaseRequest {
    // How many colours remain: entries 0 .. colours - 1 (2..128).
    int colours = kDecreaseMaxColours;
    // Mixes two kept colours in a 4 x 4 ordered pattern where one alone is
    // too far from the old colour.
    bool dither = false;
    // Borrowed: at least `colours` entries that become entries 0 ..
    // colours - 1; null keeps the picture's own first entries.
    const RGBQUAD* palette = nullptr;
};

// Reduces every layer, taking each one's undo copy first; entries from
// `colours` on turn black except the key colours. Marks the document
// modified and updates its palette; the caller recomposites. False, with
// nothing changed, for a colour count outside 2..128 or a picture without
// layers.
bool decrease_colours(PictureDocument& doc, const DecreaseRequest& request);
