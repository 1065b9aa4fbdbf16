// The extract command through the real main window, with the real message
// dialogs answered as a user would: the questions and messages in their
// order, the files written, and the directory shown afterwards.
#include <QBuffer>
#include <QImage>
#include <QLineEdit>
#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <sstream>

#include "HostFiles.h"
#include "MainWindowFixture.h"
#include "ModalAnswer.h"
#include "app/Forms.h"
#include "cli/ExtractCommand.h"
#include "dialogs/Glyph_Dir.h"
#include "extract/Extractor.h"
#include "platform/ui/Button.h"
#include "platform/ui/FileListBox.h"
#include "platform/ui/ProgressBar.h"

namespace fs = std::filesystem;

namespace {

class ExtractCommandTest : public MainWindowTest {
protected:
    ExtractCommandTest() { BitmapFileNumber = 0; }

    // C:\apps\tool.exe holding `count` bitmaps between stretches of filler.
    void WriteExe(int count, std::size_t filler = 700) {
        std::string exe(filler, 'x');
        bitmaps_.clear();
        for (int i = 0; i < count; ++i) {
            bitmaps_.push_back(testsupport::ShadedBmpFile(40 * i));
            exe += bitmaps_.back() + std::string(filler, 'x');
        }
        drives_.WriteFile("apps/tool.exe", exe);
    }

    std::string Read(const std::string& relative) const {
        return testsupport::ReadHostFile(drives_.Host(relative));
    }

    // "caption: text -> answer" for every dialog seen.
    static std::vector<std::string> Dialogs(const testsupport::ModalAnswer& answer) {
        std::vector<std::string> seen;
        for (const auto& d : answer.Seen())
            seen.push_back(d.caption + ": " + d.text + " -> " + d.answer);
        return seen;
    }

