#include "harness.h"

namespace {

// The innermost answerer of this thread; tests run on one thread.
DialogAnswerer* current = nullptr;

std::string window_text(HWND wnd) {
    char buf[1024] = {};
    GetWindowTextA(wnd, buf, sizeof buf);
    return buf;
}

// A message box keeps its text in a static control with id 0xFFFF.
std::string dialog_text(HWND dialog) {
    HWND text = GetDlgItem(dialog, 0xFFFF);
    return text ? window_text(text) : std::string();
}

bool is_dialog(HWND wnd) {
    char cls[64] = {};
    GetClassNameA(wnd, cls, sizeof cls);
    return std::string(cls) == "#32770";
}

} // namespace

DialogAnswerer::DialogAnswerer(Answer answer, std::string caption)
    : answer_(std::move(answer)), caption_(std::move(caption)), previous_(current) {
    current = this;
    hook_ = SetWindowsHookExA(WH_CBT, cbt_hook, nullptr, GetCurrentThreadId());
}

DialogAnswerer::~DialogAnswerer() {
    if (hook_) UnhookWindowsHookEx(hook_);
    if (timer_) KillTimer(nullptr, timer_);
    current = previous_;
}

void DialogAnswerer::press(HWND dialog, int button_id) {
    HWND button = GetDlgItem(dialog, button_id);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(button_id, BN_CLICKED), LPARAM(button));
}

void DialogAnswerer::choose_file(HWND dialog, const std::string& path, int type) {
    // The common dialogs' own control ids: the type list, and the file name
    // as a combo box (explorer style) or an edit box (older style).
    constexpr int kTypeList = 0x470;
    constexpr int kNameCombo = 0x47C;
    constexpr int kNameEdit = 0x480;
    if (type >= 0) {
        HWND list = GetDlgItem(dialog, kTypeList);
        SendMessageA(list, CB_SETCURSEL, WPARAM(type), 0);
        // A choice made with the mouse ends with both notifications; dialogs
        // differ in which one they act on.
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(kTypeList, CBN_SELCHANGE), LPARAM(list));
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(kTypeList, CBN_SELENDOK), LPARAM(list));
    }
    SetDlgItemTextA(dialog, GetDlgItem(dialog, kNameCombo) ? kNameCombo : kNameEdit, path.c_str());
    press(dialog, IDOK);
}

LRESULT CALLBACK DialogAnswerer::cbt_hook(int code, WPARAM wp, LPARAM lp) {
    DialogAnswerer* self = current;
    if (self && code == HCBT_ACTIVATE) {
        HWND wnd = reinterpret_cast<HWND>(wp);
        // A dialog is activated again when a message box it showed closes,
        // and may end before its answer is due; the next dialog then takes
        // its place.
        const bool free = !self->pending_ || !IsWindow(self->pending_);
        if (is_dialog(wnd) && (self->caption_.empty() || window_text(wnd) == self->caption_) &&
            free) {
            // Answer from the dialog's modal loop, once it runs, not from
            // inside its activation.
            if (self->timer_) KillTimer(nullptr, self->timer_);
            self->pending_ = wnd;
            self->timer_ = SetTimer(nullptr, 0, 10, on_timer);
        }
    }
    return CallNextHookEx(self ? self->hook_ : nullptr, code, wp, lp);
}

void CALLBACK DialogAnswerer::on_timer(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    DialogAnswerer* self = current;
    if (!self || !self->pending_) return;
    HWND dialog = self->pending_;
    self->pending_ = nullptr;
    self->timer_ = 0;
    if (!IsWindow(dialog)) return;
    self->captions_.push_back(window_text(dialog));
    self->texts_.push_back(dialog_text(dialog));
    self->answer_(dialog);
}
