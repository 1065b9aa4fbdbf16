// The byte search over any bytes and pattern, in memory and in a file from
// any start, against a plain scan that compares at every position.
#include <filesystem>
#include <fstream>

#include "FuzzSupport.h"
#include "extract/Search.h"
#include "platform/Drives.h"

namespace {

// The 1-based position of the first match at or after `from` (0-based), or 0.
std::int64_t PlainScan(const std::string& text, std::size_t from, const std::string& pattern,
                       bool caseSensitive) {
    const auto same = [&](char a, char b) {
        return caseSensitive ? a == b : UpCaseGerman(a) == UpCaseGerman(b);
    };
    for (std::size_t at = from; at + pattern.size() <= text.size(); ++at) {
        std::size_t i = 0;
        while (i < pattern.size() && same(text[at + i], pattern[i]))
            ++i;
        if (i == pattern.size())
            return static_cast<std::int64_t>(at) + 1;
    }
    return 0;
}

void CheckBuffer(const std::string& text, const std::string& pattern, bool caseSensitive) {
    const std::string shown = pattern + " in " + std::to_string(text.size()) + " bytes";
    const std::size_t length = std::min<std::size_t>(text.size(), 0xFFFF);
    int position = 0;
    bool found = false;
    SearchBuffer(text.data(), static_cast<std::uint16_t>(length), pattern, caseSensitive, position,
                 found);
    const std::int64_t expected = PlainScan(text.substr(0, length), 0, pattern, caseSensitive);
    FUZZ_CHECK(found == (expected > 0), shown);
    if (found)
        FUZZ_CHECK(position == expected, shown);
}

// The text repeated, so that files cross the search's block boundaries.
void CheckFile(const std::string& text, int copies, std::uint16_t startSeed,
               const std::string& pattern, bool caseSensitive) {
    std::string file;
    for (int i = 0; i < copies; ++i)
        file += text;
    const auto host = std::filesystem::path(platform::DriveHostRoot('C')) / "search.bin";
    std::ofstream(host, std::ios::binary) << file;
    const std::int64_t start =
        file.empty() ? 1 : 1 + startSeed % static_cast<std::int64_t>(file.size());
    const std::int64_t result =
        SearchInFile("C:\\search.bin", start, pattern, caseSensitive, nullptr);
    const std::string shown = pattern + " from " + std::to_string(start) + " in " +
                              std::to_string(file.size()) + " bytes";
    if (file.empty()) {
        FUZZ_CHECK(result == -1, shown);
    } else if (pattern.size() > MaxPatternLength) {
        FUZZ_CHECK(result == -1, shown);
    } else if (!pattern.empty()) {
        FUZZ_CHECK(result ==
                       PlainScan(file, static_cast<std::size_t>(start - 1), pattern, caseSensitive),
                   shown);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::EnsureDrives();
    fuzz::Input input(data, size);
    const std::uint8_t flags = input.Byte();
    const bool caseSensitive = flags & 1;
    const int copies = 1 + (flags >> 1) % 64;
    const std::uint16_t startSeed = static_cast<std::uint16_t>(input.Byte() << 8 | input.Byte());
    const std::string pattern = input.Field();
    const std::string text = input.Rest();
    CheckBuffer(text, pattern, caseSensitive);
    CheckFile(text, copies, startSeed, pattern, caseSensitive);
    return 0;
}
