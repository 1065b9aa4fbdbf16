#include "fileutils/IoErrorText.h"

#include <map>

namespace {

const std::map<int, std::string_view>& KnownErrorPhrases() {
    static const std::map<int, std::string_view> phrases = {
        {2, "File not found"},
        {3, "Path not found"},
        {4, "Too many open files"},
        {5, "File access denied"},
        {8, "Not enough memory"},
        {15, "Invalid Drive number"},
        {16, "Cannot remove current directory"},
        {19, "Cannot write on write-protected disk"},
        {21, "Drive not available"},
        {23, "Data error (CRC)"},
        {27, "Sector not found"},
        {29, "Write error"},
        {30, "Read error"},
        {32, "Invalid share operation"},
        {65, "Access denied"},
        {80, "File already exists"},
        {112, "Disk full"},
    };
    return phrases;
}

} // namespace

std::string IoErrorText(int errorCode) {
    std::string text = "Reason: I/O Error " + std::to_string(errorCode) + "\r\n";
    const auto& phrases = KnownErrorPhrases();
    if (const auto it = phrases.find(errorCode); it != phrases.end())
        text += it->second;
    return text;
}
