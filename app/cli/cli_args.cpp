#include "app/cli/cli_args.h"

#include "app/imageops/decrease_colours.h"
#include "app/imageops/resize.h"

#include <charconv>
#include <cstdint>

namespace {

using Bit = std::uint32_t;
constexpr Bit bit(CliCommand c) {
    return Bit(1) << int(c);
}
constexpr Bit kInfo = bit(CliCommand::Info);
constexpr Bit kConvert = bit(CliCommand::Convert);
constexpr Bit kExportGif = bit(CliCommand::ExportGif);
constexpr Bit kSheet = bit(CliCommand::Sheet);
constexpr Bit kSplit = bit(CliCommand::Split);
constexpr Bit kExtract = bit(CliCommand::PaletteExtract);
constexpr Bit kApply = bit(CliCommand::PaletteApply);
constexpr Bit kDecrease = bit(CliCommand::Decrease);
constexpr Bit kResize = bit(CliCommand::Resize);
constexpr Bit kWriters = kConvert | kExportGif | kSheet | kSplit | kApply | kDecrease | kResize;
constexpr Bit kAll = kInfo | kWriters | kExtract;

struct CommandSpec {
    CliCommand command;
    const char* name;
    const char* operands; // as the usage line shows them
    int min_operands;
    int max_operands; // -1: any number
    const char* summary;
};

constexpr CommandSpec kCommands[] = {
    {CliCommand::Info, "info", "FILE...", 1, -1,
     "format, size, palette, frames and every layer's settings"},
    {CliCommand::Convert, "convert", "IN OUT", 2, 2, "writes IN in the format OUT names"},
    {CliCommand::ExportGif, "export-gif", "IN OUT.gif", 2, 2,
     "the layers as an animated GIF, as Save writes one"},
    {CliCommand::Sheet, "sheet", "IN OUT", 2, 2, "the layers or frames as one sprite sheet"},
    {CliCommand::Split, "split", "IN OUTDIR", 2, 2,
     "one file a layer or frame, or a sheet's cells (--cell)"},
    {CliCommand::PaletteExtract, "palette extract", "IN OUT.vlf", 2, 2,
     "the picture's palette as a palette file"},
    {CliCommand::PaletteApply, "palette apply", "IN PALETTE.vlf OUT", 3, 3,
     "the palette file's colours, by nearest colour or (--keep-indexes) as they are"},
    {CliCommand::Decrease, "decrease", "IN OUT", 2, 2,
     "every layer in the first --colors entries of the palette"},
    {CliCommand::Resize, "resize", "IN OUT", 2, 2,
     "every layer and mask at a new size (--scale or --size), stretched or cut"},
};

const CommandSpec* spec_of(CliCommand command) {
    for (const CommandSpec& spec : kCommands)
        if (spec.command == command) return &spec;
    return nullptr;
}

enum class Kind { Flag, Number, Text, Size };

struct OptionSpec {
    const char* name;
    Kind kind;
    Bit commands;
    int low, high;     // range of a Number
    const char* value; // as the help shows it
    const char* help;
    void (*set)(CliOptions&, int number, int second, const std::string& text);
};

constexpr int kMaxPadding = 4096;
constexpr int kMaxSide = 32767;
constexpr int kMaxLoop = 65535;
// A thousand times the size; the result is capped at the largest side anyway.
constexpr int kMaxScale = 100000;

const OptionSpec kOptions[] = {
    {"help", Kind::Flag, kAll, 0, 0, "", "this text",
     [](CliOptions& o, int, int, const std::string&) { o.help = true; }},
    {"json", Kind::Flag, kInfo, 0, 0, "", "JSON instead of text",
     [](CliOptions& o, int, int, const std::string&) { o.json = true; }},
    {"to", Kind::Text, kWriters, 0, 0, "FORMAT",
     "vlx, bmp, gif, png or an installed Add-In's; needed when OUT is - or has no such extension",
     [](CliOptions& o, int, int, const std::string& t) { o.to = t; }},
    {"bits", Kind::Number, kWriters, 1, 8, "N", "colour bits: BMP 4 or 8, GIF 1 to 8",
     [](CliOptions& o, int n, int, const std::string&) { o.bits = n; }},
    {"transparent", Kind::Number, kWriters, 0, 255, "INDEX",
     "GIF and PNG: this palette index is transparent",
     [](CliOptions& o, int n, int, const std::string&) { o.transparent = n; }},
    {"interlace", Kind::Flag, kWriters, 0, 0, "", "GIF: interlaced rows",
     [](CliOptions& o, int, int, const std::string&) { o.interlace = true; }},
    {"loop", Kind::Number, kWriters, 0, kMaxLoop, "N", "animated GIF: repeat count, 0 endless",
     [](CliOptions& o, int n, int, const std::string&) { o.loop = n; }},
    {"comment", Kind::Text, kWriters, 0, 0, "TEXT", "GIF: comment (255 bytes at most)",
     [](CliOptions& o, int, int, const std::string& t) {
         o.has_comment = true;
         o.comment = t;
     }},
    {"animation", Kind::Flag, kConvert, 0, 0, "", "GIF: every layer a frame",
     [](CliOptions& o, int, int, const std::string&) { o.animation = true; }},
    {"still", Kind::Flag, kConvert, 0, 0, "", "GIF: only the composite picture",
     [](CliOptions& o, int, int, const std::string&) { o.still = true; }},
    {"columns", Kind::Number, kSheet, 1, kMaxSide, "N", "cells a row (default: a square grid)",
     [](CliOptions& o, int n, int, const std::string&) { o.columns = n; }},
    {"padding", Kind::Number, kSheet | kSplit, 0, kMaxPadding, "PIXELS",
     "between neighbouring cells",
     [](CliOptions& o, int n, int, const std::string&) { o.padding = n; }},
    {"cell", Kind::Size, kSplit, 1, kMaxSide, "WxH", "cut the picture into cells of this size",
     [](CliOptions& o, int w, int h, const std::string&) {
         o.cell_width = w;
         o.cell_height = h;
     }},
    {"keep-indexes", Kind::Flag, kApply, 0, 0, "",
     "pixels keep their indexes and take the new colours",
     [](CliOptions& o, int, int, const std::string&) { o.keep_indexes = true; }},
    {"colors", Kind::Number, kDecrease, kDecreaseMinColours, kDecreaseMaxColours, "N",
     "colours kept (needed)", [](CliOptions& o, int n, int, const std::string&) { o.colours = n; }},
    {"dither", Kind::Flag, kDecrease, 0, 0, "", "mix two kept colours where one is too far",
     [](CliOptions& o, int, int, const std::string&) { o.dither = true; }},
    {"scale", Kind::Number, kResize, 1, kMaxScale, "PERCENT", "the new size as a share of the old",
     [](CliOptions& o, int n, int, const std::string&) { o.scale = n; }},
    {"size", Kind::Size, kResize, 1, kMaxResizeSide, "WxH", "the new size in pixels",
     [](CliOptions& o, int w, int h, const std::string&) {
         o.new_width = w;
         o.new_height = h;
     }},
    {"crop", Kind::Flag, kResize, 0, 0, "",
     "keep the pixels in place: cut, or extend with the background colour",
     [](CliOptions& o, int, int, const std::string&) { o.crop = true; }},
};

bool parse_number(const std::string& text, int& value) {
    const char* end = text.data() + text.size();
    const auto [at, error] = std::from_chars(text.data(), end, value);
    return error == std::errc() && at == end && !text.empty();
}

bool parse_size(const std::string& text, int& width, int& height) {
    const auto x = text.find_first_of("xX");
    return x != std::string::npos && parse_number(text.substr(0, x), width) &&
           parse_number(text.substr(x + 1), height);
}

// Reads one option (args[i] starts with "--") and its value; advances i past
// what it used.
bool read_option(const std::vector<std::string>& args, std::size_t& i, CliParse& parse) {
    std::string name = args[i].substr(2), value;
    bool has_value = false;
    if (const auto eq = name.find('='); eq != std::string::npos) {
        value = name.substr(eq + 1);
        name.resize(eq);
        has_value = true;
    }
    const CliCommand command = parse.request.command;
    if (command == CliCommand::None && name != "help") {
        parse.error = "option --" + name + " comes after the command";
        return false;
    }
    const Bit where = command == CliCommand::None ? 0 : bit(command);
    for (const OptionSpec& option : kOptions) {
        if (name != option.name) continue;
        if (where && !(option.commands & where)) {
            parse.error = "option --" + name + " does not apply to " + spec_of(command)->name;
            return false;
        }
        if (option.kind == Kind::Flag) {
            if (has_value) {
                parse.error = "option --" + name + " takes no value";
                return false;
            }
            option.set(parse.request.options, 0, 0, value);
            ++i;
            return true;
        }
        if (!has_value) {
            if (i + 1 >= args.size()) {
                parse.error = "option --" + name + " needs " + option.value;
                return false;
            }
            value = args[++i];
        }
        ++i;
        int first = 0, second = 0;
        bool good = true;
        if (option.kind == Kind::Number)
            good = parse_number(value, first) && first >= option.low && first <= option.high;
        else if (option.kind == Kind::Size)
            good = parse_size(value, first, second) && first >= option.low &&
                   first <= option.high && second >= option.low && second <= option.high;
        if (!good) {
            parse.error = "option --" + name + ": '" + value + "' is not " + option.value;
            if (option.kind != Kind::Text)
                parse.error +=
                    " (" + std::to_string(option.low) + " to " + std::to_string(option.high) + ")";
            return false;
        }
        option.set(parse.request.options, first, second, value);
        return true;
    }
    parse.error = "unknown option --" + name;
    return false;
}

bool read_command(const std::vector<std::string>& args, std::size_t& i, CliParse& parse) {
    const std::string& word = args[i];
    if (word == "palette") {
        if (i + 1 < args.size() && (args[i + 1] == "extract" || args[i + 1] == "apply")) {
            parse.request.command =
                args[i + 1] == "extract" ? CliCommand::PaletteExtract : CliCommand::PaletteApply;
            i += 2;
            return true;
        }
        parse.error = "palette needs extract or apply";
        return false;
    }
    for (const CommandSpec& spec : kCommands) {
        if (word == spec.name) {
            parse.request.command = spec.command;
            ++i;
            return true;
        }
    }
    parse.error = "unknown command '" + word + "'";
    return false;
}

std::string usage_line(const CommandSpec& spec) {
    return std::string("velmo-cli ") + spec.name + " [OPTIONS] " + spec.operands;
}

} // namespace

