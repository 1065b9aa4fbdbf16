// The byte-pattern search: the block overlap, the result codes and agreement with a plain
// byte-by-byte scan for random inputs.
#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <random>
#include <vector>

#include "TempDrives.h"
#include "extract/Search.h"

namespace fs = std::filesystem;
using testsupport::TempDrives;

namespace {

// Upper-casing written out on its own, so the reference does not share the
// table it checks.
unsigned char ReferenceUpper(unsigned char c) {
    if (c >= 'a' && c <= 'z')
        return static_cast<unsigned char>(c - 32);
    switch (c) {
    case 0xE4:
        return 0xC4;
    case 0xF6:
        return 0xD6;
    case 0xFC:
        return 0xDC;
    default:
        return c;
    }
}

// 0-based index of the first match at or after `from`, or -1.
std::int64_t ReferenceFind(const std::string& data, std::int64_t from, const std::string& pattern,
                           bool caseSensitive) {
    const auto n = static_cast<std::int64_t>(data.size());
    const auto m = static_cast<std::int64_t>(pattern.size());
    for (std::int64_t i = from; i + m <= n; ++i) {
        bool all = true;
        for (std::int64_t k = 0; k < m && all; ++k) {
            const auto a = static_cast<unsigned char>(data[i + k]);
            const auto b = static_cast<unsigned char>(pattern[k]);
            all = caseSensitive ? a == b : ReferenceUpper(a) == ReferenceUpper(b);
        }
        if (all)
            return i;
    }
    return -1;
}

std::int64_t ReferenceSearchInFile(const std::string& data, std::int64_t start,
                                   const std::string& pattern, bool caseSensitive) {
    if (start < 1 || start > static_cast<std::int64_t>(data.size()))
        return -1;
    return ReferenceFind(data, start - 1, pattern, caseSensitive) + 1;
}

std::string Filler(std::size_t size, char c = 'x') {
    return std::string(size, c);
}

std::string Place(std::string data, std::size_t at, const std::string& what) {
    data.replace(at, what.size(), what);
    return data;
}

} // namespace

TEST(UpCaseGerman, UpperCasesAsciiLettersAndTheThreeUmlautsOnly) {
    for (int c = 0; c < 256; ++c)
        EXPECT_EQ(static_cast<unsigned char>(UpCaseGerman(static_cast<char>(c))),
                  ReferenceUpper(static_cast<unsigned char>(c)))
            << "byte " << c;
    EXPECT_EQ(UpperCaseGerman("gl\xE4nzend-\xF6l \xFC\xDF\xE9.bmp"),
              "GL\xC4NZEND-\xD6L \xDC\xDF\xE9.BMP");
    EXPECT_EQ(UpperCaseGerman(""), "");
    const std::string longName(300, 'q');
    EXPECT_EQ(UpperCaseGerman(longName), std::string(300, 'Q'));
}

TEST(SearchBuffer, FindsTheFirstMatchAndHonoursTheCaseMode) {
    struct Case {
        std::string buffer, pattern;
        bool caseSensitive;
        bool found;
        int position;
    };
    const Case cases[] = {
        {"xxBMxBM", "BM", true, true, 3},
        {"BM", "BM", true, true, 1},
        {"xBM", "BM", true, true, 2}, // at the very end
        {"xB", "BM", true, false, 0}, // cut off by the end
        {"B", "BM", true, false, 0},  // pattern longer than the buffer
        {"", "", true, true, 1},      // empty pattern: found at once
        {"abc", "", false, true, 1},
        {"xxbm", "BM", true, false, 0},
        {"xxbm", "BM", false, true, 3},
        {"xxBm", "bM", false, true, 3},
        {"\xE4", "\xC4", false, true, 1}, // a umlaut
        {"\xC4", "\xE4", false, true, 1},
        {"\xE9", "\xC9", false, false, 0}, // e acute stays apart
        {"SS", "\xDF", false, false, 0},   // sharp s matches only itself
        {"x\xDF", "\xDF", false, true, 2},
        {"BBBM", "BBM", true, true, 2}, // a partial match must not skip ahead
        {std::string("a\0b", 3), std::string("\0b", 2), true, true, 2},
    };
    for (const Case& c : cases) {
        int position = -7;
        bool found = !c.found;
        SearchBuffer(c.buffer.data(), static_cast<std::uint16_t>(c.buffer.size()), c.pattern,
                     c.caseSensitive, position, found);
        EXPECT_EQ(found, c.found) << c.buffer << " / " << c.pattern;
        if (c.found) {
            EXPECT_EQ(position, c.position) << c.buffer << " / " << c.pattern;
        }
    }
}

