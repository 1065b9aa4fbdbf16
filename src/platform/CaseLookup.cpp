#include "platform/CaseLookup.h"

#include "platform/KeptListing.h"

namespace platform {

std::string JoinHost(const std::string& dir, const std::string& name) {
    return dir == "/" ? "/" + name : dir + "/" + name;
}

bool FindInDirectory(const std::string& dir, const struct stat& st, const std::string& name,
                     std::string& hostName) {
    std::string found;
    Listed listed = LookUpName(dir, st, hostName, name, found, false);
    if (listed == Listed::Unknown) {
        struct stat entry {};
        if (lstat(JoinHost(dir, hostName).c_str(), &entry) == 0)
            return true;
        listed = LookUpName(dir, st, hostName, name, found, true);
    }
    if (listed == Listed::OtherCase)
        hostName = std::move(found);
    return listed == Listed::AsSpelled || listed == Listed::OtherCase;
}

} // namespace platform
