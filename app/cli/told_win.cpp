#include "app/cli/told.h"

#include "platform/win.h"

namespace {

// The static control that holds a message box's text.
constexpr int kMessageTextId = 0xFFFF;
constexpr int kTextChars = 1024;

HHOOK hook = nullptr;
std::string last_text;

LRESULT CALLBACK catch_message_box(int code, WPARAM wparam, LPARAM lparam) {
    if (code == HCBT_ACTIVATE) {
        HWND box = reinterpret_cast<HWND>(wparam);
        char class_name[16] = {};
        GetClassNameA(box, class_name, sizeof class_name);
        if (lstrcmpA(class_name, "#32770") == 0) {
            char text[kTextChars] = {};
            GetDlgItemTextA(box, kMessageTextId, text, kTextChars);
            last_text = text;
            // Every box the file layers show has an OK button, which a close
            // request answers.
            PostMessageA(box, WM_CLOSE, 0, 0);
        }
    }
    return CallNextHookEx(hook, code, wparam, lparam);
}

} // namespace

ToldMessages::ToldMessages() {
    last_text.clear();
    hook = SetWindowsHookExA(WH_CBT, catch_message_box, nullptr, GetCurrentThreadId());
}

ToldMessages::~ToldMessages() {
    if (hook) UnhookWindowsHookEx(hook);
    hook = nullptr;
}

std::string ToldMessages::last() const {
    return last_text.substr(0, last_text.find('\n'));
}
