// The file search with its progress on the window's kind of controls: what a
// progress bar and a gauge show before each block, and that anything else
// shows nothing.
#include <QLabel>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "TempDrives.h"
#include "controls/SearchProgress.h"
#include "platform/ui/Gauge.h"
#include "platform/ui/ProgressBar.h"

using testsupport::TempDrives;

namespace {

std::string Filler(std::size_t size) {
    return std::string(size, 'x');
}

std::string Place(std::string data, std::size_t at, const std::string& what) {
    data.replace(at, what.size(), what);
    return data;
}

class SearchInFileTest : public ::testing::Test {
protected:
    TempDrives drives;
    // Writes `bytes` as C:\data.bin and returns its Windows name.
    std::string Write(const std::string& bytes) {
        drives.WriteFile("data.bin", bytes);
        return "C:\\data.bin";
    }
};

} // namespace

// Before each block the bar shows the part of the file that lies before it:
// round(fraction * maximum, halves to even) + minimum, summed in 16 bits.
TEST_F(SearchInFileTest, TheBarShowsThePartOfTheFileBeforeEachBlock) {
    struct Case {
        std::size_t size;
        std::int64_t start;
        std::string pattern;
        std::int16_t min, max;
        std::vector<int> shown;
    };
    const Case cases[] = {
        // One full block: the second read starts one byte back, at 32767.
        {32768, 1, "BM", 0, 100, {0, 100}},
        // Blocks at 0, 32767, 65534 and 98301 of 100000 bytes.
        {100000, 1, "BM", 0, 100, {0, 33, 66, 98}},
        // From further in: blocks at 60000 and 92767.
        {100000, 60001, "BM", 0, 100, {60, 93}},
        // One-byte blocks need no overlap and start at eighths of the file.
        {262144, 1, "B", 0, 100, {0, 12, 25, 38, 50, 62, 75, 88}},
        // 10737 + 30000 wraps below the minimum, where the bar then stays.
        {100000, 1, "BM", 30000, 32767, {30000}},
    };
    for (const Case& c : cases) {
        const std::string file = Write(Filler(c.size));
        TProgressBar bar;
        bar.SetRange(c.min, c.max);
        bar.SetPosition(static_cast<std::int16_t>(c.min + 1));
        std::vector<int> shown;
        QObject::connect(&bar, &TProgressBar::positionChanged, [&](int v) { shown.push_back(v); });
        EXPECT_EQ(SearchInFile(file, c.start, c.pattern, true, &bar), 0);
        EXPECT_EQ(shown, c.shown) << c.size << " from " << c.start;
    }
}

TEST_F(SearchInFileTest, TheGaugeScalesItsMaximumAndAddsItsMinimum) {
    const std::string file = Write(Filler(100000));
    TGauge gauge;
    gauge.SetMinValue(10);
    gauge.SetMaxValue(110);
    gauge.SetProgress(-1);
    std::vector<int> shown;
    QObject::connect(&gauge, &TGauge::progressChanged, [&](int v) { shown.push_back(v); });
    EXPECT_EQ(SearchInFile(file, 1, "BM", true, &gauge), 0);
    // round(f * 110) + 10 for f = 0, .32767, .65534, .98301.
    EXPECT_EQ(shown, (std::vector<int>{10, 46, 82, 118}));
}

TEST_F(SearchInFileTest, AnyOtherProgressObjectChangesNothing) {
    std::string data = Place(Filler(3 * SearchBlockSize), 2 * SearchBlockSize + 5, "BM");
    const std::string file = Write(data);
    QLabel label;
    TProgressBar bar;
    const std::int64_t expected = 2 * SearchBlockSize + 6;
    EXPECT_EQ(SearchInFile(file, 1, "BM", true, nullptr), expected);
    EXPECT_EQ(SearchInFile(file, 1, "BM", true, &label), expected);
    EXPECT_EQ(SearchInFile(file, 1, "BM", true, &bar), expected);
    EXPECT_EQ(bar.Position(), 67); // the third block starts at 65534 of 98304
}
