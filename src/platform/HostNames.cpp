#include "platform/HostNames.h"

#include <algorithm>
#include <array>

#include "platform/Codepage.h"

namespace platform {
namespace {

// Looked up, not searched for: every byte of every name of a large listing
// is asked about.
const std::array<bool, 256> kOutsideWindowsNames = [] {
    std::array<bool, 256> outside{};
    for (int c = 0; c < 32; ++c)
        outside[c] = true;
    for (const char c : std::string_view("\\/:*?\"<>|"))
        outside[static_cast<unsigned char>(c)] = true;
    return outside;
}();

bool OutsideWindowsNames(char c) {
    return kOutsideWindowsNames[static_cast<unsigned char>(c)];
}

bool AllDots(std::string_view name) {
    return name.find_first_not_of('.') == std::string_view::npos;
}

// Expansion drops a name's final period and a last name's final blanks; a
// name of periods only is a name of its own and keeps them.
bool EndsInDroppedCharacter(std::string_view name) {
    return !name.empty() && (name.back() == '.' || name.back() == ' ') && !AllDots(name);
}

} // namespace

bool SpelledAlike(std::string_view hostName) {
    return std::none_of(hostName.begin(), hostName.end(),
                        [](char c) {
                            return static_cast<unsigned char>(c) >= 0x80 || OutsideWindowsNames(c);
                        }) &&
           !EndsInDroppedCharacter(hostName);
}

std::string WindowsName(std::string_view hostName) {
    if (SpelledAlike(hostName))
        return std::string(hostName);
    // An ASCII byte is never part of a longer UTF-8 sequence, so the name
    // can be cut at the ASCII characters that are spelled as tokens.
    const bool dropped = EndsInDroppedCharacter(hostName);
    const std::string_view body = dropped ? hostName.substr(0, hostName.size() - 1) : hostName;
    std::string spelled;
    std::size_t from = 0;
    for (std::size_t i = 0; i < body.size(); ++i) {
        if (!OutsideWindowsNames(body[i]))
            continue;
        spelled += Utf8ToAnsi(body.substr(from, i - from));
        spelled += Token(static_cast<unsigned char>(body[i]));
        from = i + 1;
    }
    spelled += Utf8ToAnsi(body.substr(from));
    if (dropped)
        spelled += Token(static_cast<unsigned char>(hostName.back()));
    return spelled;
}

bool HostName(std::string_view windowsName, std::string& hostName) {
    hostName = AnsiToUtf8(windowsName);
    // Tokens come only from listings, which spell every name one way: a
    // name with tokens spelled otherwise (or a mark that starts no token)
    // is not one the program was given, and names nothing.
    const bool tokens = windowsName.find(TokenMark) != std::string_view::npos;
    if (tokens && WindowsName(hostName) != windowsName)
        return false;
    return hostName.find_first_of(std::string_view("/\0", 2)) == std::string::npos &&
           hostName != "." && hostName != "..";
}

} // namespace platform
