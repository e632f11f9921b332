// The "Add-In &Filter" commands (1000 and up): a filter's setup dialog, the
// run over the active picture and the windows told afterwards.
#pragma once

#include "platform/win.h"

// Runs filter `index` on the active picture; nothing happens without one,
// or when the filter's setup answers 0.
void run_filter_command(HWND frame, int index);
