// velmo-cli: the command-line program (natively, and as a console program
// beside velmo.exe).
#include "app/cli/cli.h"

#include <iostream>
#include <string>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#define velmo_isatty _isatty
#else
#include <unistd.h>
#define velmo_isatty isatty
#endif

constexpr int kStandardError = 2;

int main(int argc, char** argv) {
#ifdef _WIN32
    // Pictures pass through standard input and output byte for byte.
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> args(argv + 1, argv + argc);
    return run_cli(args, {std::cin, std::cout, std::cerr, velmo_isatty(kStandardError) != 0});
}
