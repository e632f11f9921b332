#include "app/session/outside_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Case {
    const char* what;
    std::string bytes;
    bool utf8;
};

TEST(OutsideText, OnlyWellFormedUtf8CountsAsUtf8) {
    const Case cases[] = {
        {"empty", "", true},
        {"ASCII", "Pen Add-In", true},
        {"two bytes", "caf\xC3\xA9", true},
        {"three bytes", "\xE7\xB5\xB5.gif", true},
        {"four bytes", "\xF0\x9F\x8E\xA8", true},
        {"last code point", "\xF4\x8F\xBF\xBF", true},
        {"Latin-1 e acute", "caf\xE9", false},
        {"Shift-JIS picture", "\x8A\x47", false},
        {"lone continuation", "\x80", false},
        {"overlong slash", "\xC0\xAF", false},
        {"overlong three bytes", "\xE0\x80\xAF", false},
        {"overlong four bytes", "\xF0\x80\x80\xAF", false},
        {"surrogate half", "\xED\xA0\x80", false},
        {"past U+10FFFF", "\xF4\x90\x80\x80", false},
        {"F5 lead", "\xF5\x80\x80\x80", false},
        {"cut at the end", "ab\xE7\xB5", false},
        {"cut by ASCII", "\xE7\xB5x", false},
        {"second continuation missing", "\xF0\x9F\x8E", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(is_utf8(c.bytes), c.utf8) << c.what;
}

} // namespace
