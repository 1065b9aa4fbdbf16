// Host names the Windows side must not be fooled by: forged UTF-8, names
// that differ only in case, special files, and names that end in a separator.
#include <gtest/gtest.h>

#include <fstream>
#include <sys/stat.h>

#include "TempDrives.h"
#include "platform/Codepage.h"
#include "platform/FileObject.h"
#include "platform/FileOps.h"
#include "platform/Find.h"
#include "platform/Paths.h"

using namespace platform;
namespace fs = std::filesystem;

namespace {

int OpenCode(const std::string& name, FileAccess access = FileAccess::ReadOnly) {
    FileObject f(name);
    try {
        f.Reset(access, 1);
    } catch (const EInOutError& e) {
        return e.ErrorCode();
    }
    return 0;
}

std::vector<std::string> List(const std::string& pattern) {
    std::vector<std::string> names;
    TSearchRec rec;
    for (int r = FindFirst(pattern, faAnyFile, rec); r == 0; r = FindNext(rec))
        names.push_back(rec.Name);
    return names;
}

TEST(HostNames, OverlongUtf8NeverBecomesASeparatorOrADot) {
    struct Case {
        const char* utf8;
        const char* ansi;
    } cases[] = {
        {"a\xc0\xaf"
         "b",
         "a?b"},                    // an overlong "/"
        {"\xc0\xae\xc0\xae", "??"}, // an overlong ".."
        {"x\xc0\x80y", "x?y"},      // an overlong NUL
        {"\xed\xa0\x80", "?"},      // a surrogate
        {"\xf4\x90\x80\x80", "?"},  // past U+10FFFF
        {"\xc3\xa9", "\xe9"},       // é stays é
    };
    for (const auto& c : cases) {
        bool lossless = true;
        EXPECT_EQ(Utf8ToAnsi(c.utf8, &lossless), c.ansi) << c.utf8;
        EXPECT_EQ(lossless, std::string(c.ansi) == "\xe9") << c.utf8;
    }

    testsupport::TempDrives drives;
    drives.WriteFile("g/a/b.bmp", "inside");
    drives.WriteFile("g/a\xc0\xaf"
                     "b.bmp",
                     "forged");
    EXPECT_EQ(List("C:\\g\\*.*"), (std::vector<std::string>{".", "..", "a", "a?b.bmp"}));
    EXPECT_EQ(DeleteFile("C:\\g\\a?b.bmp"), ERROR_INVALID_NAME);
    EXPECT_TRUE(fs::exists(drives.Host("g/a/b.bmp")));
}

TEST(HostNames, NamesDifferingOnlyInCaseMeanTheFileListedFirst) {
    testsupport::TempDrives drives;
    drives.WriteFile("ABC.bin", "1");
    drives.WriteFile("abc.bin", "xxBM");
    std::string host;
    ASSERT_EQ(ToHostPath("C:\\Abc.bin", host), 0);
    EXPECT_EQ(host, drives.Host("ABC.bin").string());
    TSearchRec rec;
    ASSERT_EQ(FindFirst("C:\\Abc.bin", faAnyFile, rec), 0);
    EXPECT_EQ(rec.Name, "ABC.bin");
    FileObject f("C:\\Abc.bin");
    f.Reset(FileAccess::ReadOnly, 1);
    EXPECT_EQ(f.Size(), rec.Size()); // the size listed is the size of the file opened
}

// Short ASCII names are found by trying their spellings, longer or accented
// ones by reading the directory: both ways must pick the same file.
TEST(HostNames, EveryWayOfLookingUpANameIgnoringCasePicksTheSameFile) {
    testsupport::TempDrives drives;
    const struct {
        std::vector<const char*> onDisk;
        const char* asked;
        const char* found; // empty: no such file, the name keeps its spelling
    } cases[] = {
        {{"b.BMP", "B.bmp", "b.bmp"}, "B.BMP", "B.bmp"},
        {{"x1.Bmp"}, "X1.BMP", "x1.Bmp"},
        {{"Toolbar.bmp", "TOOLBAR.BMP"}, "toolbar.bmp", "TOOLBAR.BMP"},
        {{"\xc3\xa9t\xc3\xa9.bmp"}, "\xc9T\xc9.BMP", "\xc3\xa9t\xc3\xa9.bmp"},
        {{"12.bmp"}, "13.BMP", ""},
        {{}, "new.bmp", ""},
    };
    int round = 0;
    for (const auto& c : cases) {
        const std::string dir = "d" + std::to_string(++round);
        drives.MakeDir(dir);
        for (const char* name : c.onDisk)
            drives.WriteFile(dir + "/" + name, name);
        std::string host;
        ASSERT_EQ(ToHostPath("C:\\" + dir + "\\" + c.asked, host), 0) << c.asked;
        const std::string expected = *c.found ? c.found : AnsiToUtf8(c.asked);
        EXPECT_EQ(host, drives.Host(dir + "/" + expected).string()) << c.asked;
        if (*c.found) {
            TSearchRec rec;
            ASSERT_EQ(FindFirst("C:\\" + dir + "\\" + c.asked, faAnyFile, rec), 0) << c.asked;
            EXPECT_EQ(AnsiToUtf8(rec.Name), c.found) << c.asked; // the listing agrees
        }
    }
}

TEST(HostNames, ANamedPipeIsRefusedInsteadOfBlocking) {
    testsupport::TempDrives drives;
    ASSERT_EQ(mkfifo(drives.Host("pipe.exe").c_str(), 0644), 0);
    EXPECT_EQ(OpenCode("C:\\pipe.exe"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(OpenCode("C:\\pipe.exe", FileAccess::ReadWrite), ERROR_ACCESS_DENIED);
}

TEST(HostNames, AFileNameEndingInASeparatorNamesNoFile) {
    testsupport::TempDrives drives;
    drives.WriteFile("x.bmp", "x");
    EXPECT_EQ(OpenCode("C:\\x.bmp\\"), ERROR_INVALID_NAME);
    EXPECT_EQ(DeleteFile("C:\\x.bmp\\"), ERROR_INVALID_NAME);
    EXPECT_EQ(DeleteFile("C:\\x.bmp/"), ERROR_INVALID_NAME);
    EXPECT_EQ(RenameFile("C:\\x.bmp\\", "C:\\y.bmp"), ERROR_INVALID_NAME);
    EXPECT_EQ(RenameFile("C:\\x.bmp", "C:\\y.bmp\\"), ERROR_INVALID_NAME);
    EXPECT_EQ(OpenCode("C:\\x:y"), ERROR_INVALID_NAME); // no alternate streams here
    EXPECT_TRUE(fs::exists(drives.Host("x.bmp")));
}

TEST(HostNames, ACaseOnlyRenameNeverReplacesAnotherFile) {
    testsupport::TempDrives drives;
    drives.WriteFile("c.bmp", "glyph");
    drives.WriteFile("c.bmp.~case0", "PRECIOUS");
    ASSERT_EQ(RenameFile("C:\\c.bmp", "C:\\C.bmp"), 0);
    EXPECT_TRUE(fs::exists(drives.Host("C.bmp")));
    std::ifstream kept(drives.Host("c.bmp.~case0"));
    std::string text;
    kept >> text;
    EXPECT_EQ(text, "PRECIOUS");
}

} // namespace
