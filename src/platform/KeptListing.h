#pragma once
// Reading and sorting a directory of many thousand entries costs far more
// than a look at the directory itself, and find-first is asked for the same
// directory again and again (a count, then every page). So the last listing
// read is kept and handed out again, but only while the directory is provably
// the one read and unchanged since; in every other case it is read again.
#include <memory>
#include <string>
#include <sys/stat.h>

#include "platform/DirListing.h"

namespace platform {

// The listing of the directory at `hostDir`, which `st` (its stat) shows to
// be a readable directory: the one kept when it provably still describes it,
// else read anew. Null with a Windows error code when it cannot be read.
std::shared_ptr<const DirListing> ListDirectory(const std::string& hostDir, const struct stat& st,
                                                int& error);

} // namespace platform
