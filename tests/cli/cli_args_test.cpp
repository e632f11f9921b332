#include "app/cli/cli_args.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

std::vector<std::string> words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> out;
    for (std::string word; in >> word;)
        out.push_back(word);
    return out;
}

TEST(CliArgsTest, CommandsOperandsAndOptions) {
    struct Case {
        const char* line;
        CliCommand command;
        std::vector<std::string> operands;
    };
    const Case cases[] = {
        {"info a.vlx b.gif", CliCommand::Info, {"a.vlx", "b.gif"}},
        {"info --json a.vlx", CliCommand::Info, {"a.vlx"}},
        {"convert a.vlx - --to png", CliCommand::Convert, {"a.vlx", "-"}},
        {"convert -- --odd.vlx out.gif", CliCommand::Convert, {"--odd.vlx", "out.gif"}},
        {"export-gif a.vlx a.gif --loop=3", CliCommand::ExportGif, {"a.vlx", "a.gif"}},
        {"sheet a.gif s.png --columns 4 --padding 2", CliCommand::Sheet, {"a.gif", "s.png"}},
        {"split s.png out --cell 16x16", CliCommand::Split, {"s.png", "out"}},
        {"palette extract a.vlx p.vlf", CliCommand::PaletteExtract, {"a.vlx", "p.vlf"}},
        {"palette apply a.vlx p.vlf b.vlx --keep-indexes",
         CliCommand::PaletteApply,
         {"a.vlx", "p.vlf", "b.vlx"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const CliParse parse = parse_cli(words(c.line));
        ASSERT_TRUE(parse.ok) << parse.error;
        EXPECT_EQ(parse.request.command, c.command);
        EXPECT_EQ(parse.request.operands, c.operands);
    }
}

TEST(CliArgsTest, OptionValuesReachTheRequest) {
    CliParse parse = parse_cli(words(
        "convert a b --bits 4 --transparent=7 --interlace --loop 0 --comment hi --animation"));
    ASSERT_TRUE(parse.ok) << parse.error;
    const CliOptions& o = parse.request.options;
    EXPECT_EQ(o.bits, 4);
    EXPECT_EQ(o.transparent, 7);
    EXPECT_TRUE(o.interlace);
    EXPECT_EQ(o.loop, 0);
    EXPECT_TRUE(o.has_comment);
    EXPECT_EQ(o.comment, "hi");
    EXPECT_TRUE(o.animation);

    parse = parse_cli(words("split a out --cell 16X8 --padding 1"));
    ASSERT_TRUE(parse.ok) << parse.error;
    EXPECT_EQ(parse.request.options.cell_width, 16);
    EXPECT_EQ(parse.request.options.cell_height, 8);
    EXPECT_EQ(parse.request.options.padding, 1);

    // Unset options stay unset, so that the picture's own settings count.
    parse = parse_cli(words("convert a b"));
    EXPECT_EQ(parse.request.options.bits, kUnset);
    EXPECT_EQ(parse.request.options.transparent, kUnset);
    EXPECT_EQ(parse.request.options.loop, kUnset);
}

TEST(CliArgsTest, HelpAndVersionNeedNoOperands) {
    for (const char* line : {"--help", "--version", "sheet --help", "palette apply --help"}) {
        SCOPED_TRACE(line);
        const CliParse parse = parse_cli(words(line));
        ASSERT_TRUE(parse.ok) << parse.error;
        EXPECT_TRUE(parse.request.options.help || parse.request.options.version);
    }
    EXPECT_EQ(parse_cli(words("sheet --help")).request.command, CliCommand::Sheet);
}

TEST(CliArgsTest, RefusalsNameWhatIsWrong) {
    struct Case {
        const char* line;
        const char* error; // a part of the message
    };
    const Case cases[] = {
        {"", "no command"},
        {"paint a b", "unknown command 'paint'"},
        {"palette a b", "extract or apply"},
        {"convert a b --frobnicate", "unknown option --frobnicate"},
        {"convert a b -x", "unknown option -x"},
        {"convert a", "usage: velmo-cli convert"},
        {"convert a b c", "usage: velmo-cli convert"},
        {"info", "usage: velmo-cli info"},
        {"convert a b --bits", "needs N"},
        {"convert a b --bits 9", "'9' is not N (1 to 8)"},
        {"convert a b --bits 4x", "'4x' is not N"},
        {"convert a b --transparent -1", "is not INDEX"},
        {"convert a b --interlace=yes", "takes no value"},
        {"info a --columns 3", "--columns does not apply to info"},
        {"split a b --cell 16", "'16' is not WxH"},
        {"split a b --cell 0x4", "is not WxH"},
        {"convert a b --animation --still", "exclude each other"},
        {"--json info a", "comes after the command"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const CliParse parse = parse_cli(words(c.line));
        EXPECT_FALSE(parse.ok);
        EXPECT_NE(parse.error.find(c.error), std::string::npos) << parse.error;
    }
}

TEST(CliArgsTest, CommandHelpListsOnlyItsOwnOptions) {
    const std::string sheet = command_help(CliCommand::Sheet);
    EXPECT_NE(sheet.find("--columns"), std::string::npos);
    EXPECT_EQ(sheet.find("--keep-indexes"), std::string::npos);
    EXPECT_EQ(sheet.find("--cell"), std::string::npos);
    const std::string apply = command_help(CliCommand::PaletteApply);
    EXPECT_NE(apply.find("--keep-indexes"), std::string::npos);
}

} // namespace
