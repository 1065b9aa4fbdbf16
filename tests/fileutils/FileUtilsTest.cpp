// The shared file and drive routines over real files in a temp drive table.
#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>

#include "TempDrives.h"
#include "fileutils/FileUtils.h"
#include "fileutils/IoErrorText.h"
#include "platform/FileOps.h"

namespace fs = std::filesystem;
using testsupport::SetReadOnly;
using testsupport::TempDrives;

TEST(Backslash, AddAndRemoveTheFinalOne) {
    const std::pair<std::string, std::string> added[] = {{"", ""},
                                                         {"C:", "C:\\"},
                                                         {"C:\\", "C:\\"},
                                                         {"C:\\dir", "C:\\dir\\"},
                                                         {"C:\\dir\\", "C:\\dir\\"}};
    for (const auto& [in, out] : added)
        EXPECT_EQ(AddBackslash(in), out) << in;
    const std::pair<std::string, std::string> removed[] = {{"", ""},
                                                           {"C:\\", "C:"},
                                                           {"C:", "C:"},
                                                           {"C:\\dir", "C:\\dir"},
                                                           {"C:\\dir\\\\", "C:\\dir\\"}};
    for (const auto& [in, out] : removed)
        EXPECT_EQ(RemoveBackslash(in), out) << in;
}

TEST(Existence, FilesAndDirectoriesAreToldApart) {
    TempDrives drives;
    drives.WriteFile("dir/plain.bmp", "x");
    drives.WriteFile("dir/.hidden", "x");
    drives.WriteFile("dir/locked.bmp", "x");
    SetReadOnly(drives.Host("dir/locked.bmp"));
    drives.MakeDir("dir/empty");

    EXPECT_TRUE(FileExists("C:\\dir\\plain.bmp"));
    EXPECT_TRUE(FileExists("c:\\DIR\\PLAIN.BMP"));
    EXPECT_TRUE(FileExists("C:\\dir\\.hidden"));
    EXPECT_TRUE(FileExists("C:\\dir\\locked.bmp"));
    EXPECT_TRUE(FileExists("C:\\dir\\*.bmp"));
    EXPECT_FALSE(FileExists("C:\\dir\\*.txt"));
    EXPECT_FALSE(FileExists("C:\\dir"));
    EXPECT_FALSE(FileExists("C:\\dir\\empty"));
    EXPECT_FALSE(FileExists("C:\\dir\\missing.bmp"));

    EXPECT_TRUE(DirectoryExists("C:\\dir"));
    EXPECT_TRUE(DirectoryExists("C:\\dir\\"));
    EXPECT_TRUE(DirectoryExists("C:\\dir\\empty")); // its "." and ".." count
    EXPECT_TRUE(DirectoryExists("C:\\"));
    EXPECT_TRUE(DirectoryExists("C:"));
    EXPECT_TRUE(DirectoryExists("")); // the current drive's root
    EXPECT_FALSE(DirectoryExists("C:\\dir\\plain.bmp"));
    EXPECT_FALSE(DirectoryExists("C:\\dir\\missing"));
    EXPECT_FALSE(DirectoryExists("C:\\dir\\missing\\"));
}

TEST(Existence, BadNamesAreSimplyFalse) {
    TempDrives drives;
    const std::string tooLong = "C:\\" + std::string(300, 'n');
    for (const std::string& name :
         {std::string(), tooLong, std::string("Q:\\x.bmp"), std::string("1:\\x")}) {
        EXPECT_FALSE(FileExists(name)) << name;
        EXPECT_EQ(FileSizeByName(name), -1) << name;
    }
    EXPECT_FALSE(DirectoryExists(tooLong));
    EXPECT_FALSE(DirectoryExists("Q:\\"));
    EXPECT_FALSE(DirectoryExists(std::string("C:\\a\0b", 6)));
}

