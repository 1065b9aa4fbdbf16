// The fast paths of the search: the matcher that tests a byte pair over
// whole vectors, and the search object that keeps its file open and reuses
// the bytes it read. Each must give exactly what the plain search gives.
#include <filesystem>
#include <gtest/gtest.h>
#include <random>
#include <vector>

#include "TempDrives.h"
#include "extract/FileSearch.h"
#include "extract/Search.h"

namespace fs = std::filesystem;
using testsupport::TempDrives;

namespace {

int PlainFind(const std::string& data, std::size_t length, const std::string& pattern) {
    for (std::size_t i = 0; i + pattern.size() <= length; ++i)
        if (data.compare(i, pattern.size(), pattern) == 0)
            return static_cast<int>(i) + 1;
    return 0;
}

int Found(const std::string& data, std::size_t length, const std::string& pattern) {
    int position = 0;
    bool found = false;
    SearchBuffer(data.data(), static_cast<std::uint16_t>(length), pattern, true, position, found);
    return found ? position : 0;
}

} // namespace

// Every length and every place of the pair around the 16-, 32- and 64-byte
// steps of the vector loops, in data dense with lone 'B's and 'M's, and a
// pair whose second byte lies just past the valid length.
TEST(PairMatcher, FindsThePairAtEveryPlaceAndNothingPastTheEnd) {
    std::mt19937 rng(7);
    int checked = 0;
    for (std::size_t length = 1; length <= 200; ++length) {
        std::string data(length + 1, 'x');
        for (char& c : data)
            c = "BMxM"[rng() % 4];
        for (std::size_t i = 1; i < data.size(); ++i)
            if (data[i - 1] == 'B' && data[i] == 'M')
                data[i] = 'x';
        data[length - 1] = 'B'; // the second byte would be the one past the end
        data[length] = 'M';
        ASSERT_EQ(Found(data, length, "BM"), 0) << "length " << length;
        for (std::size_t at = 0; at + 1 < length; ++at) {
            std::string placed = data;
            placed[at] = 'B';
            placed[at + 1] = 'M';
            ASSERT_EQ(Found(placed, length, "BM"), PlainFind(placed, length, "BM"))
                << "length " << length << " at " << at;
            ASSERT_EQ(Found(placed, length, "BMx"), PlainFind(placed, length, "BMx"))
                << "length " << length << " at " << at;
            ++checked;
        }
    }
    EXPECT_EQ(checked, 199 * 200 / 2);
}

class FileSearchTest : public ::testing::Test {
protected:
    TempDrives drives;
};

// What SearchInFile answers, and the progress it tells: (done, size) before
// each block.
struct Answer {
    std::int64_t result;
    std::vector<std::pair<std::int64_t, std::int64_t>> shown;
    bool operator==(const Answer&) const = default;
};

template <class SearchFn> Answer Ask(SearchFn&& search, bool withProgress) {
    Answer a;
    const SearchProgress told = [&a](std::int64_t done, std::int64_t size) {
        a.shown.emplace_back(done, size);
    };
    a.result = search(withProgress ? told : SearchProgress());
    return a;
}

// One search object answering a run of searches (forward as the extractor
// goes, and anywhere else) over random files: each answer and the progress told
// must be SearchInFile's.
TEST_F(FileSearchTest, AnswersAsAFreshSearchEachTime) {
    std::mt19937 rng(4711);
    auto pick = [&](std::int64_t lo, std::int64_t hi) {
        return std::uniform_int_distribution<std::int64_t>(lo, hi)(rng);
    };
    const std::int64_t sizes[] = {0,         1,
                                  2,         54,
                                  32767,     32768,
                                  32769,     65535,
                                  65536,     8 * 32768 - 1,
                                  8 * 32768, 8 * 32768 + 1,
                                  600000,    3000000};
    int compared = 0;
    for (const std::int64_t size : sizes) {
        std::string data(static_cast<std::size_t>(size), 'x');
        for (char& c : data)
            c = "BMbmx\xE4\xC4"[pick(0, 6)];
        // Sparse pairs (one in some 40000 bytes) and pairs cut by block edges, so
        // that searches run long and reach past the reused bytes.
        for (std::size_t i = 1; i < data.size(); ++i)
            if ((data[i - 1] | 0x20) == 'b' && (data[i] | 0x20) == 'm' && pick(0, 3000) != 0)
                data[i] = 'x';
        for (std::int64_t edge = 32767; edge < size; edge += 32767)
            data[static_cast<std::size_t>(edge) - 1] = 'B',
                                                  data[static_cast<std::size_t>(edge)] = 'M';
        drives.WriteFile("f.bin", data);
        TFileSearch search("C:\\f.bin");
        std::int64_t start = 1;
        for (int q = 0; q < 150; ++q) {
            const bool caseSensitive = pick(0, 3) != 0;
            const std::string pattern = pick(0, 5) == 0 ? "B" : caseSensitive ? "BM" : "bm";
            const bool withProgress = pick(0, 1) == 1;
            const Answer fresh = Ask(
                [&](const SearchProgress& p) {
                    return SearchInFile("C:\\f.bin", start, pattern, caseSensitive, p);
                },
                withProgress);
            const Answer reused = Ask(
                [&](const SearchProgress& p) {
                    return search.Search(start, pattern, caseSensitive, p);
                },
                withProgress);
            ASSERT_EQ(reused, fresh) << "size " << size << " start " << start << " " << pattern;
            ++compared;
            // Mostly on behind the hit, now and then a jump anywhere.
            start = fresh.result > 0 && pick(0, 4) != 0 ? fresh.result + 1 : pick(-1, size + 2);
        }
    }
    EXPECT_EQ(compared, 14 * 150);
}

TEST_F(FileSearchTest, AFileThatCannotBeOpenedAnswersAsSearchInFile) {
    TFileSearch missing("C:\\missing.bin");
    EXPECT_EQ(missing.Search(1, "BM", true, nullptr), -1);
    drives.WriteFile("locked.bin", "xxBMxx");
    fs::permissions(drives.Host("locked.bin"), fs::perms::owner_read, fs::perm_options::remove);
    TFileSearch locked("C:\\locked.bin");
    EXPECT_EQ(locked.Search(1, "BM", true, nullptr), -3);
    EXPECT_EQ(locked.Search(7, "BM", true, nullptr), -1);
    fs::permissions(drives.Host("locked.bin"), fs::perms::owner_read, fs::perm_options::add);
    TFileSearch readable("C:\\locked.bin");
    EXPECT_EQ(readable.Search(1, "BM", true, nullptr), 3);
    EXPECT_EQ(readable.Search(1, std::string(256, 'B'), true, nullptr), -1);
}
