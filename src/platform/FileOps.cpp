#include "platform/FileOps.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/syscall.h>
#include <unistd.h>

#include "platform/Codepage.h"
#include "platform/Drives.h"
#include "platform/HostAccess.h"
#include "platform/KeptListing.h"
#include "platform/Paths.h"
#include "platform/ShareTable.h"
#include "platform/WinError.h"

namespace fs = std::filesystem;

namespace platform {
namespace {

unsigned& ErrorModeSlot() {
    static unsigned mode = 0;
    return mode;
}

std::string& ProgramPathSlot() {
    static std::string path;
    return path;
}

bool HeldOpen(const std::string& hostPath) {
    struct stat st {};
    return stat(hostPath.c_str(), &st) == 0 && share::IsOpen({st.st_dev, st.st_ino});
}

bool SameEntry(const std::string& a, const std::string& b) {
    struct stat x {
    }, y{};
    return lstat(a.c_str(), &x) == 0 && lstat(b.c_str(), &y) == 0 && x.st_dev == y.st_dev &&
           x.st_ino == y.st_ino;
}

// A kept listing of either directory stays true of a move made.
void NoteMoved(const std::string& from, const std::string& to) {
    NoteEntryRemoved(from);
    NoteEntryAdded(to);
}

// rename() that fails instead of replacing an existing target, also when one
// appears between our check and the call.
int MoveNoReplace(const std::string& from, const std::string& to) {
#ifdef SYS_renameat2
    if (syscall(SYS_renameat2, AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(),
                1u /*RENAME_NOREPLACE*/) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS)
        return errno;
#endif
    // File systems without the flag: a hard link cannot replace either.
    if (link(from.c_str(), to.c_str()) != 0)
        return errno;
    if (unlink(from.c_str()) != 0) {
        const int err = errno;
        unlink(to.c_str());
        return err;
    }
    return 0;
}

int RenameNoReplace(const std::string& from, const std::string& to) {
    const int err = MoveNoReplace(from, to);
    if (err == 0)
        NoteMoved(from, to);
    return err;
}

// Renames a file to a spelling that differs only in case. A host that tells
// case apart takes the new name at once; one that does not sees the target
// as the source itself, so the file goes through a temporary name no other
// file has. No step ever replaces an existing file.
int ChangeCase(const std::string& from, const std::string& to) {
    int err = RenameNoReplace(from, to);
    if (err != EEXIST)
        return err;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string temp = from + ".~case" + std::to_string(attempt);
        err = RenameNoReplace(from, temp);
        if (err == EEXIST)
            continue;
        if (err)
            return err;
        if ((err = RenameNoReplace(temp, to)) != 0)
            RenameNoReplace(temp, from);
        return err;
    }
    return EEXIST;
}

// The host path of `hostPath`'s entry under the last name of `winPath`,
// spelled exactly as given there.
std::string SpelledAs(const std::string& hostPath, std::string_view winPath) {
    const std::string full = ExpandFileName(winPath);
    const std::string parent = HostParent(hostPath);
    return (parent == "/" ? parent : parent + "/") + AnsiToUtf8(full.substr(full.rfind('\\') + 1));
}

// Resolves a file to delete and runs every check DeleteFile makes.
int CheckDelete(std::string_view path, std::string& host, bool& dirMissing) {
    if (int err = CheckFileName(path))
        return err;
    if (int err = ToHostPath(path, host, &dirMissing))
        return err;
    if (int err = CheckRemoveEntry(host, dirMissing))
        return err;
    if (HeldOpen(host))
        return ERROR_SHARING_VIOLATION;
    return ERROR_SUCCESS;
}

} // namespace

int DeleteFile(std::string_view path) {
    std::string host;
    bool dirMissing = false;
    if (int err = CheckDelete(path, host, dirMissing))
        return err;
    if (unlink(host.c_str()) != 0)
        return WinErrorFromErrno(errno, true, dirMissing);
    NoteEntryRemoved(host);
    return ERROR_SUCCESS;
}

int CheckDeleteFile(std::string_view path) {
    std::string host;
    bool dirMissing = false;
    return CheckDelete(path, host, dirMissing);
}

// Both names of a move, on the host, and the source's status: 0, or the
// Windows error code of the first name that fails. Whether the target's
// directory is missing is left to the caller to weigh.
static int ResolveMove(std::string_view from, std::string_view to, std::string& hostFrom,
                       std::string& hostTo, struct stat& source, bool& toDirMissing) {
    if (int err = CheckFileName(from))
        return err;
    if (int err = CheckFileName(to))
        return err;
    bool fromDirMissing = false;
    if (int err = ToHostPath(from, hostFrom, &fromDirMissing))
        return err;
    if (int err = ToHostPath(to, hostTo, &toDirMissing))
        return err;
    if (lstat(hostFrom.c_str(), &source) != 0)
        return fromDirMissing ? ERROR_PATH_NOT_FOUND : ERROR_FILE_NOT_FOUND;
    return ERROR_SUCCESS;
}

