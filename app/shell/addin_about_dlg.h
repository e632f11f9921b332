// "ADDIN_ABOUT_DIALOG": one line per registered Add-In.
#pragma once

#include "platform/win.h"

void run_addin_about_dialog(HWND owner);
