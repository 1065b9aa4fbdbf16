#include "platform/Paths.h"

#include <cctype>
#include <filesystem>
#include <sys/stat.h>
#include <vector>

#include "platform/CaseLookup.h"
#include "platform/Codepage.h"
#include "platform/CurrentDirs.h"
#include "platform/Drives.h"
#include "platform/HostNames.h"
#include "platform/WinError.h"

namespace platform {
namespace {

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

// The directory a path is taken against, as Windows takes it: a drive
// typed with a root is that root, its letter as typed; a drive typed
// without one is the current directory kept for it, else its root as typed;
// no drive is the current directory, or its root for a path that starts with
// a separator. Kept directories keep the letter they were given with.
std::string BaseDirectory(char typedDrive, bool rooted) {
    if (typedDrive && rooted)
        return RootOf(typedDrive);
    if (typedDrive) {
        const std::string kept = KeptCurrentDir(typedDrive);
        return kept.empty() ? RootOf(typedDrive) : kept;
    }
    const std::string current = GetCurrentDir();
    return rooted ? current.substr(0, 3) : current;
}

bool HasInvalidNameChar(std::string_view name) {
    for (unsigned char c : name)
        if (c < 32 || c == '*' || c == '?' || c == '<' || c == '>' || c == '|' || c == '"' ||
            c == ':')
            return true;
    return false;
}

} // namespace

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

int ToHostPath(std::string_view winPath, std::string& hostPath, bool* dirMissing) {
    hostPath.clear();
    if (dirMissing)
        *dirMissing = false;
    std::string full;
    if (int err = ExpandPath(winPath, full))
        return err;
    std::string dir = DriveHostRoot(full[0]);
    if (dir.empty())
        return ERROR_PATH_NOT_FOUND;

    // Walk the components; once one is missing, the rest keep their spelling.
    bool missing = false;
    std::size_t pos = 3;
    while (pos < full.size()) {
        std::size_t end = full.find('\\', pos);
        if (end == std::string::npos)
            end = full.size();
        const std::string name = full.substr(pos, end - pos);
        pos = end + 1;
        if (name.empty())
            continue;
        if (HasInvalidNameChar(name))
            return ERROR_INVALID_NAME;
        const bool lastComponent = pos >= full.size();
        std::string hostName;
        if (!HostName(name, hostName))
            return ERROR_INVALID_NAME;
        if (!missing) {
            struct stat st {};
            if (lstat(JoinHost(dir, hostName).c_str(), &st) != 0) {
                const std::string found = FindIgnoringCase(dir, name);
                if (found.empty())
                    missing = true;
                else
                    hostName = found;
            }
            if (missing && !lastComponent && dirMissing)
                *dirMissing = true;
        }
        dir = JoinHost(dir, hostName);
    }
    hostPath = dir;
    return ERROR_SUCCESS;
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
    MakeCurrentDir(full);
    return ERROR_SUCCESS;
}

} // namespace platform
