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

// The names of a path's components on the Windows side and on the host.
struct Components {
    std::vector<std::string> names;
    std::vector<std::string> hostNames;
};

int SplitPath(const std::string& full, Components& parts) {
    std::size_t pos = 3;
    while (pos < full.size()) {
        std::size_t end = full.find('\\', pos);
        if (end == std::string::npos)
            end = full.size();
        std::string name = full.substr(pos, end - pos);
        pos = end + 1;
        if (name.empty())
            continue;
        std::string hostName;
        if (HasInvalidNameChar(name) || !HostName(name, hostName))
            return ERROR_INVALID_NAME;
        parts.names.push_back(std::move(name));
        parts.hostNames.push_back(std::move(hostName));
    }
    return ERROR_SUCCESS;
}

// Walks the components from the drive's root; once one is missing, the rest
// keep their spelling.
void WalkComponents(std::string dir, Components& parts, ResolvedPath& where) {
    bool missing = false;
    for (std::size_t i = 0; i < parts.names.size(); ++i) {
        const bool last = i + 1 == parts.names.size();
        if (!missing) {
            struct stat st {};
            const bool isDir = stat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
            missing = !isDir || !FindInDirectory(dir, st, parts.names[i], parts.hostNames[i]);
            if (last && isDir) {
                where.parentKnown = true;
                where.parent = st;
                where.exists = !missing;
            }
            where.dirMissing = missing && !last;
        }
        dir = JoinHost(dir, parts.hostNames[i]);
    }
    where.host = std::move(dir);
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
    ResolvedPath where;
    const int err = ResolveHostPath(winPath, where);
    hostPath = std::move(where.host);
    if (dirMissing)
        *dirMissing = where.dirMissing;
    return err;
}

int ResolveHostPath(std::string_view winPath, ResolvedPath& where) {
    where = ResolvedPath();
    std::string full;
    if (int err = ExpandPath(winPath, full))
        return err;
    std::string root = DriveHostRoot(full[0]);
    if (root.empty())
        return ERROR_PATH_NOT_FOUND;
    Components parts;
    if (int err = SplitPath(full, parts))
        return err;
    if (parts.names.empty()) {
        where.host = std::move(root);
        return ERROR_SUCCESS;
    }
    // When the directory holding the last name is there as spelled, so is
    // every directory on the way, and only the last name is left to look up.
    std::string parent = root;
    for (std::size_t i = 0; i + 1 < parts.names.size(); ++i)
        parent = JoinHost(parent, parts.hostNames[i]);
    struct stat st {};
    if (stat(parent.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
        where.exists = FindInDirectory(parent, st, parts.names.back(), parts.hostNames.back());
        where.parentKnown = true;
        where.parent = st;
        where.host = JoinHost(parent, parts.hostNames.back());
        return ERROR_SUCCESS;
    }
    WalkComponents(std::move(root), parts, where);
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
