#pragma once
// Small file and drive routines the whole program shares. None of them shows
// a message: they answer with a flag, -1 or a Windows error code, and only
// OpenReadOnly raises (platform::EInOutError).
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/FileObject.h"

// "C:\dir" -> "C:\dir\"; an empty path stays empty.
std::string AddBackslash(std::string_view path);
// Drops one final backslash: "C:\" -> "C:", "C:\dir\\" -> "C:\dir\".
std::string RemoveBackslash(std::string_view path);

// A file (not a directory) of that name exists; wildcards allowed.
bool FileExists(std::string_view fileName);
// With or without the final backslash; the empty path tests the current
// drive's root. A root counts only when it holds an entry.
bool DirectoryExists(std::string_view dirPath);

// 'A'/'a' = 1 ... 'Z'/'z' = 26, anything else -1.
int DriveNumber(char letter);
// The drive exists and has a medium; asked with critical errors failing
// silently, the previous error mode restored afterwards.
bool DriveReady(char letter);
// Free bytes of the drive, or -1 when it is not ready.
std::int64_t DriveFreeSpace(char letter);

// Size in bytes of the first entry matching the name (a directory gives 0),
// or -1 when nothing matches.
std::int64_t FileSizeByName(std::string_view fileName);

// Opens the file for writing (so a read-only or busy file is refused before
// anything is deleted), closes and deletes it. errorCode is 0 or the Windows
// error code of the step that failed; the result is errorCode == 0.
bool TryDeleteFile(std::string_view fileName, int& errorCode);
// TryDeleteFile's answer without the deletion: used to learn whether a file
// may give way before anything is touched.
bool CanDeleteFile(std::string_view fileName, int& errorCode);

// Opens the file already bound to `file` for reading only, shared for
// reading. Raises platform::EInOutError with the Windows error code.
void OpenReadOnly(platform::FileObject& file, int recordSize);

// How reading a file from its opening to its closing went: the Windows error
// code of the step that failed, or 0.
struct FileReading {
    int openError = 0;  // the file could not be opened; nothing was read
    int readError = 0;  // the reading failed (8 when memory ran out)
    int closeError = 0; // the file could not be closed after the reading
    int Error() const { return openError ? openError : readError ? readError : closeError; }
};

// Opens the file read-only (shared for reading, records of one byte), hands
// it to `read` and closes it again, also when `read` fails. A failure that
// `read` raises (platform::EInOutError, or memory running out) ends it.
FileReading ReadFileWith(std::string_view fileName,
                         const std::function<void(platform::FileObject&)>& read);

// The larger of the two (either one when equal).
int Max(int a, int b);
