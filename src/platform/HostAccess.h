#pragma once
// Permission rules kept by the layer itself, from the owner's permission
// bits, so that they bind root too (as the read-only attribute binds an
// administrator on Windows). Each returns 0 or a Windows error code.
#include <string>
#include <string_view>

#include "platform/ResolvedPath.h"

namespace platform {

std::string HostParent(const std::string& hostPath);

// A directory on another device than its parent: a mounted volume.
bool IsMountPoint(const std::string& dir);

// A file's name may not end in a separator: "C:\x.bmp\" names no file, so
// it must not open or delete x.bmp (123); the empty name names no path (3).
// Returns 0 or the error.
int CheckFileName(std::string_view winPath);

// Opening an existing file for reading, or for reading and writing.
int CheckOpenExisting(const std::string& hostPath, bool writing, bool dirMissing);
// Creating a file, or emptying an existing one.
int CheckCreateOrReplace(const std::string& hostPath, bool dirMissing);
// Creating a file where no entry of that name may be: 80 for any entry (a
// link, even a dangling one, included), 5 for a folder. What the look-up of
// the path learnt is taken as it stands.
int CheckCreateNew(const ResolvedPath& where);
// Removing or renaming the entry of a file in its directory.
int CheckRemoveEntry(const std::string& hostPath, bool dirMissing);
// Adding an entry to a directory.
int CheckAddEntry(const std::string& hostPath, bool dirMissing);

} // namespace platform
