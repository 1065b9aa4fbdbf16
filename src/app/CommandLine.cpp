#include "app/CommandLine.h"

#include <cctype>

#include "fileutils/FileUtils.h"
#include "fileutils/PathParts.h"
#include "platform/Codepage.h"
#include "platform/Drives.h"
#include "platform/Paths.h"

namespace {

// "C:\x", "C:x" and anything with a backslash are Windows spellings.
bool IsWindowsSpelling(const std::string& arg) {
    const bool drive =
        arg.size() >= 2 && arg[1] == ':' && std::isalpha(static_cast<unsigned char>(arg[0]));
    return drive || arg.find('\\') != std::string::npos;
}

// The folder to open for one argument, or empty when it names nothing there.
std::string FolderOf(const std::string& arg) {
    const std::string win = IsWindowsSpelling(arg)
                                ? platform::ExpandFileName(platform::Utf8ToAnsi(arg))
                                : platform::HostArgumentToWindowsPath(arg);
    if (win.empty())
        return {};
    if (DirectoryExists(win))
        return AddBackslash(win);
    if (FileExists(win) && win.find_first_of("*?") == std::string::npos)
        return DirectoryPart(win);
    return {};
}

} // namespace

std::string CommandLineUsage() {
    return "Usage: Sporvik [FOLDER | FILE.bmp]\n"
           "Shows the glyphs of FOLDER, or of the folder holding FILE.bmp;\n"
           "without an argument, those of the folder shown last.\n"
           "  -h, --help     show this text and end\n"
           "  --version      show the version and end\n";
}

StartRequest ParseCommandLine(const std::vector<std::string>& args) {
    StartRequest request;
    std::vector<std::string> problems;
    bool pathSeen = false;
    for (const std::string& arg : args) {
        // The first of these is answered and the program ends: what follows
        // is not read.
        if (arg == "-h" || arg == "--help") {
            request.showHelp = true;
            return request;
        } else if (arg == "--version") {
            request.showVersion = true;
            return request;
        } else if (arg.size() > 1 && arg[0] == '-') {
            problems.push_back("Unknown option: " + platform::Utf8ToAnsi(arg));
        } else if (pathSeen) {
            problems.push_back("Only one folder can be opened; left out: " +
                               platform::Utf8ToAnsi(arg));
        } else {
            pathSeen = true;
            request.directory = FolderOf(arg);
            if (request.directory.empty())
                problems.push_back("No such folder or file: " + platform::Utf8ToAnsi(arg));
        }
    }
    for (const std::string& problem : problems)
        request.problem += (request.problem.empty() ? "" : "\r\n") + problem;
    return request;
}
