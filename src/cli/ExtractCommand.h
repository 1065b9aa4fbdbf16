#pragma once
// sporvik-extract: the window's extraction scan run over files named on the
// command line, with the questions, messages and progress on the terminal.
#include <iosfwd>
#include <string>
#include <vector>

struct CliStreams {
    std::ostream& out; // --json records, --help and --version
    std::ostream& err; // progress, questions, messages, summary
    std::istream& in;  // answers to --overwrite ask
    bool errIsTerminal = false;
};

// Exit statuses.
constexpr int ExitWritten = 0;
constexpr int ExitNoneFound = 1;
constexpr int ExitTrouble = 2; // a usage error, or a file not read or written

// Runs the command over the arguments (without the program's name) and
// returns the exit status.
int RunExtractCommand(const std::vector<std::string>& args, CliStreams streams);
