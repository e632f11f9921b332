#include "app/session/command_line.h"

#include <gtest/gtest.h>

namespace {

using Names = std::vector<std::string>;

TEST(CommandLine, SpacesSeparateNames) {
    EXPECT_EQ(scan_command_line("a.gif b.bmp"), (Names{"a.gif", "b.bmp"}));
    EXPECT_EQ(scan_command_line("  a.gif   b.bmp  "), (Names{"a.gif", "b.bmp"}));
    EXPECT_EQ(scan_command_line(""), Names{});
    EXPECT_EQ(scan_command_line(nullptr), Names{});
}

TEST(CommandLine, QuotedNamesRunToTheClosingQuote) {
    EXPECT_EQ(scan_command_line("\"C:\\My Pictures\\a b.gif\" c.bmp"),
              (Names{"C:\\My Pictures\\a b.gif", "c.bmp"}));
    EXPECT_EQ(scan_command_line("\"a.gif\"\"b.gif\""), (Names{"a.gif", "b.gif"}));
    // An unclosed quote runs to the end; an empty pair names nothing.
    EXPECT_EQ(scan_command_line("\"open ended.vlx"), Names{"open ended.vlx"});
    EXPECT_EQ(scan_command_line("\"\" x"), Names{"x"});
}

TEST(CommandLine, AQuoteEndsAnUnquotedNameAndStartsTheNext) {
    EXPECT_EQ(scan_command_line("a.gif\"b c.bmp\""), (Names{"a.gif", "b c.bmp"}));
}

} // namespace
