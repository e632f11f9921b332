// The document window ("Velmo DIB window"): the MDI child that owns one
// picture, keeps it in its "VL DIB prop" property, lays its canvas out,
// runs the scroll bars and carries out the picture commands the frame
// forwards to the active document window.
#pragma once

#include "app/document/picture.h"
#include "platform/win.h"

// Exported by name from velmo.exe, so its name is not decorated.
extern "C" LRESULT CALLBACK VLDIBWndProc(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam);

// Shows or hides the scroll bars for the document's view and puts the
// thumbs at the view origin; a bar that disappears lays the view out again
// for the larger client area. The canvas is not moved.
void update_scroll_bars(HWND document_window);

// Changes the document's zoom: moves the check mark of the View menu's zoom
// rates, lays the view out for the new zoom (first against the canvas's size,
// then against the client area) and moves the canvas there. The caller
// presents and updates the scroll bars.
void relayout_for_zoom(HWND document_window, PictureDocument& doc, int zoom);

// Lays the view out for the window's client area after the picture's size
// changed: scroll bars, canvas and view.
void lay_out_again(HWND document_window);

// The whole picture recomposited and presented.
void full_redraw(PictureDocument& doc);
