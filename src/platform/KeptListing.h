#pragma once
// Reading and sorting a directory of many thousand entries costs far more
// than a look at the directory itself, and the same directories are asked
// for again and again: find-first counts a directory and fills every page
// from it, and every name written into a folder is first looked up ignoring
// case. So the listings of the last few directories read are kept and handed
// out again, but only while each is provably the directory read and as it
// was read, or as this layer itself has changed it since; in every other
// case it is read again.
#include <memory>
#include <string>
#include <string_view>
#include <sys/stat.h>

#include "platform/DirListing.h"

namespace platform {

// The listing of the directory at `hostDir`, which `st` (its stat) shows to
// be a readable directory: the one kept when it provably still describes it,
// else read anew. Null with a Windows error code when it cannot be read.
std::shared_ptr<const DirListing> ListDirectory(const std::string& hostDir, const struct stat& st,
                                                int& error);

// What a directory's listing says of one name.
enum class Listed {
    AsSpelled, // an entry of exactly that host name
    OtherCase, // none, but one equal to it ignoring case
    Missing,   // none equal to it ignoring case
    Unknown,   // not known without reading the directory, or it cannot be read
};

// Looks a name up in the directory at `hostDir` (`st` its stat): its host
// spelling and its Windows spelling. For OtherCase, `found` is the host name
// of the entry listed first among those equal to it. With `readIfNotKept`
// false only a kept listing answers; else the directory is read (and kept)
// when none is.
Listed LookUpName(const std::string& hostDir, const struct stat& st, std::string_view hostName,
                  std::string_view windowsName, std::string& found, bool readIfNotKept);

// This layer's own changes to a directory's entries, each told once it has
// succeeded: a kept listing then stays true without being read again.
void NoteEntryAdded(const std::string& hostPath);
void NoteEntryRemoved(const std::string& hostPath);

} // namespace platform
