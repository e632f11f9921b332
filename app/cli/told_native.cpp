#include "app/cli/told.h"

#include "platform/win.h"

ToldMessages::ToldMessages() {
    native::reset_message_boxes();
}

ToldMessages::~ToldMessages() = default;

std::string ToldMessages::last() const {
    const native::MessageBoxRecord& record = native::last_message_box();
    if (record.count == 0) return {};
    return record.text.substr(0, record.text.find('\n'));
}
