// Answers the soak driver, one report for each line "state" on its input,
// about the running velmo.exe: whether its frame answers a message within
// the time a user waits and what it counts of its GDI and USER objects;
// where its windows are (every top-level window of its process, dialogs
// included, so windows added later are found without change), the frame's
// bars, and each canvas (MDI children are no X windows); and whether Wine's
// crash dialog is up. Stays running, so that a check costs no Wine start.
#include "app/session/messages.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

constexpr UINT kAnswerTimeoutMs = 5000;
constexpr char kFrameClass[] = "Velmo frame window";
constexpr char kCanvasClass[] = "Velmo DIB disp window";
constexpr char kCrashTitle[] = "Program Error";
// The list of files in a common file dialog: where the driver keeps away
// from keys that delete or rename files.
constexpr char kFileListClass[] = "SHELLDLL_DefView";

void print_rect(const char* name, const RECT& r) {
    std::printf("%s %ld %ld %ld %ld", name, r.left, r.top, r.right - r.left, r.bottom - r.top);
}

struct Process {
    HWND frame;
    DWORD pid;
};

BOOL CALLBACK find_file_list(HWND wnd, LPARAM found) {
    char cls[64] = {};
    GetClassNameA(wnd, cls, sizeof cls);
    if (std::strcmp(cls, kFileListClass) != 0) return TRUE;
    *reinterpret_cast<bool*>(found) = true;
    return FALSE;
}

// "window ENABLED FILEDIALOG x y w h cx cy cw ch CLASS", top of the z-order
// first; the client rectangle in screen coordinates.
BOOL CALLBACK print_window(HWND wnd, LPARAM param) {
    const Process& process = *reinterpret_cast<const Process*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(wnd, &pid);
    char title[256] = {};
    GetWindowTextA(wnd, title, sizeof title);
    if (std::strstr(title, kCrashTitle)) std::printf("crash %s\n", title);
    if (pid != process.pid || wnd == process.frame || !IsWindowVisible(wnd)) return TRUE;
    RECT r, client;
    if (!GetWindowRect(wnd, &r) || !GetClientRect(wnd, &client)) return TRUE;
    POINT origin{0, 0};
    ClientToScreen(wnd, &origin);
    bool file_dialog = false;
    EnumChildWindows(wnd, find_file_list, reinterpret_cast<LPARAM>(&file_dialog));
    char cls[64] = {};
    GetClassNameA(wnd, cls, sizeof cls);
    std::printf("window %d %d ", IsWindowEnabled(wnd) ? 1 : 0, file_dialog ? 1 : 0);
    print_rect("", r);
    std::printf(" %ld %ld %ld %ld %s\n", origin.x, origin.y, client.right, client.bottom, cls);
    return TRUE;
}

void print_frame_children(HWND frame) {
    RECT r;
    for (HWND child = GetWindow(frame, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child) || !GetWindowRect(child, &r)) continue;
        char cls[64] = {};
        GetClassNameA(child, cls, sizeof cls);
        bool client = lstrcmpiA(cls, "MDIClient") == 0;
        print_rect(client ? "client" : "bar", r);
        std::printf("\n");
        if (!client) continue;
        for (HWND doc = GetWindow(child, GW_CHILD); doc; doc = GetWindow(doc, GW_HWNDNEXT)) {
            HWND canvas = FindWindowExA(doc, nullptr, kCanvasClass, nullptr);
            if (canvas && IsWindowVisible(doc) && GetWindowRect(canvas, &r)) {
                print_rect("canvas", r);
                std::printf("\n");
            }
        }
    }
}

void report() {
    Process process{FindWindowA(kFrameClass, nullptr), 0};
    if (process.frame) {
        GetWindowThreadProcessId(process.frame, &process.pid);
        DWORD_PTR answer = 0;
        DWORD start = GetTickCount();
        if (SendMessageTimeoutA(process.frame, kMsgCountObjects, 0, 0, SMTO_NORMAL,
                                kAnswerTimeoutMs, &answer))
            std::printf("answer %lu gdi %u user %u\n", GetTickCount() - start,
                        unsigned(LOWORD(answer)), unsigned(HIWORD(answer)));
        else
            std::printf("answer none\n");
        RECT r;
        GetWindowRect(process.frame, &r);
        std::printf("frame %d ", IsIconic(process.frame) ? 1 : 0);
        print_rect("", r);
        std::printf("\n");
        print_frame_children(process.frame);
    }
    EnumWindows(print_window, reinterpret_cast<LPARAM>(&process));
    std::printf("end\n");
    std::fflush(stdout);
}

} // namespace

int main() {
    char line[64];
    while (std::fgets(line, sizeof line, stdin)) {
        if (std::strncmp(line, "state", 5) == 0) report();
    }
    return 0;
}
