// Finding and changing keys in the lines of a profile file, without files.
#include <array>
#include <gtest/gtest.h>
#include <optional>
#include <vector>

#include "platform/ProfileText.h"

using platform::ParseProfileInteger;
using platform::ProfileText;

namespace {

struct FindCase {
    const char* text;
    const char* section;
    const char* key;
    std::optional<std::string> expected;
};

TEST(ProfileText, FindsValuesAsTheProfileRulesSay) {
    const FindCase cases[] = {
        {"[options]\r\ndir=C:\\glyphs\\\r\n", "options", "dir", "C:\\glyphs\\"},
        {"[OPTIONS]\r\nDir=x\r\n", "Options", "dIR", "x"},
        {"[Optionen]\r\n\xC4nderung=1\r\n", "OPTIONEN", "\xE4NDERUNG", "1"},
        {"[options]\r\n  dir  =   spaced out   \r\n", "options", "dir", "spaced out"},
        {"[options]\r\ndir=\"  quoted  \"\r\n", "options", "dir", "  quoted  "},
        {"[options]\r\ndir='single'\r\n", "options", "dir", "single"},
        {"[options]\r\ndir=\"unmatched'\r\n", "options", "dir", "\"unmatched'"},
        {"[options]\r\ndir=\"\r\n", "options", "dir", "\""},
        {"[options]\r\ndir=\r\n", "options", "dir", ""},
        {"[options]\r\ndir=first\r\ndir=second\r\n", "options", "dir", "first"},
        {"[options]\r\ndir=a=b\r\n", "options", "dir", "a=b"},
        {"[other]\r\ndir=wrong\r\n[options]\r\ndir=right\r\n", "options", "dir", "right"},
        {"dir=outside\r\n[options]\r\nleft=1\r\n", "options", "dir", std::nullopt},
        {"[options]\r\n;dir=commented\r\n", "options", "dir", std::nullopt},
        {"[options]\r\ndir\r\n", "options", "dir", std::nullopt},
        {"[options]\nleft=5\ntop=7", "options", "top", "7"},
        {"[ options ]\r\nleft=5\r\n", "options", "left", "5"},
        {"[optionsx]\r\nleft=5\r\n", "options", "left", std::nullopt},
        {"", "options", "left", std::nullopt},
    };
    for (const FindCase& c : cases)
        EXPECT_EQ(ProfileText::Parse(c.text).Find(c.section, c.key), c.expected)
            << "text: " << c.text << " key: " << c.key;
}

struct SetCase {
    const char* text;
    std::vector<std::array<const char*, 3>> writes; // section, key, value
    const char* expected;
};

TEST(ProfileText, WritingKeepsEveryOtherLineInPlace) {
    const SetCase cases[] = {
        {"", {{"options", "dir", "C:\\"}}, "[options]\r\ndir=C:\\\r\n"},
        {"",
         {{"options", "dir", "C:\\g\\"},
          {"options", "resx", "1024"},
          {"options", "left", "10"},
          {"options", "top", "20"}},
         "[options]\r\ndir=C:\\g\\\r\nresx=1024\r\nleft=10\r\ntop=20\r\n"},
        // A new key goes behind the last line of its section, before the blank
        // line that separates it from the next one.
        {"; settings\r\n[options]\r\nDIR=old\r\n\r\n[other]\r\nx=1\r\n",
         {{"Options", "dir", "new"}, {"options", "top", "5"}},
         "; settings\r\n[options]\r\nDIR=new\r\ntop=5\r\n\r\n[other]\r\nx=1\r\n"},
        // A new section is added at the end, after a blank line.
        {"[other]\nx=1",
         {{"options", "left", "3"}},
         "[other]\r\nx=1\r\n\r\n[options]\r\nleft=3\r\n"},
        // Only the first of two equal keys is the key.
        {"[options]\r\nleft=1\r\nleft=2\r\n",
         {{"options", "left", "9"}},
         "[options]\r\nleft=9\r\nleft=2\r\n"},
        // A quoted value is replaced whole; other sections' equal keys stay.
        {"[a]\r\nk=\"q\"\r\n[b]\r\nk=z\r\n", {{"a", "k", "v"}}, "[a]\r\nk=v\r\n[b]\r\nk=z\r\n"},
        // Bytes of the Western code page pass through untouched.
        {"[options]\r\n",
         {{"options", "dir", "C:\\M\xFCll\\"}},
         "[options]\r\ndir=C:\\M\xFCll\\\r\n"},
    };
    for (const SetCase& c : cases) {
        ProfileText text = ProfileText::Parse(c.text);
        for (const auto& w : c.writes)
            text.Set(w[0], w[1], w[2]);
        EXPECT_EQ(text.Serialize(), c.expected) << "text: " << c.text;
    }
}

TEST(ProfileText, ReadsIntegersByTheProgramsRule) {
    const std::pair<const char*, std::optional<std::int32_t>> cases[] = {
        {"365", 365},
        {"-12", -12},
        {"+12", 12},
        {"0x20", 32},
        {"0X20", 32},
        {"$1F", 31},
        {"$1f", 31},
        {"0x7FFFFFFF", 2147483647},
        {"$FFFFFFFF", -1},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"2147483648", std::nullopt},
        {"$100000000", std::nullopt},
        {"0x", std::nullopt},
        {"$", std::nullopt},
        {"0x-1", std::nullopt},
        {"0xG", std::nullopt},
        {"", std::nullopt},
        {"12abc", std::nullopt},
        {"abc", std::nullopt},
        {"1 2", std::nullopt},
        {"+-1", std::nullopt},
        {"-$10", std::nullopt},
        {"1.5", std::nullopt},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(ParseProfileInteger(text), expected) << "text: " << text;
}

} // namespace
