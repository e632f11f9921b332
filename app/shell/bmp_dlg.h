// "BMP_DIALOG" ("Save As Bitmap"): 16 or 256 colours.
#pragma once

#include "platform/win.h"

// 4 for "16", 8 for "256", 0 on Cancel. It opens on "16" when the picture's
// BMP depth (bits) is 4 or less, else on "256".
int run_bmp_dialog(HWND owner, int bits);
