// The floating windows the frame opens and closes from the Window menu and
// the toolbar's check buttons: palette, pen, zoom, layer manager, scrapbook,
// animation view and mini zoomer.
#pragma once

#include "app/session/settings.h"
#include "platform/win.h"

// Closes the window of the command when it is open; otherwise, with an
// active document, checks its menu item, presses its toolbar button and
// creates it. Each window unchecks and releases them when it is destroyed.
void toggle_floating_window(HWND frame, UINT command);
// Stores which windows are open into PaletteOn, PenOn, LayerOn, ScrapOn and
// MiniOn, for the next start.
void record_open_floating_windows(Settings& s);