    std::vector<std::string> bitmaps_;
};

const std::string kAsk = "Confirmation: File ";
const std::string kAlready = "\r\nalready exists. Overwrite?";

TEST_F(ExtractCommandTest, OverwriteAnswersThroughTheRealQuestion) {
    auto& w = Open();
    struct Case {
        const char* what;
        std::vector<int> existing; // numbers of .bmp files there before
        std::function<void(testsupport::ModalAnswer&)> answers;
        std::vector<std::string> dialogs;
        std::vector<int> written; // numbers holding the carved bitmaps afterwards
        int number;               // BitmapFileNumber afterwards
    };
    const Case cases[] = {
        {"No on the third",
         {3},
         [](auto& a) { a.Press("No"); },
         {kAsk + "3.bmp" + kAlready + " -> Press No"},
         {1, 2},
         2},
        {"No on the first",
         {1},
         [](auto& a) { a.Press("No").Press("OK"); },
         {kAsk + "1.bmp" + kAlready + " -> Press No", "Information: No bitmaps found. -> Press OK"},
         {},
         0},
        {"Escape answers No",
         {2},
         [](auto& a) { a.Escape(); },
         {kAsk + "2.bmp" + kAlready + " -> Escape"},
         {1},
         1},
        {"All asks once",
         {1, 2, 3, 4},
         [](auto& a) { a.Press("Yes").Press("All"); },
         {kAsk + "1.bmp" + kAlready + " -> Press Yes", kAsk + "2.bmp" + kAlready + " -> Press All"},
         {1, 2, 3, 4},
         4},
        {"the close box overwrites",
         {2, 4},
         [](auto& a) { a.CloseBox().CloseBox(); },
         {kAsk + "2.bmp" + kAlready + " -> CloseBox", kAsk + "4.bmp" + kAlready + " -> CloseBox"},
         {1, 2, 3, 4},
         4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(drives_.Host("apps"));
        WriteExe(4);
        for (int n : c.existing)
            WriteBmp("apps/" + std::to_string(n) + ".bmp", 32, 16);
        BitmapFileNumber = 0;
        w.LoadDirectory("C:\\prog\\");
        testsupport::ModalAnswer answer;
        c.answers(answer);
        w.ExtractBitmapsFrom("C:\\apps\\tool.exe", w.SpeedButtonExtract);
        EXPECT_EQ(Dialogs(answer), c.dialogs);
        EXPECT_EQ(answer.Pending(), 0u);
        EXPECT_EQ(BitmapFileNumber, c.number);
        for (int n : c.written)
            EXPECT_EQ(Read("apps/" + std::to_string(n) + ".bmp"), bitmaps_[n - 1]) << n;
        // The window shows the executable's directory, new glyphs included.
        EXPECT_EQ(CurrentDir(), "C:\\apps\\");
        std::set<int> files(c.existing.begin(), c.existing.end());
        files.insert(c.written.begin(), c.written.end());
        EXPECT_EQ(w.Pages().GlyphCount(), static_cast<int>(files.size()));
        EXPECT_EQ(ShownHints().size(), files.size());
    }
}

TEST_F(ExtractCommandTest, GlyphsAreReleasedAndTheBarFollowsTheScan) {
    auto& w = Open();
    WriteGlyphs("prog", 3);
    w.LoadDirectory("C:\\prog\\");
    w.PushAll1Click(&w);
    ASSERT_EQ(DownCount(), 3);

    WriteExe(3, 40000); // long enough for several blocks
    std::vector<int> shown;
    QObject::connect(w.ProgressBar1, &TProgressBar::positionChanged,
                     [&](int v) { shown.push_back(v); });
    testsupport::ModalAnswer answer;
    w.ExtractBitmapsFrom("C:\\apps\\tool.exe", w.SpeedButtonExtract);
    EXPECT_TRUE(answer.Seen().empty());
    EXPECT_EQ(DownCount(), 0);
    EXPECT_EQ(ShownHints(), (std::vector<std::string>{"1.bmp", "2.bmp", "3.bmp"}));
    // The searches move the bar forward over the file; loading the directory
    // then takes it back to 0.
    ASSERT_GE(shown.size(), 3u);
    EXPECT_GT(*std::max_element(shown.begin(), shown.end()), 50);
    EXPECT_EQ(w.ProgressBar1->Position(), 0);
}

TEST_F(ExtractCommandTest, FailuresAreReportedAndTheCommandGoesOnOrEnds) {
    auto& w = Open();
    const std::string denied = "!\r\nReason: I/O Error 5\r\nFile access denied -> Press OK";

    // A write-protected directory: one message per bitmap, numbers advance,
    // and the directory is still shown without "No bitmaps found.".
    WriteExe(2);
    testsupport::SetReadOnly(drives_.Host("apps"));
    {
        testsupport::ModalAnswer answer;
        answer.Press("OK").Press("OK");
        w.ExtractBitmapsFrom("C:\\apps\\tool.exe", w.SpeedButtonExtract);
        EXPECT_EQ(Dialogs(answer),
                  (std::vector<std::string>{"Error: Error writing 1.bmp" + denied,
                                            "Error: Error writing 2.bmp" + denied}));
    }
    testsupport::SetReadOnly(drives_.Host("apps"), false);
    EXPECT_EQ(BitmapFileNumber, 2);
    EXPECT_EQ(CurrentDir(), "C:\\apps\\");

    // An executable that cannot be read: the window stays where it was.
    w.LoadDirectory("C:\\prog\\");
    fs::permissions(drives_.Host("apps/tool.exe"), fs::perms::owner_read, fs::perm_options::remove);
    {
        testsupport::ModalAnswer answer;
        answer.Press("OK");
        w.ExtractBitmapsFrom("C:\\apps\\tool.exe", w.SpeedButtonExtract);
        EXPECT_EQ(Dialogs(answer),
                  (std::vector<std::string>{"Error: Error reading tool.exe" + denied}));
    }
    EXPECT_EQ(CurrentDir(), "C:\\prog\\");

    // Nothing to take: the directory is shown first, then the message.
    drives_.WriteFile("empty/tool.exe", std::string(3000, 'x'));
    std::string shownWhenAsked;
    {
        testsupport::ModalAnswer answer;
        answer.Inspect([&](QWidget*) { shownWhenAsked = CurrentDir(); }).Press("OK");
        w.ExtractBitmapsFrom("C:\\empty\\tool.exe", w.SpeedButtonExtract);
        ASSERT_EQ(answer.Seen().size(), 2u);
        EXPECT_EQ(answer.Seen()[1].caption, "Information");
        EXPECT_EQ(answer.Seen()[1].text, "No bitmaps found.");
    }
    EXPECT_EQ(shownWhenAsked, "C:\\empty\\");
    EXPECT_EQ(BitmapFileNumber, 2);
}

} // namespace

namespace {

// The whole command as a user runs it: the button, the real file dialog in
// open mode (its filter, Help button and the file chosen from its list),
// then the carved glyphs in the window.
TEST_F(ExtractCommandTest, TheButtonTakesTheExecutableChosenInTheFileDialog) {
    WriteExe(2);
    drives_.WriteFile("apps/readme.txt", "not a program");
    WriteSettings("[options]\r\ndir=C:\\apps\\\r\n");
    auto& w = Open();
    TOSDialog dialog(&w);
    OSDialog = &dialog;
    dialog.SetStartDirectory(CurrentDir());
    w.show();

    testsupport::ModalAnswer answer;
    answer.Inspect([&](QWidget*) {
        EXPECT_EQ(dialog.windowTitle(), "Extract bitmaps from .EXE file");
        EXPECT_TRUE(dialog.ButtonHilfe->isVisible());
        ASSERT_EQ(dialog.FileListBox1->count(), 1); // only the program matches "*.exe"
        dialog.FileListBox1->setCurrentRow(0);
        EXPECT_EQ(dialog.EditDateiName->text(), "tool.exe");
    });
    answer.Press("ButtonOK");
    w.SpeedButtonExtract->Click();
    OSDialog = nullptr;

    EXPECT_EQ(Read("apps/1.bmp"), bitmaps_[0]);
    EXPECT_EQ(Read("apps/2.bmp"), bitmaps_[1]);
    EXPECT_EQ(CurrentDir(), "C:\\apps\\");
    EXPECT_EQ(ShownHints(), (std::vector<std::string>{"1.bmp", "2.bmp"}));
    // The file dialog only: no question, no message.
    EXPECT_EQ(Dialogs(answer), (std::vector<std::string>{
                                   "Extract bitmaps from .EXE file: C:\\apps -> Inspect",
                                   "Extract bitmaps from .EXE file: C:\\apps -> Press ButtonOK"}));

    // Cancel in the dialog changes nothing.
    OSDialog = &dialog;
    answer.Press("ButtonAbbruch");
    w.SpeedButtonExtract->Click();
    OSDialog = nullptr;
    EXPECT_EQ(BitmapFileNumber, 2);
    EXPECT_EQ(ShownHints().size(), 2u);
}

} // namespace

namespace {

// A real bitmap file of w x h pixels.
std::string BmpOfSize(int w, int h, int shade) {
    QImage img(w, h, QImage::Format_RGB888);
    img.fill(QColor(shade, 90, 255 - shade));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    img.save(&buffer, "BMP");
    return bytes.toStdString();
}

} // namespace

// sporvik-extract runs the window's scan: over the same executables, one
// after the other, it writes the same files with the same numbers.
TEST_F(ExtractCommandTest, TheCommandLineWritesWhatTheWindowWrites) {
    auto& w = Open();
    std::string decoy = BmpOfSize(8, 8, 1);
    decoy[26] = 0; // no planes
    const std::string x(300, 'x');
    const std::string executables[] = {
        x + BmpOfSize(16, 16, 10) + x + decoy + BmpOfSize(5, 3, 20) + x,
        // back to back, then one over 5000 bytes that ends the scan
        BmpOfSize(7, 7, 30) + BmpOfSize(9, 2, 40) + x + BmpOfSize(42, 42, 50) + x +
            BmpOfSize(4, 4, 60),
        decoy.substr(0, 30) + BmpOfSize(3, 9, 70) + std::string(70000, 'y') + BmpOfSize(2, 2, 80),
    };
    std::vector<std::string> cliArgs;
    BitmapFileNumber = 0;
    for (std::size_t i = 0; i < std::size(executables); ++i) {
        const std::string name = "tool" + std::to_string(i) + ".exe";
        drives_.WriteFile("win/" + name, executables[i]);
        drives_.WriteFile("cli/" + name, executables[i]);
        testsupport::ModalAnswer answer;
        w.ExtractBitmapsFrom("C:\\win\\" + name, w.SpeedButtonExtract);
        EXPECT_TRUE(answer.Seen().empty());
        cliArgs.push_back(drives_.Host("cli/" + name).string());
    }
    EXPECT_EQ(BitmapFileNumber, 6);
    std::ostringstream out, err;
    std::istringstream in;
    EXPECT_EQ(RunExtractCommand(cliArgs, {out, err, in, false}), ExitWritten);
    EXPECT_EQ(err.str(), "6 bitmaps written from 3 files.\n");

    auto bmpFiles = [this](const std::string& dir) {
        std::map<std::string, std::string> files;
        for (const std::string& name : testsupport::FileNamesIn(drives_.Host(dir), ".bmp"))
            files[name] = Read(dir + "/" + name);
        return files;
    };
    const auto window = bmpFiles("win");
    EXPECT_EQ(window.size(), 6u);
    EXPECT_EQ(window, bmpFiles("cli"));
}
