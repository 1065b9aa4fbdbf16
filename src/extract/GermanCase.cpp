#include "extract/GermanCase.h"

#include <array>

namespace {

constexpr std::array<unsigned char, 256> MakeUpperTable() {
    std::array<unsigned char, 256> table{};
    for (int c = 0; c < 256; ++c)
        table[c] = static_cast<unsigned char>(c);
    for (int c = 'a'; c <= 'z'; ++c)
        table[c] = static_cast<unsigned char>(c - 'a' + 'A');
    table[0xE4] = 0xC4; // a umlaut
    table[0xF6] = 0xD6; // o umlaut
    table[0xFC] = 0xDC; // u umlaut
    return table;
}

constexpr std::array<unsigned char, 256> kUpper = MakeUpperTable();

} // namespace

char UpCaseGerman(char c) {
    return static_cast<char>(kUpper[static_cast<unsigned char>(c)]);
}

std::string UpperCaseGerman(std::string_view text) {
    std::string result(text);
    for (char& c : result)
        c = UpCaseGerman(c);
    return result;
}
