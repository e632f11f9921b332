// The frame's command table: every command of the menus, accelerators,
// toolbar and dialog bar, with the handler that carries it out and the test
// that decides whether its menu item is enabled.
#pragma once

#include "platform/win.h"

// Runs command id; false when the table does not know it (the frame then
// gives it to the default frame processing, e.g. MDI window activation).
bool run_frame_command(HWND frame, UINT id);
// Greys the items of a popup that is about to open whose command cannot run.
void enable_frame_commands(HMENU popup);
