// The built-in tools' handlers as the tool table calls them: each maps the
// canvas's message onto the portable tool code and raises the notification
// bits the canvas acts on when the message ends.
#pragma once

#include "app/document/picture.h"
#include "app/session/tool_table.h"

// Twelve handlers, indexed by tool; null for tools not yet part of the
// program (their slots keep the handler that does nothing).
const ToolHandler* builtin_tool_handlers();

// Zooms one step in or out about the canvas point (x, y): the picture pixel
// under it stays under it. Nothing when the point lies outside the picture
// or the zoom is already at the end of the table.
void zoom_about(HWND canvas, PictureDocument& doc, int x, int y, bool zoom_in);
