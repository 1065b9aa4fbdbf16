#include <gtest/gtest.h>

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
    // A drive root has no dot entries.
    EXPECT_EQ(List("C:\\*.*", faAnyFile), (Names{"g", "prog"}));
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

TEST(MatchesMask, IgnoresCaseAndKnowsStarDotStar) {
    struct Case {
        const char* name;
        const char* mask;
        bool match;
    } cases[] = {
        {"a.bmp", "*.bmp", true}, {"A.BMP", "*.bmp", true},     {"a.bmpx", "*.bmp", false},
        {"noext", "*.*", true},   {"noext", "no*.*", true},     {"a.b.c", "*.c", true},
        {"ab", "a?", true},       {"a", "a?", false},           {"\xe4.bmp", "\xc4.BMP", true},
        {"x.bmp", "*", true},     {"abc.bmp", "a*c.bmp", true}, {"abc.bmp", "a*d.bmp", false},
        // A mask ending in a period wants names without an extension.
        {"README", "*.", true},   {"a.txt", "*.", false},       {"readme", "r*.", true},
        {"x", "r*.", false},      {".", "*.", true},            {"..", "*.", true},
        {".", "a*.", false},      {"abc", "abc.", true},        {"abc.d", "abc.", false},
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
