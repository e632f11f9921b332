// What the tools' modeless dialogs (Intensity, Lettering) share: opened
// beside the frame without taking the activation and handed to the message
// loop for their keys, closed again; their place remembered in the
// settings; numbers read from their edits within a range.
#pragma once

#include "platform/win.h"

#include <cstdint>

// Creates the dialog of template name, owned by the frame, moves it to
// (left, top), shows it without activating it and makes it the tool dialog
// the message loop serves. Null when it cannot be made.
HWND open_tool_dialog(const char* name, DLGPROC proc, LPARAM param, int left, int top);
// Destroys dialog (null is fine) and forgets it.
void close_tool_dialog(HWND& dialog);
// On WM_DESTROY: the dialog's screen place into left and top.
void remember_place(HWND dialog, std::int32_t& left, std::int32_t& top);
// Stores the edit's whole number in field when it lies within least..most;
// false, field unchanged, otherwise.
bool read_number(HWND dialog, int id, int least, int most, std::int32_t& field);
