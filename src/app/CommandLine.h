#pragma once
// What the program was asked to open when started: "Sporvik DIR" opens on
// that folder, "Sporvik FILE.bmp" on the file's folder, in the host's
// spelling (relative to the working directory) or in the Windows one. A
// problem with the arguments is told to the user; the program then starts
// as it would without them.
#include <string>
#include <vector>

struct StartRequest {
    std::string directory; // with its final backslash; empty: the remembered one
    std::string problem;   // what was wrong with the arguments, for the user
    bool showHelp = false;
    bool showVersion = false;
};

// `args` without the program's own name.
StartRequest ParseCommandLine(const std::vector<std::string>& args);

// The text of --help.
std::string CommandLineUsage();
