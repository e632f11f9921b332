#include "shell/frame_wnd.h"

#include "engine/rasko.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    // A first call into the engine makes sure rasko32.dll is bound and usable
    // before any window exists.
    BITMAPINFOHEADER* probe = RaskoCreateDIB(1, 1);
    if (!probe) return 1;
    RaskoDestroyDIB(probe);

    if (!register_frame_class(instance)) return 1;
    HWND frame = create_frame_window(instance, show);
    if (!frame) return 1;

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (!TranslateMDISysAccel(frame_state().mdi_client, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    return int(msg.wParam);
}
