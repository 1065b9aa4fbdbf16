#include <gtest/gtest.h>

#include "TempDrives.h"
#include "platform/CurrentDirs.h"
#include "platform/Paths.h"
#include "platform/WinError.h"

using namespace platform;

namespace {

struct ExpandCase {
    const char* input;
    const char* expected;
};

TEST(ExpandPath, FollowsWindowsRules) {
    testsupport::TempDrives drives;
    drives.AddDrive('D');
    drives.MakeDir("work/sub");
    drives.MakeDir("other");
    ASSERT_EQ(SetCurrentDir("C:\\work"), 0);

    const ExpandCase cases[] = {
        {"C:\\a\\b", "C:\\a\\b"},
        {"c:\\a\\b\\", "c:\\a\\b\\"}, // the letter as typed
        {"x.bmp", "C:\\work\\x.bmp"},
        {"C:x.bmp", "C:\\work\\x.bmp"},
        {"c:x.bmp", "C:\\work\\x.bmp"}, // the directory kept for the drive, as kept
        {"D:x.bmp", "D:\\x.bmp"}, // each drive keeps its own current directory
        {"d:x.bmp", "d:\\x.bmp"},
        {"\\x.bmp", "C:\\x.bmp"},
        {".", "C:\\work"},
        {"..", "C:\\"},
        {"..\\..\\..", "C:\\"},
        {"sub\\..\\y", "C:\\work\\y"},
        {"C:/a//b", "C:\\a\\b"},
        {"name. . ", "C:\\work\\name"},
        {"dir.\\f", "C:\\work\\dir\\f"},
        {"C:\\", "C:\\"},
        {"C:", "C:\\work"},
    };
    for (const auto& c : cases) {
        std::string full;
        EXPECT_EQ(ExpandPath(c.input, full), 0) << c.input;
        EXPECT_EQ(full, c.expected) << c.input;
    }
}

// "." and ".." go first and the names are trimmed after that: a name left
// last by ".." loses its trailing blanks, as it would when given last.
TEST(ExpandPath, TrimsNamesAfterDotSegments) {
    const ExpandCase cases[] = {
        {"C:\\a \\.", "C:\\a"},        {"C:\\a..\\b", "C:\\a.\\b"},
        {"C:\\a...\\b", "C:\\a..\\b"}, {"C:\\a..", "C:\\a"},
        {"C:\\a .\\x\\..", "C:\\a"},   {"C:\\a.\\", "C:\\a\\"},
        {"C:\\a \\", "C:\\a \\"}, // a trailing separator keeps the blank
        {"C:\\a \\b", "C:\\a \\b"},    {"C:\\...\\b", "C:\\...\\b"},
        {"C:\\a\\b. .\\..", "C:\\a"},  {"C:\\a\\b. .\\.\\", "C:\\a\\b. \\"},
    };
    for (const auto& c : cases) {
        std::string full;
        EXPECT_EQ(ExpandPath(c.input, full), 0) << c.input;
        EXPECT_EQ(full, c.expected) << c.input;
    }
}

TEST(ExpandPath, RefusesWhatWindowsRefuses) {
    testsupport::TempDrives drives;
    std::string full;
    EXPECT_EQ(ExpandPath("C:\\" + std::string(256, 'a'), full), 0);
    EXPECT_EQ(ExpandPath("C:\\" + std::string(257, 'a'), full), ERROR_FILENAME_EXCED_RANGE);
    EXPECT_TRUE(full.empty());
    EXPECT_EQ(ExpandPath("", full), ERROR_INVALID_NAME);
    EXPECT_EQ(ExpandFileName("\\\\server\\share"), "");
}

TEST(CurrentDir, IsKeptPerDrive) {
    testsupport::TempDrives drives;
    drives.AddDrive('D');
    drives.MakeDir("a");
    std::filesystem::create_directories(drives.AddDrive('D') / "b");
    ASSERT_EQ(SetCurrentDir("C:\\a"), 0);
    ASSERT_EQ(SetCurrentDir("d:\\b"), 0);
    EXPECT_EQ(CurrentDrive(), 'D');
    EXPECT_EQ(GetCurrentDir(), "d:\\b");
    EXPECT_EQ(ExpandFileName("\\x"), "d:\\x");
    EXPECT_EQ(GetDriveCurrentDir('c'), "C:\\a");
    EXPECT_EQ(ExpandFileName("C:f"), "C:\\a\\f");
    EXPECT_EQ(SetCurrentDir("C:\\missing"), ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(GetCurrentDir(), "d:\\b");
}

} // namespace
