// "BMP_DIALOG" ("Save As Bitmap"): 16 or 256 colours.
#pragma once

#include "platform/win.h"

// 4 for "16", 8 for "256" (chosen when it opens), 0 on Cancel.
int run_bmp_dialog(HWND owner);
