// The scrapbook ("SCRAP_DIALOG"): a modeless dialog that lists the pictures
// kept for the run (app/session/scrap_book.h), takes new ones from the
// clipboard, puts the current one back on it, renames and deletes them.
// The document window's Copy to and Paste from Scrapbook share its list and
// tell it with 0x406 when they add to it.
#pragma once

#include "platform/win.h"

INT_PTR CALLBACK ScrapDlgProc(HWND dlg, UINT msg, WPARAM wparam, LPARAM lparam);

// Opens the scrapbook owned by frame at its remembered place; the handle is
// kept in ShellWindows::scrapbook until it is destroyed, which unchecks the
// frame's item and releases its toolbar button.
HWND create_scrapbook(HWND frame);
