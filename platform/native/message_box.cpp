#include "platform/win.h"

namespace {
native::MessageBoxRecord record;
int answer = IDOK;
} // namespace

int MessageBoxA(HWND, LPCSTR text, LPCSTR caption, UINT type) {
    record.text = text ? text : "";
    record.caption = caption ? caption : "";
    record.type = type;
    ++record.count;
    return answer;
}

HWND GetActiveWindow() {
    return nullptr;
}

namespace native {
const MessageBoxRecord& last_message_box() {
    return record;
}
void reset_message_boxes() {
    record = {};
    answer = IDOK;
}
void set_message_box_answer(int a) {
    answer = a;
}
} // namespace native
