#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <vector>

#include "TempDrives.h"
#include "platform/Find.h"
#include "platform/WinError.h"

using namespace platform;

namespace {

std::vector<std::string> List(const std::string& pattern, int attr) {
    std::vector<std::string> names;
    TSearchRec rec;
    int r = FindFirst(pattern, attr, rec);
    for (; r == 0; r = FindNext(rec))
        names.push_back(rec.Name);
    EXPECT_EQ(r, names.empty() ? ERROR_FILE_NOT_FOUND : ERROR_NO_MORE_FILES) << pattern;
    FindClose(rec);
    return names;
}

using Names = std::vector<std::string>;

TEST(Find, ListsDotsFirstThenNamesInUpperCaseOrder) {
    testsupport::TempDrives drives;
    for (const char* n : {"b.bmp", "A.bmp", "_x.bmp", "a1.bmp", "Zeta.txt"})
        drives.WriteFile(std::string("g/") + n, "x");
    drives.MakeDir("g/sub");
    // '_' sorts after the letters once they are upper-cased.
    EXPECT_EQ(List("C:\\g\\*.*", faAnyFile),
              (Names{".", "..", "A.bmp", "a1.bmp", "b.bmp", "sub", "Zeta.txt", "_x.bmp"}));
    EXPECT_EQ(List("C:\\g\\*.BMP", faAnyFile), (Names{"A.bmp", "a1.bmp", "b.bmp", "_x.bmp"}));
    EXPECT_EQ(List("C:\\g\\?.bmp", faAnyFile), (Names{"A.bmp", "b.bmp"}));
    // Beyond ASCII the upper-cased code point decides, not the byte: A-umlaut
    // (C4), Y-diaeresis (178), then the euro sign (20AC).
    for (const char* n : {"\u20ac.bmp", "\u00ff.bmp", "\u00e4.bmp", "\u00c4b.bmp"})
        drives.WriteFile(std::string("u/") + n, "x");
    EXPECT_EQ(List("C:\\u\\*.bmp", faAnyFile), (Names{"\xe4.bmp",
                                                      "\xc4"
                                                      "b.bmp",
                                                      "\xff.bmp", "\x80.bmp"}));
    // A drive root has no dot entries.
    EXPECT_EQ(List("C:\\*.*", faAnyFile), (Names{"g", "prog", "u"}));
}

TEST(Find, AttributeMasksSkipWhatWasNotAskedFor) {
    testsupport::TempDrives drives;
    drives.WriteFile("d/plain.bmp", "12345");
    drives.WriteFile("d/.hidden.bmp", "x");
    testsupport::SetReadOnly(drives.WriteFile("d/ro.bmp", "x"));
    drives.MakeDir("d/sub.bmp");

    EXPECT_EQ(List("C:\\d\\*.bmp", 47), (Names{".hidden.bmp", "plain.bmp", "ro.bmp"}));
    EXPECT_EQ(List("C:\\d\\*.bmp", faDirectory), (Names{"plain.bmp", "ro.bmp", "sub.bmp"}));
    EXPECT_EQ(List("C:\\d\\*.bmp", faAnyFile),
              (Names{".hidden.bmp", "plain.bmp", "ro.bmp", "sub.bmp"}));
    EXPECT_EQ(List("C:\\d\\*.*", 0), (Names{"plain.bmp", "ro.bmp"}));

    TSearchRec rec;
    ASSERT_EQ(FindFirst("C:\\d\\plain.bmp", faAnyFile, rec), 0);
    EXPECT_EQ(rec.Attr(), faArchive);
    EXPECT_EQ(rec.Size(), 5);
    ASSERT_EQ(FindFirst("C:\\d\\RO.BMP", faAnyFile, rec), 0);
    EXPECT_EQ(rec.Attr(), faArchive | faReadOnly);
    ASSERT_EQ(FindFirst("C:\\d\\.hidden.bmp", faAnyFile, rec), 0);
    EXPECT_EQ(rec.Attr(), faArchive | faHidden);
    ASSERT_EQ(FindFirst("C:\\d\\sub.bmp", faAnyFile, rec), 0);
    EXPECT_EQ(rec.Attr(), faDirectory);
    EXPECT_EQ(rec.Size(), 0);
    FindClose(rec);
}

TEST(Find, AnswersWithWindowsCodes) {
    testsupport::TempDrives drives;
    drives.AddDrive('E');
    drives.MakeDir("empty");
    drives.WriteFile("file.txt", "x");
    TSearchRec rec;
    EXPECT_EQ(FindFirst("C:\\empty\\*.bmp", faAnyFile, rec), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(FindFirst("C:\\missing\\*.bmp", faAnyFile, rec), ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(FindFirst("C:\\file.txt\\*.*", faAnyFile, rec), ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(FindFirst("Q:\\*.*", faAnyFile, rec), ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(FindFirst("E:\\*.*", faAnyFile, rec), ERROR_FILE_NOT_FOUND); // drive without a medium
    EXPECT_EQ(FindFirst("C:\\" + std::string(300, 'x'), faAnyFile, rec),
              ERROR_FILENAME_EXCED_RANGE);
    EXPECT_EQ(FindNext(rec), ERROR_NO_MORE_FILES);
}

TEST(Find, AnExactNameFindsOneEntryWithItsOwnSpelling) {
    testsupport::TempDrives drives;
    drives.WriteFile("d/Glyph.bmp", "1");
    drives.WriteFile("d/GLYPH.BMP", "22"); // the host tells case apart, Windows would not
    TSearchRec rec;
    ASSERT_EQ(FindFirst("C:\\d\\Glyph.bmp", faAnyFile, rec), 0);
    EXPECT_EQ(rec.Name, "Glyph.bmp");
    EXPECT_EQ(rec.Size(), 1);
    EXPECT_EQ(FindNext(rec), ERROR_NO_MORE_FILES);
    ASSERT_EQ(FindFirst("C:\\d\\glyph.BMP", faAnyFile, rec), 0); // found ignoring case
    EXPECT_TRUE(rec.Name == "Glyph.bmp" || rec.Name == "GLYPH.BMP") << rec.Name;
    EXPECT_EQ(FindFirst("C:\\d\\other.bmp", faAnyFile, rec), ERROR_FILE_NOT_FOUND);
    FindClose(rec);
}

TEST(Find, AnEntrysDetailsAreReadWhenAskedForAndStayAfterTheClose) {
    testsupport::TempDrives drives;
    const auto plain = drives.WriteFile("d/plain.bmp", "12345");
    const auto written = std::filesystem::file_time_type::clock::from_sys(
        std::chrono::sys_seconds(std::chrono::seconds(1'000'000'000)));
    std::filesystem::last_write_time(plain, written);
    testsupport::SetReadOnly(drives.WriteFile("d/ro.bmp", "xy"));
    drives.WriteFile("d/.h.bmp", "x");
    drives.WriteFile("d/gone.bmp", "xyz");
    drives.MakeDir("d/sub.bmp");

    struct Details {
        int attr;
        std::int64_t size;
        std::time_t time;
        bool operator==(const Details&) const = default;
    };
    std::map<std::string, Details> seen;
    TSearchRec rec;
    for (int r = FindFirst("C:\\d\\*.bmp", faAnyFile, rec); r == 0; r = FindNext(rec)) {
        if (rec.Name == "gone.bmp") // removed after it was listed
            std::filesystem::remove(drives.Host("d/gone.bmp"));
        seen[rec.Name] = {rec.Attr(), rec.Size(), rec.Name == "plain.bmp" ? rec.Time() : 0};
    }
    FindClose(rec);
    EXPECT_EQ(seen["plain.bmp"], (Details{faArchive, 5, 1'000'000'000}));
    EXPECT_EQ(seen["ro.bmp"], (Details{faArchive | faReadOnly, 2, 0}));
    EXPECT_EQ(seen[".h.bmp"], (Details{faArchive | faHidden, 1, 0}));
    EXPECT_EQ(seen["sub.bmp"], (Details{faDirectory, 0, 0}));
    EXPECT_EQ(seen["gone.bmp"], (Details{faArchive, 0, 0})); // a plain empty file
    EXPECT_EQ(rec.Name, "sub.bmp");
    EXPECT_EQ(rec.Attr(), faDirectory); // the last entry, after the close
}

TEST(Find, AListingReadBeforeNeverStandsForWhatChangedSince) {
    testsupport::TempDrives drives;
    const auto a = drives.WriteFile("g/a.bmp", "1");
    const auto b = drives.WriteFile("g/b.bmp", "22");
    testsupport::LetDirectoriesSettle();
    EXPECT_EQ(List("C:\\g\\*.*", faAnyFile), (Names{".", "..", "a.bmp", "b.bmp"}));

    // Attributes and sizes change without a change to the directory.
    testsupport::SetReadOnly(a);
    drives.WriteFile("g/b.bmp", "4444");
    std::map<std::string, std::pair<int, std::int64_t>> details;
    TSearchRec rec;
    for (int r = FindFirst("C:\\g\\*.bmp", 0, rec); r == 0; r = FindNext(rec))
        details[rec.Name] = {rec.Attr(), rec.Size()};
    EXPECT_EQ(details["a.bmp"], std::pair(faArchive | faReadOnly, std::int64_t{1}));
    EXPECT_EQ(details["b.bmp"], std::pair(int{faArchive}, std::int64_t{4}));

    std::filesystem::remove(b);
    std::filesystem::create_directory(b); // replaced by a directory
    EXPECT_EQ(List("C:\\g\\*.bmp", 0), (Names{"a.bmp"}));
    EXPECT_EQ(List("C:\\g\\*.bmp", faDirectory), (Names{"a.bmp", "b.bmp"}));
    std::filesystem::rename(a, drives.Host("g/_a.bmp"));
    EXPECT_EQ(List("C:\\g\\*.bmp", faAnyFile), (Names{"b.bmp", "_a.bmp"}));
    {
        // The same path on another drive table names another directory.
        testsupport::TempDrives other;
        other.WriteFile("g/c.bmp", "x");
        EXPECT_EQ(List("C:\\g\\*.*", faAnyFile), (Names{".", "..", "c.bmp"}));
    }
    EXPECT_EQ(List("C:\\g\\*.*", faAnyFile), (Names{".", "..", "b.bmp", "_a.bmp"}));
}

TEST(MatchesMask, IgnoresCaseAndKnowsStarDotStar) {
    struct Case {
        const char* name;
        const char* mask;
        bool match;
    } cases[] = {
        {"a.bmp", "*.bmp", true},
        {"A.BMP", "*.bmp", true},
        {"a.bmpx", "*.bmp", false},
        {"noext", "*.*", true},
        {"noext", "no*.*", true},
        {"a.b.c", "*.c", true},
        {"ab", "a?", true},
        {"a", "a?", false},
        {"\xe4.bmp", "\xc4.BMP", true},
        {"x.bmp", "*", true},
        {"abc.bmp", "a*c.bmp", true},
        {"abc.bmp", "a*d.bmp", false},
        // A mask ending in a period wants names without an extension.
        {"README", "*.", true},
        {"a.txt", "*.", false},
        {"readme", "r*.", true},
        {"x", "r*.", false},
        {".", "*.", true},
        {"..", "*.", true},
        {".", "a*.", false},
        {"abc", "abc.", true},
        {"abc.d", "abc.", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MatchesMask(c.name, c.mask), c.match) << c.name << " ~ " << c.mask;
}

TEST(Find, AMaskEndingInAPeriodListsNamesWithoutAnExtension) {
    testsupport::TempDrives drives;
    for (const char* n : {"README", "Makefile", "a.txt", "b.bmp"})
        drives.WriteFile(std::string("g/") + n, "x");
    drives.MakeDir("g/sub");
    const struct {
        const char* pattern;
        int attr;
        Names names;
    } cases[] = {
        {"C:\\g\\*.", faAnyFile, {".", "..", "Makefile", "README", "sub"}},
        {"C:\\g\\*.", 0, {"Makefile", "README"}},
        {"C:\\g\\M*.", 0, {"Makefile"}},
        {"C:/g/R?????.", 0, {"README"}},
        {"C:\\g\\README.", 0, {"README"}}, // a plain name loses its period
        {"C:\\g\\a.txt.", 0, {"a.txt"}},
        {"C:\\*.", faAnyFile, {"g", "prog"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(List(c.pattern, c.attr), c.names) << c.pattern;
}

} // namespace
