// Registers the program's window classes.
#pragma once

#include "platform/win.h"

// False when any registration fails (start-up then ends).
bool register_window_classes(HINSTANCE instance);
// Removes them again, so that a test can start the program once more in the
// same process.
void unregister_window_classes(HINSTANCE instance);
