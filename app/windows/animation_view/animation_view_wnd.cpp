#include "app/windows/animation_view/animation_view_wnd.h"

#include "app/imageops/animation_frames.h"
#include "app/resources/resource_ids.h"
#include "app/session/settings.h"
#include "app/session/shell_state.h"

namespace {

constexpr int kInitialSide = 256;

// The document lock: the thread holds it while it draws and presents one
// frame, the window whenever it replaces what the thread reads.
class DocumentLock {
  public:
    DocumentLock() { InitializeCriticalSection(&section_); }
    ~DocumentLock() { DeleteCriticalSection(&section_); }
    DocumentLock(const DocumentLock&) = delete;
    DocumentLock& operator=(const DocumentLock&) = delete;
    void enter() { EnterCriticalSection(&section_); }
    void leave() { LeaveCriticalSection(&section_); }

  private:
    CRITICAL_SECTION section_;
};

DocumentLock& document_lock() {
    static DocumentLock lock;
    return lock;
}

class Locked {
  public:
    Locked() { document_lock().enter(); }
    ~Locked() { document_lock().leave(); }
    Locked(const Locked&) = delete;
    Locked& operator=(const Locked&) = delete;
};

// What the window and its thread share; one view at a time. The fields
// below the lock line change only with the lock held.
struct Player {
    HANDLE thread = nullptr;
    // Auto-reset: a click on a held frame, a new document, stopping.
    HANDLE wake = nullptr;
    // --- under the lock ---
    HDC dc = nullptr; // the window's own DC, with the frame's palette
    HPALETTE palette = nullptr;
    HPALETTE old_palette = nullptr;
    // Borrowed from its document window, which closes the view before it
    // frees it.
    PictureDocument* doc = nullptr;
    // The layer list is being changed: the thread leaves doc alone until
    // the next rebuild.
    bool held = false;
    Surface frame;
    int counter = 0;
    // A frame is owed: at start, after a rebuild and a click on a held
    // frame.
    bool due = false;
    // The frame on screen stays for an interval that ends at next_frame_at
    // (GetTickCount). A deadline rather than the wait's timeout, so that a
    // wake meant for something else does not cut the interval short or
    // lose it.
    bool timed = false;
    DWORD next_frame_at = 0;
    bool waiting_for_click = false;
    bool stopping = false;
};
Player player;

void present_frame() {
    if (player.dc && player.frame.dc)
        BitBlt(player.dc, 0, 0, player.frame.width(), player.frame.height(), player.frame.dc, 0, 0,
               SRCCOPY);
}

// One turn of the thread, under the lock: draws the frame that is owed and
// returns how long to wait for the next one.
DWORD draw_due_frame() {
    const DWORD now = GetTickCount();
    if (player.timed && LONG(now - player.next_frame_at) >= 0) {
        player.timed = false;
        player.due = true;
    }
    if (!player.due || player.held || !player.doc)
        return player.timed ? player.next_frame_at - now : INFINITE;
    player.due = false;
    const AnimationStep step = draw_animation_frame(*player.doc, player.counter, player.frame);
    present_frame();
    player.counter = step.next_counter;
    player.waiting_for_click = step.waits_for_click;
    player.timed = step.wait != kAnimationStill;
    player.next_frame_at = now + step.wait;
    return player.timed ? DWORD(step.wait) : INFINITE;
}

DWORD WINAPI play(void*) {
    for (;;) {
        DWORD wait;
        {
            Locked locked;
            if (player.stopping) return 0;
            wait = draw_due_frame();
        }
        WaitForSingleObject(player.wake, wait);
    }
}

void release_palette() {
    if (!player.palette) return;
    SelectPalette(player.dc, player.old_palette, FALSE);
    DeleteObject(player.palette);
    player.palette = nullptr;
}

// Plays doc from its first frame with a frame buffer made anew, under the
// lock. False, playing nothing, when the buffer cannot be made.
bool restart_with(PictureDocument* doc) {
    Locked locked;
    release_palette();
    player.doc = nullptr;
    player.held = false;
    player.counter = 0;
    player.waiting_for_click = false;
    player.timed = false;
    if (!doc || !start_animation_frame(*doc, player.frame)) return false;
    player.doc = doc;
    player.due = true;
    player.palette = CreatePalette(player.frame.logical_palette);
    if (player.palette) {
        player.old_palette = SelectPalette(player.dc, player.palette, FALSE);
        RealizePalette(player.dc);
    }
    return true;
}

// The active document, or whatever now stands in its place: plays it from
// the start; without one the view closes.
void follow_active_document(HWND wnd) {
    if (!restart_with(active_document())) {
        DestroyWindow(wnd);
        return;
    }
    fit_client_area(wnd, player.frame.width(), player.frame.height());
    SetEvent(player.wake);
}

bool on_create(HWND wnd) {
    player.dc = GetDC(wnd);
    player.stopping = false;
    player.wake = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    if (!player.dc || !player.wake || !restart_with(active_document())) return false;
    fit_client_area(wnd, player.frame.width(), player.frame.height());
    player.thread = CreateThread(nullptr, 0, play, nullptr, 0, nullptr);
    return player.thread != nullptr;
}

// Also after a failed WM_CREATE, with whatever was made.
void on_destroy(HWND wnd) {
    if (player.thread) {
        {
            Locked locked;
            player.stopping = true;
        }
        SetEvent(player.wake);
        WaitForSingleObject(player.thread, INFINITE);
        CloseHandle(player.thread);
        player.thread = nullptr;
    }
    if (player.wake) CloseHandle(player.wake);
    player.wake = nullptr;
    release_palette();
    player.frame.destroy();
    player.doc = nullptr;
    if (player.dc) ReleaseDC(wnd, player.dc);
    player.dc = nullptr;
    floating_window_closed(wnd, &ShellWindows::animation_view, CMD_ANIMATION_VIEW,
                           &settings().gifanime_left, &settings().gifanime_top);
}

// The layer list is about to change: the thread finishes its frame and
// leaves the document alone until the next rebuild. With a document about
// to be freed, the view closes when it plays that one and is not held for
// any other. Only this thread writes doc, so it reads it without the lock.
void on_hold(HWND wnd, const PictureDocument* closing) {
    if (closing) {
        if (closing == player.doc) DestroyWindow(wnd);
        return;
    }
    Locked locked;
    player.held = true;
}

void on_click() {
    {
        Locked locked;
        if (!player.waiting_for_click) return;
        player.waiting_for_click = false;
        player.due = true;
    }
    SetEvent(player.wake);
}

} // namespace

LRESULT CALLBACK VLGIFAnimeWndProc(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    switch (msg) {
    case WM_CREATE:
        return on_create(wnd) ? 0 : -1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(wnd, &ps);
        EndPaint(wnd, &ps);
        Locked locked;
        present_frame();
        return 0;
    }
    case WM_LBUTTONDOWN:
        on_click();
        return 0;
    case kMsgHoldAnimation:
        on_hold(wnd, reinterpret_cast<const PictureDocument*>(lparam));
        return 0;
    case kMsgDocumentActivated:
        follow_active_document(wnd);
        return 0;
    case WM_DESTROY:
        on_destroy(wnd);
        return 0;
    }
    return DefWindowProcA(wnd, msg, wparam, lparam);
}

HWND create_animation_view(HWND frame) {
    const Settings& s = settings();
    HWND wnd = CreateWindowExA(0, kAnimationViewClass, "Animation",
                               WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, s.gifanime_left,
                               s.gifanime_top, kInitialSide, kInitialSide, frame, nullptr,
                               shell_windows().instance, nullptr);
    if (wnd) shell_windows().animation_view = wnd;
    return wnd;
}
