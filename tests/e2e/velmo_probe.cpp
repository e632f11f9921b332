// Reports what a running velmo.exe shows, for the end-to-end scripts: the
// frame's top-level menu texts in order, where the client areas of the tool
// window, the pen window and the pen editor lie, the caption of every
// document window and where its canvas lies on the screen (MDI children are
// no X windows, so xdotool cannot see them), and the animation test's
// controls the scripts click.
#include <windows.h>

#include <commctrl.h>

#include <cstdio>

namespace {

// The texts of the frame's top-level menus in order. Wine keeps a menu in
// the process that made it, so another process reads the menu bar from the
// running program's own "VELMO_MENU" resource, which the frame window's
// class carries; where the live menu can be read it is used.
void print_menu_bar(HWND frame) {
    HMENU menu = GetMenu(frame);
    HMODULE program = nullptr;
    if (GetMenuItemCount(menu) <= 0) {
        DWORD pid = 0;
        GetWindowThreadProcessId(frame, &pid);
        HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
        char path[MAX_PATH] = {};
        DWORD size = sizeof path;
        if (process && QueryFullProcessImageNameA(process, 0, path, &size))
            program = LoadLibraryExA(path, nullptr, LOAD_LIBRARY_AS_DATAFILE);
        if (process) CloseHandle(process);
        menu = program ? LoadMenuA(program, "VELMO_MENU") : nullptr;
    }
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char text[128] = {};
        GetMenuStringA(menu, UINT(i), text, sizeof text, MF_BYPOSITION);
        std::printf("menu %d %s\n", i, text);
    }
    if (program) {
        DestroyMenu(menu);
        FreeLibrary(program);
    }
}

// Where a floating window's client area lies on the screen: "NAME x y w h".
void print_client(const char* name, const char* cls) {
    HWND wnd = FindWindowA(cls, nullptr);
    RECT r;
    if (!wnd || !IsWindowVisible(wnd) || !GetClientRect(wnd, &r)) return;
    POINT origin{0, 0};
    ClientToScreen(wnd, &origin);
    std::printf("%s %ld %ld %ld %ld\n", name, origin.x, origin.y, r.right, r.bottom);
}

} // namespace

int main() {
    HWND frame = FindWindowA("Velmo frame window", nullptr);
    if (!frame) {
        std::puts("no frame");
        return 1;
    }
    print_menu_bar(frame);
    print_client("tool", "Velmo tool window");
    print_client("pen", "Velmo pen window");
    print_client("penmake", "Velmo pen make window");
    // The zoom editor's display, where the scripts click, and whether the
    // frame's toolbar shows the zoom window as open.
    if (HWND zoom = FindWindowA("Velmo zoom window", nullptr)) {
        RECT r;
        HWND display = FindWindowExA(zoom, nullptr, "Velmo zoom disp window", nullptr);
        if (display && GetWindowRect(display, &r))
            std::printf("zoomdisp %ld %ld %ld %ld\n", r.left, r.top, r.right - r.left,
                        r.bottom - r.top);
    }
    if (HWND toolbar = FindWindowExA(frame, nullptr, "ToolbarWindow32", nullptr))
        std::printf("zoombutton %d\n", SendMessageA(toolbar, TB_ISBUTTONCHECKED, 136, 0) ? 1 : 0);
    HWND client = FindWindowExA(frame, nullptr, "MDICLIENT", nullptr);
    for (HWND child = client ? GetWindow(client, GW_CHILD) : nullptr; child;
         child = GetWindow(child, GW_HWNDNEXT)) {
        char cls[64] = {};
        GetClassNameA(child, cls, sizeof cls);
        if (lstrcmpA(cls, "Velmo DIB window") != 0) continue;
        // In UTF-8, whatever this program's own code page: the scripts compare
        // captions with the names they gave.
        wchar_t wide[1200] = {};
        GetWindowTextW(child, wide, 1200);
        char title[3600] = {};
        WideCharToMultiByte(CP_UTF8, 0, wide, -1, title, sizeof title, nullptr, nullptr);
        std::printf("document %s\n", title);
        RECT r;
        HWND canvas = FindWindowExA(child, nullptr, "Velmo DIB disp window", nullptr);
        if (canvas && GetWindowRect(canvas, &r))
            std::printf("canvas %ld %ld %ld %ld\n", r.left, r.top, r.right - r.left,
                        r.bottom - r.top);
    }
    // The animation test's preview and its Export GIF button (ids 200, 108).
    if (HWND anime = FindWindowA(nullptr, "Animation Test")) {
        RECT r;
        HWND preview = GetDlgItem(anime, 200);
        if (preview && GetWindowRect(preview, &r))
            std::printf("animepreview %ld %ld %ld %ld\n", r.left, r.top, r.right - r.left,
                        r.bottom - r.top);
        HWND button = GetDlgItem(anime, 108);
        if (button && GetWindowRect(button, &r))
            std::printf("animeexport %ld %ld\n", (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
    HWND palette = FindWindowA("Velmo palette window", nullptr);
    HWND display =
        palette ? FindWindowExA(palette, nullptr, "Velmo palette disp window", nullptr) : nullptr;
    POINT origin{0, 0};
    if (display && ClientToScreen(display, &origin))
        std::printf("palette-grid %ld %ld\n", origin.x, origin.y);
    return 0;
}
