// The document window's Mask and Layer menu commands: mask planes from
// colours, layers filled from a colour or the selected area, and the
// selected area as the animation area. Each takes the document window, its
// document and the command id, like the rows of the window's command table.
#pragma once

#include "app/document/picture.h"
#include "platform/win.h"

// Clear Mask Plane and Invert Mask.
void mask_plane_command(HWND wnd, PictureDocument& doc, UINT id);
// Create or add a mask from the chosen colour or from every other colour.
void colour_mask_command(HWND wnd, PictureDocument& doc, UINT id);
// New Layer with Selected Color and Add Selected Color to Layer.
void colour_to_layer_command(HWND wnd, PictureDocument& doc, UINT id);
// New Layer with Selected Area and Add Selected Area to Layer.
void area_to_layer_command(HWND wnd, PictureDocument& doc, UINT id);
// Selected Area to Animation Area.
void animation_area_command(HWND wnd, PictureDocument& doc, UINT id);
