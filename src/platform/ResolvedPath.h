#pragma once
// What looking a Windows path up on the host learnt on the way, for a caller
// that acts on the path at once (creating a file there) without asking the
// host again.
#include <string>
#include <sys/stat.h>

namespace platform {

struct ResolvedPath {
    std::string host;
    bool dirMissing = false;  // a directory on the way does not exist
    bool exists = false;      // the last name has an entry, in this case or another
    bool parentKnown = false; // `parent` is the stat of the directory holding it
    struct stat parent {};
};

} // namespace platform
