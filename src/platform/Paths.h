#pragma once
// Windows paths: their expansion against the current directory of the drive
// they name, as Windows does it, and the host path they lead to.
#include <string>
#include <string_view>

#include "platform/ResolvedPath.h"

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

// Makes a directory current (and its drive the current drive). 0 or an error.
int SetCurrentDir(std::string_view path);

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

} // namespace platform