int RenameFile(std::string_view from, std::string_view to) {
    std::string hostFrom, hostTo;
    struct stat st {};
    bool toDirMissing = false;
    if (int err = ResolveMove(from, to, hostFrom, hostTo, st, toDirMissing))
        return err;
    if (toDirMissing)
        return ERROR_PATH_NOT_FOUND;
    if (int err = CheckAddEntry(hostFrom, false))
        return err;
    if (int err = CheckAddEntry(hostTo, false))
        return err;
    if (HeldOpen(hostFrom))
        return ERROR_SHARING_VIOLATION;

    int err = 0;
    if (SameEntry(hostFrom, hostTo)) {
        // The look-up ignoring case found the source itself: only the
        // spelling changes, to the name exactly as given.
        const std::string spelled = SpelledAs(hostFrom, to);
        if (spelled == hostFrom)
            return ERROR_SUCCESS;
        err = ChangeCase(hostFrom, spelled);
        return err ? WinErrorFromErrno(err, true) : ERROR_SUCCESS;
    }
    err = RenameNoReplace(hostFrom, hostTo);
    if (err == EEXIST || err == ENOTEMPTY)
        return ERROR_ALREADY_EXISTS;
    return err ? WinErrorFromErrno(err, true) : ERROR_SUCCESS;
}

int ReplaceFile(std::string_view from, std::string_view to) {
    std::string hostFrom, hostTo;
    struct stat st {};
    bool toDirMissing = false;
    if (int err = ResolveMove(from, to, hostFrom, hostTo, st, toDirMissing))
        return err;
    if (S_ISDIR(st.st_mode))
        return ERROR_ACCESS_DENIED;
    if (toDirMissing)
        return ERROR_PATH_NOT_FOUND;
    // The target is the source itself: no file gives way, only the name changes.
    if (SameEntry(hostFrom, hostTo))
        return RenameFile(from, to);
    if (int err = CheckAddEntry(hostFrom, false))
        return err;
    struct stat target {};
    if (lstat(hostTo.c_str(), &target) == 0) {
        if (int err = CheckRemoveEntry(hostTo, false))
            return err;
        if (HeldOpen(hostTo))
            return ERROR_SHARING_VIOLATION;
    } else if (int err = CheckAddEntry(hostTo, false)) {
        return err;
    }
    if (HeldOpen(hostFrom))
        return ERROR_SHARING_VIOLATION;
    if (rename(hostFrom.c_str(), hostTo.c_str()) != 0)
        return WinErrorFromErrno(errno, true);
    NoteMoved(hostFrom, hostTo);
    // The look-up may have found the target under another spelling; the file
    // takes the name as given, as a new file does. Should that fail, the
    // file is whole under the old spelling, which names it just as well.
    if (const std::string spelled = SpelledAs(hostTo, to); spelled != hostTo)
        ChangeCase(hostTo, spelled);
    return ERROR_SUCCESS;
}

bool SameFile(std::string_view a, std::string_view b) {
    std::string hostA, hostB;
    return ToHostPath(a, hostA) == 0 && ToHostPath(b, hostB) == 0 && SameEntry(hostA, hostB);
}

int GetDiskSpace(std::string_view rootPath, DiskSpace& space) {
    space = {};
    std::string full;
    if (ExpandPath(rootPath.empty() ? std::string_view("\\") : rootPath, full) != 0)
        return ERROR_FILE_NOT_FOUND;
    const std::string host = DriveHostRoot(full[0]);
    if (host.empty())
        return ERROR_PATH_NOT_FOUND;
    // "X:\" asks for a drive; anything else must name a directory on one
    // (garbage for a root is no directory, and fails as a missing file).
    const bool driveRoot = full.size() == 3;
    std::string hostDir;
    std::error_code missing;
    if (!driveRoot && (ToHostPath(full, hostDir) != 0 || !fs::is_directory(hostDir, missing)))
        return ERROR_FILE_NOT_FOUND;
    // An empty directory that is not a mount point stands for a drive
    // without a medium; an empty volume that is mounted is a ready drive.
    std::error_code ec;
    if (!fs::is_directory(host, ec) || ec)
        return ERROR_NOT_READY;
    if (fs::is_empty(host, ec) && !IsMountPoint(host))
        return ERROR_NOT_READY;
    struct statvfs vfs {};
    if (statvfs(host.c_str(), &vfs) != 0)
        return ERROR_NOT_READY;
    space.freeBytes =
        static_cast<std::int64_t>(vfs.f_bavail) * static_cast<std::int64_t>(vfs.f_frsize);
    space.totalBytes =
        static_cast<std::int64_t>(vfs.f_blocks) * static_cast<std::int64_t>(vfs.f_frsize);
    return ERROR_SUCCESS;
}

unsigned SetErrorMode(unsigned mode) {
    const unsigned previous = ErrorModeSlot();
    ErrorModeSlot() = mode;
    return previous;
}

unsigned GetErrorMode() {
    return ErrorModeSlot();
}

std::string ProgramPath() {
    if (ProgramPathSlot().empty()) {
        char buf[PATH_MAX];
        const ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
        if (n > 0)
            ProgramPathSlot() = ToWindowsPath(std::string(buf, static_cast<std::size_t>(n)));
    }
    return ProgramPathSlot();
}

void SetProgramPath(std::string winPath) {
    ProgramPathSlot() = std::move(winPath);
}

} // namespace platform
