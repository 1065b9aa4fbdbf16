#pragma once
// The command line of sporvik-extract.
#include <string>
#include <vector>

#include "extract/CarveRules.h"

enum class OverwritePolicy { No, Yes, Ask };

// How carved files are named: <n>.bmp as the window numbers them, or after
// their source and position.
enum class NameStyle { Number, Source };

struct CliOptions {
    std::string outputDir; // host path; empty for each file's own directory
    int start = 1;         // number of the first <n>.bmp
    OverwritePolicy overwrite = OverwritePolicy::No;
    bool resources = false;
    bool json = false;
    bool quiet = false;
    bool help = false;
    bool version = false;
    std::vector<std::string> files; // host paths, as given

    // Carving beyond the window's rules, naming, and folders as input.
    CarveRules carve;
    NameStyle names = NameStyle::Number;
    bool skipDuplicates = false;
    bool recursive = false;
    // Patterns ('*', '?', case ignored) a file found in a folder must match
    // one of; empty: every file.
    std::vector<std::string> include;
};

// The largest first number taken, far enough below the 32-bit limit that the
// numbering cannot run over it.
constexpr int MaxStartNumber = 1000000000;

// Reads the arguments (without the program's name). Returns an empty string,
// or what is wrong with them.
std::string ParseOptions(const std::vector<std::string>& args, CliOptions& options);

// The text --help shows.
std::string UsageText();
