// The frame window: the program's main window with its menu bar, toolbar,
// dialog bar, status bar, the tool window and the MDI client that holds one
// document window per open picture.
#pragma once

#include "app/document/picture.h"
#include "app/session/settings.h"
#include "platform/win.h"

inline constexpr char kFrameClass[] = "Velmo frame window";

LRESULT CALLBACK VLFrameWndProc(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam);

// Creates the frame at the stored position and size. A stored default
// position (a first run, or a frame that would lie off the screen) gives the
// system's default position and a 640 x 480 frame.
HWND create_frame_window(HINSTANCE instance, const Settings& s);
// The MDI client, whose window list is the frame menu's "&Window" popup.
HWND create_mdi_client(HWND frame);

// Opens a document window that takes ownership of doc. On failure the
// document is freed and null returned.
HWND open_document_window(PictureDocument* doc);
// Loads the picture file, choosing its type by extension, opens its window
// and adds it to the recent files. False when nothing opened (the loading
// code has shown its message where it shows one).
bool open_file_in_window(const char* path);
// Opens every file named in a command-line text.
void open_command_line(const char* text);
// Reopens the tool windows that were open at the last exit, once, with the
// first picture opened while no other was active.
void restore_tool_windows(bool had_active_document);

// The File menu: the first popup of the frame menu, or the second while a
// maximised document window's system menu takes the first place.
HMENU file_menu();
