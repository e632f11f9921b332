// Registers the program's window classes.
#pragma once

#include "platform/win.h"

// False when any registration fails (start-up then ends).
bool register_window_classes(HINSTANCE instance);
