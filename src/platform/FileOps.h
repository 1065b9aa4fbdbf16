#pragma once
// Whole-file operations, disk queries and process-wide values.
#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// Each returns 0 or a Windows error code.
int DeleteFile(std::string_view path);
// Never replaces an existing target (183), also when one appears meanwhile.
int RenameFile(std::string_view from, std::string_view to);

// 0 when DeleteFile would remove the file now, else the code it would give;
// nothing is touched.
int CheckDeleteFile(std::string_view path);
// Moves the file `from` to `to`, replacing a file there in one step, so a
// failure leaves both as they were. Refuses to replace what DeleteFile
// would refuse to delete, and to move a directory over a file (5).
int ReplaceFile(std::string_view from, std::string_view to);
// Both names lead to the same existing entry: a look-up ignoring case found
// the file itself again, or the names are two links of one file.
bool SameFile(std::string_view a, std::string_view b);

struct DiskSpace {
    std::int64_t freeBytes = -1;
    std::int64_t totalBytes = -1;
};
// The free and total bytes of the drive holding `rootPath` ("C:\", or any
// directory on the drive): 2 when it names no directory, 3 for a letter
// without a drive, 21 for a drive without a medium (its host directory is
// empty or gone).
int GetDiskSpace(std::string_view rootPath, DiskSpace& space);

// The process error mode (1 = fail critical errors silently). The layer only
// keeps the value; the host has no critical-error boxes to suppress.
constexpr unsigned SEM_FAILCRITICALERRORS = 1;
unsigned SetErrorMode(unsigned mode); // returns the previous mode
unsigned GetErrorMode();

// The running program's own file as a Windows path. Tests move it into their
// temp directory so that settings and help files land there.
std::string ProgramPath();
void SetProgramPath(std::string winPath);

} // namespace platform
