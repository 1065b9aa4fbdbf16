#include "fileutils/FileUtils.h"

#include <algorithm>
#include <new>

#include "platform/FileOps.h"
#include "platform/Find.h"

namespace {

// Attribute sets for find-first: everything but directories, and every entry.
constexpr int kAnyButDirectories = platform::faReadOnly | platform::faHidden | platform::faSysFile |
                                   platform::faVolumeID | platform::faArchive;

// The first entry matching a name, the search closed again at once.
bool FindOne(std::string_view pattern, int attr, platform::TSearchRec& rec) {
    if (platform::FindFirst(pattern, attr, rec) != 0)
        return false;
    platform::FindClose(rec);
    return true;
}

std::string DriveRoot(char letter) {
    return {static_cast<char>('A' + DriveNumber(letter) - 1), ':', '\\'};
}

// Puts the process error mode back however the disk query ends.
class ErrorModeScope {
public:
    explicit ErrorModeScope(unsigned mode) : previous_(platform::SetErrorMode(mode)) {}
    ~ErrorModeScope() { platform::SetErrorMode(previous_); }
    ErrorModeScope(const ErrorModeScope&) = delete;
    ErrorModeScope& operator=(const ErrorModeScope&) = delete;

private:
    unsigned previous_;
};

} // namespace

std::string AddBackslash(std::string_view path) {
    std::string result(path);
    if (!result.empty() && result.back() != '\\')
        result += '\\';
    return result;
}

std::string RemoveBackslash(std::string_view path) {
    if (!path.empty() && path.back() == '\\')
        path.remove_suffix(1);
    return std::string(path);
}

bool FileExists(std::string_view fileName) {
    // The empty name would stand for the current directory, which is no file.
    platform::TSearchRec rec;
    return !fileName.empty() && FindOne(fileName, kAnyButDirectories, rec);
}

bool DirectoryExists(std::string_view dirPath) {
    // Every directory but a root lists "." and ".."; a root needs an entry.
    platform::TSearchRec rec;
    return FindOne(RemoveBackslash(dirPath) + "\\*.*", platform::faDirectory, rec);
}

int DriveNumber(char letter) {
    if (letter >= 'a' && letter <= 'z')
        letter = static_cast<char>(letter - 'a' + 'A');
    return letter >= 'A' && letter <= 'Z' ? letter - 'A' + 1 : -1;
}

bool DriveReady(char letter) {
    if (DriveNumber(letter) == -1)
        return false;
    // An empty removable drive must answer "not ready", not ask the user to
    // insert a disk.
    ErrorModeScope silent(platform::SEM_FAILCRITICALERRORS);
    try {
        platform::DiskSpace space;
        return platform::GetDiskSpace(DriveRoot(letter), space) == 0;
    } catch (const std::exception&) {
        return false;
    }
}

std::int64_t DriveFreeSpace(char letter) {
    if (!DriveReady(letter))
        return -1;
    platform::DiskSpace space;
    if (platform::GetDiskSpace(DriveRoot(letter), space) != 0)
        return -1;
    return space.freeBytes;
}

std::int64_t FileSizeByName(std::string_view fileName) {
    platform::TSearchRec rec;
    if (fileName.empty() || !FindOne(fileName, platform::faAnyFile, rec))
        return -1;
    return (rec.Attr() & platform::faDirectory) ? 0 : rec.Size();
}

bool TryDeleteFile(std::string_view fileName, int& errorCode) {
    if (CanDeleteFile(fileName, errorCode))
        errorCode = platform::DeleteFile(fileName);
    return errorCode == 0;
}

bool CanDeleteFile(std::string_view fileName, int& errorCode) {
    errorCode = 0;
    try {
        // Opening for writing refuses a read-only or busy file.
        platform::FileObject file{std::string(fileName)};
        file.Reset(platform::FileAccess::ReadWrite, 128);
        file.Close();
        errorCode = platform::CheckDeleteFile(fileName);
    } catch (const platform::EInOutError& e) {
        errorCode = e.ErrorCode();
    } catch (const std::bad_alloc&) {
        errorCode = platform::ERROR_NOT_ENOUGH_MEMORY;
    }
    return errorCode == 0;
}

void OpenReadOnly(platform::FileObject& file, int recordSize) {
    file.Reset(platform::FileAccess::ReadOnly, recordSize);
}

FileReading ReadFileWith(std::string_view fileName,
                         const std::function<void(platform::FileObject&)>& read) {
    FileReading reading;
    platform::FileObject file{std::string(fileName)};
    try {
        OpenReadOnly(file, 1);
    } catch (const platform::EInOutError& e) {
        reading.openError = e.ErrorCode();
        return reading;
    }
    try {
        read(file);
    } catch (const platform::EInOutError& e) {
        reading.readError = e.ErrorCode();
    } catch (const std::bad_alloc&) {
        reading.readError = platform::ERROR_NOT_ENOUGH_MEMORY;
    }
    try {
        file.Close();
    } catch (const platform::EInOutError& e) {
        reading.closeError = e.ErrorCode();
    }
    return reading;
}

int Max(int a, int b) {
    return std::max(a, b);
}
