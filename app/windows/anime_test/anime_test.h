// The animation test of the zoom window: the modal "ANIME_DIALOG" shows the
// active picture cut into equal cells, lets the user pick cells in any
// order, plays them in the "Anime" window and exports them as an animated
// GIF.
#pragma once

#include "platform/win.h"

inline constexpr char kAnimeTestClass[] = "Velmo anime test window";

INT_PTR CALLBACK AnimeTestDlgProc(HWND dlg, UINT msg, WPARAM wparam, LPARAM lparam);
// Exported by name from velmo.exe, so its name is not decorated.
extern "C" LRESULT CALLBACK VLAnimeTestWndProc(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam);

// Runs the dialog owned by owner; it ends at once without an active
// document.
void run_anime_test(HWND owner);
