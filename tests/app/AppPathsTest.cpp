// Where the program keeps its settings and finds its help file and samples:
// beside itself when it can, else in the user's and the installed folders.
#include "HostFiles.h"
#include "MainWindowFixture.h"

#include <cstdlib>
#include <optional>
#include <utime.h>

#include "ModalAnswer.h"
#include "app/AppPaths.h"
#include "platform/FileOps.h"

namespace fs = std::filesystem;

namespace {

class AppPathsTest : public MainWindowTest {
protected:
    AppPathsTest() {
        if (const char* old = std::getenv("XDG_CONFIG_HOME"))
            savedConfig_ = old;
        drives_.MakeDir("home/ann/.config");
        setenv("XDG_CONFIG_HOME", drives_.Host("home/ann/.config").c_str(), 1);
    }
    ~AppPathsTest() override {
        if (savedConfig_)
            setenv("XDG_CONFIG_HOME", savedConfig_->c_str(), 1);
        else
            unsetenv("XDG_CONFIG_HOME");
    }
    std::string Slurp(const std::string& relative) const {
        return testsupport::ReadHostFile(drives_.Host(relative));
    }
    // Starts the window, moves it and closes it, as a user session would.
    void Session(const std::string& glyphDir) {
        auto& w = Open();
        w.LoadDirectory(glyphDir);
        w.show();
        w.close();
        window_.reset();
    }
    std::optional<std::string> savedConfig_;
};

const char* kUserIni = "home/ann/.config/Sporvik/Sporvik.ini";

TEST_F(AppPathsTest, SettingsStayBesideAWritableProgramAndGoToTheUserWhenItIsNot) {
    drives_.MakeDir("glyphs/a");
    drives_.MakeDir("glyphs/b");
    EXPECT_EQ(SettingsFileForWriting(), "C:\\prog\\Sporvik.ini");
    Session("C:\\glyphs\\a\\");
    EXPECT_NE(ReadSettings().find("dir=C:\\glyphs\\a\\"), std::string::npos);
    EXPECT_FALSE(fs::exists(drives_.Host(kUserIni)));

    // Installed: the program's folder is read-only. The first start still
    // finds the old settings, and the close writes them for the user,
    // without an error message.
    testsupport::SetReadOnly(drives_.Host("prog"));
    EXPECT_EQ(SettingsFileForWriting(), "C:\\home\\ann\\.config\\Sporvik\\Sporvik.ini");
    {
        testsupport::ModalAnswer noMessages;
        auto& w = Open();
        EXPECT_EQ(CurrentDir(), "C:\\glyphs\\a\\");
        w.LoadDirectory("C:\\glyphs\\b\\");
        w.close();
        window_.reset();
        EXPECT_TRUE(noMessages.Seen().empty());
    }
    const std::string user = Slurp(kUserIni);
    EXPECT_EQ(user.substr(0, 31), "[options]\r\ndir=C:\\glyphs\\b\\\r\nre");
    EXPECT_NE(ReadSettings().find("dir=C:\\glyphs\\a\\"), std::string::npos); // untouched

    // Writable again: the user's file is the newer one and wins the read.
    testsupport::SetReadOnly(drives_.Host("prog"), false);
    const utimbuf old{1000000000, 1000000000};
    ASSERT_EQ(utime(drives_.Host("prog/Sporvik.ini").c_str(), &old), 0);
    EXPECT_EQ(SettingsFileForReading(), "C:\\home\\ann\\.config\\Sporvik\\Sporvik.ini");
    Open();
    EXPECT_EQ(CurrentDir(), "C:\\glyphs\\b\\");
}

TEST_F(AppPathsTest, WithoutAnyUserFolderTheSettingsStayBesideTheProgram) {
    unsetenv("XDG_CONFIG_HOME");
    const char* home = std::getenv("HOME");
    const std::string savedHome = home ? home : "";
    unsetenv("HOME");
    testsupport::SetReadOnly(drives_.Host("prog"));
    EXPECT_EQ(UserSettingsFile(), "");
    EXPECT_EQ(SettingsFileForWriting(), "C:\\prog\\Sporvik.ini");
    if (!savedHome.empty())
        setenv("HOME", savedHome.c_str(), 1);
}

TEST_F(AppPathsTest, HelpAndSamplesComeFromBesideTheProgramOrTheInstalledShareFolder) {
    // An installed program: C:\usr\bin\Sporvik with C:\usr\share\sporvik.
    drives_.MakeDir("usr/bin");
    drives_.WriteFile("usr/share/sporvik/SporvikU.HLP", "<html></html>");
    WriteBmp("usr/share/sporvik/sample.bmp");
    platform::SetProgramPath("C:\\usr\\bin\\Sporvik");
    EXPECT_EQ(DataFolder(), "C:\\usr\\share\\sporvik\\");
    // Its bin folder is writable here, as it is for root: still no settings there.
    EXPECT_EQ(SettingsFileForWriting(), "C:\\home\\ann\\.config\\Sporvik\\Sporvik.ini");
    Open();
    EXPECT_EQ(CurrentDir(), "C:\\usr\\share\\sporvik\\"); // the samples on first start
    EXPECT_EQ(ShownHints(), std::vector<std::string>{"sample.bmp"});

    // A portable copy keeps everything beside itself.
    drives_.WriteFile("usr/bin/SporvikU.HLP", "<html></html>");
    EXPECT_EQ(DataFolder(), "C:\\usr\\bin\\");
    EXPECT_EQ(SettingsFileForWriting(), "C:\\usr\\bin\\Sporvik.ini");
    // Neither: the program's folder, as before.
    platform::SetProgramPath("C:\\prog\\Sporvik.exe");
    EXPECT_EQ(DataFolder(), "C:\\prog\\");
}

} // namespace
