#pragma once
// The parts of a Windows path, read off the text alone: nothing is looked up.
#include <string>
#include <string_view>

// "C:\apps\tool.exe" -> "C:\apps\": everything up to the last backslash or
// colon ("C:x" -> "C:"), or empty when there is neither.
std::string DirectoryPart(std::string_view path);
// "C:\apps\tool.exe" -> "tool.exe": everything after the last backslash or
// colon, or the whole path when there is neither.
std::string NamePart(std::string_view path);
// "C:\apps" -> "C:", "\\server\share\x" -> "\\server\share"; empty for a
// path without a drive.
std::string DrivePart(std::string_view path);
