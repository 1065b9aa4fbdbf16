#pragma once
// The drive table and the mapping between Windows paths and host paths.
//
// Paths above this layer look like Windows paths: Windows-1252 bytes, a drive
// letter and colon, backslashes. Each drive letter maps to a host directory.
#include <map>
#include <string>
#include <string_view>

#include "platform/ResolvedPath.h"

namespace platform {

struct DriveTable {
    // Upper-case drive letter -> host directory (absolute, no trailing slash
    // except for "/" itself).
    std::map<char, std::string> roots;
};

// C: is the host root; D:, E:, ... are the volumes mounted under /media,
// /run/media and /mnt, in sorted order.
DriveTable DefaultDriveTable();

// Installs a table (tests map letters to temp directories). Every drive's
// current directory goes back to its root; the current drive becomes the one
// holding the host's working directory, else the first drive of the table.
void SetDriveTable(DriveTable table);
const DriveTable& CurrentDriveTable();

bool DriveExists(char letter);
// The host directory of a drive, or empty when the letter has no drive.
std::string DriveHostRoot(char letter);

// Host path of a Windows path (expanded first). Components that exist in
// another case are found as Windows finds them; components that do not exist
// keep their spelling, so a new file takes the name as given. Returns 0 or a
// Windows error code (3 for a letter without a drive, 123 for wildcards,
// 206 for a name that is too long).
// `dirMissing` (if given) tells whether a directory on the way does not exist,
// so that callers can answer 3 rather than 2.
int ToHostPath(std::string_view winPath, std::string& hostPath, bool* dirMissing = nullptr);

// ToHostPath, and what the look-up learnt on the way.
int ResolveHostPath(std::string_view winPath, ResolvedPath& where);

// Windows path of a host path, or empty when no drive holds it.
std::string ToWindowsPath(std::string_view hostPath);
// The same for a path given on the host's terms, relative ones taken against
// the process's working directory (a command line's arguments).
std::string HostArgumentToWindowsPath(std::string_view hostPath);

} // namespace platform
