#include "fileutils/PathParts.h"

namespace {

// Where the directory ends: just after the last backslash or colon, or 0.
std::size_t NameStart(std::string_view path) {
    return path.find_last_of("\\:") + 1; // npos + 1 is 0
}

} // namespace

std::string DirectoryPart(std::string_view path) {
    return std::string(path.substr(0, NameStart(path)));
}

std::string NamePart(std::string_view path) {
    return std::string(path.substr(NameStart(path)));
}

std::string DrivePart(std::string_view path) {
    if (path.size() >= 2 && path[1] == ':')
        return std::string(path.substr(0, 2));
    if (path.starts_with("\\\\")) {
        const std::size_t share = path.find('\\', 2);
        const std::size_t end = share == std::string::npos ? share : path.find('\\', share + 1);
        return std::string(path.substr(0, end));
    }
    return {};
}
