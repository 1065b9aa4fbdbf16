// Failing system calls under the file code: each failure ends in a clear
// message or error code, loses no file and leaves no half-written one, and
// the same call works again once the fault is gone.
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>
#include <vector>

#include "HostFiles.h"
#include "InjectedFault.h"
#include "TempDrives.h"
#include "platform/FileOps.h"
#include "platform/Profile.h"
#include "platform/WinError.h"
#include "platform/ui/GlyphBitmap.h"

using platform::EFailure;
using testsupport::InjectedFault;
using testsupport::TempDrives;
namespace fs = std::filesystem;

namespace {

std::vector<std::string> NamesIn(const fs::path& dir) {
    const std::set<std::string> names = testsupport::FileNamesIn(dir);
    return {names.begin(), names.end()};
}

struct Fault {
    const char* point;
    int error;
    const char* text; // the end of the failure's text
};

// Is there a preload at all? Without it no fault could be injected and
// every test below would pass for the wrong reason.
TEST(FileFaults, FaultsReachTheSystemCalls) {
    TempDrives drives;
    const auto file = drives.WriteFile("a.txt", "x");
    InjectedFault fault("posix/io/oc/open", EIO);
    errno = 0;
    EXPECT_EQ(::open(file.c_str(), O_RDONLY), -1);
    EXPECT_EQ(errno, EIO);
}

// The settings file is replaced through a new file beside it: a failure at
// any step leaves the old file whole and no new file behind.
TEST(FileFaults, SettingsWriteKeepsTheOldFileWhole) {
    const Fault faults[] = {
        {"posix/io/rw/write", ENOSPC, "(I/O error 112)"},
        {"posix/io/rw/write", EIO, "(I/O error 29)"},
        {"posix/io/sync/fsync", EIO, "(I/O error 29)"},
        {"posix/io/sync/fsync", ENOSPC, "(I/O error 112)"},
        {"posix/io/oc/close", EIO, "(I/O error 29)"},
        {"posix/io/dir/rename", EACCES, "(I/O error 5)"},
        {"posix/io/dir/rename", EROFS, "(I/O error 19)"},
    };
    TempDrives drives;
    const std::string old = "[options]\r\nleft=1\r\n; kept\r\n";
    const auto host = drives.WriteFile("prog/Sporvik.ini", old);
    platform::TIniFile ini("C:\\prog\\Sporvik.ini");
    for (const Fault& f : faults) {
        SCOPED_TRACE(std::string(f.point) + " " + std::to_string(f.error));
        const std::string text = testsupport::FailureUnder(
            f.point, f.error, [&] { ini.WriteString("options", "dir", "C:\\glyphs\\"); });
        EXPECT_EQ(text,
                  std::string("Cannot write settings file \"C:\\prog\\Sporvik.ini\" ") + f.text);
        EXPECT_EQ(testsupport::ReadHostFile(host), old);
        EXPECT_EQ(NamesIn(drives.Host("prog")), std::vector<std::string>{"Sporvik.ini"});
        EXPECT_EQ(ini.ReadString("options", "dir", "none"), "none");
    }
    ini.WriteString("options", "dir", "C:\\glyphs\\");
    EXPECT_EQ(ini.ReadString("options", "dir", "none"), "C:\\glyphs\\");
    EXPECT_EQ(ini.ReadString("options", "left", "none"), "1");
}

TEST(FileFaults, SettingsReadFailsClearlyAndChangesNothing) {
    const Fault faults[] = {
        {"posix/io/oc/open", EACCES, "(I/O error 5)"},
        {"posix/io/oc/open", EIO, "(I/O error 30)"},
        {"posix/io/rw/read", EIO, "(I/O error 30)"},
    };
    TempDrives drives;
    const std::string old = "[options]\r\nleft=1\r\n";
    const auto host = drives.WriteFile("prog/Sporvik.ini", old);
    platform::TIniFile ini("C:\\prog\\Sporvik.ini");
    for (const Fault& f : faults) {
        SCOPED_TRACE(std::string(f.point) + " " + std::to_string(f.error));
        const std::string text = testsupport::FailureUnder(
            f.point, f.error, [&] { ini.ReadString("options", "left", "none"); });
        EXPECT_EQ(text,
                  std::string("Cannot read settings file \"C:\\prog\\Sporvik.ini\" ") + f.text);
        // A write that cannot read the old file must not replace it.
        {
            InjectedFault fault(f.point, f.error);
            EXPECT_THROW(ini.WriteString("options", "top", "2"), EFailure);
        }
        EXPECT_EQ(testsupport::ReadHostFile(host), old);
    }
    EXPECT_EQ(ini.ReadString("options", "left", "none"), "1");
}

// A settings file that goes away between the look for it and the open
// reads as the missing file it has become.
TEST(FileFaults, SettingsFileVanishingBeforeTheOpenReadsAsMissing) {
    TempDrives drives;
    drives.WriteFile("prog/Sporvik.ini", "[options]\r\nleft=1\r\n");
    platform::TIniFile ini("C:\\prog\\Sporvik.ini");
    InjectedFault fault("posix/io/oc/open", ENOENT);
    EXPECT_EQ(ini.ReadString("options", "left", "none"), "none");
    EXPECT_EQ(ini.ReadInteger("options", "left", 7), 7);
}

TEST(FileFaults, DeleteFailureKeepsTheFile) {
    const std::pair<int, int> faults[] = {
        {EACCES, platform::ERROR_ACCESS_DENIED},
        {EROFS, platform::ERROR_WRITE_PROTECT},
        {EBUSY, platform::ERROR_SHARING_VIOLATION},
    };
    TempDrives drives;
    const auto host = drives.WriteFile("glyphs/a.bmp", "whole");
    for (const auto& [error, code] : faults) {
        {
            InjectedFault fault("posix/io/dir/unlink", error);
            EXPECT_EQ(platform::DeleteFile("C:\\glyphs\\a.bmp"), code) << error;
        }
        EXPECT_EQ(testsupport::ReadHostFile(host), "whole") << error;
    }
    EXPECT_EQ(platform::DeleteFile("C:\\glyphs\\a.bmp"), 0);
    EXPECT_FALSE(fs::exists(host));
}

TEST(FileFaults, GlyphReadFailureNamesTheFile) {
    const Fault faults[] = {
        {"posix/io/oc/open", EACCES, "Cannot open file \"C:\\glyphs\\a.bmp\""},
        {"posix/io/oc/open", EIO, "Cannot open file \"C:\\glyphs\\a.bmp\""},
        {"posix/io/rw/read", EIO, "Cannot read file \"C:\\glyphs\\a.bmp\""},
    };
    TempDrives drives;
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(Qt::red);
    picture.save(QString::fromStdString(drives.WriteFile("glyphs/a.bmp", "").string()), "BMP");
    for (const Fault& f : faults) {
        SCOPED_TRACE(std::string(f.point) + " " + std::to_string(f.error));
        EXPECT_EQ(testsupport::FailureUnder(
                      f.point, f.error, [] { platform::LoadBitmapFromFile("C:\\glyphs\\a.bmp"); }),
                  f.text);
    }
    EXPECT_EQ(platform::LoadBitmapFromFile("C:\\glyphs\\a.bmp").size(), QSize(8, 8));
}

} // namespace
