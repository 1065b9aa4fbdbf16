#include <gtest/gtest.h>

#include <filesystem>

#include "TempDrives.h"
#include "platform/FileOps.h"
#include "platform/WinError.h"

using namespace platform;
namespace fs = std::filesystem;

namespace {

TEST(DeleteFile, KeepsWhatMayNotBeDeleted) {
    testsupport::TempDrives drives;
    auto ro = drives.WriteFile("ro.bmp", "x");
    testsupport::SetReadOnly(ro);
    drives.WriteFile("locked/in.bmp", "x");
    testsupport::SetReadOnly(drives.Host("locked"));
    drives.WriteFile("gone.bmp", "x");

    EXPECT_EQ(DeleteFile("C:\\ro.bmp"), ERROR_ACCESS_DENIED);
    EXPECT_TRUE(fs::exists(ro));
    EXPECT_EQ(DeleteFile("C:\\locked\\in.bmp"), ERROR_ACCESS_DENIED);
    EXPECT_TRUE(fs::exists(drives.Host("locked/in.bmp")));
    EXPECT_EQ(DeleteFile("C:\\locked"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(DeleteFile("C:\\missing.bmp"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(DeleteFile("C:\\nodir\\x.bmp"), ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(DeleteFile("C:\\GONE.BMP"), 0);
    EXPECT_FALSE(fs::exists(drives.Host("gone.bmp")));
}

TEST(RenameFile, NeverReplacesAnExistingTarget) {
    testsupport::TempDrives drives;
    drives.WriteFile("a.bmp", "A");
    drives.WriteFile("b.bmp", "B");
    EXPECT_EQ(RenameFile("C:\\a.bmp", "C:\\B.BMP"), ERROR_ALREADY_EXISTS);
    EXPECT_EQ(fs::file_size(drives.Host("a.bmp")), 1u);
    EXPECT_TRUE(fs::exists(drives.Host("b.bmp")));

    EXPECT_EQ(RenameFile("C:\\a.bmp", "C:\\c.bmp"), 0);
    EXPECT_TRUE(fs::exists(drives.Host("c.bmp")));
    EXPECT_FALSE(fs::exists(drives.Host("a.bmp")));
    EXPECT_EQ(RenameFile("C:\\a.bmp", "C:\\d.bmp"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RenameFile("C:\\c.bmp", "C:\\nodir\\d.bmp"), ERROR_PATH_NOT_FOUND);

    // Changing only the case renames the file to the spelling given.
    EXPECT_EQ(RenameFile("C:\\c.bmp", "C:\\C.bmp"), 0);
    EXPECT_TRUE(fs::exists(drives.Host("C.bmp")));
    EXPECT_EQ(fs::directory_iterator(drives.Root()) == fs::directory_iterator(), false);
    int count = 0;
    for (auto& e : fs::directory_iterator(drives.Root()))
        count += e.path().filename().string() == "c.bmp";
    EXPECT_EQ(count, 0);

    // A read-only file may be renamed; a read-only directory refuses.
    testsupport::SetReadOnly(drives.Host("b.bmp"));
    EXPECT_EQ(RenameFile("C:\\b.bmp", "C:\\e.bmp"), 0);
    testsupport::SetReadOnly(drives.Root());
    EXPECT_EQ(RenameFile("C:\\e.bmp", "C:\\f.bmp"), ERROR_ACCESS_DENIED);
    testsupport::SetReadOnly(drives.Root(), false);
}

TEST(DiskSpace, ComesFromTheDrivesHostDirectory) {
    testsupport::TempDrives drives;
    const auto e = drives.AddDrive('E');
    DiskSpace space;
    ASSERT_EQ(GetDiskSpace("C:\\", space), 0);
    EXPECT_GT(space.totalBytes, 0);
    EXPECT_GE(space.totalBytes, space.freeBytes);
    EXPECT_EQ(GetDiskSpace("E:\\", space), ERROR_NOT_READY); // no medium
    EXPECT_EQ(space.freeBytes, -1);
    drives.WriteFile("../E/disk.txt", "x");
    EXPECT_EQ(GetDiskSpace("e:\\", space), 0);
    EXPECT_EQ(GetDiskSpace("Q:\\", space), ERROR_PATH_NOT_FOUND);
    (void)e;
}

TEST(DiskSpace, ARootThatNamesNoDirectoryFails) {
    testsupport::TempDrives drives;
    drives.MakeDir("dir");
    const struct {
        const char* root;
        int code;
    } cases[] = {
        {"C:\\", 0},         {"c:", 0},       {"C:\\dir\\", 0}, {"\\", 0}, {"", 0},
        {"garbage", 2},      {"C:\\nope\\", 2}, {"C:\\dir\\x\\y", 2},
        {"%%%", 2},          {"Q:\\", 3},
    };
    for (const auto& c : cases) {
        DiskSpace space;
        EXPECT_EQ(GetDiskSpace(c.root, space), c.code) << c.root;
        EXPECT_EQ(space.freeBytes >= 0, c.code == 0) << c.root;
    }
}

TEST(ProcessValues, ErrorModeAndProgramPath) {
    testsupport::TempDrives drives;
    const unsigned before = SetErrorMode(SEM_FAILCRITICALERRORS);
    EXPECT_EQ(GetErrorMode(), SEM_FAILCRITICALERRORS);
    SetErrorMode(before);
    EXPECT_EQ(ProgramPath(), "C:\\prog\\Sporvik.exe");
}

TEST(ReplaceFile, EitherMovesTheFileOverTheTargetOrTouchesNeither) {
    testsupport::TempDrives drives;
    drives.WriteFile("a.bmp", "A");
    drives.WriteFile("b.bmp", "BB");
    drives.WriteFile("ro.bmp", "RRR");
    testsupport::SetReadOnly(drives.Host("ro.bmp"));
    drives.MakeDir("dir.bmp");
    const auto size = [&](const char* name) { return fs::file_size(drives.Host(name)); };

    // Each refusal is checked before anything moves; CheckDeleteFile agrees.
    EXPECT_EQ(ReplaceFile("C:\\a.bmp", "C:\\ro.bmp"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(CheckDeleteFile("C:\\ro.bmp"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(ReplaceFile("C:\\a.bmp", "C:\\dir.bmp"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(ReplaceFile("C:\\dir.bmp", "C:\\b.bmp"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(ReplaceFile("C:\\gone.bmp", "C:\\b.bmp"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(CheckDeleteFile("C:\\b.bmp"), 0);
    EXPECT_EQ(size("a.bmp"), 1u);
    EXPECT_EQ(size("b.bmp"), 2u);
    EXPECT_EQ(size("ro.bmp"), 3u);
    EXPECT_TRUE(fs::is_directory(drives.Host("dir.bmp")));

    // The target gives way and the file takes the name as spelled.
    EXPECT_EQ(ReplaceFile("C:\\a.bmp", "C:\\B.bmp"), 0);
    EXPECT_FALSE(fs::exists(drives.Host("a.bmp")));
    EXPECT_FALSE(fs::exists(drives.Host("b.bmp")));
    EXPECT_EQ(size("B.bmp"), 1u);
    // The source itself found again ignoring case is no target to remove.
    EXPECT_TRUE(SameFile("C:\\B.bmp", "C:\\b.BMP"));
    EXPECT_FALSE(SameFile("C:\\B.bmp", "C:\\ro.bmp"));
    EXPECT_EQ(ReplaceFile("C:\\B.bmp", "C:\\b.BMP"), 0);
    EXPECT_EQ(size("b.BMP"), 1u);
}

} // namespace
