// sporvik-extract: no window, no display; plain C++ over the extraction units.
#include <iostream>
#include <unistd.h>

#include "cli/ExtractCommand.h"

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> args(argv + 1, argv + argc);
    return RunExtractCommand(args, {std::cout, std::cerr, std::cin, isatty(STDERR_FILENO) == 1});
}