CliParse parse_cli(const std::vector<std::string>& args) {
    CliParse parse;
    CliOptions& options = parse.request.options;
    bool options_ended = false;
    std::size_t i = 0;
    while (i < args.size()) {
        const std::string& arg = args[i];
        if (!options_ended && arg == "--") {
            options_ended = true;
            ++i;
        } else if (!options_ended && arg.rfind("--", 0) == 0) {
            if (parse.request.command == CliCommand::None && arg == "--version") {
                options.version = true;
                ++i;
            } else if (!read_option(args, i, parse)) {
                return parse;
            }
        } else if (!options_ended && arg.size() > 1 && arg[0] == '-') {
            parse.error = "unknown option " + arg;
            return parse;
        } else if (parse.request.command == CliCommand::None) {
            if (!read_command(args, i, parse)) return parse;
        } else {
            parse.request.operands.push_back(arg);
            ++i;
        }
    }
    if (options.help || options.version) {
        parse.ok = true;
        return parse;
    }
    const CommandSpec* spec = spec_of(parse.request.command);
    if (!spec) {
        parse.error = "no command given (velmo-cli --help lists them)";
        return parse;
    }
    const int count = int(parse.request.operands.size());
    if (count < spec->min_operands || (spec->max_operands >= 0 && count > spec->max_operands)) {
        parse.error = "usage: " + usage_line(*spec);
        return parse;
    }
    if (options.animation && options.still) {
        parse.error = "--animation and --still exclude each other";
        return parse;
    }
    parse.ok = true;
    return parse;
}

std::string program_help() {
    std::string text = "usage: velmo-cli COMMAND [OPTIONS] OPERANDS...\n"
                       "       velmo-cli --version\n\n"
                       "Works on Velmo pictures (.vlx), BMP, GIF and PNG without a window.\n"
                       "- as a file name is standard input or output.\n\ncommands:\n";
    for (const CommandSpec& spec : kCommands) {
        std::string name = spec.name;
        name.resize(18, ' ');
        text += "  " + name + spec.summary + "\n";
    }
    text += "\nvelmo-cli COMMAND --help tells a command's options.\n";
    return text;
}

std::string command_help(CliCommand command) {
    const CommandSpec* spec = spec_of(command);
    if (!spec) return program_help();
    std::string text = "usage: " + usage_line(*spec) + "\n" + spec->summary + "\n\noptions:\n";
    for (const OptionSpec& option : kOptions) {
        if (!(option.commands & bit(command))) continue;
        std::string name = std::string("--") + option.name;
        if (*option.value) name += std::string(" ") + option.value;
        name.resize(22, ' ');
        text += "  " + name + option.help + "\n";
    }
    return text;
}
