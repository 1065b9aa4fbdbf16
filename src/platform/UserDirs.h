#pragma once
// Places of the user's own on the host, as Windows paths, and the folder
// tests a program needs to decide where its files may go.
#include <string>
#include <string_view>

namespace platform {

// The user's configuration folder ($XDG_CONFIG_HOME, else ~/.config) with
// a trailing backslash, or empty when neither is set or no drive holds it.
std::string UserConfigDirectory();

// Whether a new file can be created in the directory: it exists and its
// owner may write to it (which binds root too), on a volume that is not
// mounted read-only.
bool CanCreateFilesIn(std::string_view winDir);

// Creates a directory and any missing parents. 0 or a Windows error code.
int ForceDirectories(std::string_view winDir);

} // namespace platform
