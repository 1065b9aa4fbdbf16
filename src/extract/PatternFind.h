#pragma once
// The pattern matcher under SearchBuffer and the file searches.
#include <cstddef>
#include <string_view>

// 0-based index of the first match of `pattern` in data[0, n), or -1. An
// empty pattern matches at 0. Ignoring case compares after UpCaseGerman.
std::ptrdiff_t FindPattern(const unsigned char* data, std::size_t n, std::string_view pattern,
                           bool caseSensitive);
