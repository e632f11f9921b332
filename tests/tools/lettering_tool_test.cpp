#include "app/tools/lettering_tool.h"

#include "tests/support/drawing_fixture.h"

#include <gtest/gtest.h>

#include <string>

using namespace drawing_test;

namespace {

// Shift-JIS lead bytes.
bool sjis_lead(BYTE b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

TypingResult type(LetteringText& t, const std::string& bytes) {
    TypingResult last = TypingResult::ignored;
    for (char c : bytes)
        last = type_byte(t, BYTE(c), sjis_lead);
    return last;
}

TEST(LetteringText, TypingAndBackspaceKeepDoubleByteCharactersWhole) {
    LetteringText t;
    EXPECT_EQ(type(t, "a"), TypingResult::ignored) << "nothing placed yet";
    start_text(t);
    EXPECT_EQ(t.state, 1);
    EXPECT_EQ(type_byte(t, 8, sjis_lead), TypingResult::ignored) << "Backspace on empty text";
    // "a", then a double-byte character whose trail byte is itself a lead
    // byte value, then "b".
    EXPECT_EQ(type(t, "a\x88\x9F"
                      "b"),
              TypingResult::changed);
    EXPECT_EQ(t.length, 4);
    EXPECT_EQ(t.state, 5);
    EXPECT_EQ(type(t, "\t\n"), TypingResult::ignored);
    EXPECT_EQ(type_byte(t, 8, sjis_lead), TypingResult::changed);
    EXPECT_EQ(std::string(t.bytes), "a\x88\x9F");
    EXPECT_EQ(type_byte(t, 8, sjis_lead), TypingResult::changed);
    EXPECT_EQ(std::string(t.bytes), "a") << "both bytes of the character went";
    EXPECT_EQ(type_byte(t, 8, sjis_lead), TypingResult::emptied);
    EXPECT_EQ(t.state, 1);
    EXPECT_EQ(type_byte(t, 13, sjis_lead), TypingResult::commit);
    EXPECT_EQ(type_byte(t, 27, sjis_lead), TypingResult::drop);
    EXPECT_EQ(t.state, 0);
}

TEST(LetteringText, ALeadByteThatWouldBeTheLastByteIsRefusedWithItsTrail) {
    LetteringText t;
    start_text(t);
    type(t, std::string(kLetteringCapacity - 1, 'x'));
    EXPECT_EQ(type(t, "\x88"), TypingResult::ignored);
    EXPECT_EQ(type(t, "\x9F"), TypingResult::ignored) << "its trail goes too";
    EXPECT_EQ(t.length, kLetteringCapacity - 1);
    EXPECT_EQ(type(t, "y"), TypingResult::changed) << "a single byte still fits";
    EXPECT_EQ(type(t, "z"), TypingResult::ignored) << "full";
    EXPECT_EQ(t.length, kLetteringCapacity);
    EXPECT_EQ(t.bytes[kLetteringCapacity], 0);
}

TEST(LetteringBox, HoldsTheTurnedLine) {
    const struct {
        int degrees;
        RECT expected;
    } cases[] = {
        {0, {10, 20, 60, 36}},
        {90, {10, -30, 26, 20}}, // runs upwards from the anchor
        {180, {-40, 4, 10, 20}},
    };
    for (const auto& c : cases) {
        const RECT box = lettering_box({10, 20}, 50, 16, c.degrees);
        EXPECT_EQ(box.left, c.expected.left) << c.degrees;
        EXPECT_EQ(box.top, c.expected.top) << c.degrees;
        EXPECT_EQ(box.right, c.expected.right) << c.degrees;
        EXPECT_EQ(box.bottom, c.expected.bottom) << c.degrees;
    }
}

TEST(LetteringCommit, PaintsTheTextWithThePensRules) {
    const struct {
        const char* what;
        std::uint32_t flags;
        int left, right;
        const char* expected;
    } cases[] = {
        {"plain", 0, 3, 4, "3.3\n.3.\n"},
        {"mask keeps protected pixels", kDocMaskOn, 3, 4, "3.3\n...\n"},
        {"keying on, both colours the key: nothing", kDocKeyColourEnabled, 9, 9, "...\n...\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        DocumentPtr doc = picture(3, 2);
        Layer& layer = *current_layer(*doc);
        layer.key_colour = 9;
        at(*layer.mask, 1, 1) = 0;
        doc->flags |= c.flags;
        doc->left_colour = c.left;
        doc->right_colour = c.right;
        fill(*doc->stroke_surface, 0);
        for (POINT p : {POINT{0, 0}, POINT{2, 0}, POINT{1, 1}})
            at(*doc->stroke_surface, p.x, p.y) = 7;
        lettering_commit(*doc, 7, {0, 0, 2, 1}, false);
        EXPECT_EQ(grid(*layer.image), c.expected);
        EXPECT_EQ(doc->update_rect.right, 3);
        EXPECT_EQ(doc->flags & kNotifyBits, kNotifyPresent | kNotifyZoomWindow);
    }
}

} // namespace
