#pragma once
// Byte-pattern search in memory and in files, and the upper-casing the
// program uses to compare names without regard to case.
#include <cstdint>
#include <string>
#include <string_view>

#include "extract/FileScan.h"
#include "extract/GermanCase.h"

// Looks for `pattern` in the first `length` bytes of `buffer`. On a match
// `found` is true and `position` is the 1-based index of its first byte (the
// lowest such index); otherwise `position` means nothing. An empty pattern is
// found at position 1.
void SearchBuffer(const void* buffer, std::uint16_t length, std::string_view pattern,
                  bool caseSensitive, int& position, bool& found);

// Searches the file from the 1-based `start` for `pattern`, telling
// `progress` about each block before it is read. The result is:
//   > 0  the 1-based file position of the first match at or after `start`;
//   0    no match up to the end of the file;
//   -1   `start` below 1 or past the file's size (a missing file has size
//        -1), or a pattern longer than MaxPatternLength;
//   -3   the file could not be opened, read or closed.
// (The same search with its progress on a gauge or progress bar is in
// controls/SearchProgress.h.)
std::int64_t SearchInFile(std::string_view fileName, std::int64_t start, std::string_view pattern,
                          bool caseSensitive, const SearchProgress& progress);
