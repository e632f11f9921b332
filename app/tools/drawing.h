// What every drawing tool shares: where its pixels go (image or mask plane,
// with or without the mask, with or without colour keying), the tone colour
// tile of the drawing colours, the notification bits of the document's flags
// word, and the drawing colours themselves (picking, keys, mask-view forcing).
#pragma once

#include "addins/sdk/velmo_addin.h"
#include "app/document/picture.h"

#include <cstdint>

// Notification bits a tool raises in the top byte of the document flags; the
// canvas acts on them when the message ends. Add-In pens return the same
// bits, merged as they come.
constexpr std::uint32_t kNotifyPresent = kPenPresent;
constexpr std::uint32_t kNotifyZoomWindow = kPenZoomWindow;
constexpr std::uint32_t kNotifyColours = kPenColours;
constexpr std::uint32_t kNotifyToneLevel = kPenToneLevel;
constexpr std::uint32_t kNotifyColourViews = 0x40000000;
constexpr std::uint32_t kNotifyNoRecomposite = kPenNoRecomposite;
constexpr std::uint32_t kNotifyBits = 0xFF000000;

// No colour is left out.
constexpr int kNoTransparentColour = -1;

struct DrawTarget {
    Surface* surface = nullptr;             // the current layer's image or mask plane
    const BYTE* mask = nullptr;             // mask plane bits limiting the writes, or null
    int transparent = kNoTransparentColour; // colour never written
};

// In mask view the mask plane, written freely (keying does not apply there,
// so 255 can always be painted back); otherwise the image, limited by the
// mask plane when the mask is on or M is held, the key colour left out when
// colour keying is on.
DrawTarget drawing_target(const PictureDocument& doc, bool m_held);

// The standard tone pattern of a level (clamped to 0..16): bit
// (y & 3) * 4 + (x & 3) set where the right colour goes.
WORD standard_tone(int level);

// The drawing colours as a 4 x 4 tile: entry [y & 3][x & 3] is the right
// colour where the level's pattern is set, else the left colour.
struct ToneTile {
    BYTE colour[4][4];
};
ToneTile tone_tile(int left, int right, int level);

// In mask view each drawing colour becomes 0 (dark: red + green + blue below
// 384 in the current layer's colour table) or 255; then the swatch is
// redrawn. Every change of a drawing colour ends here.
void drawing_colours_changed(PictureDocument& doc);

// The colour under (x, y): from the mask plane in mask view, from the
// composite with Move All Layers, else from the current layer's image.
int colour_under(const PictureDocument& doc, int x, int y);

// Marks a canvas point that shows no picture pixel.
constexpr int kNoColour = -1;
// The colour shown at canvas point (cx, cy), mapped through the zoom and
// the view origin and read as colour_under does; kNoColour off the canvas
// (its extent is the document's canvas width and height) or off the
// picture.
int colour_at_canvas_point(const PictureDocument& doc, int cx, int cy);

// Right-button picking: the colour under (x, y) into the left colour, or
// into the right one with Shift; raises the colour-views bit.
void pick_colour(PictureDocument& doc, int x, int y, bool into_right);

// Pixel (x, y) of a surface, y = 0 the top row. The caller has checked the
// bounds.
inline BYTE* pixel_at(const Surface& s, int x, int y) {
    return s.bits + std::size_t(s.height() - 1 - y) * std::size_t(s.stride()) + std::size_t(x);
}

// The byte at (x, y) of other bits laid out like s (a mask plane beside its
// image).
inline const BYTE* pixel_at_bits(const Surface& s, const BYTE* bits, int x, int y) {
    return bits + std::size_t(s.height() - 1 - y) * std::size_t(s.stride()) + std::size_t(x);
}
