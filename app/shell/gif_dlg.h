// "GIF_DIALOG" ("Save As GIF"): colours, interlacing, transparency and its
// key colour (typed or picked from the picture with "Spoit"), animation,
// repeat count and comment.
#pragma once

#include "app/document/picture.h"
#include "platform/win.h"

// Runs the dialog on doc's GIF settings with key_colour as the starting key
// colour. OK stores the settings into doc and the key colour into
// key_colour and returns 1; Cancel changes nothing and returns 0.
int run_gif_dialog(HWND owner, PictureDocument& doc, int& key_colour);
