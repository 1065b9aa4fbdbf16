// Profile files on disk: defaults, reading back what was written, and writes
// that fail without harming the file that was there.
#include <filesystem>
#include <gtest/gtest.h>

#include "HostFiles.h"
#include "TempDrives.h"
#include "platform/Profile.h"

namespace fs = std::filesystem;
using platform::EFailure;
using platform::TIniFile;
using testsupport::SetReadOnly;
using testsupport::TempDrives;

namespace {

int FilesIn(const fs::path& dir) {
    return static_cast<int>(std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
}

TEST(Profile, MissingFileGivesDefaultsAndTheFirstWriteCreatesIt) {
    TempDrives drives;
    TIniFile ini("C:\\prog\\Sporvik.ini");
    EXPECT_EQ(ini.ReadString("options", "dir", "C:\\prog\\"), "C:\\prog\\");
    EXPECT_EQ(ini.ReadInteger("options", "left", 365), 365);
    TIniFile nowhere("C:\\no\\such\\dir\\Sporvik.ini");
    EXPECT_EQ(nowhere.ReadInteger("options", "top", 167), 167);

    ini.WriteString("options", "dir", "C:\\glyphs\\");
    ini.WriteInteger("options", "resx", 1024);
    ini.WriteInteger("options", "left", -4);
    ini.WriteInteger("options", "top", 167);
    EXPECT_EQ(testsupport::ReadHostFile(drives.Host("prog/Sporvik.ini")),
              "[options]\r\ndir=C:\\glyphs\\\r\nresx=1024\r\nleft=-4\r\ntop=167\r\n");
    EXPECT_EQ(ini.ReadString("OPTIONS", "DIR", ""), "C:\\glyphs\\");
    EXPECT_EQ(ini.ReadInteger("options", "left", 0), -4);
    EXPECT_EQ(FilesIn(drives.Host("prog")), 1) << "no temporary file is left behind";
}

TEST(Profile, AMissingKeyGivesTheDefaultWithoutTrailingBlanks) {
    TempDrives drives;
    drives.WriteFile("prog/Sporvik.ini", "[options]\r\ndir=C:\\x\\   \r\n");
    TIniFile ini("C:\\prog\\Sporvik.ini");
    const struct {
        const char* key;
        const char* defaultValue;
        const char* read;
    } cases[] = {
        {"none", "dflt   ", "dflt"}, {"none", "  dflt", "  dflt"}, {"none", "d f ", "d f"},
        {"none", "   ", ""},         {"none", "tab\t", "tab\t"},   {"dir", "dflt  ", "C:\\x\\"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ini.ReadString("options", c.key, c.defaultValue), c.read) << c.defaultValue;
    TIniFile missing("C:\\prog\\none.ini");
    EXPECT_EQ(missing.ReadString("options", "dir", "C:\\  "), "C:\\");
}

TEST(Profile, ReadsValuesOfAnExistingFile) {
    TempDrives drives;
    const std::string longValue(1500, 'x');
    drives.WriteFile("prog/sporvik.INI", "[Options]\r\nDir=\r\nLeft=0x20\r\nTop=$1F\r\nresx=0x\r\n"
                                         "long=" +
                                             longValue + "\r\n");
    // The name is found as Windows finds it, ignoring case.
    TIniFile ini("C:\\Prog\\Sporvik.ini");
    EXPECT_EQ(ini.ReadString("options", "dir", "default"), "");
    EXPECT_EQ(ini.ReadInteger("options", "left", 365), 32);
    EXPECT_EQ(ini.ReadInteger("options", "top", 167), 31);
    EXPECT_EQ(ini.ReadInteger("options", "resx", 800), 800);
    EXPECT_EQ(ini.ReadInteger("options", "dir", 7), 7);
    EXPECT_EQ(ini.ReadString("options", "long", ""), longValue.substr(0, 1023));
    EXPECT_EQ(ini.ReadString("options", "missing", longValue).size(), 1023u);
}

TEST(Profile, AFileThatCannotBeWrittenRaisesAndStaysAsItWas) {
    const std::string before = "[options]\r\nleft=1\r\n";
    {
        TempDrives drives;
        const auto file = drives.WriteFile("prog/Sporvik.ini", before);
        SetReadOnly(file);
        TIniFile ini("C:\\prog\\Sporvik.ini");
        EXPECT_THROW(ini.WriteInteger("options", "left", 2), EFailure);
        EXPECT_EQ(testsupport::ReadHostFile(file), before);
        EXPECT_EQ(ini.ReadInteger("options", "left", 0), 1) << "a read-only file is still read";
    }
    {
        TempDrives drives;
        const auto file = drives.WriteFile("prog/Sporvik.ini", before);
        SetReadOnly(drives.Host("prog"));
        TIniFile ini("C:\\prog\\Sporvik.ini");
        EXPECT_THROW(ini.WriteInteger("options", "left", 2), EFailure);
        EXPECT_THROW(TIniFile("C:\\prog\\New.ini").WriteInteger("options", "left", 2), EFailure);
        SetReadOnly(drives.Host("prog"), false);
        EXPECT_EQ(testsupport::ReadHostFile(file), before);
        EXPECT_EQ(FilesIn(drives.Host("prog")), 1);
    }
    {
        TempDrives drives;
        EXPECT_THROW(TIniFile("C:\\missing\\Sporvik.ini").WriteString("options", "dir", "x"),
                     EFailure);
        EXPECT_THROW(TIniFile("Q:\\Sporvik.ini").WriteString("options", "dir", "x"), EFailure);
    }
}

TEST(Profile, AFileThatCannotBeReadRaisesWithItsName) {
    TempDrives drives;
    const auto file = drives.WriteFile("prog/Sporvik.ini", "[options]\r\nleft=1\r\n");
    fs::permissions(file, fs::perms::owner_read, fs::perm_options::remove);
    TIniFile ini("C:\\prog\\Sporvik.ini");
    try {
        ini.ReadInteger("options", "left", 0);
        ADD_FAILURE() << "no failure raised";
    } catch (const EFailure& e) {
        EXPECT_NE(std::string(e.what()).find("\"C:\\prog\\Sporvik.ini\""), std::string::npos)
            << e.what();
    }
    // Replacing it would lose keys the program cannot see.
    EXPECT_THROW(ini.WriteInteger("options", "top", 2), EFailure);
    fs::permissions(file, fs::perms::owner_read, fs::perm_options::add);
    EXPECT_EQ(testsupport::ReadHostFile(file), "[options]\r\nleft=1\r\n");

    drives.MakeDir("prog/Dir.ini");
    EXPECT_THROW(TIniFile("C:\\prog\\Dir.ini").ReadString("options", "dir", ""), EFailure);
    EXPECT_THROW(TIniFile("C:\\prog\\Dir.ini").WriteString("options", "dir", ""), EFailure);
}

TEST(Profile, RefusesTextThatWouldBreakTheLines) {
    TempDrives drives;
    TIniFile ini("C:\\prog\\Sporvik.ini");
    ini.WriteString("options", "left", "1");
    EXPECT_THROW(ini.WriteString("options", "dir", "C:\\a\r\n[evil]\r\nx=1"), EFailure);
    EXPECT_THROW(ini.WriteString("options", "a=b", "1"), EFailure);
    EXPECT_THROW(ini.WriteString("opt]ions", "a", "1"), EFailure);
    EXPECT_EQ(testsupport::ReadHostFile(drives.Host("prog/Sporvik.ini")),
              "[options]\r\nleft=1\r\n");
}

// A name that reading would take for something else, or trim, could never be
// read back: it is refused, naming the file and the name, and the file stays.
TEST(Profile, RefusesNamesThatCouldNotBeReadBack) {
    TempDrives drives;
    TIniFile ini("C:\\prog\\Sporvik.ini");
    ini.WriteString("options", "left", "1");
    const std::pair<const char*, const char*> refused[] = {
        {"options", "[k"},  {"options", ";k"}, {"options", " k"}, {"options", "k "},
        {"options", "k\t"}, {" options", "k"}, {"options ", "k"}, {"\toptions", "k"},
    };
    for (const auto& [section, key] : refused) {
        try {
            ini.WriteString(section, key, "v");
            ADD_FAILURE() << "no failure for [" << section << "] " << key;
        } catch (const EFailure& e) {
            const std::string text = e.what();
            EXPECT_NE(text.find("\"C:\\prog\\Sporvik.ini\""), std::string::npos) << text;
            EXPECT_TRUE(text.find(std::string("\"") + key + "\"") != std::string::npos ||
                        text.find(std::string("\"") + section + "\"") != std::string::npos)
                << text;
        }
    }
    EXPECT_EQ(testsupport::ReadHostFile(drives.Host("prog/Sporvik.ini")),
              "[options]\r\nleft=1\r\n");
    // Such characters inside a name, or a section beginning with "[", read back.
    const std::pair<const char*, const char*> stored[] = {
        {"options", "k[;x"}, {"[opt;ions", "k"}, {"options", "a b"}, {";x", "k"}};
    for (const auto& [section, key] : stored) {
        ini.WriteString(section, key, "v");
        EXPECT_EQ(ini.ReadString(section, key, "none"), "v") << section << " " << key;
    }
    EXPECT_EQ(ini.ReadString("options", "left", "none"), "1");
}

TEST(Profile, KeepsTheFilesPermissionsAndFollowsALink) {
    TempDrives drives;
    const auto real = drives.WriteFile("data/real.ini", "[options]\r\n");
    fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write);
    fs::create_symlink(real, drives.Host("prog/Sporvik.ini"));
    TIniFile("C:\\prog\\Sporvik.ini").WriteInteger("options", "top", 3);
    EXPECT_TRUE(fs::is_symlink(drives.Host("prog/Sporvik.ini")));
    EXPECT_EQ(testsupport::ReadHostFile(real), "[options]\r\ntop=3\r\n");
    EXPECT_EQ(fs::status(real).permissions(), fs::perms::owner_read | fs::perms::owner_write);
}

} // namespace
