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

TEST(Codepage, RoundTripsEveryByteButTheTokenMark) {
    std::string all;
    for (int c = 1; c < 256; ++c)
        if (static_cast<char>(c) != TokenMark)
            all += static_cast<char>(c);
    EXPECT_EQ(Utf8ToAnsi(AnsiToUtf8(all)), all);
    EXPECT_EQ(FromQt(ToQt(all)), all);
    EXPECT_EQ(AnsiToUtf8("\x80"), "\xe2\x82\xac"); // euro sign
    // What has no form becomes a token, shown as one mark, and comes back.
    const std::string snowman = Utf8ToAnsi("a\xe2\x98\x83"
                                           "b\xff");
    EXPECT_EQ(snowman, "a\x81"
                       "002603b\x81"
                       "00DCFF");
    EXPECT_EQ(ToQt(snowman), "a?b?");
    EXPECT_EQ(AnsiToUtf8(snowman), "a\xe2\x98\x83"
                                   "b\xff");
    EXPECT_EQ(ToHostText(snowman), QString::fromUtf8("a\xe2\x98\x83"
                                                     "b\xef\xbf\xbd"));
    EXPECT_EQ(FromQt(QString::fromUtf8("\xf0\x9f\x98\x80")), "?"); // one character, one mark
    EXPECT_EQ(FromQt(QString(QChar(0x81))), "?");                  // typed text never holds a token
    EXPECT_TRUE(EqualIgnoringCase("\xe4pfel.BMP", "\xc4PFEL.bmp"));
    EXPECT_TRUE(EqualIgnoringCase(Utf8ToAnsi("\xd0\xbf.bmp"), Utf8ToAnsi("\xd0\x9f.BMP")));
    EXPECT_FALSE(EqualIgnoringCase("a", "ab"));
}

TEST(Drives, DefaultTableMapsTheHostRootToC) {
    const DriveTable table = DefaultDriveTable();
    ASSERT_TRUE(table.roots.count('C'));
    EXPECT_EQ(table.roots.at('C'), "/");
}

} // namespace
