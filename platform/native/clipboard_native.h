// An in-process clipboard for the native build: one process-wide store with
// the Windows calling rules that portable code relies on (open before use,
// the clipboard owns what SetClipboardData is given and frees it on the next
// EmptyClipboard). Only global-memory formats such as CF_DIB are kept.
#pragma once

#define CF_DIB 8

BOOL OpenClipboard(HWND owner);
BOOL CloseClipboard();
// Frees every block on the clipboard; fails unless it is open.
BOOL EmptyClipboard();
// Takes ownership of data (a GlobalAlloc block); null when the clipboard is
// not open.
HANDLE SetClipboardData(UINT format, HANDLE data);
// The block of that format, still owned by the clipboard; null when the
// clipboard is not open or holds no such data.
HANDLE GetClipboardData(UINT format);
BOOL IsClipboardFormatAvailable(UINT format);

namespace native {

// Makes OpenClipboard fail, as it does while another program holds it.
void set_clipboard_open_failure(bool fail);
// Closes and empties the clipboard, for tests that start afresh.
void reset_clipboard();

} // namespace native
