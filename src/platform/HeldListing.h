#pragma once
// A folder a run is about to write many files into, read once as the run
// starts: its listing is then kept (KeptListing.h) and updated as the run
// creates files, so no file written reads the folder again.
#include <string>

namespace platform {

class THeldListing {
public:
    // Reads the folder at the host path `hostDir` (absolute, as the path
    // look-up spells it); nothing when it is not a folder that can be read.
    explicit THeldListing(std::string hostDir);
    THeldListing(const THeldListing&) = delete;
    THeldListing& operator=(const THeldListing&) = delete;
};

} // namespace platform
