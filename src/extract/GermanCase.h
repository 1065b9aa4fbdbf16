#pragma once
// The upper-casing the program compares names and search patterns with.
#include <string>
#include <string_view>

// ASCII letters and the umlauts a, o, u (Windows-1252) to upper case; every
// other byte, sharp s and the other accented letters included, stays.
char UpCaseGerman(char c);
std::string UpperCaseGerman(std::string_view text);
