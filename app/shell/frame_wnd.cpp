#include "shell/frame_wnd.h"

namespace {

constexpr char kFrameClass[] = "Velmo frame window";
constexpr UINT kFirstMdiChild = 1000;

FrameState state;

LRESULT on_create(HWND wnd) {
    CLIENTCREATESTRUCT ccs{};
    ccs.hWindowMenu = nullptr;
    ccs.idFirstChild = kFirstMdiChild;
    state.mdi_client = CreateWindowExA(WS_EX_CLIENTEDGE, "MDICLIENT", nullptr,
                                       WS_CHILD | WS_CLIPCHILDREN | WS_VSCROLL | WS_HSCROLL | WS_VISIBLE,
                                       0, 0, 0, 0, wnd, nullptr, GetModuleHandleA(nullptr), &ccs);
    return state.mdi_client ? 0 : -1;
}

LRESULT CALLBACK VLFrameWndProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CREATE:
        state.frame = wnd;
        return on_create(wnd);
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefFrameProcA(wnd, state.mdi_client, msg, wp, lp);
}

} // namespace

FrameState& frame_state() { return state; }

bool register_frame_class(HINSTANCE instance) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = VLFrameWndProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, "VELMO_ICON");
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
    wc.lpszClassName = kFrameClass;
    return RegisterClassA(&wc) != 0;
}

HWND create_frame_window(HINSTANCE instance, int show) {
    HWND wnd = CreateWindowExA(0, kFrameClass, "Velmo", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                               CW_USEDEFAULT, CW_USEDEFAULT, 640, 480, nullptr, nullptr, instance,
                               nullptr);
    if (!wnd) return nullptr;
    ShowWindow(wnd, show);
    UpdateWindow(wnd);
    return wnd;
}
