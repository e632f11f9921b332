// The document window's Edit commands on the selected area: the clipboard
// (Copy, Cut, Paste), Delete, Select All, and pictures from and to files
// (Paste from File, Copy to File) and the scrapbook. Each takes the
// document window, its document and the command id, like the rows of the
// window's command table.
#pragma once

#include "app/document/picture.h"
#include "platform/win.h"

void copy_command(HWND wnd, PictureDocument& doc, UINT id);
void cut_command(HWND wnd, PictureDocument& doc, UINT id);
void paste_command(HWND wnd, PictureDocument& doc, UINT id);
void delete_command(HWND wnd, PictureDocument& doc, UINT id);
void select_all_command(HWND wnd, PictureDocument& doc, UINT id);
void paste_from_file_command(HWND wnd, PictureDocument& doc, UINT id);
void copy_to_file_command(HWND wnd, PictureDocument& doc, UINT id);
// Copy to Scrapbook keeps a copy of what Copy would take as the scrapbook's
// new current entry; Paste from Scrapbook floats a copy of the current entry
// at the picture's corner, and does nothing without one.
void copy_to_scrapbook_command(HWND wnd, PictureDocument& doc, UINT id);
void paste_from_scrapbook_command(HWND wnd, PictureDocument& doc, UINT id);

// Commits a floating area before a command that changes the picture: the
// current tool is deactivated, and an area it left floating (another tool
// than Select Area is current) is committed here. False when the window
// lost its document meanwhile.
bool commit_before_command(HWND wnd, PictureDocument& doc);

// Select Area becomes the current tool and the tool window is told.
void choose_select_area();
