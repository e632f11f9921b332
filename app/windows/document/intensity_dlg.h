// The soft pens' modeless "Intensity" dialog: the tool's value and, for
// Darken and Lighten, the softness, both 0 to 100, edited live in the
// settings. Shown without taking the activation, so the canvas keeps the
// keyboard.
#pragma once

#include "app/tools/soft_pen_tool.h"

// Creates the tool's dialog, owned by the frame, at the remembered place;
// nothing when it is open already.
void open_intensity_dialog(SoftMode mode);
// Destroys the tool's dialog (its place is remembered); nothing when closed.
void close_intensity_dialog(SoftMode mode);
// Moves the tool's value one step through the dialog's up-down control,
// which keeps it within 0 to 100 and stores it.
void step_intensity(SoftMode mode, int step);
// The neighbour weight and value the tool filters with now: Soften weighs
// neighbours by its own value; Darken and Lighten by the softness.
SoftPenValues soft_pen_values(SoftMode mode);
