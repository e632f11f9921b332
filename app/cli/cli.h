// velmo-cli: the picture engine, document and file layers from the command
// line, for build pipelines and batch work. Portable.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

// Exit statuses.
constexpr int kExitOk = 0;
constexpr int kExitFailed = 1; // the work could not be done
constexpr int kExitUsage = 2;  // the command line is wrong

struct CliStreams {
    std::istream& in;  // "-" as an input
    std::ostream& out; // "-" as an output, and the texts asked for
    std::ostream& err; // the one message of a failure; progress
    // A progress line for work over a second goes to err only on a terminal.
    bool err_is_terminal = false;
};

// Runs the command line `args` (without the program name). Every failure
// writes one line "velmo-cli: ..." to err and leaves the output file as it
// was.
int run_cli(const std::vector<std::string>& args, CliStreams streams);
