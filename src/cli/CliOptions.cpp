#include "cli/CliOptions.h"

#include <charconv>

namespace {

bool ParseStart(const std::string& text, int& start) {
    const char* end = text.data() + text.size();
    const auto [at, error] = std::from_chars(text.data(), end, start);
    return error == std::errc() && at == end && start >= 0 && start <= MaxStartNumber;
}

bool ParseOverwrite(const std::string& text, OverwritePolicy& policy) {
    if (text == "yes")
        policy = OverwritePolicy::Yes;
    else if (text == "no")
        policy = OverwritePolicy::No;
    else if (text == "ask")
        policy = OverwritePolicy::Ask;
    else
        return false;
    return true;
}

// An option's value: the rest of "--start=5", or the next argument.
bool TakeValue(const std::vector<std::string>& args, std::size_t& i, const std::string& inline_,
               bool hasInline, std::string& value) {
    if (hasInline) {
        value = inline_;
        return true;
    }
    if (i + 1 >= args.size())
        return false;
    value = args[++i];
    return true;
}

// "*.exe,*.dll" -> {"*.exe", "*.dll"}; false for an empty pattern.
bool ParsePatterns(const std::string& text, std::vector<std::string>& patterns) {
    patterns.clear();
    std::size_t from = 0;
    for (;;) {
        const std::size_t comma = text.find(',', from);
        const std::string pattern = text.substr(from, comma - from);
        if (pattern.empty())
            return false;
        patterns.push_back(pattern);
        if (comma == std::string::npos)
            return true;
        from = comma + 1;
    }
}

enum class Parsed { Taken, NotOurs, Wrong };

// The options that carve, name and walk beyond what the window does.
// `problem` says what is wrong when Wrong.
Parsed ParseCarveOption(const std::vector<std::string>& args, std::size_t& i,
                        const std::string& name, const std::string& inlineValue, bool hasInline,
                        CliOptions& options, std::string& problem) {
    std::string value;
    if (name == "--names") {
        const bool taken = TakeValue(args, i, inlineValue, hasInline, value);
        if (taken && value == "number")
            options.names = NameStyle::Number;
        else if (taken && value == "source")
            options.names = NameStyle::Source;
        else {
            problem = "--names needs number or source";
            return Parsed::Wrong;
        }
        return Parsed::Taken;
    }
    if (name == "--include") {
        if (!TakeValue(args, i, inlineValue, hasInline, value) ||
            !ParsePatterns(value, options.include)) {
            problem = "--include needs patterns separated by commas, such as *.exe,*.dll";
            return Parsed::Wrong;
        }
        return Parsed::Taken;
    }
    if (hasInline)
        return Parsed::NotOurs;
    if (name == "--any-size")
        options.carve.anySize = true;
    else if (name == "--every-header")
        options.carve.everyHeader = true;
    else if (name == "--png")
        options.carve.png = true;
    else if (name == "--skip-duplicates")
        options.skipDuplicates = true;
    else if (name == "-r" || name == "--recursive")
        options.recursive = true;
    else
        return Parsed::NotOurs;
    return Parsed::Taken;
}

} // namespace

std::string ParseOptions(const std::vector<std::string>& args, CliOptions& options) {
    bool onlyFiles = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (onlyFiles || arg.empty() || arg[0] != '-' || arg == "-") {
            options.files.push_back(arg);
            continue;
        }
        const std::size_t equals = arg.find('=');
        const bool hasInline = arg.starts_with("--") && equals != std::string::npos;
        const std::string name = hasInline ? arg.substr(0, equals) : arg;
        const std::string inlineValue = hasInline ? arg.substr(equals + 1) : std::string();
        std::string value;
        std::string problem;
        const Parsed carve =
            ParseCarveOption(args, i, name, inlineValue, hasInline, options, problem);
        if (carve == Parsed::Wrong)
            return problem;
        if (carve == Parsed::Taken)
            continue;
        if (name == "--") {
            onlyFiles = true;
        } else if (name == "-o" || name == "--output") {
            if (!TakeValue(args, i, inlineValue, hasInline, value) || value.empty())
                return "option " + name + " needs a directory";
            options.outputDir = value;
        } else if (name == "--start") {
            if (!TakeValue(args, i, inlineValue, hasInline, value) ||
                !ParseStart(value, options.start))
                return "--start needs a number from 0 to " + std::to_string(MaxStartNumber);
        } else if (name == "--overwrite") {
            if (!TakeValue(args, i, inlineValue, hasInline, value) ||
                !ParseOverwrite(value, options.overwrite))
                return "--overwrite needs yes, no or ask";
        } else if (name == "--resources" && !hasInline) {
            options.resources = true;
        } else if (name == "--json" && !hasInline) {
            options.json = true;
        } else if ((name == "-q" || name == "--quiet") && !hasInline) {
            options.quiet = true;
        } else if ((name == "-h" || name == "--help") && !hasInline) {
            options.help = true;
        } else if (name == "--version" && !hasInline) {
            options.version = true;
        } else {
            return "unknown option " + arg;
        }
    }
    if (options.files.empty() && !options.help && !options.version)
        return "no FILE given";
    if (!options.include.empty() && !options.recursive)
        return "--include picks files in folders: it needs --recursive";
    return {};
}

std::string UsageText() {
    return "Usage: sporvik-extract [options] FILE...\n"
           "Carve the bitmaps stored in each FILE into numbered .bmp files.\n"
           "\n"
           "  -o, --output DIR         write into DIR (default: each FILE's own directory)\n"
           "      --start N            number of the first bitmap file (default 1)\n"
           "      --overwrite yes|no|ask\n"
           "                           replace existing files, stop at the first one\n"
           "                           (default no), or ask on the terminal\n"
           "      --resources          also write the bitmaps, icons and cursors of program\n"
           "                           files (PE and 16-bit NE) as FILE-NAME.bmp, .ico and\n"
           "                           .cur, NAME the resource's name or id\n"
           "      --any-size           take bitmaps of any size; a large one ends nothing\n"
           "      --every-header       also bitmaps with 12- to 124-byte information headers\n"
           "      --png                also carve PNG files, as .png\n"
           "      --names number|source\n"
           "                           name carved files 1.bmp, 2.bmp, ... (default), or\n"
           "                           after FILE and the position: tool-0001a2b4.bmp\n"
           "      --skip-duplicates    write identical files once in the whole run\n"
           "  -r, --recursive          a FILE that is a folder: every file under it\n"
           "      --include PATTERNS   with -r, only files matching one of the patterns\n"
           "                           separated by commas (*.exe,*.dll,*.ocx,*.bpl)\n"
           "      --json               one JSON record per file written, on stdout\n"
           "  -q, --quiet              no progress bar and no summary\n"
           "  -h, --help               show this text\n"
           "      --version            show the version\n"
           "\n"
           "Exit status: 0 when files were written, 1 when none were found,\n"
           "2 on a usage error or when a file could not be read or written.\n";
}
