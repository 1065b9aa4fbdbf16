#pragma once
// Full-path expansion with one current directory per drive, as Windows keeps it.
#include <string>
#include <string_view>

namespace platform {

// The longest full path Windows accepts (MAX_PATH less the terminator), in
// characters as Windows counts them (WindowsLength).
constexpr std::size_t MaxPathLength = 259;

// Expands `path` against the current drive and the current directory of the
// drive it names: "D:x", "\x", "x", ".", "..", "/" read as "\", runs of
// separators folded, trailing dots and spaces of a name dropped. Returns 0 or
// a Windows error code (206 when the result is longer than MaxPathLength).
int ExpandPath(std::string_view path, std::string& full);

// ExpandPath, or the empty string when it fails.
std::string ExpandFileName(std::string_view path);

// The current drive's current directory, e.g. "C:\work" or "C:\".
std::string GetCurrentDir();
// The current directory of one drive (its root if never set).
std::string GetDriveCurrentDir(char letter);
// Makes a directory current (and its drive the current drive). 0 or an error.
int SetCurrentDir(std::string_view path);
char CurrentDrive();

// Resets every drive's current directory to its root; called when a drive
// table is installed.
void ResetCurrentDirs(char currentDrive, std::string_view currentDirOnIt);

} // namespace platform
