#pragma once
// The Windows spelling of a host file name, and the way back.
//
// A host name is spelled with tokens (Codepage.h) for every character that
// has no Windows-1252 form, and also for the characters a Windows name cannot
// hold (separators, wildcards, ':', '"', '<', '>', '|', control characters)
// and for a final period or blank, which path expansion would drop. So every
// host name has one Windows spelling that survives expansion as it is, a look-up
// of that spelling finds that host name and no other, and a name typed by the
// user (which never holds a token) never finds an entry spelled with one.
#include <string>
#include <string_view>

namespace platform {

std::string WindowsName(std::string_view hostName);

// A host name that reads the same bytes on the Windows side (plain ASCII
// that needs no token), so a listing can share the bytes.
bool SpelledAlike(std::string_view hostName);

// The host name of one Windows name; false when it names no single entry of
// a directory: a name with tokens that is not spelled as WindowsName spells
// it (a mark without a sound token among them), or a separator, NUL, "." or
// ".." reached through tokens.
bool HostName(std::string_view windowsName, std::string& hostName);

} // namespace platform
