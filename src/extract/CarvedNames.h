#pragma once
// Names that say where a carved picture came from: "tool-0001a2b4.bmp" for
// the one at byte 0x1a2b4 of tool.exe; and one name per file in a run.
#include <cstdint>
#include <set>
#include <string>
#include <string_view>

// The source file's name without its extension, a dash, the position in at
// least eight hex digits, and the extension.
std::string SourceFileName(const std::string& sourceName, std::int64_t offset,
                           std::string_view extension);

// The names given out in one run, compared as a Windows file system compares
// them (ignoring case), so that files from tool.exe and Tool.dll, or from
// two folders' tool.exe, never take each other's place.
class TNameBook {
public:
    // `name` when it is still free, else the name with "-2", "-3", ... put
    // before its extension; the name returned is taken from then on.
    std::string Claim(const std::string& name);

private:
    std::set<std::u32string> used_;
};
