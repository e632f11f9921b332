// Reports what a running velmo.exe shows, for the end-to-end scripts: the
// frame's top-level menu texts in order and the caption of every document
// window (MDI children are no X windows, so xdotool cannot see them).
#include <windows.h>

#include <cstdio>

int main() {
    HWND frame = FindWindowA("Velmo frame window", nullptr);
    if (!frame) {
        std::puts("no frame");
        return 1;
    }
    HMENU menu = GetMenu(frame);
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char text[128] = {};
        GetMenuStringA(menu, UINT(i), text, sizeof text, MF_BYPOSITION);
        std::printf("menu %d %s\n", i, text);
    }
    HWND client = FindWindowExA(frame, nullptr, "MDICLIENT", nullptr);
    for (HWND child = client ? GetWindow(client, GW_CHILD) : nullptr; child;
         child = GetWindow(child, GW_HWNDNEXT)) {
        char cls[64] = {};
        GetClassNameA(child, cls, sizeof cls);
        if (lstrcmpA(cls, "Velmo DIB window") != 0) continue;
        char title[1200] = {};
        GetWindowTextA(child, title, sizeof title);
        std::printf("document %s\n", title);
    }
    return 0;
}
