// Decrease Colors (Filter menu): its dialog and the command that reduces
// every layer of the picture.
#pragma once

#include "app/document/picture.h"
#include "platform/win.h"

// Runs "DECREASE_DIALOG"; on OK reduces every layer (the floating area
// committed first, undo copies taken) and redraws. False when cancelled.
bool decrease_colours_command(HWND document_window, PictureDocument& doc);
