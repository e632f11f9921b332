// The two small questions of the Mask and Layer menus: which palette index
// (Select Color, with picking from the canvas) and which layer (Select
// Layer). Both are modal and owned by the frame window.
#pragma once

#include "app/document/picture.h"

// The chosen palette index 0..255, starting at initial; -1 when cancelled.
int run_select_colour_dialog(int initial);
// The chosen layer's position in doc's list (1 the bottom layer); 0 when
// cancelled. The caller looks the position up again after the dialog.
int run_select_layer_dialog(const PictureDocument& doc);
