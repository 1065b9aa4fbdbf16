#pragma once
// The names of the files a program's resources become: "tool-130.bmp",
// "tool-IDI_APP.ico", "tool-32512.cur".
#include <cstdint>
#include <string>
#include <vector>

struct ResourceFileName {
    std::string name; // the resource's name or id (Windows-1252)
    std::uint16_t language = 0;
    std::string extension; // "bmp", "ico", "cur"
};

// One file name for each resource, after the program's name without its
// extension. A resource's name loses what a file name may not hold
// (separators, wildcards, control characters and bytes Windows-1252 leaves
// unused) and is cut to leave room for the directory. A name given twice
// with one extension (in two languages, or once as a name and once as an
// id, or spelt in other case, which a Windows file system takes as the same
// name) gets the language, then a count.
// A name with what a file name may not hold made "_", cut to 64 bytes.
std::string FileNameSafe(const std::string& name);
// "tool.exe" -> "tool"; ".profile" and "tool" stay.
std::string FileStem(const std::string& fileName);

std::vector<std::string> ResourceFileNames(const std::string& programName,
                                           const std::vector<ResourceFileName>& resources);