TEST(SearchBuffer, LooksOnlyAtTheValidBytes) {
    const std::string buffer = "xxxxBM";
    int position = 0;
    bool found = true;
    SearchBuffer(buffer.data(), 5, "BM", true, position, found);
    EXPECT_FALSE(found);
    std::string big = Filler(65535);
    big[65533] = 'B';
    big[65534] = 'M';
    SearchBuffer(big.data(), 65535, "BM", true, position, found);
    EXPECT_TRUE(found);
    EXPECT_EQ(position, 65534);
}

class SearchInFileTest : public ::testing::Test {
protected:
    TempDrives drives;
    // Writes `bytes` as C:\data.bin and returns its Windows name.
    std::string Write(const std::string& bytes, const std::string& name = "data.bin") {
        drives.WriteFile(name, bytes);
        return "C:\\" + name;
    }
};

TEST_F(SearchInFileTest, ResultCodesAtTheEdgesOfTheFileAndTheStart) {
    const std::string file = Write("xBMxxxBMx"); // 9 bytes
    EXPECT_EQ(SearchInFile(file, 0, "BM", true, nullptr), -1);
    EXPECT_EQ(SearchInFile(file, -5, "BM", true, nullptr), -1);
    EXPECT_EQ(SearchInFile(file, 10, "BM", true, nullptr), -1);
    EXPECT_EQ(SearchInFile(file, 9, "BM", true, nullptr), 0); // last byte alone
    EXPECT_EQ(SearchInFile(file, 2, "BM", true, nullptr), 2); // match right at the start
    EXPECT_EQ(SearchInFile(file, 3, "BM", true, nullptr), 7); // one past a hit: the next one
    EXPECT_EQ(SearchInFile(file, 8, "BM", true, nullptr), 0);
    EXPECT_EQ(SearchInFile(file, 4, "", true, nullptr), 4); // empty pattern
    EXPECT_EQ(SearchInFile(file, 1, "bm", true, nullptr), 0);
    EXPECT_EQ(SearchInFile(file, 1, "bm", false, nullptr), 2);
    EXPECT_EQ(SearchInFile("C:\\missing.bin", 1, "BM", true, nullptr), -1);
}

TEST_F(SearchInFileTest, BadNamesAndUnreadableFilesGiveAResultNotACrash) {
    drives.MakeDir("sub");
    EXPECT_EQ(SearchInFile("", 1, "BM", true, nullptr), -1);
    EXPECT_EQ(SearchInFile("C:\\sub", 1, "BM", true, nullptr), -1); // a directory has size 0
    EXPECT_EQ(SearchInFile("C:\\" + std::string(300, 'n'), 1, "BM", true, nullptr), -1);
    EXPECT_EQ(SearchInFile("Q:\\data.bin", 1, "BM", true, nullptr), -1); // no drive Q:
    const std::string file = Write("xxBMxx");
    EXPECT_EQ(SearchInFile(file, 1, std::string(256, 'B'), true, nullptr), -1);
    EXPECT_EQ(SearchInFile(file, 1, std::string(255, 'B'), true, nullptr), 0);

    fs::permissions(drives.Host("data.bin"), fs::perms::owner_read, fs::perm_options::remove);
    EXPECT_EQ(SearchInFile(file, 1, "BM", true, nullptr), -3);
}

TEST_F(SearchInFileTest, FindsAMatchStraddlingTwoBlocks) {
    std::string data = Filler(2 * SearchBlockSize);
    data[SearchBlockSize - 1] = 'B'; // last byte of the first block
    data[SearchBlockSize] = 'M';     // first byte of the second
    const std::string file = Write(data);
    EXPECT_EQ(SearchInFile(file, 1, "BM", true, nullptr), SearchBlockSize);
    EXPECT_EQ(SearchInFile(file, SearchBlockSize + 1, "BM", true, nullptr), 0);

    // A four-byte pattern can start three bytes before the block ends.
    const std::string wide =
        Write(Place(Filler(2 * SearchBlockSize), SearchBlockSize - 3, "WXYZ"), "w.bin");
    EXPECT_EQ(SearchInFile(wide, 1, "wxyz", false, nullptr), SearchBlockSize - 2);
}

