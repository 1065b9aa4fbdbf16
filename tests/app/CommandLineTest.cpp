// Opening from outside: the command line's folder or file, and a folder
// dropped onto the window.
#include "MainWindowFixture.h"

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <unistd.h>

#include "app/CommandLine.h"

namespace {

class CommandLineTest : public MainWindowTest {
protected:
    CommandLineTest() {
        WriteGlyphs("glyphs/set", 2);
        drives_.MakeDir("glyphs/empty dir");
        char cwd[4096];
        if (getcwd(cwd, sizeof cwd))
            savedCwd_ = cwd;
        // Relative host names are taken against the working directory.
        EXPECT_EQ(chdir(drives_.Host("glyphs").c_str()), 0);
    }
    ~CommandLineTest() override {
        if (!savedCwd_.empty()) {
            EXPECT_EQ(chdir(savedCwd_.c_str()), 0);
        }
    }
    std::string savedCwd_;
};

TEST_F(CommandLineTest, FoldersAndFilesInEitherSpellingOpenTheirFolder) {
    const std::string host = drives_.Host("glyphs/set").string();
    const struct {
        std::vector<std::string> args;
        std::string directory;
        std::string problem;
    } cases[] = {
        {{}, "", ""},
        {{host}, "C:\\glyphs\\set\\", ""},
        {{host + "/"}, "C:\\glyphs\\set\\", ""},
        {{host + "/g0002.bmp"}, "C:\\glyphs\\set\\", ""},
        {{"set"}, "C:\\glyphs\\set\\", ""},
        {{"./set/../set/g0001.bmp"}, "C:\\glyphs\\set\\", ""},
        {{"empty dir"}, "C:\\glyphs\\empty dir\\", ""},
        {{"C:\\glyphs\\set"}, "C:\\glyphs\\set\\", ""},
        {{"c:\\GLYPHS\\SET\\G0001.BMP"}, "c:\\GLYPHS\\SET\\", ""},
        {{"missing"}, "", "No such folder or file: missing"},
        {{"C:\\nowhere\\x.bmp"}, "", "No such folder or file: C:\\nowhere\\x.bmp"},
        {{"set/*.bmp"}, "", "No such folder or file: set/*.bmp"},
        {{"--frobnicate", "set"}, "C:\\glyphs\\set\\", "Unknown option: --frobnicate"},
        {{"set", "empty dir"},
         "C:\\glyphs\\set\\",
         "Only one folder can be opened; left out: empty dir"},
        {{"/nowhere", "-x"}, "", "No such folder or file: /nowhere\r\nUnknown option: -x"},
    };
    for (const auto& c : cases) {
        const StartRequest request = ParseCommandLine(c.args);
        const std::string shown = c.args.empty() ? "(none)" : c.args.front();
        EXPECT_EQ(request.directory, c.directory) << shown;
        EXPECT_EQ(request.problem, c.problem) << shown;
    }
    EXPECT_TRUE(ParseCommandLine({"--help"}).showHelp);
    EXPECT_TRUE(ParseCommandLine({"--version"}).showVersion);
}

void Drop(QWidget& w, const QList<QUrl>& urls, bool* accepted = nullptr) {
    QMimeData data;
    data.setUrls(urls);
    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &enter);
    if (accepted)
        *accepted = enter.isAccepted();
    if (!enter.isAccepted())
        return;
    QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &drop);
}

TEST_F(CommandLineTest, AFolderDroppedOntoTheWindowIsShownWithNothingPushed) {
    WriteSettings("[options]\r\ndir=C:\\glyphs\\\r\n");
    auto& w = Open();
    w.show();
    EXPECT_EQ(CurrentDir(), "C:\\glyphs\\");
    Glyph(1)->SetDown(true); // nothing shown there, but the state must go

    bool accepted = false;
    Drop(w, {QUrl("https://example.org/x.bmp")}, &accepted);
    EXPECT_FALSE(accepted);
    Drop(w, {QUrl::fromLocalFile(QString::fromStdString(drives_.Host("nowhere").string()))},
         &accepted);
    EXPECT_FALSE(accepted);
    EXPECT_EQ(CurrentDir(), "C:\\glyphs\\");

    Drop(w, {QUrl::fromLocalFile(QString::fromStdString(drives_.Host("glyphs/set").string()))},
         &accepted);
    EXPECT_TRUE(accepted);
    EXPECT_EQ(CurrentDir(), "C:\\glyphs\\set\\");
    EXPECT_EQ(ShownHints(), (std::vector<std::string>{"g0001.bmp", "g0002.bmp"}));
    EXPECT_EQ(DownCount(), 0);

    // A dropped file opens its folder.
    w.LoadDirectory("C:\\glyphs\\");
    Drop(w, {QUrl::fromLocalFile(
                QString::fromStdString(drives_.Host("glyphs/set/g0002.bmp").string()))});
    EXPECT_EQ(CurrentDir(), "C:\\glyphs\\set\\");
}

} // namespace
