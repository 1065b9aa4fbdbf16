// Host names the Windows side must not be fooled by: names without a
// Windows-1252 form, forged UTF-8, names that differ only in case, special
// files, and names that end in a separator.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
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

std::string ReadAll(const std::string& winPath) {
    FileObject f(winPath);
    f.Reset(FileAccess::ReadOnly, 1);
    std::string bytes(static_cast<std::size_t>(f.Size()), '\0');
    f.Read(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    return bytes;
}

// Every host name, whatever it holds, is listed under one Windows spelling
// that shows "?" for each character it cannot show, and that opens exactly
// that file: each file here holds its own host name.
TEST(HostNames, EveryNameIsListedUnderASpellingThatOpensExactlyIt) {
    const struct {
        const char* host;
        const char* shown;
    } cases[] = {
        {"\xe6\x97\xa5\xe6\x9c\xac.bmp", "??.bmp"},                    // Japanese
        {"\xd0\x9f\xd1\x80\xd0\xb8.bmp", "???.bmp"},                   // Cyrillic
        {"\xce\xa9\xce\xbc\xce\xad\xce\xb3\xce\xb1.bmp", "?????.bmp"}, // Greek
        {"caf\xc3\xa9 \xe2\x98\x83.bmp", "caf\xe9 ?.bmp"},             // mixed
        {"\xf0\x9f\x98\x80.bmp", "?.bmp"},                             // beyond U+FFFF
        {"?.bmp", "?.bmp"},                                            // a wildcard on Windows
        {"back\\slash.bmp", "back?slash.bmp"},
        {"a:b\x01.bmp", "a?b?.bmp"},
        {"dot.bmp.", "dot.bmp?"}, // expansion would drop the period
        {"blank ", "blank?"},
        {"\xff\xfe.bmp", "??.bmp"}, // not UTF-8
        {"a\xc0\xaf"
         "b.bmp",
         "a??b.bmp"},                 // an overlong "/"
        {"\xc0\xae\xc0\xae", "????"}, // an overlong ".."
        {"\xc2\x81.bmp", "?.bmp"},    // U+0081, the mark's own character
        {"...", "..."},
    };
    testsupport::TempDrives drives;
    drives.WriteFile("g/a/b.bmp", "inside");
    for (const auto& c : cases)
        drives.WriteFile(std::string("g/") + c.host, c.host);
    std::map<std::string, std::string> listed; // host name -> listed name
    TSearchRec rec;
    for (int r = FindFirst("C:\\g\\*.*", faAnyFile, rec); r == 0; r = FindNext(rec))
        listed[AnsiToUtf8(rec.Name)] = rec.Name;
    FindClose(rec);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shown);
        ASSERT_TRUE(listed.count(c.host));
        const std::string& name = listed[c.host];
        EXPECT_EQ(ToQt(name), QString::fromLatin1(c.shown));
        EXPECT_EQ(ReadAll("C:\\g\\" + name), c.host);
        std::string full;
        ASSERT_EQ(ExpandPath("C:\\g\\" + name, full), 0);
        EXPECT_EQ(full, "C:\\g\\" + name); // expansion leaves the spelling as it is
        EXPECT_EQ(DeleteFile("C:\\g\\" + name), 0);
        EXPECT_FALSE(fs::exists(drives.Host(std::string("g/") + c.host)));
    }
    EXPECT_TRUE(fs::exists(drives.Host("g/a/b.bmp")));
}

// What the user types never holds a token, so a "?" typed for a character
// that shows as "?" names no file: nothing opens, goes or moves.
TEST(HostNames, ATypedQuestionMarkNeverReachesAFileShownWithOne) {
    testsupport::TempDrives drives;
    drives.WriteFile("\xe6\x97\xa5.bmp", "glyph");
    const std::string listed = Utf8ToAnsi("\xe6\x97\xa5.bmp");
    EXPECT_EQ(OpenCode("C:\\?.bmp"), ERROR_INVALID_NAME);
    EXPECT_EQ(DeleteFile("C:\\?.bmp"), ERROR_INVALID_NAME);
    EXPECT_EQ(RenameFile("C:\\" + listed, "C:\\?.bmp"), ERROR_INVALID_NAME);
    // A mark that starts no sound token names nothing either.
    EXPECT_EQ(OpenCode("C:\\\x81"
                       "00E5.bmp"),
              ERROR_INVALID_NAME);
    EXPECT_EQ(OpenCode("C:\\\x81"
                       "00002E\x81"
                       "00002E\\" +
                       listed),
              ERROR_INVALID_NAME);
    EXPECT_EQ(OpenCode("C:\\a\x81"
                       "00002F" +
                       listed),
              ERROR_INVALID_NAME);
    // Nor does a spelling the listing never gives: "é" as the tokens of its
    // two UTF-8 bytes.
    drives.WriteFile("\xc3\xa9.bmp", "e");
    EXPECT_EQ(OpenCode("C:\\\x81"
                       "00DCC3\x81"
                       "00DCA9.bmp"),
              ERROR_INVALID_NAME);
    EXPECT_TRUE(fs::exists(drives.Host("\xe6\x97\xa5.bmp")));
    EXPECT_EQ(OpenCode("C:\\" + listed), 0);
}

// Names with tokens are compared, ordered and counted by their characters:
// case is folded for every script, the listing is ordered by upper-cased
// character, and the path limit counts characters, not bytes.
TEST(HostNames, TokensCompareSortAndCountAsTheCharactersTheyStandFor) {
    testsupport::TempDrives drives;
    for (const char* name :
         {"\xe2\x82\xac.bmp", "\xd0\x91.bmp", "\xd0\xb0.bmp", "b.bmp", "\xc3\xa9.bmp"})
        drives.WriteFile(std::string("s/") + name, name);
    std::vector<std::string> order;
    TSearchRec rec;
    for (int r = FindFirst("C:\\s\\*.bmp", faAnyFile, rec); r == 0; r = FindNext(rec))
        order.push_back(AnsiToUtf8(rec.Name));
    FindClose(rec);
    EXPECT_EQ(order, (std::vector<std::string>{"b.bmp", "\xc3\xa9.bmp", "\xd0\xb0.bmp",
                                               "\xd0\x91.bmp", "\xe2\x82\xac.bmp"}));
    // The Cyrillic a spelled in capitals finds the file in small letters,
    // and a wildcard "?" stands for one character, token or not.
    EXPECT_EQ(ReadAll("C:\\s\\" + Utf8ToAnsi("\xd0\x90.BMP")), "\xd0\xb0.bmp");
    EXPECT_TRUE(MatchesMask(Utf8ToAnsi("\xd0\x91.bmp"), "?.BMP"));
    EXPECT_FALSE(MatchesMask(Utf8ToAnsi("\xd0\x91.bmp"), "??.bmp"));

    const std::string cyrillic = Utf8ToAnsi("\xd0\x96");
    std::string full;
    EXPECT_EQ(ExpandPath("C:\\" + std::string(255, 'a') + cyrillic, full), 0);
    EXPECT_EQ(ExpandPath("C:\\" + std::string(256, 'a') + cyrillic, full),
              ERROR_FILENAME_EXCED_RANGE);
    EXPECT_EQ(WindowsLength(Utf8ToAnsi("\xf0\x9f\x98\x80")), 2u); // as UTF-16 counts it
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
