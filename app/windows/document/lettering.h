// The Lettering tool's window side: its modeless "Lettering" dialog of font
// settings, the GDI rendering of the text under edit into the stroke
// surface, and the tool's handler with its placing, dragging, typing and
// committing.
#pragma once

#include "app/document/picture.h"

// The tool's handler for the tool table.
int lettering_tool(HWND canvas, UINT msg, WPARAM wparam, LPARAM lparam, void* record);

// True while text is being edited: the canvas then leaves the numeric-pad
// digits and '/' to the text instead of taking them as colour keys.
bool lettering_takes_keys();
