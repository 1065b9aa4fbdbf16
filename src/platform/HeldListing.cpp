#include "platform/HeldListing.h"

#include <sys/stat.h>

#include "platform/KeptListing.h"

namespace platform {

THeldListing::THeldListing(std::string hostDir) {
    while (hostDir.size() > 1 && hostDir.back() == '/')
        hostDir.pop_back();
    struct stat st {};
    int error = 0;
    if (stat(hostDir.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
        ListDirectory(hostDir, st, error);
}

} // namespace platform
