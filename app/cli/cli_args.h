// The command line of velmo-cli: subcommands, their operands and options,
// and the help texts, all from one table of each.
#pragma once

#include <string>
#include <vector>

enum class CliCommand {
    None,
    Info,
    Convert,
    ExportGif,
    Sheet,
    Split,
    PaletteExtract,
    PaletteApply,
    Decrease,
    Resize
};

// An option the command line did not give keeps its "unset" value; each
// subcommand then takes what the picture says.
constexpr int kUnset = -1;

struct CliOptions {
    bool help = false;
    bool version = false;
    bool json = false;
    std::string to;           // output format (extension without the dot)
    int bits = kUnset;        // colour bits of a BMP (4, 8) or GIF (1..8)
    int transparent = kUnset; // palette index
    bool interlace = false;
    int loop = kUnset; // GIF repeat count, 0 endless
    bool has_comment = false;
    std::string comment;
    bool animation = false; // GIF: every layer a frame
    bool still = false;     // GIF: the composite only
    int columns = 0;        // 0: as square a grid as fits
    int padding = 0;
    int cell_width = 0; // split: cut cells of this size (0: one file a layer)
    int cell_height = 0;
    bool keep_indexes = false;
    int colours = kUnset; // decrease: colours kept
    bool dither = false;
    int scale = kUnset; // resize: percent of the size
    int new_width = 0;  // resize: the size itself (0: not given)
    int new_height = 0;
    bool crop = false; // resize: keep pixels in place instead of stretching
};

struct CliRequest {
    CliCommand command = CliCommand::None;
    std::vector<std::string> operands;
    CliOptions options;
};

struct CliParse {
    bool ok = false;
    CliRequest request;
    std::string error; // one line, when not ok
};

// Parses the arguments after the program name. "--name value" and
// "--name=value" both work; "--" ends the options; "-" is an operand
// (standard input or output).
CliParse parse_cli(const std::vector<std::string>& args);

// The program's help, or one subcommand's (usage, operands, its options).
std::string program_help();
std::string command_help(CliCommand command);
