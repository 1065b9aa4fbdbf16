#include "platform/Drives.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/Codepage.h"
#include "platform/CurrentDirs.h"
#include "platform/HostAccess.h"
#include "platform/HostNames.h"
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