TEST(Existence, ARootNeedsAnEntryToCount) {
    TempDrives drives;
    const fs::path e = drives.AddDrive('E'); // a drive without a medium
    EXPECT_FALSE(DirectoryExists("E:\\"));
    EXPECT_FALSE(DirectoryExists("E:"));
    std::FILE* f = std::fopen((e / "disk.txt").c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fclose(f);
    EXPECT_TRUE(DirectoryExists("E:\\"));
}

TEST(Drives, NumbersOfLetters) {
    const std::pair<char, int> cases[] = {{'a', 1},  {'A', 1},     {'d', 4},  {'D', 4},  {'z', 26},
                                          {'Z', 26}, {'1', -1},    {'@', -1}, {'[', -1}, {'`', -1},
                                          {'{', -1}, {'\xE4', -1}, {'\0', -1}};
    for (const auto& [letter, number] : cases)
        EXPECT_EQ(DriveNumber(letter), number) << int(letter);
}

TEST(Drives, ReadinessAndFreeSpaceLeaveTheErrorModeAsItWas) {
    TempDrives drives;
    drives.AddDrive('E');
    const unsigned saved = platform::GetErrorMode();
    platform::SetErrorMode(0);

    EXPECT_TRUE(DriveReady('C'));
    EXPECT_TRUE(DriveReady('c'));
    EXPECT_FALSE(DriveReady('E')); // empty: not ready, and no box asked
    EXPECT_FALSE(DriveReady('Q')); // no such drive
    EXPECT_FALSE(DriveReady('1'));
    EXPECT_EQ(platform::GetErrorMode(), 0u);

    EXPECT_EQ(DriveFreeSpace('E'), -1);
    EXPECT_EQ(DriveFreeSpace('Q'), -1);
    EXPECT_EQ(DriveFreeSpace('1'), -1);
    // Free space is the host's, in full 64 bits.
    const auto expected = static_cast<double>(fs::space(drives.Root()).available);
    EXPECT_NEAR(static_cast<double>(DriveFreeSpace('C')), expected, 256.0 * 1024 * 1024);
    EXPECT_EQ(platform::GetErrorMode(), 0u);
    platform::SetErrorMode(saved);
}

TEST(FileSize, OfFilesDirectoriesAndFilesBeyondFourGigabytes) {
    TempDrives drives;
    drives.WriteFile("empty.bin", "");
    drives.WriteFile("three.bin", "abc");
    drives.MakeDir("sub");
    const fs::path big = drives.WriteFile("big.bin", "");
    fs::resize_file(big, 3LL << 30); // sparse: takes no room

    EXPECT_EQ(FileSizeByName("C:\\empty.bin"), 0);
    EXPECT_EQ(FileSizeByName("C:\\three.bin"), 3);
    EXPECT_EQ(FileSizeByName("C:\\sub"), 0);
    EXPECT_EQ(FileSizeByName("C:\\missing.bin"), -1);
    EXPECT_EQ(FileSizeByName("C:\\big.bin"), 3LL << 30);
    fs::resize_file(big, (5LL << 30) + 7); // past every 32-bit count
    EXPECT_EQ(FileSizeByName("C:\\big.bin"), (5LL << 30) + 7);
}

TEST(TryDelete, DeletesOnlyWhatMayBeWritten) {
    TempDrives drives;
    drives.WriteFile("gone.bmp", "x");
    drives.WriteFile("locked.bmp", "x");
    SetReadOnly(drives.Host("locked.bmp"));
    drives.WriteFile("held.bmp", "x");
    drives.WriteFile("ro/inside.bmp", "x");
    SetReadOnly(drives.Host("ro"));
    drives.MakeDir("sub");

    int code = -1;
    EXPECT_TRUE(TryDeleteFile("C:\\gone.bmp", code));
    EXPECT_EQ(code, 0);
    EXPECT_FALSE(fs::exists(drives.Host("gone.bmp")));

    EXPECT_FALSE(TryDeleteFile("C:\\locked.bmp", code));
    EXPECT_EQ(code, 5);
    EXPECT_TRUE(fs::exists(drives.Host("locked.bmp")));

    EXPECT_FALSE(TryDeleteFile("C:\\missing.bmp", code));
    EXPECT_EQ(code, 2);

    EXPECT_FALSE(TryDeleteFile("C:\\ro\\inside.bmp", code)); // the directory refuses
    EXPECT_EQ(code, 5);
    EXPECT_TRUE(fs::exists(drives.Host("ro/inside.bmp")));

    EXPECT_FALSE(TryDeleteFile("C:\\sub", code));
    EXPECT_EQ(code, 5);
    EXPECT_TRUE(fs::is_directory(drives.Host("sub")));

    {
        platform::FileObject reader("C:\\held.bmp");
        OpenReadOnly(reader, 1);
        EXPECT_FALSE(TryDeleteFile("C:\\held.bmp", code)); // another holds it open
        EXPECT_EQ(code, 32);
        EXPECT_TRUE(fs::exists(drives.Host("held.bmp")));
    }

    EXPECT_FALSE(TryDeleteFile("", code));
    EXPECT_NE(code, 0);
    EXPECT_FALSE(TryDeleteFile("C:\\" + std::string(300, 'n'), code));
    EXPECT_NE(code, 0);
}

TEST(OpenReadOnly, OpensForReadingOrRaisesTheErrorCode) {
    TempDrives drives;
    drives.WriteFile("data.bin", "BMxy");
    drives.WriteFile("secret.bin", "x");
    fs::permissions(drives.Host("secret.bin"), fs::perms::owner_read, fs::perm_options::remove);

    platform::FileObject file("C:\\data.bin");
    OpenReadOnly(file, 1);
    char bytes[8] = {};
    EXPECT_EQ(file.Read(bytes, 8), 4);
    EXPECT_EQ(std::string(bytes, 2), "BM");
    file.Close();

    auto codeOf = [](const std::string& name) {
        platform::FileObject f(name);
        try {
            OpenReadOnly(f, 1);
        } catch (const platform::EInOutError& e) {
            return e.ErrorCode();
        }
        return 0;
    };
    EXPECT_EQ(codeOf("C:\\missing.bin"), 2);
    EXPECT_EQ(codeOf("C:\\secret.bin"), 5);
    drives.MakeDir("sub");
    EXPECT_EQ(codeOf("C:\\sub"), 5); // a directory is no file to read
    EXPECT_NE(codeOf(""), 0);
}

TEST(IoErrorText, CodeAndPhrase) {
    EXPECT_EQ(IoErrorText(112), "Reason: I/O Error 112\r\nDisk full");
    EXPECT_EQ(IoErrorText(6), "Reason: I/O Error 6\r\n");
    EXPECT_EQ(IoErrorText(5), "Reason: I/O Error 5\r\nFile access denied");
    EXPECT_EQ(IoErrorText(65), "Reason: I/O Error 65\r\nAccess denied");
    EXPECT_EQ(IoErrorText(-1), "Reason: I/O Error -1\r\n");
}
