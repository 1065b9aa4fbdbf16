#include "platform/Drives.h"

#include <algorithm>
#include <cctype>
#include <dirent.h>
#include <filesystem>
#include <memory>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "platform/Codepage.h"
#include "platform/HeldListing.h"
#include "platform/HostAccess.h"
#include "platform/HostNames.h"
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

// The entry of `dir` that equals `name` ignoring case, or empty. Where the
// host holds several (it tells case apart), the one listed first wins, so a
// look-up and a listing always agree on which file a name means.
std::string FindIgnoringCase(const std::string& dir, const std::string& name) {
    std::unique_ptr<DIR, int (*)(DIR*)> d(opendir(dir.c_str()), closedir);
    if (!d)
        return {};
    std::string first;
    while (dirent* e = readdir(d.get())) {
        std::string hostName = e->d_name;
        if (hostName == "." || hostName == "..")
            continue;
        if (EqualIgnoringCase(WindowsName(hostName), name) && (first.empty() || hostName < first))
            first = std::move(hostName);
    }
    return first;
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

// A name of plain ASCII can only equal other ASCII names ignoring case, and
// with few letters those are few: trying each spelling finds the same entry
// as reading the whole directory, without reading it. Returns false when the
// name is not such a name, so the caller lists the directory instead.
constexpr int kMaxLettersToTry = 6;

bool FindAsciiCaseVariant(const std::string& dir, const std::string& name, std::string& found) {
    std::vector<std::size_t> letters;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const auto c = static_cast<unsigned char>(name[i]);
        if (c >= 0x80)
            return false;
        if (std::isalpha(c))
            letters.push_back(i);
    }
    if (letters.size() > kMaxLettersToTry)
        return false;
    found.clear();
    std::string spelling = name;
    for (unsigned mask = 0; mask < (1u << letters.size()); ++mask) {
        for (std::size_t bit = 0; bit < letters.size(); ++bit) {
            const auto c = static_cast<unsigned char>(name[letters[bit]]);
            spelling[letters[bit]] = char((mask >> bit) & 1u ? std::toupper(c) : std::tolower(c));
        }
        struct stat st {};
        // Where several spellings exist, the one a listing would give wins.
        if (lstat(JoinHost(dir, spelling).c_str(), &st) == 0 && (found.empty() || spelling < found))
            found = spelling;
    }
    return true;
}

// The answer of a held listing (HeldListing.h), when the folder is held and
// the entry it names, if any, is still there.
bool FindHeld(const std::string& dir, const std::string& name, std::string& found) {
    if (!FindInHeldListing(dir, name, found))
        return false;
    struct stat st {};
    return found.empty() || lstat(JoinHost(dir, found).c_str(), &st) == 0;
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
                std::string found;
                if (!FindHeld(dir, name, found) && !FindAsciiCaseVariant(dir, name, found))
                    found = FindIgnoringCase(dir, name);
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