TEST_F(SearchInFileTest, WorksPastTwoGigabytes) {
    // A sparse file: only the pages written take room.
    const std::int64_t size = 3LL << 30;
    const std::int64_t at = (5LL << 29) + 12345; // 2.5 GB and a bit
    const fs::path host = drives.WriteFile("big.bin", "");
    fs::resize_file(host, size);
    {
        std::FILE* f = std::fopen(host.c_str(), "r+b");
        ASSERT_NE(f, nullptr);
        ASSERT_EQ(fseeko(f, at, SEEK_SET), 0);
        std::fputs("BM", f);
        std::fclose(f);
    }
    EXPECT_EQ(SearchInFile("C:\\big.bin", at - 100000, "BM", true, nullptr), at + 1);
    EXPECT_EQ(SearchInFile("C:\\big.bin", size - 70000, "BM", true, nullptr), 0);
    EXPECT_EQ(SearchInFile("C:\\big.bin", size + 1, "BM", true, nullptr), -1);
}

// Random files and patterns, both case modes, matches straddling block edges
// and at the end of the file: the search must agree with a plain scan.
TEST_F(SearchInFileTest, AgreesWithAPlainScan) {
    std::mt19937 rng(20240611);
    const std::string letters = "BMbm\xE4\xC4\xDF\xE9\xC9x"; // the filler 'x' last
    auto pick = [&](std::size_t n) {
        return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng);
    };
    auto randomText = [&](std::size_t len, std::size_t alphabet) {
        std::string s(len, ' ');
        for (char& c : s)
            c = letters[pick(alphabet)];
        return s;
    };
    const std::size_t sizes[] = {0,     1,     2,     3,     5,     200,   32767, 32768,
                                 32769, 32770, 65534, 65535, 65536, 65537, 98304, 100003};
    int compared = 0;
    int straddling = 0;
    for (const std::size_t size : sizes) {
        for (int variant = 0; variant < 3; ++variant) {
            // Dense text full of near matches, or filler with a few pieces
            // planted in it (and always some at the end).
            std::string data = variant == 0 ? randomText(size, letters.size()) : Filler(size);
            std::vector<std::size_t> planted;
            for (int k = 0; variant > 0 && size >= 4 && k < 8; ++k) {
                planted.push_back(pick(size - 3));
                data.replace(planted.back(), 4, randomText(4, letters.size() - 1));
            }
            if (size >= 4)
                data.replace(size - 4, 4, randomText(4, letters.size()));
            const std::string file = Write(data);

            for (int q = 0; q < 24; ++q) {
                std::size_t len = pick(5);
                const bool caseSensitive = pick(2) == 0;
                // Patterns taken from the data match somewhere; random ones rarely do.
                std::string pattern = randomText(len, letters.size() - 1);
                if (size >= len && pick(2))
                    pattern = data.substr(pick(size - len + 1), len);
                std::int64_t start = static_cast<std::int64_t>(pick(size + 3)) - 1;
                if (q % 6 == 1)
                    start = static_cast<std::int64_t>(size) -
                            static_cast<std::int64_t>(pick(std::min<std::size_t>(size + 1, 5)));
                if (q % 3 == 0 && !planted.empty()) {
                    // A planted piece cut by the end of the first block: `inFirst`
                    // of its bytes lie in that block, the rest in the next.
                    const std::size_t at = planted[pick(planted.size())];
                    len = 2 + pick(3);
                    const std::size_t inFirst = 1 + pick(len - 1);
                    start = static_cast<std::int64_t>(at + inFirst) - SearchBlockSize + 1;
                    pattern = data.substr(at, len);
                    if (!caseSensitive && pick(2))
                        pattern = UpperCaseGerman(pattern);
                    straddling += start >= 1;
                }
                EXPECT_EQ(SearchInFile(file, start, pattern, caseSensitive, nullptr),
                          ReferenceSearchInFile(data, start, pattern, caseSensitive))
                    << "size " << size << " start " << start << " pattern length " << len
                    << (caseSensitive ? " case-sensitive" : " ignoring case");
                ++compared;

                const std::size_t bufferLength = std::min<std::size_t>(size, 65535);
                const std::string buffer = data.substr(0, bufferLength);
                int position = 0;
                bool found = false;
                SearchBuffer(buffer.data(), static_cast<std::uint16_t>(bufferLength), pattern,
                             caseSensitive, position, found);
                const std::int64_t expected = ReferenceFind(buffer, 0, pattern, caseSensitive);
                EXPECT_EQ(found, expected >= 0);
                if (found) {
                    EXPECT_EQ(position, expected + 1);
                }
            }
        }
    }
    EXPECT_EQ(compared, 16 * 3 * 24);
    EXPECT_GT(straddling, 30); // the block edges were really put to the test
}
