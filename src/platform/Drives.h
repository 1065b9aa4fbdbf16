#pragma once
// The drive table: the host directory each drive letter stands for, and the
// Windows path of a host path.
//
// Paths above this layer look like Windows paths: Windows-1252 bytes, a drive
// letter and colon, backslashes. Each drive letter maps to a host directory.
#include <map>
#include <string>
#include <string_view>

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

// Windows path of a host path, or empty when no drive holds it.
std::string ToWindowsPath(std::string_view hostPath);
// The same for a path given on the host's terms, relative ones taken against
// the process's working directory (a command line's arguments).
std::string HostArgumentToWindowsPath(std::string_view hostPath);

} // namespace platform
