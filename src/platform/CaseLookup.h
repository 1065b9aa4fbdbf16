#pragma once
// Finding the host entry that a Windows name stands for, ignoring case as
// Windows does.
#include <string>

namespace platform {

// "dir" + "/" + "name", without doubling the root's slash.
std::string JoinHost(const std::string& dir, const std::string& name);

// The host name of the entry of host directory `dir` that equals the
// Windows-1252 `name` ignoring case, or empty when there is none. Where the
// host holds several (it tells case apart), the one listed first wins, so a
// look-up and a listing always agree on which file a name means.
std::string FindIgnoringCase(const std::string& dir, const std::string& name);

} // namespace platform
