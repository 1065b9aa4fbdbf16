#include <gtest/gtest.h>

#include "TempDrives.h"
#include "platform/Codepage.h"
#include "platform/Drives.h"
#include "platform/FileObject.h"
#include "platform/FileOps.h"
#include "platform/Find.h"
#include "platform/Paths.h"

using namespace platform;

namespace {

TEST(Drives, ConvertPathsBothWays) {
    testsupport::TempDrives drives;
    const auto d = drives.AddDrive('D');
    drives.MakeDir("Glyphs");
    std::string host;
    ASSERT_EQ(ToHostPath("C:\\Glyphs\\new.bmp", host), 0);
    EXPECT_EQ(host, (drives.Root() / "Glyphs" / "new.bmp").string());
    EXPECT_EQ(ToWindowsPath((d / "x" / "y.bmp").string()), "D:\\x\\y.bmp");
    EXPECT_EQ(ToWindowsPath(drives.Root().string()), "C:\\");
    EXPECT_EQ(ToWindowsPath("/nowhere/at/all"), "");
    EXPECT_EQ(ToHostPath("Q:\\x", host), ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(ToHostPath("C:\\a*b", host), ERROR_INVALID_NAME);
}

TEST(Drives, FindsAPathSpelledInTheWrongCase) {
    testsupport::TempDrives drives;
    drives.WriteFile("Icons/Small/Open.bmp", "BM");
    std::string host;
    bool dirMissing = true;
    ASSERT_EQ(ToHostPath("C:\\ICONS\\small\\OPEN.BMP", host, &dirMissing), 0);
    EXPECT_EQ(host, (drives.Root() / "Icons" / "Small" / "Open.bmp").string());
    EXPECT_FALSE(dirMissing);
    FileObject f("c:\\icons\\SMALL\\open.Bmp");
    f.Reset(FileAccess::ReadOnly, 1);
    EXPECT_EQ(f.Size(), 2);
    f.Close();

    // A new file takes its name as given, in the directory found ignoring case.
    ASSERT_EQ(ToHostPath("C:\\icons\\New.BMP", host, &dirMissing), 0);
    EXPECT_EQ(host, (drives.Root() / "Icons" / "New.BMP").string());
    ASSERT_EQ(ToHostPath("C:\\nodir\\New.BMP", host, &dirMissing), 0);
    EXPECT_TRUE(dirMissing);
}

TEST(Drives, HostNamesOutsideTheCodePageShowAsQuestionMarks) {
    testsupport::TempDrives drives;
    drives.WriteFile("caf\xc3\xa9.bmp", "x");      // é has a Windows-1252 form
    drives.WriteFile("\xe2\x98\x83snow.bmp", "x"); // ☃ has none
    drives.WriteFile("back\\slash.bmp", "x");      // legal on the host only
    TSearchRec rec;
    std::vector<std::string> names;
    for (int r = FindFirst("C:\\*.bmp", faAnyFile, rec); r == 0; r = FindNext(rec))
        names.push_back(rec.Name);
    FindClose(rec);
    EXPECT_EQ(names, (std::vector<std::string>{"?snow.bmp", "back?slash.bmp", "caf\xe9.bmp"}));

    FileObject ok("C:\\caf\xe9.bmp");
    EXPECT_NO_THROW(ok.Reset(FileAccess::ReadOnly, 1));
    FileObject listedOnly("C:\\?snow.bmp");
    try {
        listedOnly.Reset(FileAccess::ReadOnly, 1);
        FAIL() << "a name with '?' must not open";
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.ErrorCode(), ERROR_INVALID_NAME);
    }
}

TEST(Codepage, RoundTripsEveryByteAndMarksLosses) {
    std::string all;
    for (int c = 1; c < 256; ++c)
        all += static_cast<char>(c);
    EXPECT_EQ(Utf8ToAnsi(AnsiToUtf8(all)), all);
    EXPECT_EQ(FromQt(ToQt(all)), all);
    EXPECT_EQ(AnsiToUtf8("\x80"), "\xe2\x82\xac"); // euro sign
    bool lossless = true;
    EXPECT_EQ(Utf8ToAnsi("a\xe2\x98\x83"
                         "b\xff",
                         &lossless),
              "a?b?");
    EXPECT_FALSE(lossless);
    EXPECT_EQ(FromQt(QString::fromUtf8("\xf0\x9f\x98\x80")), "?"); // one character, one mark
    EXPECT_TRUE(EqualIgnoringCase("\xe4pfel.BMP", "\xc4PFEL.bmp"));
    EXPECT_FALSE(EqualIgnoringCase("a", "ab"));
}

TEST(Drives, DefaultTableMapsTheHostRootToC) {
    const DriveTable table = DefaultDriveTable();
    ASSERT_TRUE(table.roots.count('C'));
    EXPECT_EQ(table.roots.at('C'), "/");
}

} // namespace
