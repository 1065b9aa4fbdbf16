#include "platform/Paths.h"

#include <cctype>
#include <filesystem>
#include <map>
#include <vector>

#include "platform/Codepage.h"
#include "platform/Drives.h"
#include "platform/WinError.h"

namespace platform {
namespace {

struct CurrentDirs {
    char drive = 'C';
    std::map<char, std::string> dirs; // drive -> "X:\path" (root "X:\")
};

CurrentDirs& State() {
    static CurrentDirs state;
    return state;
}

std::string RootOf(char letter) {
    return std::string(1, letter) + ":\\";
}

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

bool AllDots(const std::string& s) {
    return s.find_first_not_of('.') == std::string::npos;
}

// A name ending in a period loses that one period; a name of periods only
// ("...") is a name of its own and stays.
void DropOnePeriod(std::string& name) {
    if (!name.empty() && name.back() == '.' && !AllDots(name))
        name.pop_back();
}

// The last name of a path that does not end in a separator loses every
// trailing period and blank.
void DropTrailingPeriodsAndBlanks(std::string& name) {
    if (AllDots(name))
        return;
    while (!name.empty() && (name.back() == '.' || name.back() == ' '))
        name.pop_back();
}

std::vector<std::string> SplitComponents(std::string_view path) {
    std::vector<std::string> parts;
    std::string cur;
    for (char c : path) {
        if (IsSeparator(c)) {
            parts.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    parts.push_back(cur);
    return parts;
}

// Drives are told apart ignoring case, as Windows tells them.
char DriveKey(char letter) {
    return static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
}

// The directory a path is taken against, as Windows takes it: a drive
// typed with a root is that root, its letter as typed; a drive typed
// without one is the current directory kept for it, else its root as typed;
// no drive is the current directory, or its root for a path that starts with
// a separator. Kept directories keep the letter they were given with.
std::string BaseDirectory(char typedDrive, bool rooted) {
    if (typedDrive && rooted)
        return RootOf(typedDrive);
    if (typedDrive) {
        const auto kept = State().dirs.find(DriveKey(typedDrive));
        return kept == State().dirs.end() ? RootOf(typedDrive) : kept->second;
    }
    const std::string current = GetDriveCurrentDir(State().drive);
    return rooted ? current.substr(0, 3) : current;
}

} // namespace

char CurrentDrive() {
    return State().drive;
}

std::string GetDriveCurrentDir(char letter) {
    letter = DriveKey(letter);
    auto it = State().dirs.find(letter);
    return it == State().dirs.end() ? RootOf(letter) : it->second;
}

std::string GetCurrentDir() {
    return GetDriveCurrentDir(State().drive);
}

void ResetCurrentDirs(char currentDrive, std::string_view currentDirOnIt) {
    State().drive = currentDrive;
    State().dirs.clear();
    if (!currentDirOnIt.empty())
        State().dirs[currentDrive] = std::string(currentDirOnIt);
}

int ExpandPath(std::string_view path, std::string& full) {
    full.clear();
    if (path.empty())
        return ERROR_INVALID_NAME;
    if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1]))
        return ERROR_PATH_NOT_FOUND; // no network shares here

    // The current directories are set up with the drive table, which the
    // first caller makes; whichever thread that is, they are read after it.
    CurrentDriveTable();
    const bool hasDrive =
        path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]));
    const std::string_view rest = hasDrive ? path.substr(2) : path;
    const bool rooted = !rest.empty() && IsSeparator(rest[0]);
    const std::string base = BaseDirectory(hasDrive ? path[0] : '\0', rooted);

    std::vector<std::string> parts;
    for (const std::string& p : SplitComponents(std::string_view(base).substr(3)))
        if (!p.empty())
            parts.push_back(p);

    // As Windows does: "." and ".." first, then the trimming, so that the
    // trimmed names are those of the path as it finally reads.
    const bool trailingSeparator = !rest.empty() && IsSeparator(rest.back());
    for (const std::string& name : SplitComponents(rest)) {
        if (name.empty() || name == ".")
            continue;
        if (name == "..") {
            if (!parts.empty())
                parts.pop_back();
            continue;
        }
        parts.push_back(name);
    }
    for (std::string& name : parts)
        DropOnePeriod(name);
    if (!trailingSeparator && !parts.empty()) {
        DropTrailingPeriodsAndBlanks(parts.back());
        if (parts.back().empty())
            parts.pop_back();
    }

    full = base.substr(0, 3);
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i)
            full += '\\';
        full += parts[i];
    }
    if (trailingSeparator && !parts.empty())
        full += '\\';
    if (WindowsLength(full) > MaxPathLength) {
        full.clear();
        return ERROR_FILENAME_EXCED_RANGE;
    }
    return ERROR_SUCCESS;
}

std::string ExpandFileName(std::string_view path) {
    std::string full;
    return ExpandPath(path, full) == ERROR_SUCCESS ? full : std::string();
}

int SetCurrentDir(std::string_view path) {
    std::string full;
    if (int err = ExpandPath(path, full))
        return err;
    std::string host;
    bool dirMissing = false;
    if (int err = ToHostPath(full, host, &dirMissing))
        return err;
    std::error_code unreachable; // a parent we may not search is no directory to us
    if (!std::filesystem::is_directory(host, unreachable))
        return ERROR_PATH_NOT_FOUND;
    if (full.size() > 3 && full.back() == '\\')
        full.pop_back();
    State().drive = DriveKey(full[0]);
    State().dirs[State().drive] = full;
    return ERROR_SUCCESS;
}

} // namespace platform
