// The program's life: start-up, the message loop and shut-down.
#pragma once

#include "platform/win.h"

// Everything before the message loop. Returns the frame window, or null
// when the program must end now (a second instance handed over its command
// line, the display has fewer than 8 bits per pixel, or a window class or
// the frame could not be made).
HWND start_velmo(HINSTANCE instance, const char* command_line, int show);
// Runs the message loop until the frame is destroyed.
void run_message_loop();
// What the loop does before dispatching a message: true when one of the
// modeless dialogs or an accelerator table took it.
bool take_message(MSG& msg);
// Saves the settings and releases every global table.
void shut_down_velmo();
