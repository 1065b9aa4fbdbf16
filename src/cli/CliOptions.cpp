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
           "      --json               one JSON record per file written, on stdout\n"
           "  -q, --quiet              no progress bar and no summary\n"
           "  -h, --help               show this text\n"
           "      --version            show the version\n"
           "\n"
           "Exit status: 0 when files were written, 1 when none were found,\n"
           "2 on a usage error or when a file could not be read or written.\n";
}
