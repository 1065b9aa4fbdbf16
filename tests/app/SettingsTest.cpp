// Start and close of the main window with its settings file.
#include "MainWindowFixture.h"

#include "ModalAnswer.h"
#include "controls/FiLabel.h"
#include "platform/ui/Label.h"
#include "platform/ui/WindowSystem.h"

namespace {

// Centred by the window's outer size, frame included.
QPoint Centred(const QWidget& w) {
    const QSize outer = w.frameGeometry().size();
    return {(1024 - outer.width()) / 2, (768 - outer.height()) / 2};
}

TEST_F(MainWindowTest, WithoutSettingsOpensCentredAndWritesKeysInOrder) {
    WriteBmp("prog/a.bmp");
    auto& w = Open();
    w.show();
    const QPoint centre = Centred(w);
    EXPECT_EQ(w.pos(), centre);
    EXPECT_EQ(CurrentDir(), "C:\\prog\\");
    w.close();
    EXPECT_EQ(ReadSettings(),
              "[options]\r\ndir=C:\\prog\\\r\nresx=1024\r\nleft=" + std::to_string(centre.x()) +
                  "\r\ntop=" + std::to_string(centre.y()) + "\r\n");
}

TEST_F(MainWindowTest, PlacesTheWindowOnlyBySettingsWrittenAtThisWidth) {
    const QPoint centred(-1, -1); // stands for "centred on the screen"
    struct Case {
        const char* settings;
        QPoint expected;
    } cases[] = {
        {"[options]\r\nresx=1024\r\nleft=100\r\ntop=50\r\n", {100, 50}},
        {"[Options]\r\nRESX=1024\r\nLeft=0x20\r\ntop=$10\r\n", {32, 16}},
        {"[options]\r\nresx=800\r\nleft=100\r\ntop=50\r\n", centred},
        {"[options]\r\nresx=1024\r\nleft=365\r\ntop=167\r\n", centred},
        {"[options]\r\nresx=1024\r\nleft=365\r\ntop=168\r\n", {365, 168}},
        {"[options]\r\nleft=100\r\ntop=50\r\n", {100, 50}}, // resx defaults to the screen's
        // The whole title bar must be on the screen (the window is 362 wide).
        {"[options]\r\nresx=1024\r\nleft=662\r\ntop=738\r\n", {662, 738}},
        {"[options]\r\nresx=1024\r\nleft=-3\r\ntop=-30\r\n", centred},
        {"[options]\r\nresx=1024\r\nleft=663\r\ntop=50\r\n", centred},
        {"[options]\r\nresx=1024\r\nleft=100\r\ntop=739\r\n", centred},
        {"[options]\r\nresx=1024\r\nleft=-1\r\ntop=50\r\n", centred},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.settings);
        WriteSettings(c.settings);
        auto& w = Open();
        w.show();
        EXPECT_EQ(w.pos(), c.expected == centred ? Centred(w) : c.expected);
        window_.reset();
    }
}

// A window system that places windows itself and reads back a made-up
// position: the settings keep the position they had, at its screen width.
TEST_F(MainWindowTest, APositionTheWindowSystemCannotTellIsNotSaved) {
    struct Unknown {
        Unknown() { platform::SetWindowPositionsKnown(false); }
        ~Unknown() { platform::SetWindowPositionsKnown(std::nullopt); }
    } unknown;
    WriteSettings("[options]\r\ndir=C:\\prog\\\r\nresx=800\r\nleft=100\r\ntop=50\r\n");
    auto& w = Open();
    w.show();
    w.move(300, 310);
    w.close();
    EXPECT_EQ(ReadSettings(), "[options]\r\ndir=C:\\prog\\\r\nresx=800\r\nleft=100\r\ntop=50\r\n");
}

