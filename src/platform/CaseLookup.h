#pragma once
// Finding the host entry that a Windows name stands for, ignoring case as
// Windows does.
#include <string>
#include <sys/stat.h>

namespace platform {

// "dir" + "/" + "name", without doubling the root's slash.
std::string JoinHost(const std::string& dir, const std::string& name);

// Where the Windows-1252 `name` (host spelling `hostName`) leads in the host
// directory `dir`, which `st` shows to be one: the entry of that spelling,
// else the one listed first among those equal to it ignoring case (the host
// may hold several, as it tells case apart), so a look-up and a listing
// always agree on which file a name means; `hostName` is then its spelling.
// A name that exists as spelled never has its directory read, and a listing
// kept of it answers without a look at the entry. False when no entry is
// equal to it.
bool FindInDirectory(const std::string& dir, const struct stat& st, const std::string& name,
                     std::string& hostName);

} // namespace platform
