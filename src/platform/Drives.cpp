#include "platform/Drives.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <memory>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "platform/Codepage.h"
#include "platform/HostAccess.h"
#include "platform/HostNames.h"
#include "platform/KeptListing.h"
#include "platform/Paths.h"
#include "platform/WinError.h"

namespace fs = std::filesystem;

namespace platform {
namespace {

std::unique_ptr<DriveTable>& TableSlot() {
    static std::unique_ptr<DriveTable> table;
    return table;
}

// The Windows path of a host path on the given table, or empty.
std::string WindowsPathOn(const DriveTable& table, std::string_view hostPath);

void CollectMounts(const fs::path& dir, int depth, std::vector<std::string>& out) {
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(dir, ec)) {
        if (!entry.is_directory(ec))
            continue;
        if (IsMountPoint(entry.path().string()))
            out.push_back(entry.path().string());
        else if (depth > 0)
            CollectMounts(entry.path(), depth - 1, out);
    }
}

bool HasInvalidNameChar(std::string_view name) {
    for (unsigned char c : name)
        if (c < 32 || c == '*' || c == '?' || c == '<' || c == '>' || c == '|' || c == '"' ||
            c == ':')
            return true;
    return false;
}

std::string JoinHost(const std::string& dir, const std::string& name) {
    return dir == "/" ? "/" + name : dir + "/" + name;
}

// Where `name` (host spelling `hostName`) leads in the directory `dir`, which
// `st` shows to be one: the entry of that spelling, else the one listed
// first among those equal to it ignoring case. A name that exists as spelled
// never has its directory read; a listing kept of it answers without a look
// at the entry. False when no entry is equal to it.
bool FindInDirectory(const std::string& dir, const struct stat& st, const std::string& name,
                     std::string& hostName) {
    std::string found;
    Listed listed = LookUpName(dir, st, hostName, name, found, false);
    if (listed == Listed::Unknown) {
        struct stat entry {};
        if (lstat(JoinHost(dir, hostName).c_str(), &entry) == 0)
            return true;
        listed = LookUpName(dir, st, hostName, name, found, true);
    }
    if (listed == Listed::OtherCase)
        hostName = std::move(found);
    return listed == Listed::AsSpelled || listed == Listed::OtherCase;
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

DriveTable DefaultDriveTable() {
    DriveTable table;
    table.roots.emplace('C', std::string(1, '/'));
    std::vector<std::string> mounts;
    CollectMounts("/media", 1, mounts);
    CollectMounts("/run/media", 2, mounts);
    CollectMounts("/mnt", 1, mounts);
    std::sort(mounts.begin(), mounts.end());
    char letter = 'D';
    for (const std::string& m : mounts) {
        if (letter > 'Z')
            break;
        table.roots[letter++] = m;
    }
    return table;
}

const DriveTable& CurrentDriveTable() {
    // The command line's workers may be the first to ask; the default table
    // is made once, and every thread waits until it is there.
    static std::once_flag made;
    std::call_once(made, [] {
        if (!TableSlot())
            SetDriveTable(DefaultDriveTable());
    });
    return *TableSlot();
}

void SetDriveTable(DriveTable table) {
    TableSlot() = std::make_unique<DriveTable>(std::move(table));
    char drive = TableSlot()->roots.empty() ? 'C' : TableSlot()->roots.begin()->first;
    std::string dirOnIt;
    std::error_code ec;
    const std::string cwd = fs::current_path(ec).string();
    if (!ec) {
        // Not through CurrentDriveTable: this may run while it makes the table.
        const std::string win = WindowsPathOn(*TableSlot(), cwd);
        if (!win.empty()) {
            drive = win[0];
            dirOnIt = win;
        }
    }
    ResetCurrentDirs(drive, dirOnIt);
}

std::string DriveHostRoot(char letter) {
    letter = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
    const auto& roots = CurrentDriveTable().roots;
    auto it = roots.find(letter);
    return it == roots.end() ? std::string() : it->second;
}

bool DriveExists(char letter) {
    return !DriveHostRoot(letter).empty();
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

std::string ToWindowsPath(std::string_view hostPath) {
    return WindowsPathOn(CurrentDriveTable(), hostPath);
}

namespace {

std::string WindowsPathOn(const DriveTable& table, std::string_view hostPath) {
    const std::string host = fs::path(hostPath).lexically_normal().string();
    if (host.empty() || host[0] != '/')
        return {};
    char bestLetter = 0;
    std::size_t bestLength = 0;
    for (const auto& [letter, root] : table.roots) {
        const bool under =
            root == "/" || (host.compare(0, root.size(), root) == 0 &&
                            (host.size() == root.size() || host[root.size()] == '/'));
        const std::size_t length = root == "/" ? 1 : root.size();
        if (under && (bestLetter == 0 || length > bestLength)) {
            bestLetter = letter;
            bestLength = length;
        }
    }
    if (!bestLetter)
        return {};
    std::string rest = host.substr(std::min(bestLength, host.size()));
    std::string win = std::string(1, bestLetter) + ":";
    std::size_t pos = 0;
    for (;;) {
        while (pos < rest.size() && rest[pos] == '/')
            ++pos;
        if (pos >= rest.size())
            break;
        std::size_t end = rest.find('/', pos);
        if (end == std::string::npos)
            end = rest.size();
        win += "\\" + WindowsName(rest.substr(pos, end - pos));
        pos = end;
    }
    if (win.size() == 2)
        win += '\\';
    return win;
}

} // namespace
} // namespace platform

namespace platform {

std::string HostArgumentToWindowsPath(std::string_view hostPath) {
    if (hostPath.empty())
        return {};
    std::error_code noCwd;
    const fs::path absolute = fs::absolute(fs::path(hostPath), noCwd);
    return noCwd ? std::string() : ToWindowsPath(absolute.string());
}

} // namespace platform
