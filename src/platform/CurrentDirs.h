#pragma once
// The current directory of each drive and the current drive, as Windows
// keeps them. Installing a drive table resets them; SetCurrentDir (Paths.h)
// checks a directory before it becomes current.
#include <string>
#include <string_view>

namespace platform {

// The current drive's current directory, e.g. "C:\work" or "C:\".
std::string GetCurrentDir();
// The current directory of one drive (its root if never set).
std::string GetDriveCurrentDir(char letter);
// The current directory kept for a drive, with the letter it was given with;
// empty when none was set since the drive table was installed.
std::string KeptCurrentDir(char letter);
char CurrentDrive();

// Resets every drive's current directory to its root; called when a drive
// table is installed.
void ResetCurrentDirs(char currentDrive, std::string_view currentDirOnIt);
// Makes a full directory path ("C:\work", "C:\") current, and its drive the
// current drive. It checks nothing: SetCurrentDir has done that.
void MakeCurrentDir(const std::string& fullDir);

} // namespace platform