TEST_F(MainWindowTest, RemembersTheDirectoryAndFallsBackWhenItIsGone) {
    WriteBmp("glyphs/a.bmp");
    WriteSettings("[options]\r\ndir=c:\\GLYPHS\\\r\n");
    {
        auto& w = Open();
        EXPECT_EQ(CurrentDir(), "c:\\GLYPHS\\");
        EXPECT_EQ(w.LabelAnzahl->Caption(), "1 Glyph(s)");
        window_.reset();
    }
    WriteSettings("; kept\r\n[options]\r\ndir=C:\\gone\r\nleft=7\r\n[other]\r\nx=1\r\n");
    auto& w = Open();
    EXPECT_EQ(CurrentDir(), "C:\\prog\\");
    w.move(40, 30);
    w.close();
    // The directory shown is written back; other lines stay where they were.
    EXPECT_EQ(ReadSettings(),
              "; kept\r\n[options]\r\ndir=C:\\prog\\\r\nleft=40\r\nresx=1024\r\ntop=30\r\n"
              "[other]\r\nx=1\r\n");
}

// The remembered folder holds a bad glyph and four-image ones: read first,
// it would raise a report and leave its image count on the buttons that the
// named folder's narrow glyphs then keep.
TEST_F(MainWindowTest, AFolderNamedAtStartIsTheOnlyOneRead) {
    WriteBmp("remembered/a.bmp", 64, 16);
    drives_.WriteFile("remembered/bad.bmp", "not a bitmap");
    WriteBmp("named/narrow.bmp", 10, 10);
    WriteSettings("[options]\r\ndir=C:\\remembered\\\r\n");
    testsupport::ModalAnswer reports;
    auto& w = Open("C:\\named\\");
    EXPECT_TRUE(reports.Seen().empty());
    EXPECT_EQ(CurrentDir(), "C:\\named\\");
    EXPECT_EQ(ShownHints(), std::vector<std::string>{"narrow.bmp"});
    EXPECT_EQ(Glyph(1)->NumGlyphs(), 1);
    w.close();
    EXPECT_NE(ReadSettings().find("dir=C:\\named\\"), std::string::npos);
}

TEST_F(MainWindowTest, AnEmptyDirSettingListsTheCurrentDirectory) {
    WriteBmp("root.bmp");
    WriteSettings("[options]\r\ndir=\r\n");
    auto& w = Open();
    EXPECT_EQ(CurrentDir(), "");
    EXPECT_EQ(w.FileLabel1->FileName(), "");
    EXPECT_EQ(ShownHints(),
              std::vector<std::string>{"root.bmp"}); // the current directory is C:\ here
}

TEST_F(MainWindowTest, AnUnwritableSettingsFileIsReportedOnceAndTheWindowStillCloses) {
    WriteSettings("[options]\r\nleft=5\r\n");
    auto& w = Open();
    w.show();
    testsupport::SetReadOnly(drives_.Host("prog/Sporvik.ini"));
    testsupport::SetReadOnly(drives_.Host("prog"));
    testsupport::ModalAnswer answer;
    answer.Press("OK");
    EXPECT_TRUE(w.close());
    EXPECT_FALSE(w.isVisible());
    ASSERT_EQ(answer.Seen().size(), 1u);
    EXPECT_EQ(answer.Seen()[0].text, "Error writing .INI file");
    EXPECT_EQ(answer.Seen()[0].caption, "Error");
    EXPECT_EQ(ReadSettings(), "[options]\r\nleft=5\r\n");
}

TEST_F(MainWindowTest, AnUnreadableSettingsFileIsReportedAndTheWindowCentred) {
    WriteSettings("[options]\r\nresx=1024\r\nleft=100\r\ntop=50\r\ndir=C:\\x\r\n");
    std::filesystem::permissions(drives_.Host("prog/Sporvik.ini"),
                                 std::filesystem::perms::owner_read,
                                 std::filesystem::perm_options::remove);
    WriteBmp("prog/a.bmp");
    testsupport::ModalAnswer answer;
    answer.Press("OK");
    auto& w = Open();
    w.show();
    ASSERT_EQ(answer.Seen().size(), 1u);
    EXPECT_EQ(answer.Seen()[0].text, "Error reading .INI file");
    EXPECT_EQ(w.pos(), Centred(w));
    // "dir" was never read: the empty text goes to the directory load, and
    // the root of the current drive has entries, so the current directory is shown.
    EXPECT_EQ(CurrentDir(), "");
}

} // namespace
