// Playing a picture's layers as the frames of an animated GIF play: one
// layer per frame from the bottom up, each drawn through its own area with
// its disposal, transparency, interval and user-input hold. Portable: the
// animation view's thread calls it with the document lock held, and only
// presents the frame it leaves.
#pragma once

#include "app/document/picture.h"

#include <cstdint>

// Shortest wait between two frames, in milliseconds: an interval of 0 must
// not turn the player into a busy loop.
inline constexpr std::uint32_t kAnimationIntervalFloor = 10;
// The wait of a frame that nothing follows until a click or a change.
inline constexpr std::uint32_t kAnimationStill = 0xFFFFFFFF;

// Makes frame the picture's size (the bottom layer's image) with the current
// layer's colour table, filled with the current layer's key colour. False,
// frame destroyed, when the document has no layer or memory runs out.
bool start_animation_frame(const PictureDocument& doc, Surface& frame);

struct AnimationStep {
    // The frame counter after this frame (0 after the top layer).
    int next_counter;
    // The layer asks for user input: the player waits for a click.
    bool waits_for_click;
    // Milliseconds until the next frame: the layer's interval, at least
    // kAnimationIntervalFloor; kAnimationStill after a frame that waits for
    // a click and after the only frame of a one-layer picture.
    std::uint32_t wait;
};

// Draws frame `counter` (0 the bottom layer; a counter at or past the layer
// count, left over from a longer list, starts again at 0) into frame: Erase
// and Previous first fill it with the layer's key colour, Previous then puts
// back the area of the layer below (the top layer below the bottom one); the
// layer's area follows, without its key colour when it is AnimTransparent.
// Areas are cut to the picture. Nothing is drawn without layers.
AnimationStep draw_animation_frame(const PictureDocument& doc, int counter, Surface& frame);
