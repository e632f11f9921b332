// The frame window: the program's main window with its MDI client.
#pragma once

#include "platform/win.h"

struct FrameState {
    HWND frame = nullptr;
    HWND mdi_client = nullptr;
};

FrameState& frame_state();

bool register_frame_class(HINSTANCE instance);
HWND create_frame_window(HINSTANCE instance, int show);
