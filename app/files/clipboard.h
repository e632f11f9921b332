// A single flat bitmap between a Surface and the clipboard (CF_DIB, made and
// read by the engine). The pasted bitmap keeps its own colour table;
// matching it to a picture's palette is the caller's business.
#pragma once

#include "app/document/picture.h"

// Puts the rectangle r of source (the whole surface when r is null) on the
// clipboard, owned by owner. Reports nothing: a clipboard that cannot be
// opened keeps what it held.
void copy_to_clipboard(const Surface& source, HWND owner, const AreaRect* r = nullptr);

// A new surface holding the clipboard's bitmap, or null after telling the
// user: "Enable to Open Clipboard" when the clipboard holds no bitmap the
// engine can read, "Can't create Bitmap" when no surface of its size can be
// made. The caller owns the result.
Surface* paste_from_clipboard(HWND owner);

// A one-layer picture holding a copy of s (its size, colour table and
// pixels), without the default palette file; pen as the current pen. Null
// when it cannot be made. Paste to New Picture, and Copy to File, which
// writes s through the picture writers.
PictureDocument* picture_from_surface(const Surface& s, Surface* pen);
